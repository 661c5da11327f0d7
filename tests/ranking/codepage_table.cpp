#include "ranking/codepage_table.h"

#include <vector>

#include "ranking/codepage_api.h"

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

void appendHex(unsigned value, int digits, std::string* out) {
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
    *out += hexDigits[(value >> shift) & 15];
}

bool isSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// Both routines the way the conversions call them: a counting call, then one
// with exactly that capacity. The output leaves out the terminator.
std::string toBytes(unsigned codePage, std::u16string units, int* count) {
  const CodePageApi& api = codePageApi();
  *count = api.wideCharToMultiByte(codePage, units.c_str(), nullptr, 0);
  std::string out(static_cast<std::size_t>(*count > 0 ? *count : 1), '\0');
  const int written = api.wideCharToMultiByte(codePage, units.c_str(), out.data(), *count);
  out.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
  return out;
}

std::u16string toUnits(unsigned codePage, const std::string& bytes, int* count) {
  const CodePageApi& api = codePageApi();
  *count = api.multiByteToWideChar(codePage, bytes.c_str(), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(*count > 0 ? *count : 1), u'\0');
  const int written = api.multiByteToWideChar(codePage, bytes.c_str(), out.data(), *count);
  out.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
  return out;
}

std::string hexBytes(std::string_view bytes) {
  std::string out;
  for (char c : bytes) appendHex(static_cast<unsigned char>(c), 2, &out);
  return out;
}

std::string hexUnits(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (i != 0) out += ' ';
    appendHex(units[i], 4, &out);
  }
  return out;
}

// "input -> output (count)"
void appendLine(const std::string& input, const std::string& output, int count, std::string* out) {
  *out += input + " -> " + output + " (" + std::to_string(count) + ")\n";
}

void lineToBytes(unsigned codePage, const std::u16string& units, std::string* out) {
  int count = 0;
  const std::string bytes = toBytes(codePage, units, &count);
  appendLine(hexUnits(units), hexBytes(bytes), count, out);
}

void lineToUnits(unsigned codePage, const std::string& bytes, std::string* out) {
  int count = 0;
  const std::u16string units = toUnits(codePage, bytes, &count);
  appendLine(hexBytes(bytes), hexUnits(units), count, out);
}

std::u16string unitsOf(char32_t c) {
  if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
  c -= 0x10000;
  return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

// Through UTF-8 and back, and into code page 936.
void supplementaryLines(char32_t c, std::string* out) {
  const std::u16string units = unitsOf(c);
  int count = 0;
  lineToUnits(65001, toBytes(65001, units, &count), out);
  lineToBytes(936, units, out);
}

}  // namespace

void forEachCodePageTableSection(
    const std::function<void(std::string_view name, const std::string& lines)>& visit) {
  std::string lines;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (!isSurrogate(c)) lineToBytes(936, unitsOf(c), &lines);
  }
  visit("bmp-to-936", lines);

  lines.clear();
  for (unsigned first = 1; first < 0x100; ++first) {
    const char lead = static_cast<char>(first);
    lineToUnits(936, std::string(1, lead), &lines);
    if (first < 0x80) continue;
    for (unsigned second = 1; second < 0x100; ++second) {
      lineToUnits(936, {lead, static_cast<char>(second)}, &lines);
    }
  }
  visit("936-to-utf16", lines);

  // Every character to UTF-8 and back.
  lines.clear();
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (isSurrogate(c)) continue;
    int count = 0;
    lineToBytes(65001, unitsOf(c), &lines);
    lineToUnits(65001, toBytes(65001, unitsOf(c), &count), &lines);
  }
  visit("bmp-utf8", lines);

  lines.clear();
  for (char32_t c = 0x10000; c <= 0x10FFFF; c += 0x3F1) supplementaryLines(c, &lines);
  supplementaryLines(0x10FFFF, &lines);
  supplementaryLines(0x1F338, &lines);  // a cherry blossom, as a title may hold
  visit("supplementary", lines);

  // Alone, between letters, and before one of the other kind (a pair when the
  // high one comes first).
  lines.clear();
  for (char16_t u = 0xD800; u <= 0xDFFF; ++u) {
    for (const std::u16string& units : {std::u16string(1, u), std::u16string{u'a', u, u'b'},
                                        std::u16string{u, static_cast<char16_t>(u ^ 0x0400)}}) {
      lineToBytes(65001, units, &lines);
      lineToBytes(936, units, &lines);
    }
  }
  visit("lone-surrogates", lines);
}

std::uint64_t fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3u;
  }
  return hash;
}
