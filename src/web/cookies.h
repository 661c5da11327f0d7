#pragma once
// Cookies that a request carries itself, as cookie lists: name=value entries
// separated by "; ". Only the name=value pair of a received cookie is kept;
// at a merge an entry ending "=deleted" counts as removed. Passing the same
// variable to successive requests makes it a cookie jar.

#include "text/values.h"

// Appends the cookie line: `cookies` as given when it holds "Cookie:" (a whole
// line), else after "Cookie: ". The line always begins with "\r\n".
void appendCookieHeader(Text* headers, const Text& cookies);

// The values of the lines named exactly "Set-Cookie" followed by ": ", each up
// to its first ";", joined by "; " in the order received.
Text collectSetCookies(const Text& responseHeaders);

// Removes every space from both lists, then leaves in *cookies and returns: the
// received entries, then the old ones whose names were not received; entries
// ending "=deleted" and exact repeats (after the first) left out.
Text mergeCookies(Text* cookies, Text* newCookies);

// The trimmed text before the first "=", or the whole entry trimmed.
Text cookieName(const Text& entry);
// True when a member of the list has that cookie name (exact comparison).
bool hasCookieName(const TextList& list, const Text& name);
// The pieces between the delimiters with exact repeats of earlier ones left out.
Text removeDuplicates(const Text& text, const Text& delimiter);
// The 1-based position of the first member equal to text, or -1.
int listIndexOf(const TextList& list, const Text& text);
