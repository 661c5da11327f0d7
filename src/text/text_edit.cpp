#include <cstring>

#include "text/lists.h"
#include "text/text.h"
#include "text/text_scan.h"

namespace {

bool isHigh(char c) {
  return (static_cast<unsigned char>(c) & 0x80) != 0;
}

// The full-width space, A1 A1.
bool isWideSpace(std::string_view v, std::size_t i) {
  return i + 1 < v.size() && v[i] == '\xA1' && v[i + 1] == '\xA1';
}

// Maps the ASCII letters of one case to the other, leaving the second bytes of
// double-byte characters alone.
Text mapCase(const Text& t, char from, char to) {
  ByteString s(t.view().data(), t.view().size());
  for (std::size_t i = 0; i < s.size(); i += characterSize(s[i])) {
    if (s[i] >= from && s[i] <= static_cast<char>(from + 25))
      s[i] = static_cast<char>(s[i] - from + to);
  }
  return Text(std::string_view(s.data(), s.size()));
}

}  // namespace

Text toUpper(const Text& t) {
  return mapCase(t, 'a', 'A');
}
Text toLower(const Text& t) {
  return mapCase(t, 'A', 'a');
}

Text trimText(const Text& t) {
  const std::string_view v = t.view();
  std::size_t i = 0;
  while (i < v.size() && (v[i] == ' ' || isWideSpace(v, i))) i += v[i] == ' ' ? 1u : 2u;
  const std::size_t begin = i;
  std::size_t end = v.size();
  bool inRun = false;
  while (i < v.size()) {
    if (isHigh(v[i]) && i + 1 >= v.size()) {  // a lone last lead byte is cut off by itself
      return Text(v.substr(begin, i - begin));
    }
    const bool space = v[i] == ' ' || isWideSpace(v, i);
    if (space && !inRun) end = i;
    inRun = space;
    i += characterSize(v[i]);
  }
  if (!inRun) end = v.size();
  return Text(v.substr(begin, end - begin));
}

Text removeSpaces(const Text& t) {
  const std::string_view v = t.view();
  Text out;
  out.reserve(t.length());
  std::size_t i = 0;
  while (i < v.size()) {
    const std::size_t size = characterSize(v[i]);
    if (i + size > v.size()) break;  // a lone last lead byte is dropped
    if (v[i] != ' ' && !isWideSpace(v, i)) out.append(v.substr(i, size));
    i += size;
  }
  return out;
}

Text replaceText(const Text& t, const Text& search, const ReplaceOptions& options) {
  const std::string_view v = t.view(), s = search.view(), r = options.replacement.view();
  const std::size_t start = options.start > 1 ? static_cast<std::size_t>(options.start) - 1 : 0;
  if (v.empty() || s.empty() || start >= v.size() || options.count == 0) return t;
  Text out;
  out.reserve(t.length());
  out.append(v.substr(0, start));
  std::size_t i = start;
  int replaced = 0;
  while (v.size() - i >= s.size()) {
    const std::string_view here = v.substr(i, s.size());
    if (options.caseSensitive ? here == s : equalFolded(here, s)) {
      out.append(r);
      i += s.size();
      if (++replaced == options.count) break;
      continue;
    }
    const std::size_t size = characterSize(v[i]);
    if (i + size > v.size()) return out;  // a lone last lead byte is dropped and ends the walk
    out.append(v.substr(i, size));
    i += size;
  }
  out.append(v.substr(i));
  return out;
}

TextList splitText(const Text& t, const Text& delimiter, std::optional<int> limit) {
  TextList list;
  const std::string_view v = t.view(), d = delimiter.view();
  if (v.empty() || (limit && *limit <= 0)) return list;
  if (d.empty()) {
    listAppend(&list, t);
    return list;
  }
  std::size_t member = 0, i = 0;
  while (i < v.size() && v.size() - i >= d.size()) {
    if (v[i] == d[0] && std::memcmp(v.data() + i, d.data(), d.size()) == 0) {
      listAppend(&list, Text(v.substr(member, i - member)));
      i += d.size();
      member = i;
      if (limit && listSize(list) == *limit) return list;
    } else {
      i += characterSize(v[i]);
    }
  }
  if (member < v.size()) listAppend(&list, Text(v.substr(member)));
  return list;
}
