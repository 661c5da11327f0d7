#pragma once
// Operations on Bytes: byte by byte, with no notion of double-byte characters.

#include <cstddef>
#include <optional>
#include <string_view>

#include "text/values.h"

Bytes textToBytes(const Text& t);  // without a terminating zero
Text bytesToText(const Bytes& b);  // up to the first zero byte

int bytesLength(const Bytes& b);
Bytes bytesLeft(const Bytes& b, int n);
Bytes bytesMid(const Bytes& b, int start, int n);  // start < 1 acts as 1 (unlike textMid)
Bytes blankBytes(int n);                           // n zero bytes

// An empty pattern gives -1 (unlike findText).
int findBytes(const Bytes& b, const Bytes& pattern, std::optional<int> start = std::nullopt);
// With start given, only occurrences lying wholly inside bytes 1 to start count.
int findBytesReverse(const Bytes& b, const Bytes& pattern, std::optional<int> start = std::nullopt);

struct ReplaceBytesOptions {
  Bytes replacement;  // left out or empty: occurrences are deleted
  int start = 1;
  // Left out: every occurrence; 0 or negative: nothing changes (unlike replaceText).
  std::optional<int> count;
};
Bytes replaceBytes(const Bytes& b, const Bytes& pattern, const ReplaceBytesOptions& options = {});

// The members splitBytes(v, delimiter) makes, one at a time and uncopied: the
// one from byte *from (0-based) on, moving *from past its delimiter; none
// once *from reaches the end. The delimiter is not empty.
std::optional<std::string_view> nextSplitMember(std::string_view v, std::string_view delimiter,
                                                std::size_t* from);
// Member rules as splitText; the delimiter left out is one zero byte.
BytesList splitBytes(const Bytes& b, const Bytes& delimiter = Bytes(std::string_view("", 1)),
                     std::optional<int> limit = std::nullopt);

// Joins byte sequences; pass the first by std::move to append in place.
template <class... More>
Bytes concatBytes(Bytes first, const More&... more) {
  (first.append(asView(more)), ...);
  return first;
}

bool bytesEqual(const Bytes& a, const Bytes& b);
