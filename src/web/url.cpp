#include "web/url.h"

#include "text/text.h"

namespace {

// Where the host begins: after an "https://" at the start, else after the
// first "http://" anywhere, else at the start (the URL is read as http).
int hostStart(const Text& url) {
  if (urlIsSecure(url)) return 9;
  const int http = findText(url, "http://", {.ignoreCase = true});
  return http == -1 ? 1 : http + 7;
}

}  // namespace

bool urlIsSecure(const Text& url) {
  return compareText(toLower(textLeft(url, 8)), "https://") == 0;
}

Text urlHost(const Text& url, bool keepPort) {
  Text v = toLower(url);
  if (textRight(v, 1) != Text("/")) v = concatText(std::move(v), "/");
  if (urlIsSecure(v)) {
    v = textBetween(v, "https://", "/");
  } else {
    if (findText(v, "http://") == -1) v = concatText(Text("http://"), v);
    v = textBetween(v, "http://", "/");
  }
  if (!keepPort && findText(v, ":") != -1) v = textBefore(v, ":");
  return v;
}

int urlPort(const Text& url) {
  const Text host = urlHost(url, true);
  const int colon = findTextReverse(host, ":");
  if (colon != -1) return textToInt(textMid(host, colon + 1, textLength(host)));
  return compareText(toLower(textLeft(url, 5)), "https") == 0 ? 443 : 80;
}

Text urlPath(const Text& url) {
  // The path begins at the first "/" after the host's start, which lies after
  // the scheme: a host such as "h" also occurs inside "http" itself.
  const int slash = findText(url, "/", {.start = hostStart(url)});
  if (slash == -1) return "/";
  return textRight(url, textLength(url) - slash + 1);
}
