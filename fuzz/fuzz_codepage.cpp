// The Linux code-page routines against glibc's iconv on arbitrary bytes and
// units, character by character. Where they differ on purpose: ill-formed
// UTF-8 becomes one U+FFFD per maximal subpart (iconv stops there), a lone
// surrogate becomes U+FFFD, and code page 936 has Windows' cells for the
// user-defined areas and its best-fit mappings, which glibc lacks.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "ranking/codepage_api.h"
#include "ranking/cp936_additions.h"

namespace {

struct Converter {
  iconv_t cd;
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {
    FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1));
  }
  ~Converter() { iconv_close(cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts what it can of `in`; the count of bytes read. Stops before the
  // first sequence it cannot convert, errno telling why (EINVAL: incomplete).
  std::size_t run(std::string_view in, std::string* out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out->assign(4 * in.size() + 8, '\0');
    char* source = const_cast<char*>(in.data());  // iconv's signature; it does not write there
    std::size_t sourceLeft = in.size();
    char* target = out->data();
    std::size_t targetLeft = out->size();
    errno = 0;
    iconv(cd, &source, &sourceLeft, &target, &targetLeft);
    out->resize(out->size() - targetLeft);
    return in.size() - sourceLeft;
  }
  bool whole(std::string_view in, std::string* out) { return run(in, out) == in.size(); }
};

std::u16string unitsOf(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return units;
}
std::string bytesOf(std::u16string_view units) {
  std::string bytes;
  for (const char16_t u : units) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

bool isSurrogate(char32_t u) {
  return u >= 0xD800 && u <= 0xDFFF;
}
bool isLeadByte(unsigned byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// The cells Windows has beyond glibc: a code or unit in them may differ.
bool windowsCode(unsigned code) {
  for (const Cp936Run& run : cp936WindowsRuns) {
    if (code >= run.code && code < run.code + run.count) return true;
  }
  return false;
}
bool windowsUnit(char32_t unit) {
  for (const Cp936Run& run : cp936WindowsRuns) {
    if (unit >= run.unit && unit < run.unit + run.count) return true;
  }
  for (const Cp936BestFit& fit : cp936WindowsBestFit) {
    if (unit == fit.unit) return true;
  }
  return false;
}

// Both calls of a routine: the count, then the conversion into a buffer of
// exactly that size, and one unit short of it, which must write nothing past it.
template <class From, class To>
std::basic_string<To> convert(int (*routine)(unsigned, const From*, To*, int), unsigned codePage,
                              const From* source) {
  const int needed = routine(codePage, source, nullptr, 0);
  FUZZ_CHECK(needed >= 1);
  std::vector<To> exact(static_cast<std::size_t>(needed));
  FUZZ_CHECK(routine(codePage, source, exact.data(), needed) == needed);
  FUZZ_CHECK(exact.back() == 0);
  if (needed > 1) {
    std::vector<To> shorter(static_cast<std::size_t>(needed - 1));
    FUZZ_CHECK(routine(codePage, source, shorter.data(), needed - 1) == 0);
  }
  return std::basic_string<To>(exact.data(), exact.size() - 1);
}

Converter& utf8ToUnits() {
  static Converter converter("UTF-16LE", "UTF-8");
  return converter;
}

bool isSequenceStart(std::string start) {
  std::string made;
  while (start.size() < 4) {
    start.push_back('\x80');
    if (utf8ToUnits().whole(start, &made)) return true;
  }
  return false;
}

void checkUtf8(const std::string& text) {
  Converter& toUnits = utf8ToUnits();
  const std::u16string ours = convert(platformCodePageApi.multiByteToWideChar, 65001, text.c_str());
  std::size_t at = 0, unit = 0;
  std::string made;
  while (at < text.size()) {
    // The well-formed run iconv converts, then one ill-formed subpart.
    const std::size_t good = toUnits.run(std::string_view(text).substr(at), &made);
    const std::u16string units = unitsOf(made);
    FUZZ_CHECK(ours.compare(unit, units.size(), units) == 0);
    unit += units.size();
    at += good;
    if (at == text.size()) break;
    // An ill-formed subpart: the longest start of a sequence that iconv
    // converts once completed with continuation bytes (its own test of an
    // incomplete sequence is looser), at least one byte.
    std::size_t part = 1;
    while (part < 4 && at + part < text.size() && isSequenceStart(text.substr(at, part + 1))) {
      ++part;
    }
    FUZZ_CHECK(unit < ours.size() && ours[unit] == 0xFFFD);
    ++unit;
    at += part;
  }
  FUZZ_CHECK(unit == ours.size());
}

void checkCp936(const std::string& text) {
  static Converter toUnits("UTF-16LE", "CP936");
  const std::u16string ours = convert(platformCodePageApi.multiByteToWideChar, 936, text.c_str());
  std::size_t unit = 0;
  std::string made;
  for (std::size_t at = 0; at < text.size();) {
    const unsigned byte = static_cast<unsigned char>(text[at]);
    const std::size_t length = isLeadByte(byte) && at + 1 < text.size() ? 2 : 1;
    unsigned code = byte;
    if (length == 2) code = byte << 8 | static_cast<unsigned char>(text[at + 1]);
    FUZZ_CHECK(unit < ours.size());
    const char16_t got = ours[unit++];
    at += length;
    if (windowsCode(code)) continue;
    const bool known = toUnits.whole(std::string_view(text).substr(at - length, length), &made);
    const std::u16string units = unitsOf(made);
    if (known && units.size() == 1) {
      FUZZ_CHECK(got == units[0]);
    } else {
      FUZZ_CHECK(got == u'?');
    }
  }
  FUZZ_CHECK(unit == ours.size());
}

void checkUnits(const std::u16string& units) {
  static Converter toUtf8("UTF-8", "UTF-16LE");
  static Converter toCp936("CP936", "UTF-16LE");
  const std::string utf8 = convert(platformCodePageApi.wideCharToMultiByte, 65001, units.c_str());
  const std::string cp936 = convert(platformCodePageApi.wideCharToMultiByte, 936, units.c_str());
  std::string expected, made;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::size_t length = 1;
    if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() &&
        units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      length = 2;
    }
    const std::u16string_view one(units.data() + i, length);
    if (length == 1 && isSurrogate(units[i])) {
      expected += "\xEF\xBF\xBD";  // U+FFFD
    } else {
      FUZZ_CHECK(toUtf8.whole(bytesOf(one), &made));
      expected += made;
    }
    i += length - 1;
  }
  FUZZ_CHECK(utf8 == expected);

  expected.clear();
  for (const char16_t u : units) {
    if (windowsUnit(u)) return;  // the rest may differ by design; compared up to here
    const bool known = !isSurrogate(u) && toCp936.whole(bytesOf(std::u16string_view(&u, 1)), &made);
    expected += known ? made : "?";
    FUZZ_CHECK(cp936.compare(0, expected.size(), expected) == 0);
  }
  FUZZ_CHECK(cp936 == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzzPieces(data, size, 2);
  const std::string text(pieces[0].substr(0, pieces[0].find('\0')));
  checkUtf8(text);
  checkCp936(text);
  std::u16string units = unitsOf(std::string(pieces[1]));
  units.resize(std::min(units.size(), units.find(u'\0')));
  checkUnits(units);
  return 0;
}
