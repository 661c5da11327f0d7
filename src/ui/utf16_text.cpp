#include "ui/utf16_text.h"

#include "ranking/codepage.h"

std::u16string utf16Text(const Text& text) {
  // Two bytes a unit, little-endian, and a zero unit at the end that the string leaves out.
  const Bytes units = textToUtf16(text, 936);
  std::u16string out(units.length() >= 2 ? static_cast<std::size_t>(units.length() / 2 - 1) : 0,
                     u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto* pair = reinterpret_cast<const unsigned char*>(units.data()) + 2 * i;
    out[i] = static_cast<char16_t>(pair[0] | pair[1] << 8);
  }
  return out;
}
