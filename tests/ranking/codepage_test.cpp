#include "ranking/codepage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ranking/codepage_api.h"
#include "support/print.h"
#include "text/bytes.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace std::string_literals;

namespace {

// UTF-16 units as the conversions hold them: little-endian, zero unit last.
Bytes utf16(std::u16string_view units) {
  Bytes out;
  for (const char16_t u : units) {
    const char pair[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    out.append(std::string_view(pair, 2));
  }
  return out.append(std::string_view("\0\0", 2));
}

// Windows' routines as Wine has them, which differ from Windows in places.
bool underWine() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace

TEST(codepage_test, percent_decoding) {
  struct Case {
    Text in, out;
  } cases[] = {
      {"%41", "A"},
      {"%4a", "J"},
      {"%4A", "J"},
      {"%00", ""},
      {"a%00b", "ab"},  // never a zero byte
      {"%zz", "\xDE"},  // (16 x -2 - 2) mod 256
      {"%G1", "\xE1"},
      {"%%41", "\xE4\x31"},  // the second "%" is a digit of the first; "1" stays
      {"%2%41", "\x1E\x34\x31"},
      {"%4", "\x40"},  // past the end counts 0
      {"%f", "\xF0"},
      {"%G", "\xE0"},
      {"%", ""},
      {"x%", "x"},
      {"%1G", "\x0E"},
      {"%\xE4\xB8\xAD", "\xDE\xAD"},  // two bytes of a character go, the third stays
      {"%E4%B8%AD", "\xE4\xB8\xAD"},
      {"%e4%b8%ad", "\xE4\xB8\xAD"},
      {"a+b%20c", "a+b c"},
      {"<a href=\"x\">\xE4\xB8\xAD</a>", "<a href=\"x\">\xE4\xB8\xAD</a>"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(urlDecode(c.in, false), c.out) << ::testing::PrintToString(c.in);
  }
  EXPECT_EQ(urlDecode("%E4%B8%AD", true), "\xD6\xD0");  // 中
  EXPECT_EQ(urlDecode("a+b%21", true), "a+b!");
  EXPECT_EQ(urlDecode("", true), "");
}

TEST(codepage_test, utf8_to_code_page_936) {
  struct Case {
    Text in, out;
  } cases[] = {
      {"\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},  // 中文
      {"\xE2\x82\xAC", "\x80"},                          // the euro sign, one byte
      {"\xC2\xB7\xE2\x80\x94", "\xA1\xA4\xA1\xAA"},      // · —
      {"\xEE\x80\x80", "\xAA\xA1"},                      // U+E000, a user-defined cell
      {"\xEF\xA3\xB5", "\xFF"},                          // U+F8F5
      // Windows' best fit: a look-alike where the code page lacks a character.
      {"\xC3\x80\xC2\xB2", "\xA8\xA4\x32"},  // À² as à and 2
      {"\xED\x95\x9C", "?"},                 // 한, Hangul
      {"\xF0\x9F\x8C\xB8", "??"},            // U+1F338: one "?" per UTF-16 unit
      {"\xE4\xB8", "?"},                     // U+FFFD for the cut character
      {"a\xF0\x9F", "a?"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8ToGbk(c.in), c.out) << ::testing::PrintToString(c.in);
  }
}

TEST(codepage_test, to_and_from_utf16) {
  EXPECT_EQ(textToUtf16("\xE4\xB8\xAD\xE6\x96\x87"), utf16(u"\u4E2D\u6587"));
  EXPECT_EQ(textToUtf16("\xF0\x9F\x8C\xB8"), utf16(u"\U0001F338"));
  EXPECT_EQ(textToUtf16(""), Bytes());
  // Code page 936 for the window layers.
  EXPECT_EQ(textToUtf16("\xD6\xD0\x80\x61", 936), utf16(u"\u4E2D\u20ACa"));
  EXPECT_EQ(textToUtf16("\xFF\xAA\xA1", 936), utf16(u"\uF8F5\uE000"));
  EXPECT_EQ(textToUtf16("a\x81", 936), utf16(u"a?"));         // a lead byte at the end
  EXPECT_EQ(textToUtf16("\x81\x30\x61", 936), utf16(u"?a"));  // an undefined pair is one character
  EXPECT_EQ(textToUtf16("\xA1\xA1\x81\x40", 936), utf16(u"\u3000\u4E02"));

  EXPECT_EQ(utf16ToText(utf16(u"\u4E2D"), 936), "\xD6\xD0");
  EXPECT_EQ(utf16ToText(utf16(u"\U0001F338"), 65001), "\xF0\x9F\x8C\xB8");
  EXPECT_EQ(utf16ToText(utf16(u"\xD83C\x0061"), 65001), "\xEF\xBF\xBD\x61");  // a lone surrogate
  EXPECT_EQ(utf16ToText(utf16(u"\xDF38\xD83C"), 936), "??");
  EXPECT_EQ(utf16ToText(Bytes(), 936), "");
  EXPECT_EQ(utf16ToText(utf16(u""), 936), "");
  // Units after the first zero unit are ignored; without one, all are read.
  EXPECT_EQ(utf16ToText(Bytes(std::string_view("A\0\0\0B\0", 6)), 936), "A");
  EXPECT_EQ(utf16ToText(Bytes(std::string_view("\x2D\x4E", 2)), 936), "\xD6\xD0");
  EXPECT_EQ(utf16ToText(Bytes(std::string_view("\x2D\x4E\x41", 3)), 936), "\xD6\xD0");
  EXPECT_EQ(utf16ToText(Bytes(std::string_view("A", 1)), 936), "");
  // Every character that code page 936 has comes back unchanged.
  for (const Text& t : {Text("\xD6\xD0\xCE\xC4 ABC \x80\xFF\xA1\xA1"), Text("\xFE\x4F\xAA\xA1")}) {
    EXPECT_EQ(utf16ToText(textToUtf16(t, 936), 936), t) << ::testing::PrintToString(t);
  }
}

TEST(codepage_test, ill_formed_utf8) {
  // Each maximal subpart of an ill-formed sequence (the longest start of a
  // well-formed one, or else one byte) becomes one U+FFFD. Wine 8 differs
  // where the second byte is out of its lead's range, and where a sequence is
  // cut off by the end of the text it swallows the terminator too; `wine` is
  // every unit it writes there, terminator included where it writes one.
  struct Case {
    Text in;
    std::u16string out;
    std::optional<std::u16string> wine;
  } cases[] = {
      {"\x80", u"\uFFFD"},
      {"\xBF\x80", u"\uFFFD\uFFFD"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},
      {"\xC1\xBF", u"\uFFFD\uFFFD"},
      {"\xC2", u"\uFFFD"},
      {"\xC2\x41", u"\uFFFDA"},
      {"\xE4\xB8", u"\uFFFD"},
      {"\xE4\xB8x", u"\uFFFDx"},
      {"a\xE4", u"a\uFFFD", u"a\uFFFD"},
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\0"s},
      {"\xE0\x9F\x80", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\0"s},
      {"\xE0\xA0\x80", u"\u0800"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\0"s},  // an encoded surrogate
      {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\0"s},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xEF\xBB\xBF\x61", u"\uFEFFa"},
      {"\xF0\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\0"s},
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\xF0\x90\x41", u"\uFFFDA"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\0"s},
      {"\xF4\x90", u"\uFFFD\uFFFD", u"\uFFFD"},
      {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xFE\xFF", u"\uFFFD\uFFFD"},
      {"\xE1\x80\xE2\xF0\x91\x92\xF1\xBF\x41", u"\uFFFD\uFFFD\uFFFD\uFFFDA"},
  };
  const bool wine = underWine();
  for (const Case& c : cases) {
    const Bytes units = textToUtf16(c.in);
    const std::u16string written(reinterpret_cast<const char16_t*>(units.data()),
                                 static_cast<std::size_t>(units.length() / 2));
    EXPECT_EQ(written, wine && c.wine ? *c.wine : c.out + u'\0') << ::testing::PrintToString(c.in);
    // Whatever came back, the way on to code page 936 stays inside it.
    EXPECT_EQ(utf8ToGbk(c.in), utf16ToText(units, 936));
  }
}

TEST(codepage_test, counts_match_conversions) {
  // Every two-byte input: the counting call gives what the conversion writes.
  const CodePageApi& api = codePageApi();
  const bool wine = underWine();
  for (unsigned code = 0x0101; code <= 0xFFFF; ++code) {
    if ((code & 0xFF) == 0) continue;
    const char text[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 0};
    for (const unsigned codePage : {65001u, 936u}) {
      char16_t units[4] = {};
      const int n = api.multiByteToWideChar(codePage, text, nullptr, 0);
      ASSERT_GE(n, 1) << code;
      ASSERT_EQ(api.multiByteToWideChar(codePage, text, units, n), n) << code;
      // Wine 8 loses the terminator after a sequence the end cuts off.
      ASSERT_TRUE(wine || units[n - 1] == 0) << code;
      char back[8] = {};
      const int m = api.wideCharToMultiByte(codePage, units, nullptr, 0);
      ASSERT_EQ(api.wideCharToMultiByte(codePage, units, back, m), m) << code;
      ASSERT_EQ(back[m - 1], 0) << code;
    }
  }
}

TEST(codepage_test, too_small_a_buffer) {
  // The routines fail with 0 and write nothing past the capacity.
  const CodePageApi& api = codePageApi();
  const char* text = "a\xE4\xB8\xAD\xF0\x9F\x8C\xB8\xE4";
  for (const unsigned codePage : {65001u, 936u}) {
    const int n = api.multiByteToWideChar(codePage, text, nullptr, 0);
    for (int capacity = 1; capacity < n; ++capacity) {
      std::u16string units(static_cast<std::size_t>(n) + 4, u'\xAAAA');
      EXPECT_EQ(api.multiByteToWideChar(codePage, text, units.data(), capacity), 0);
      EXPECT_EQ(units.substr(static_cast<std::size_t>(capacity)),
                std::u16string(units.size() - static_cast<std::size_t>(capacity), u'\xAAAA'));
    }
    const std::u16string source = u"a\u4E2D\U0001F338\xD800";
    const int m = api.wideCharToMultiByte(codePage, source.c_str(), nullptr, 0);
    for (int capacity = 1; capacity < m; ++capacity) {
      std::string bytes(static_cast<std::size_t>(m) + 4, '#');
      EXPECT_EQ(api.wideCharToMultiByte(codePage, source.c_str(), bytes.data(), capacity), 0);
      EXPECT_EQ(bytes.substr(static_cast<std::size_t>(capacity)),
                std::string(bytes.size() - static_cast<std::size_t>(capacity), '#'));
    }
  }
}

namespace {

// Records each call and answers as told, failing a conversion whose capacity
// is below the count as the routines do.
struct Call {
  char routine;  // 'M' MultiByteToWideChar, 'W' WideCharToMultiByte
  unsigned codePage;
  int capacity;
  std::string input;  // the text, or the units' bytes, without the terminator
  friend bool operator==(const Call&, const Call&) = default;
};
std::vector<Call> calls;
int countAnswer = 0;       // what a counting call returns: the capacity a conversion needs
std::string bytesToWrite;  // what a converting call writes, cut to its capacity
int conversionAnswer = 0;  // what a converting call returns

void PrintTo(const Call& c, std::ostream* os) {
  *os << c.routine << '(' << c.codePage << ", " << c.capacity << ", ";
  printEscaped(c.input, os);
  *os << ')';
}

int answer(std::string input, char routine, unsigned codePage, char* buffer, std::size_t bytes,
           int capacity) {
  calls.push_back({routine, codePage, capacity, std::move(input)});
  if (capacity == 0) return countAnswer;
  if (capacity < countAnswer) return 0;
  bytesToWrite.copy(buffer, std::min(bytes, bytesToWrite.size()));
  return conversionAnswer;
}

int recordMultiByteToWideChar(unsigned codePage, const char* text, char16_t* units, int capacity) {
  return answer(text, 'M', codePage, reinterpret_cast<char*>(units),
                2 * static_cast<std::size_t>(capacity), capacity);
}

int recordWideCharToMultiByte(unsigned codePage, const char16_t* units, char* text, int capacity) {
  const std::u16string_view source(units);
  const std::string input(reinterpret_cast<const char*>(source.data()), 2 * source.size());
  return answer(input, 'W', codePage, text, static_cast<std::size_t>(capacity), capacity);
}

const CodePageApi recorder = {recordMultiByteToWideChar, recordWideCharToMultiByte};

class codepage_calls_test : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    setCodePageApi(&recorder);
  }
  void TearDown() override { setCodePageApi(nullptr); }
};

}  // namespace

TEST_F(codepage_calls_test, to_utf16_in_one_call_or_counted_in_its_own_code_page) {
  // A unit per byte and the terminator: one call, cut to what it wrote.
  countAnswer = 2;
  bytesToWrite = std::string("a\0\0\0", 4);
  conversionAnswer = 2;
  EXPECT_EQ(textToUtf16("ab", 936), Bytes(bytesToWrite));
  EXPECT_EQ(textToUtf16("ab"), Bytes(bytesToWrite));
  EXPECT_EQ(calls, (std::vector<Call>{{'M', 936, 3, "ab"}, {'M', 65001, 3, "ab"}}));
  // More units than that: counted in the conversion's own code page, and the
  // buffer is as large as the count, whatever the conversion writes.
  calls.clear();
  countAnswer = 4;
  bytesToWrite = std::string("a\0b\0c\0", 6);
  conversionAnswer = 4;
  EXPECT_EQ(textToUtf16("ab", 936), Bytes(bytesToWrite + std::string(2, '\0')));
  EXPECT_EQ(calls,
            (std::vector<Call>{{'M', 936, 3, "ab"}, {'M', 936, 0, "ab"}, {'M', 936, 4, "ab"}}));
  calls.clear();
  countAnswer = 0;
  conversionAnswer = 0;
  EXPECT_EQ(textToUtf16("ab"), Bytes());
  EXPECT_EQ(textToUtf16(""), Bytes());
  EXPECT_EQ(calls.size(), 2u);  // none for the empty text, none after a count of 0
}

TEST_F(codepage_calls_test, from_utf16_to_936_in_one_call_else_counted_in_the_ansi_code_page) {
  const Bytes units = utf16(u"ab");
  const std::string input = "a\0b\0"s;
  countAnswer = 2;  // fewer than the units: the buffer is still twice this
  bytesToWrite = "xyz\0w"s;
  conversionAnswer = 4;
  EXPECT_EQ(utf16ToText(units, 936), "xyz");
  EXPECT_EQ(utf16ToText(units), "xyz");
  EXPECT_EQ(utf16ToText(units, 65001), "xyz");
  // Code page 936 takes at most two bytes a unit: the units' own size.
  EXPECT_EQ(calls, (std::vector<Call>{{'W', 936, 6, input},
                                      {'W', 0, 0, input},
                                      {'W', 0, 4, input},
                                      {'W', 0, 0, input},
                                      {'W', 65001, 4, input}}));
  // A buffer filled without a terminator gives all of it; a failed conversion
  // gives "", not the buffer.
  bytesToWrite = "vwxyz";
  EXPECT_EQ(utf16ToText(units), "vwxy");
  conversionAnswer = 0;
  EXPECT_EQ(utf16ToText(units, 936), "");
  EXPECT_EQ(utf16ToText(units), "");
  // Units without a zero unit reach the routines with one added.
  calls.clear();
  utf16ToText(Bytes("a\0b"s), 936);
  EXPECT_EQ(calls.front(), (Call{'W', 936, 4, "a\0"s}));
  // Nothing to convert: no call.
  calls.clear();
  EXPECT_EQ(utf16ToText(Bytes(), 936), "");
  EXPECT_EQ(utf16ToText(utf16(u""), 936), "");
  EXPECT_TRUE(calls.empty());
}

TEST_F(codepage_calls_test, utf8_to_gbk_goes_through_utf16) {
  countAnswer = 2;
  bytesToWrite = "\x2D\x4E\0\0"s;
  conversionAnswer = 2;
  utf8ToGbk("\xE4\xB8\xAD");
  EXPECT_EQ(calls, (std::vector<Call>{{'M', 65001, 4, "\xE4\xB8\xAD"}, {'W', 936, 4, "\x2D\x4E"}}));
}
