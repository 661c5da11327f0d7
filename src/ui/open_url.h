#pragma once
// Handing a URL to the desktop, which opens it with the user's default handler
// (for an http URL, the browser). The program neither waits for nor watches
// what is started, and a URL that cannot be opened goes unnoticed.

#include "text/values.h"

// The platform's own (open_url_*.cpp).
void openUrl(const Text& url);

// The tests replace it with one that records.
using UrlOpener = void (*)(const Text& url);
