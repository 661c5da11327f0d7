#pragma once
// One HTTP or HTTPS request over the platform's internet library. Each call
// opens its own session, connection and request and closes all three (request
// first) before it returns; nothing is kept between calls.

#include "text/values.h"

struct WebRequestOptions {
  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT; others: GET
  int method = 0;
  Text textBody;  // sent only when *byteBody is empty and the method is not GET
  // In-out. Given (non-null), even as "", it turns the platform's cookies off
  // and the request sends, collects and merges cookies itself.
  Text* cookies = nullptr;
  Text* newCookies = nullptr;  // out: cookies received, or the merged list
  Text* headers = nullptr;     // in-out: extra header lines; afterwards as sent
  // Out: the raw response header block ("" when no response came).
  Text* responseHeaders = nullptr;
  bool noRedirect = false;
  Bytes* byteBody = nullptr;  // in-out: wins over textBody; receives textBody's bytes
  Text proxy;                 // empty: a direct connection
  bool mergeNewCookies = true;
  bool completeHeaders = true;
  bool normalizeHeaderText = true;
};

// The response body exactly as received; empty when the session, connection
// or request cannot be opened, and when the response has none.
Bytes webRequest(const Text& url, const WebRequestOptions& options = {});
