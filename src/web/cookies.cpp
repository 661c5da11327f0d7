#include "web/cookies.h"

#include <functional>
#include <string_view>
#include <unordered_set>

#include "text/lists.h"
#include "text/text.h"

namespace {

struct TextHash {
  std::size_t operator()(const Text& t) const noexcept {
    return std::hash<std::string_view>()(t.view());
  }
};

// The texts met so far. It answers what hasCookieName and listIndexOf answer
// over a growing list, in constant time, so a long cookie list stays linear.
using TextSet = std::unordered_set<Text, TextHash, std::equal_to<Text>, FatalAllocator<Text>>;

}  // namespace

void appendCookieHeader(Text* headers, const Text& cookies) {
  const bool wholeLine = findText(cookies, "Cookie:") != -1;
  *headers = concatText(std::move(*headers), wholeLine ? "\r\n" : "\r\nCookie: ", cookies);
}

Text collectSetCookies(const Text& responseHeaders) {
  const TextList lines = splitText(responseHeaders, "\r\n");
  Text out;
  for (int i = 1; i <= listSize(lines); ++i) {
    const Text& line = listGet(lines, i);
    if (compareText(textBefore(line, ": "), "Set-Cookie") != 0) continue;
    const Text value = findText(line, ";") != -1 ? trimText(textBetween(line, "Set-Cookie:", ";"))
                                                 : trimText(replaceText(line, "Set-Cookie:"));
    out = concatText(std::move(out), value, "; ");
  }
  return textLeft(out, textLength(out) - 2);
}

Text mergeCookies(Text* cookies, Text* newCookies) {
  *cookies = removeSpaces(*cookies);
  *newCookies = removeSpaces(*newCookies);
  const TextList old = splitText(*cookies, ";");
  TextList list = splitText(*newCookies, ";");
  TextSet names;
  for (const Text& entry : list.members) names.insert(cookieName(entry));
  for (int i = 1; i <= listSize(old); ++i) {
    const Text& entry = listGet(old, i);
    if (names.insert(cookieName(entry)).second) listAppend(&list, entry);
  }
  Text kept;
  for (int i = 1; i <= listSize(list); ++i) {
    const Text& entry = listGet(list, i);
    if (compareText(textRight(entry, 8), "=deleted") != 0)
      kept = concatText(std::move(kept), entry, "; ");
  }
  *cookies = removeDuplicates(textLeft(kept, textLength(kept) - 2), "; ");
  return *cookies;
}

Text cookieName(const Text& entry) {
  const int equals = findText(entry, "=");
  return trimText(equals == -1 ? entry : textLeft(entry, equals - 1));
}

bool hasCookieName(const TextList& list, const Text& name) {
  for (int i = 1; i <= listSize(list); ++i) {
    if (compareText(cookieName(listGet(list, i)), name) == 0) return true;
  }
  return false;
}

Text removeDuplicates(const Text& text, const Text& delimiter) {
  const TextList pieces = splitText(text, delimiter);
  TextSet seen;
  Text out;
  for (int i = 1; i <= listSize(pieces); ++i) {
    const Text& piece = listGet(pieces, i);
    if (seen.insert(piece).second) out = concatText(std::move(out), piece, delimiter);
  }
  return textLeft(out, textLength(out) - textLength(delimiter));
}

int listIndexOf(const TextList& list, const Text& text) {
  for (int i = 1; i <= listSize(list); ++i) {
    if (compareText(listGet(list, i), text) == 0) return i;
  }
  return -1;
}
