#pragma once
// How GoogleTest prints the program's values: bytes outside printable ASCII as
// \xNN, so a failure shows exactly which bytes differ.

#include <ostream>
#include <string_view>

#include "text/values.h"

inline void printEscaped(std::string_view bytes, std::ostream* os) {
  static const char digits[] = "0123456789ABCDEF";
  *os << '"';
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
      *os << c;
    } else {
      *os << "\\x" << digits[u >> 4] << digits[u & 15];
    }
  }
  *os << '"';
}

inline void PrintTo(const Text& t, std::ostream* os) {
  printEscaped(t.view(), os);
}
inline void PrintTo(const Bytes& b, std::ostream* os) {
  printEscaped(b.view(), os);
}
template <class T>
void PrintTo(const List<T>& list, std::ostream* os) {
  *os << '{';
  for (const T& m : list.members) {
    PrintTo(m, os);
    *os << ' ';
  }
  *os << '}';
}
