#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/text.h"
#include "text/text_scan.h"

// Bytes at increasing positions lie in a word's increasing bits.
static_assert(std::endian::native == std::endian::little);

namespace {

// Walks the candidates of [begin, end) by characters and calls `found` with
// each match's 0-based offset until it returns false.
template <class Found>
void scanMatches(std::string_view t, std::size_t begin, std::size_t end, std::string_view marker,
                 bool ignoreCase, Found found) {
  const std::size_t m = marker.size();
  if (m > end - begin) return;
  const std::size_t last = end - m;  // the last candidate
  const char* p = t.data();
  if (ignoreCase) {
    for (std::size_t i = begin; i <= last; i += characterSize(p[i])) {
      if (equalFolded(t.substr(i, m), marker) && !found(i)) return;
    }
    return;
  }
  // Matches at any byte; one that starts inside a double-byte character is
  // passed over.
  std::size_t character = begin;  // a character start at or before every match left
  const auto startsCharacter = [&](std::size_t i) {
    // A byte below 0x80 always ends a character; otherwise step up to i.
    if (character < i && static_cast<unsigned char>(p[i - 1]) < 0x80) character = i;
    while (character < i) {
      character = nextHighByte(p, character, i);
      if (character < i) character += 2;
    }
    return character == i;
  };
  const std::string_view span = t.substr(0, end);
  for (std::size_t i = searchBytes(span, marker, begin); i != std::string_view::npos;
       i = searchBytes(span, marker, i + 1)) {
    if (startsCharacter(i) && !found(i)) return;
  }
}

}  // namespace

std::size_t searchBytes(std::string_view v, std::string_view marker, std::size_t from) {
  const std::size_t m = marker.size();
  if (from > v.size() || m > v.size() - from) return std::string_view::npos;
  const std::size_t last = v.size() - m;  // the last candidate
  const char* p = v.data();
  // Candidates come eight at a time, from one word at the marker's first byte
  // and one at its last: a zero byte of (word ^ first) | (word' ^ last) marks
  // a position where both match.
  constexpr std::uint64_t low = 0x7F7F7F7F7F7F7F7Fu;
  const std::uint64_t head = 0x0101010101010101u * static_cast<unsigned char>(marker[0]);
  const std::uint64_t tail = 0x0101010101010101u * static_cast<unsigned char>(marker[m - 1]);
  std::size_t i = from;
  for (; i + 8 <= last + 1; i += 8) {
    std::uint64_t first, second;
    std::memcpy(&first, p + i, 8);
    std::memcpy(&second, p + i + m - 1, 8);
    const std::uint64_t x = (first ^ head) | (second ^ tail);
    // The high bit of each zero byte of x, exactly: no carry crosses bytes.
    for (std::uint64_t zeros = ~(((x & low) + low) | x | low); zeros != 0; zeros &= zeros - 1) {
      const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
      if (std::memcmp(p + at, marker.data(), m) == 0) return at;
    }
  }
  for (; i <= last; ++i) {
    if (p[i] == marker[0] && std::memcmp(p + i, marker.data(), m) == 0) return i;
  }
  return std::string_view::npos;
}

int findText(const Text& t, const Text& marker, SearchOptions options) {
  const std::string_view v = t.view();
  const std::size_t length = v.size();
  std::size_t begin = 0;
  if (options.start && *options.start > 1) {
    begin = static_cast<std::size_t>(*options.start) - 1;
    if (begin >= length) return -1;
  }
  if (begin >= length) return -1;  // the empty text
  if (marker.empty()) return 1;
  int position = -1;
  scanMatches(v, begin, length, marker.view(), options.ignoreCase, [&](std::size_t at) {
    position = static_cast<int>(at) + 1;
    return false;
  });
  return position;
}

int findTextReverse(const Text& t, const Text& marker, SearchOptions options) {
  const std::string_view v = t.view();
  std::size_t span = v.size();
  if (options.start) {
    if (*options.start <= 1) return -1;
    span = std::min(span, static_cast<std::size_t>(*options.start) - 1);
  }
  if (span == 0) return -1;
  if (marker.empty()) return 1;
  int position = -1;
  scanMatches(v, 0, span, marker.view(), options.ignoreCase, [&](std::size_t at) {
    position = static_cast<int>(at) + 1;
    return true;
  });
  return position;
}

namespace {

// "#引号" in a marker stands for a double quote. A marker without one is used
// as it is; `*resolved` holds one that changes.
const Text& resolveQuotes(const Text& marker, Text* resolved) {
  if (marker.view().find('#') == std::string_view::npos) return marker;
  *resolved =
      replaceText(marker, "#\xD2\xFD\xBA\xC5", {.replacement = "\"", .caseSensitive = true});
  return *resolved;
}

}  // namespace

Text textBetween(const Text& t, const Text& left, const Text& right, SearchOptions options) {
  Text resolvedLeft, resolvedRight;
  const Text& l = resolveQuotes(left, &resolvedLeft);
  const int p = findText(t, l, options);
  if (p == -1) return {};
  const int q0 = p + l.length();
  const int q = findText(t, resolveQuotes(right, &resolvedRight),
                         {.start = q0, .ignoreCase = options.ignoreCase});
  if (q == -1) return {};
  return textMid(t, q0, q - q0);
}

Text textBefore(const Text& t, const Text& marker, SearchOptions options) {
  const int start = options.start && *options.start > 0 ? *options.start : 1;
  const int p = findText(t, marker, {.start = start, .ignoreCase = options.ignoreCase});
  if (p == -1) return {};
  return textLeft(t, p - 1);
}
