// Linux: the two conversion routines for code pages 65001, 936 and 0 (here
// 936, the program's own code page), giving what Windows' routines give.
// UTF-8 is decoded and encoded here. Code page 936 is a pair of tables read
// once from glibc's iconv at first use, with what Windows has beyond glibc
// laid over them (ranking/cp936_additions.h); converting is then a table
// lookup per character.
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "ranking/codepage_api.h"
#include "ranking/cp936_additions.h"
#include "text/alloc.h"
#include "text/fatal_error.h"
#include "text/text_scan.h"

static_assert(std::endian::native == std::endian::little);  // units as they lie in memory

namespace {

constexpr unsigned utf8 = 65001;
constexpr char16_t replacementCharacter = 0xFFFD;
constexpr char defaultCharacter = '?';         // for a character code page 936 lacks
constexpr char16_t undefinedCharacter = u'?';  // for a code page 936 sequence it does not define

bool isCodePage936(unsigned codePage) {
  return codePage == 936 || codePage == 0;
}

// Copies `n` ASCII bytes to units or units to bytes, four at a time: four
// bytes spread to four little-endian units, four units packed to four bytes.
void copyAscii(const unsigned char* from, char16_t* to, std::size_t n) {
  std::size_t k = 0;
  for (; k + 4 <= n; k += 4) {
    std::uint32_t bytes;
    std::memcpy(&bytes, from + k, 4);
    std::uint64_t units = bytes;
    units = (units | units << 16) & 0x0000FFFF0000FFFFu;
    units = (units | units << 8) & 0x00FF00FF00FF00FFu;
    std::memcpy(to + k, &units, 8);
  }
  for (; k < n; ++k) to[k] = from[k];
}
// The first unit from `u` on that is not ASCII (1-7F): four to a loop, each
// read only once the one before it is known to be no terminator.
const char16_t* asciiEnd(const char16_t* u) {
  const auto ascii = [](char16_t unit) { return static_cast<char16_t>(unit - 1) < 0x7F; };
  for (;; u += 4) {
    if (!ascii(u[0])) return u;
    if (!ascii(u[1])) return u + 1;
    if (!ascii(u[2])) return u + 2;
    if (!ascii(u[3])) return u + 3;
  }
}

void copyAscii(const char16_t* from, char* to, std::size_t n) {
  std::size_t k = 0;
  for (; k + 4 <= n; k += 4) {
    std::uint64_t units;
    std::memcpy(&units, from + k, 8);
    units = (units | units >> 8) & 0x0000FFFF0000FFFFu;
    const auto bytes = static_cast<std::uint32_t>(units | units >> 16);
    std::memcpy(to + k, &bytes, 4);
  }
  for (; k < n; ++k) to[k] = static_cast<char>(from[k]);
}

// Receives a routine's output: writes at most `capacity` items and counts them
// all, so a capacity of 0 (or no buffer) only counts.
template <class T>
class Output {
 public:
  Output(T* buffer, int capacity)
      : buffer_(buffer),
        capacity_(buffer != nullptr && capacity > 0 ? static_cast<std::size_t>(capacity) : 0) {}

  void put(T item) {
    if (count_ < capacity_) buffer_[count_] = item;  // never past the caller's buffer
    ++count_;
  }

  // Puts a run of `n` ASCII items of the other width.
  template <class S>
  void putAscii(const S* items, std::size_t n) {
    // Counting has no buffer: no pointer is formed from it then.
    if (count_ < capacity_) copyAscii(items, buffer_ + count_, std::min(n, capacity_ - count_));
    count_ += n;
  }

  // The routine's result: the count needed when counting, else the count
  // written, or 0 when the buffer was too small.
  int result() const {
    if (count_ > INT_MAX || (capacity_ != 0 && count_ > capacity_)) return 0;
    return static_cast<int>(count_);
  }

 private:
  T* buffer_;
  std::size_t capacity_;
  std::size_t count_ = 0;
};

bool isHighSurrogate(char32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

void putCodePoint(char32_t c, Output<char16_t>* out) {
  if (c < 0x10000) {
    out->put(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out->put(static_cast<char16_t>(0xD800 + (c >> 10)));
  out->put(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Each ill-formed subsequence becomes one U+FFFD: the longest start of a
// well-formed sequence there, or else the one byte. A sequence ends at the
// first byte that cannot continue it, and the terminator after `text` never
// can, so nothing past it is read.
void decodeUtf8(std::string_view text, Output<char16_t>* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = 0;
  for (;;) {
    const std::size_t ascii = nextHighByte(text.data(), i, text.size());  // the bulk of a page
    out->putAscii(s + i, ascii - i);
    i = ascii;
    const unsigned lead = s[i];
    if (lead == 0) {
      out->put(0);
      return;
    }
    // The sequence length and the range of its second byte (Unicode's table
    // of well-formed sequences); later bytes are 0x80-0xBF.
    int length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // no overlong forms
      if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
      out->put(replacementCharacter);
      ++i;
      continue;
    }
    char32_t c = lead & (0xFFu >> (length + 1));
    int k = 1;
    for (; k < length; ++k) {
      const unsigned next = s[i + static_cast<std::size_t>(k)];
      if (next < low || next > high) break;
      c = (c << 6) | (next & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    i += static_cast<std::size_t>(k);
    if (k < length) {
      out->put(replacementCharacter);
    } else {
      putCodePoint(c, out);
    }
  }
}

// A surrogate that is not part of a pair becomes U+FFFD.
void encodeUtf8(const char16_t* units, Output<char>* out) {
  for (std::size_t i = 0;; ++i) {
    char32_t c = units[i];
    if (c == 0) break;
    if (isHighSurrogate(c) &&
        isLowSurrogate(units[i + 1])) {  // units[i + 1] is at most the terminator
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
      c = replacementCharacter;
    }
    if (c < 0x80) {
      out->put(static_cast<char>(c));
    } else if (c < 0x800) {
      out->put(static_cast<char>(0xC0 | (c >> 6)));
      out->put(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out->put(static_cast<char>(0xE0 | (c >> 12)));
      out->put(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->put(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out->put(static_cast<char>(0xF0 | (c >> 18)));
      out->put(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out->put(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->put(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  out->put('\0');
}

struct IconvClose {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvClose>;

IconvHandle openIconv(const char* to, const char* from) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    fatalError(0,
               "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xB4\xFA\xC2\xEB\xD2\xB3\xD7\xAA\xBB\xBB"
               "\xA1\xB0"
               "CP936\xA1\xB1");  // 无法打开代码页转换“CP936”
  }
  return IconvHandle(cd);
}

// Converts all of `in` in one call; the bytes made, or "" when iconv has no
// mapping for it.
std::string_view convertOnce(const IconvHandle& handle, std::string_view in, char (&out)[8]) {
  const auto cd = static_cast<iconv_t>(handle.get());
  char* source = const_cast<char*>(in.data());  // iconv's signature; it does not write there
  std::size_t sourceLeft = in.size();
  char* target = out;
  std::size_t targetLeft = sizeof out;
  const std::size_t done = iconv(cd, &source, &sourceLeft, &target, &targetLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state after an error
  if (done == static_cast<std::size_t>(-1) || sourceLeft != 0) return {};
  return std::string_view(out, static_cast<std::size_t>(target - out));
}

// Code page 936 both ways. A code is a single byte (below 0x100) or a lead
// byte and a trail byte (lead << 8 | trail); 0 stands for "none".
template <class T>
using Table = std::vector<T, FatalAllocator<T>>;
struct Cp936Tables {
  Table<char16_t> unitOfCode = Table<char16_t>(0x10000);
  Table<std::uint16_t> codeOfUnit = Table<std::uint16_t>(0x10000);
};

bool isLeadByte(unsigned byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

Cp936Tables readCp936Tables() {
  Cp936Tables tables;
  const IconvHandle toUnicode = openIconv("UTF-16LE", "CP936");
  const IconvHandle fromUnicode = openIconv("CP936", "UTF-16LE");
  char made[8];
  // Every single byte and every lead byte with every trail byte, once.
  for (unsigned code = 1; code < 0x10000; ++code) {
    const unsigned lead = code >> 8, trail = code & 0xFF;
    if (lead != 0 && (!isLeadByte(lead) || trail == 0)) continue;
    const char bytes[2] = {static_cast<char>(lead != 0 ? lead : trail), static_cast<char>(trail)};
    const std::string_view unit =
        convertOnce(toUnicode, std::string_view(bytes, lead != 0 ? 2 : 1), made);
    if (unit.size() != 2) continue;  // undefined, or beyond one unit
    tables.unitOfCode[code] = static_cast<char16_t>(static_cast<unsigned char>(unit[0]) |
                                                    static_cast<unsigned char>(unit[1]) << 8);
  }
  // Every unit but the surrogates, which code page 936 never holds.
  for (char32_t u = 1; u < 0x10000; ++u) {
    if (isHighSurrogate(u) || isLowSurrogate(u)) continue;
    const char bytes[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    const std::string_view code = convertOnce(fromUnicode, std::string_view(bytes, 2), made);
    if (code.size() == 1) tables.codeOfUnit[u] = static_cast<unsigned char>(code[0]);
    if (code.size() == 2) {
      tables.codeOfUnit[u] = static_cast<std::uint16_t>(static_cast<unsigned char>(code[0]) << 8 |
                                                        static_cast<unsigned char>(code[1]));
    }
  }
  for (const Cp936Run& run : cp936WindowsRuns) {
    for (unsigned k = 0; k < run.count; ++k) {
      tables.unitOfCode[run.code + k] = static_cast<char16_t>(run.unit + k);
      tables.codeOfUnit[run.unit + k] = static_cast<std::uint16_t>(run.code + k);
    }
  }
  for (const Cp936BestFit& fit : cp936WindowsBestFit) tables.codeOfUnit[fit.unit] = fit.code;
  return tables;
}

const Cp936Tables& cp936Tables() {
  static const Cp936Tables tables = readCp936Tables();
  return tables;
}

// A lead byte and the byte after it are one character, undefined ones
// included; a lead byte just before the terminator stands alone.
void decodeCp936(const unsigned char* s, Output<char16_t>* out) {
  const Cp936Tables& tables = cp936Tables();
  std::size_t i = 0;
  for (;;) {
    const unsigned byte = s[i];
    if (byte == 0) break;
    unsigned code = byte;
    ++i;
    if (isLeadByte(byte) && s[i] != 0) code = byte << 8 | s[i++];
    const char16_t unit = code < 0x80 ? static_cast<char16_t>(code) : tables.unitOfCode[code];
    out->put(unit != 0 ? unit : undefinedCharacter);
  }
  out->put(0);
}

// Unit by unit, so a surrogate pair gives two default characters.
void encodeCp936(const char16_t* units, Output<char>* out) {
  const Cp936Tables& tables = cp936Tables();
  for (std::size_t i = 0;; ++i) {
    const std::size_t ascii = static_cast<std::size_t>(asciiEnd(units + i) - units);  // most units
    out->putAscii(units + i, ascii - i);
    i = ascii;
    if (units[i] == 0) break;
    const unsigned code = tables.codeOfUnit[units[i]];
    if (code == 0) {
      out->put(defaultCharacter);
    } else if (code < 0x100) {
      out->put(static_cast<char>(code));
    } else {
      out->put(static_cast<char>(code >> 8));
      out->put(static_cast<char>(code & 0xFF));
    }
  }
  out->put('\0');
}

int multiByteToWideChar(unsigned codePage, const char* text, char16_t* units, int capacity) {
  if (text == nullptr || (codePage != utf8 && !isCodePage936(codePage))) return 0;
  Output<char16_t> out(units, capacity);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  if (codePage == utf8) {
    decodeUtf8(text, &out);
  } else {
    decodeCp936(bytes, &out);
  }
  return out.result();
}

int wideCharToMultiByte(unsigned codePage, const char16_t* units, char* text, int capacity) {
  if (units == nullptr || (codePage != utf8 && !isCodePage936(codePage))) return 0;
  Output<char> out(text, capacity);
  if (codePage == utf8) {
    encodeUtf8(units, &out);
  } else {
    encodeCp936(units, &out);
  }
  return out.result();
}

}  // namespace

const CodePageApi platformCodePageApi = {multiByteToWideChar, wideCharToMultiByte};
