#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/text.h"
#include "text/text_scan.h"

namespace {

// The first byte at or after `i` with its high bit set, or `end`; eight bytes
// at a time, since pages are mostly ASCII.
std::size_t nextHighByte(const char* p, std::size_t i, std::size_t end) {
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  for (; i + 8 <= end; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if ((word & kHigh) != 0) break;
  }
  while (i < end && (static_cast<unsigned char>(p[i]) & 0x80) == 0) ++i;
  return i;
}

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
  // Every byte of an ASCII run starts a character, so candidates there are
  // found with memchr; only the double-byte characters are stepped one by one.
  const char first = marker[0];
  std::size_t i = begin;
  while (i <= last) {
    const std::size_t high = nextHighByte(p, i, last + 1);
    while (i < high) {
      const void* hit = std::memchr(p + i, first, high - i);
      if (hit == nullptr) break;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) - p);
      if (std::memcmp(p + i, marker.data(), m) == 0 && !found(i)) return;
      ++i;
    }
    i = high;
    if (i > last) return;
    if (p[i] == first && std::memcmp(p + i, marker.data(), m) == 0 && !found(i)) return;
    i += 2;
  }
}

}  // namespace

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

// "#引号" in a marker stands for a double quote.
Text resolveQuotes(const Text& marker) {
  if (marker.view().find('#') == std::string_view::npos) return marker;
  return replaceText(marker, "#\xD2\xFD\xBA\xC5", {.replacement = "\"", .caseSensitive = true});
}

}  // namespace

Text textBetween(const Text& t, const Text& left, const Text& right, SearchOptions options) {
  const Text l = resolveQuotes(left);
  const int p = findText(t, l, options);
  if (p == -1) return {};
  const int q0 = p + l.length();
  const int q = findText(t, resolveQuotes(right), {.start = q0, .ignoreCase = options.ignoreCase});
  if (q == -1) return {};
  return textMid(t, q0, q - q0);
}

Text textBefore(const Text& t, const Text& marker, SearchOptions options) {
  const int start = options.start && *options.start > 0 ? *options.start : 1;
  const int p = findText(t, marker, {.start = start, .ignoreCase = options.ignoreCase});
  if (p == -1) return {};
  return textLeft(t, p - 1);
}
