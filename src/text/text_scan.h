#pragma once
// Character stepping and ASCII case folding shared by the scanning operations.

#include <cstddef>
#include <string_view>

// 2 for the first byte of a double-byte character (high bit set), else 1.
inline std::size_t characterSize(char lead) {
  return (static_cast<unsigned char>(lead) & 0x80) != 0 ? 2 : 1;
}

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
