#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

Text::Text(const char* s) : Text(asView(s)) {}

Text::Text(std::string_view bytes) {
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  s_.assign(bytes.data(), bytes.size());
}

Text& Text::append(std::string_view more) {
  const std::size_t zero = more.find('\0');
  if (zero != std::string_view::npos) more = more.substr(0, zero);
  s_.append(more.data(), more.size());
  return *this;
}

int textLength(const Text& t) {
  return t.length();
}

Text textLeft(const Text& t, int n) {
  if (n <= 0) return {};
  return Text(t.view().substr(0, static_cast<std::size_t>(n)));
}

Text textRight(const Text& t, int n) {
  if (n <= 0) return {};
  if (n >= t.length()) return t;
  return Text(t.view().substr(static_cast<std::size_t>(t.length() - n)));
}

Text textMid(const Text& t, int start, int n) {
  if (start < 1 || start > t.length() || n <= 0) return {};
  return Text(t.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

int charCode(const Text& t) {
  if (t.empty()) return 0;
  return static_cast<signed char>(t.view()[0]);
}

Text charFromCode(int code) {
  const char c = static_cast<char>(code & 0xFF);
  return Text(std::string_view(&c, 1));  // a zero byte gives ""
}

Text blankText(int n) {
  if (n <= 0) return {};
  return Text(std::string(static_cast<std::size_t>(n), ' '));
}

namespace {

// Full-width forms as textToInt reads them: A3 xx is the ASCII byte xx - 0x80,
// the full-width space is a space, A1 AB is '~', A1 EE and A1 EF are '*'.
char asciiForm(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead == 0xA1) {
    if (trail == 0xA1) return ' ';
    if (trail == 0xAB) return '~';
    if (trail == 0xEE || trail == 0xEF) return '*';
  }
  return 0;
}

}  // namespace

int textToInt(const Text& t) {
  // Reads the characters one by one, turning full-width forms into ASCII on
  // the way; only the leading number is ever looked at.
  const std::string_view v = t.view();
  std::size_t i = 0;
  auto next = [&]() -> int {  // the next character as one byte, or -1 at the end
    if (i >= v.size()) return -1;
    const auto lead = static_cast<unsigned char>(v[i]);
    if (lead < 0x80) {
      ++i;
      return lead;
    }
    if (i + 1 >= v.size()) {
      ++i;
      return lead;
    }
    const auto trail = static_cast<unsigned char>(v[i + 1]);
    i += 2;
    const char ascii = asciiForm(lead, trail);
    return ascii != 0 ? static_cast<unsigned char>(ascii) : 0x100;  // 0x100: another character
  };
  int c = next();
  while (c == ' ' || (c >= 0x09 && c <= 0x0D)) c = next();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = next();
  }
  std::uint32_t value = 0;
  while (c >= '0' && c <= '9') {
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
    c = next();
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

Text intToText(int n) {
  return Text(std::to_string(n));
}

int bitOr(int a, int b) {
  return a | b;
}

int compareText(const Text& a, const Text& b) {
  const std::string_view x = a.view(), y = b.view();
  const int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
  if (c != 0) return c < 0 ? -1 : 1;
  if (x.size() == y.size()) return 0;
  return x.size() < y.size() ? -1 : 1;
}
