#include "cli/utf8.h"

#include <gtest/gtest.h>

TEST(utf8_test, utf16_to_utf8) {
  struct Case {
    std::u16string in;
    std::string out;
  } cases[] = {
      {u"", ""},
      {u"abc", "abc"},
      {u"\u00E9", "\xC3\xA9"},
      {u"\u4E2D\u6587", "\xE4\xB8\xAD\xE6\x96\x87"},
      {u"\uFFFF", "\xEF\xBF\xBF"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a surrogate pair
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {u"a\U00020000b",
       "a\xF0\xA0\x80\x80"
       "b"},
      // Lone surrogates: at the end, before another character, low first.
      {std::u16string{u'x', char16_t(0xD83D)}, "x\xEF\xBF\xBD"},
      {std::u16string{char16_t(0xD83D), u'x'}, "\xEF\xBF\xBDx"},
      {std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},
       "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
      {std::u16string{u'a', u'\0', u'b'}, std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(utf16ToUtf8(c.in), c.out) << testing::PrintToString(c.out);
}

TEST(utf8_test, every_bmp_character_decodes_back) {
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    std::size_t pos = 0;
    ASSERT_EQ(nextCodePoint(utf8, &pos), c) << static_cast<unsigned>(c);
    ASSERT_EQ(pos, utf8.size()) << static_cast<unsigned>(c);
  }
}

TEST(utf8_test, ill_formed_bytes_decode_one_at_a_time) {
  struct Case {
    std::string in;
    std::u32string decoded;
  } cases[] = {
      {"\x80", U"\uFFFD"},
      {"\xC0\x80", U"\uFFFD\uFFFD"},                      // overlong
      {"\xE0\x80\x80", U"\uFFFD\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xE4\xB8", U"\uFFFD\uFFFD"},                      // cut short at the end
      {"\xE4\xB8"
       "a",
       U"\uFFFD\uFFFD"
       "a"},  // cut short by another character
      {"\xFF"
       "a\xE4\xB8\xAD",
       U"\uFFFD"
       "a\u4E2D"},
  };
  for (const Case& c : cases) {
    std::u32string decoded;
    for (std::size_t pos = 0; pos < c.in.size();) decoded += nextCodePoint(c.in, &pos);
    EXPECT_EQ(decoded, c.decoded) << testing::PrintToString(c.in);
  }
  std::string copied;
  forEachCodePoint("a\xFF\xE4\xB8\xAD\xE4",
                   [&copied](char32_t, std::string_view b) { copied += b; });
  EXPECT_EQ(copied, "a\xEF\xBF\xBD\xE4\xB8\xAD\xEF\xBF\xBD");
}
