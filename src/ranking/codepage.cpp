#include "ranking/codepage.h"

#include <algorithm>
#include <bit>
#include <climits>

#include "ranking/codepage_api.h"
#include "text/bytes.h"
#include "text/text.h"

// UTF-16 units travel in Bytes as they lie in memory, which must be little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

const CodePageApi* installedApi = nullptr;

// The value of the hexadecimal digit at `at`, either letter case: 0 past the
// end of the text, -2 for any other byte.
int digitValue(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  const char c = text[at];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -2;
}

// The address of the first UTF-16 unit of `units`; none for an empty value.
char16_t* firstUnit(Bytes* units) {
  return units->empty() ? nullptr : reinterpret_cast<char16_t*>(units->data());
}
const char16_t* firstUnit(const Bytes& units) {
  return units.empty() ? nullptr : reinterpret_cast<const char16_t*>(units.data());
}

// Whether `units` holds a zero unit (an odd last byte is no unit). The
// conversions' own units end with one, so that case is checked first.
bool holdsTerminator(const Bytes& units) {
  const std::string_view v = units.view().substr(0, units.view().size() / 2 * 2);
  if (v.size() >= 2 && v[v.size() - 2] == 0 && v.back() == 0) return true;
  for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
    if (v[i] == 0 && v[i + 1] == 0) return true;
  }
  return false;
}

// `count` units as a buffer the routines can take: 2 x count bytes, zero filled.
Bytes unitBuffer(int count) {
  if (count > INT_MAX / 2) fatalOutOfMemory(static_cast<std::size_t>(count) * 2);
  return blankBytes(2 * count);
}

}  // namespace

const CodePageApi& codePageApi() {
  return installedApi != nullptr ? *installedApi : platformCodePageApi;
}

void setCodePageApi(const CodePageApi* api) {
  installedApi = api;
}

Text urlDecode(const Text& text, bool convert) {
  const std::string_view in = text.view();
  Text out;
  out.reserve(text.length());
  std::size_t i = 0;
  while (i < in.size()) {
    const std::size_t percent = std::min(in.find('%', i), in.size());
    out.append(in.substr(i, percent - i));  // every byte but "%" is copied unchanged
    if (percent == in.size()) break;
    // "%" always takes the two bytes after it, whatever they are; only the low
    // eight bits of the value count, and a zero byte is dropped.
    const int value = 16 * digitValue(in, percent + 1) + digitValue(in, percent + 2);
    const char byte = static_cast<char>(value & 0xFF);
    if (byte != 0) out.append(std::string_view(&byte, 1));
    i = percent + 3;
  }
  return convert ? utf8ToGbk(out) : out;
}

Text utf8ToGbk(const Text& text) {
  return utf16ToText(textToUtf16(text), 936);
}

Bytes textToUtf16(const Text& text, unsigned codePage) {
  if (text.empty()) return {};  // nothing to convert
  const CodePageApi& api = codePageApi();
  const auto convertInto = [&](Bytes* buffer) {
    return api.multiByteToWideChar(codePage, text.c_str(), firstUnit(buffer), buffer->length() / 2);
  };
  // In UTF-8 and in code page 936 a byte never becomes more than one unit, so
  // one call into a unit per byte and the terminator does the conversion.
  Bytes buffer = unitBuffer(std::min(text.length(), INT_MAX / 2 - 1) + 1);
  if (const int n = convertInto(&buffer); n > 0) {
    buffer.resize(2 * std::min(n, buffer.length() / 2));
    return buffer;
  }
  // Too small (another code page): the count, taken in the conversion's own
  // code page, sizes the buffer, so it holds whatever that conversion makes of
  // ill-formed input.
  const int n = api.multiByteToWideChar(codePage, text.c_str(), nullptr, 0);
  if (n <= 0) return {};
  buffer = unitBuffer(n);
  convertInto(&buffer);
  return buffer;
}

Text utf16ToText(const Bytes& units, unsigned codePage) {
  const std::string_view v = units.view();
  if (v.size() < 2 || (v[0] == 0 && v[1] == 0)) return {};  // nothing to convert
  // The routines read up to a zero unit: one is added where `units` lacks it.
  Bytes terminated;
  const Bytes* source = &units;
  if (!holdsTerminator(units)) {
    terminated = concatBytes(bytesLeft(units, units.length() / 2 * 2), unitBuffer(1));
    source = &terminated;
  }
  const CodePageApi& api = codePageApi();
  // A unit takes at most two bytes in code page 936, so a buffer the size of
  // the units holds its result. Any other code page gets twice the count in the
  // system's ANSI code page: each unit or surrogate pair takes at least one
  // byte there.
  Bytes buffer;
  if (codePage == 936) {
    buffer = blankBytes(source->length() / 2 * 2);
  } else {
    const int m = api.wideCharToMultiByte(0, firstUnit(*source), nullptr, 0);
    if (m <= 0) return {};
    buffer = unitBuffer(m);
  }
  // A conversion that fails (an unknown code page, too small a buffer) gives
  // "", never the untouched buffer.
  if (api.wideCharToMultiByte(codePage, firstUnit(*source), buffer.data(), buffer.length()) <= 0)
    return {};
  return bytesToText(buffer);  // up to the terminator the conversion wrote
}
