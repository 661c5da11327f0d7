#pragma once
// Character stepping, ASCII case folding and the byte search shared by the
// scanning operations.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// 2 for the first byte of a double-byte character (high bit set), else 1.
inline std::size_t characterSize(char lead) {
  return (static_cast<unsigned char>(lead) & 0x80) != 0 ? 2 : 1;
}

// The first byte at or after `i` with its high bit set, or `end`; eight bytes
// at a time, since pages are mostly ASCII.
inline std::size_t nextHighByte(const char* p, std::size_t i, std::size_t end) {
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  for (; i + 8 <= end; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if ((word & kHigh) != 0) break;
  }
  while (i < end && (static_cast<unsigned char>(p[i]) & 0x80) == 0) ++i;
  return i;
}

// Like v.find(marker, from) for a marker of at least one byte, byte by byte,
// eight positions at a time.
std::size_t searchBytes(std::string_view v, std::string_view marker, std::size_t from);

inline char foldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Equal when equal after folding A-Z to a-z; every byte is folded, the second
// bytes of double-byte characters included (bytes 0x80-0xFF never change).
inline bool equalFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  }
  return true;
}
