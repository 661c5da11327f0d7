#pragma once
// The header text of a request: header lines separated by "\r\n", with no line
// break at the end. Before it is sent, the session's agent is taken from it,
// the missing default lines are added and the names are written with capital
// initials; the cookie line comes after all of that (web/cookies.h).

#include "text/values.h"

inline constexpr const char* defaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The agent for the session, from the header text as the caller gave it: the
// trimmed rest of the line after "User-Agent:", or defaultUserAgent when no
// line names it in any letter case. A line naming it in another letter case
// gives its own trimmed value. "" means the session gets no agent.
Text selectUserAgent(const Text& headers);

// The trimmed text after the first ":" of the line; "" without one.
Text headerValue(const Text& line);

// Adds, in this order, the lines the text lacks (searched anywhere in the
// text, in any letter case): Accept, Referer (the URL), Accept-Language, and
// for method 1 (POST) Content-Type. An empty text starts as "Accept: */*".
void completeHeaderText(Text* headers, int method, const Text& url);

// Drops the lines without a ":" (empty ones included) and upper-cases the first
// byte of each name and every byte after a "-" in it; the rest is unchanged.
Text normalizeHeaders(const Text& headers);

// The first byte upper-cased, the rest unchanged.
Text capitalizeWord(const Text& word);
