#include <cstddef>

#include "cli/utf8.h"

namespace {

void appendUtf8(std::string* out, char32_t c) {
  auto byte = [out](char32_t v) { out->push_back(static_cast<char>(v)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | (c >> 6));
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | (c >> 12));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | (c >> 18));
    byte(0x80 | ((c >> 12) & 0x3F));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

bool isHighSurrogate(char32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

std::string utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      appendUtf8(&out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      appendUtf8(&out, isHighSurrogate(u) || isLowSurrogate(u) ? U'\uFFFD' : u);
    }
  }
  return out;
}

char32_t nextCodePoint(std::string_view utf8, std::size_t* pos) {
  const auto at = [utf8](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned lead = at(*pos);
  int extra = 0;
  char32_t c = 0;
  char32_t least = 0;  // smallest value the sequence's length may carry
  if (lead < 0x80) {
    ++*pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07, least = 0x10000;
  } else {
    ++*pos;
    return U'\uFFFD';
  }
  if (utf8.size() - *pos <= static_cast<std::size_t>(extra)) {
    ++*pos;
    return U'\uFFFD';
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned next = at(*pos + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) {
      ++*pos;
      return U'\uFFFD';
    }
    c = c << 6 | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++*pos;
    return U'\uFFFD';
  }
  *pos += static_cast<std::size_t>(extra) + 1;
  return c;
}
