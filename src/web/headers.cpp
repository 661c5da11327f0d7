#include "web/headers.h"

#include "text/lists.h"
#include "text/text.h"

namespace {

bool mentions(const Text& headers, const Text& name) {
  return findText(headers, name, {.ignoreCase = true}) != -1;
}

// The line of the header text that holds byte position `at`.
Text lineAt(const Text& headers, int at) {
  const int previous = findTextReverse(headers, "\r\n", {.start = at});
  const int begin = previous == -1 ? 1 : previous + 2;
  const int next = findText(headers, "\r\n", {.start = at});
  const int end = next == -1 ? textLength(headers) + 1 : next;
  return textMid(headers, begin, end - begin);
}

}  // namespace

Text selectUserAgent(const Text& headers) {
  const int named = findText(headers, "User-Agent:", {.ignoreCase = true});
  if (named == -1) return defaultUserAgent;
  const Text agent = trimText(textBetween(concatText(headers, "\r\n"), "User-Agent:", "\r\n"));
  if (!agent.empty()) return agent;
  // Named only in another letter case (or with nothing after it): the value of
  // the line that names it, not the rest of the whole text.
  return headerValue(lineAt(headers, named));
}

Text headerValue(const Text& line) {
  const int colon = findText(line, ":");
  if (colon == -1) return {};
  return trimText(textRight(line, textLength(line) - colon));
}

void completeHeaderText(Text* headers, int method, const Text& url) {
  Text& h = *headers;
  if (h.empty()) h = "Accept: */*";
  if (!mentions(h, "Accept:")) h = concatText(std::move(h), "\r\nAccept: */*");
  if (!mentions(h, "Referer:")) h = concatText(std::move(h), "\r\nReferer: ", url);
  if (!mentions(h, "Accept-Language:")) h = concatText(std::move(h), "\r\nAccept-Language: zh-cn");
  if (method == 1 && !mentions(h, "Content-Type:")) {
    h = concatText(std::move(h), "\r\nContent-Type: application/x-www-form-urlencoded");
  }
}

Text normalizeHeaders(const Text& headers) {
  const TextList lines = splitText(headers, "\r\n");
  Text out;
  out.reserve(textLength(headers));
  for (int i = 1; i <= listSize(lines); ++i) {
    const Text& line = listGet(lines, i);
    const int colon = findText(line, ":");
    if (colon == -1) continue;
    const Text name = textMid(line, 1, colon - 1);
    Text newName;
    if (findText(name, "-") != -1) {
      const TextList pieces = splitText(name, "-");
      for (int j = 1; j <= listSize(pieces); ++j) {
        if (j > 1) newName = concatText(std::move(newName), "-");
        newName = concatText(std::move(newName), capitalizeWord(listGet(pieces, j)));
      }
    } else {
      newName = capitalizeWord(name);
    }
    // A name ending in "-" loses its last, empty piece: the remainder then
    // starts at that "-", so the line still comes out whole.
    out = concatText(std::move(out), newName,
                     textRight(line, textLength(line) - textLength(newName)), "\r\n");
  }
  return textLeft(out, textLength(out) - 2);
}

Text capitalizeWord(const Text& word) {
  return concatText(toUpper(textLeft(word, 1)), textMid(word, 2, textLength(word)));
}
