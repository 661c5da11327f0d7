#pragma once
// UTF-8 for the terminal and for scripts. Inside the program text stays code
// page 936; only what korvale-cli prints is UTF-8, held in std::string.

#include <string>
#include <string_view>

#include "text/values.h"

// UTF-16 as UTF-8. A surrogate pair becomes one four-byte character and a lone
// surrogate U+FFFD, so the result is always well-formed UTF-8.
std::string utf16ToUtf8(std::u16string_view units);

// Code page 936 text as UTF-8, through the conversion to UTF-16 the window uses.
std::string gbkToUtf8(const Text& text);

// Decodes the character that starts at `*pos` and moves `*pos` past it. A byte
// that does not start a well-formed sequence decodes as U+FFFD and moves one.
char32_t nextCodePoint(std::string_view utf8, std::size_t* pos);

// Calls f(code point, its UTF-8 bytes) for each character in turn; an
// ill-formed byte comes as U+FFFD with that character's bytes, so whatever
// the callback copies is well-formed UTF-8.
template <class F>
void forEachCodePoint(std::string_view utf8, F f) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const char32_t c = nextCodePoint(utf8, &pos);
    f(c, c == U'\uFFFD' ? std::string_view("\xEF\xBF\xBD") : utf8.substr(start, pos - start));
  }
}
