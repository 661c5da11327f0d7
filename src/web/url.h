#pragma once
// The three pieces of a URL that a request needs, cut out with plain text
// searches rather than by the URL grammar: the host is what stands between the
// scheme prefix and the next "/", the path everything from the first "/" after
// the host. A URL without a scheme is read as an http one.

#include "text/values.h"

// True when the URL begins "https://" in any letter case.
bool urlIsSecure(const Text& url);
// Lower-cased; without keepPort a ":" and what follows it are cut off.
Text urlHost(const Text& url, bool keepPort = false);
// The number after the host's last ":", else 443 for a URL beginning "https"
// (any letter case) and 80 for any other.
int urlPort(const Text& url);
// Path and query with their letter case kept; "/" when no "/" follows the host.
Text urlPath(const Text& url);
