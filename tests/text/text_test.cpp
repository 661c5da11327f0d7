#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "support/list_of.h"
#include "support/print.h"
#include "text/lists.h"

TEST(text_test, cutting) {
  EXPECT_EQ(textLength(""), 0);
  EXPECT_EQ(textLength("\xB0\xA1x"), 3);
  EXPECT_EQ(textMid("abc", 0, 2), "");
  EXPECT_EQ(textMid("abc", 2, 10), "bc");
  EXPECT_EQ(textMid("abc", 4, 1), "");
  EXPECT_EQ(textMid("abc", 2, 0), "");
  EXPECT_EQ(textMid("abc", 1, INT_MAX), "abc");
  EXPECT_EQ(textLeft("abc", -1), "");
  EXPECT_EQ(textLeft("abc", 2), "ab");
  EXPECT_EQ(textLeft("abc", INT_MAX), "abc");
  EXPECT_EQ(textLeft("\xB0\xA1z", 1), "\xB0");  // cuts a double-byte character
  EXPECT_EQ(textRight("abc", 5), "abc");
  EXPECT_EQ(textRight("abc", 1), "c");
  EXPECT_EQ(textRight("abc", 0), "");
  EXPECT_EQ(blankText(3), "   ");
  EXPECT_EQ(blankText(-1), "");
}

TEST(text_test, text_never_holds_a_zero_byte) {
  EXPECT_EQ(Text(std::string_view("ab\0c", 4)), "ab");
  EXPECT_EQ(Text(static_cast<const char*>(nullptr)), "");
  Text t = "x";
  t.append(std::string_view("y\0z", 3));
  EXPECT_EQ(t, "xy");
}

TEST(text_test, char_codes) {
  EXPECT_EQ(charCode("\xB0"), -80);
  EXPECT_EQ(charCode(""), 0);
  EXPECT_EQ(charCode("A"), 65);
  EXPECT_EQ(charFromCode(0), "");
  EXPECT_EQ(charFromCode(256), "");
  EXPECT_EQ(charFromCode(321), "A");
  EXPECT_EQ(charFromCode(-80), "\xB0");
}

TEST(text_test, find_text) {
  struct Case {
    Text t, marker;
    SearchOptions options;
    int expected;
  } cases[] = {
      {"aXbXc", "X", {}, 2},
      {"aXbXc", "X", {.start = 3}, 4},
      {"aXbXc", "X", {.start = 6}, -1},
      {"aXbXc", "X", {.start = 5}, -1},
      {"aXbXc", "X", {.start = 0}, 2},
      {"aXbXc", "X", {.start = -5}, 2},
      {"aXbXc", "X", {.start = INT_MIN}, 2},
      {"aXbXc", "X", {.start = INT_MAX}, -1},
      {"ABC", "b", {.ignoreCase = true}, 2},
      {"ABC", "b", {.ignoreCase = false}, -1},
      {"abc", "", {}, 1},
      {"abc", "", {.start = 3}, 1},
      {"abc", "", {.start = 4}, -1},
      {"", "", {}, -1},
      {"", "a", {}, -1},
      {"ab", "abc", {}, -1},
      {"abc", "bc", {}, 2},
      {"\xB0\xA1\xA1\xB0", "\xA1\xA1", {}, -1},  // position 2 is a second byte
      {"a\xB0\xA1\xA1\xB0", "\xA1\xB0", {}, 4},
      {"\xB0\xA1\xA1\xB0", "\xA1\xA1", {.start = 2}, 2},  // stepping counts from the span
      {"\xB0\xA1\xA1\xB0", "\xA1\xB0", {.start = 2}, -1},
      {"x\xB0", "\xB0", {}, 2},  // a lone last lead byte can match
      {"\xC1Z", "\xC1z", {.ignoreCase = true}, 1},
      {"\xC1Z", "\xE1Z", {.ignoreCase = true}, -1},  // high bytes never fold
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findText(c.t, c.marker, c.options), c.expected)
        << ::testing::PrintToString(c.t) << " " << ::testing::PrintToString(c.marker);
  }
}

TEST(text_test, find_text_reverse) {
  struct Case {
    Text t, marker;
    SearchOptions options;
    int expected;
  } cases[] = {
      {"a.b.c", ".", {}, 4},
      {"a.b.c", ".", {.start = 4}, 2},
      {"a.b.c", ".", {.start = 2}, -1},
      {"a.b.c", ".", {.start = 1}, -1},
      {"a.b.c", ".", {.start = INT_MIN}, -1},
      {"a.b.c", ".", {.start = 100}, 4},
      {"ab.", ".", {.start = 3}, -1},
      {"ab.", ".", {.start = 4}, 3},
      {"abab", "ab", {}, 3},
      {"aaa", "aa", {}, 2},
      {"abc", "", {}, 1},
      {"abc", "", {.start = 1}, -1},
      {"", "", {}, -1},
      {"\xB0\xA1\xA1\xB0", "\xA1\xA1", {}, -1},
      {"AbAB", "ab", {.ignoreCase = true}, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findTextReverse(c.t, c.marker, c.options), c.expected)
        << ::testing::PrintToString(c.t) << " " << ::testing::PrintToString(c.marker);
  }
}

TEST(text_test, case_folds_ascii_letters_only) {
  // Second bytes 0x61-0x7A stay as they are.
  EXPECT_EQ(toUpper("ab\x81"
                    "a\xB0z"
                    "c"),
            "AB\x81"
            "a\xB0z"
            "C");
  EXPECT_EQ(toLower("AB\x81"
                    "A\xB0Z"
                    "C"),
            "ab\x81"
            "A\xB0Z"
            "c");
  EXPECT_EQ(toUpper("x\xE1"), "X\xE1");  // a lone last lead byte is copied
  EXPECT_EQ(toLower("@[`{"), "@[`{");
  EXPECT_EQ(toUpper(""), "");
  for (int c = 0; c < 128; ++c) {
    const Text t = charFromCode(c);
    const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    EXPECT_EQ(toUpper(t), lower ? charFromCode(c - 32) : t) << c;
    EXPECT_EQ(toLower(t), upper ? charFromCode(c + 32) : t) << c;
  }
}

TEST(text_test, spaces) {
  struct Case {
    Text t, trimmed, removed;
  } cases[] = {
      {" \t a  ", "\t a", "\ta"},
      {"\xA1\xA1x\xA1\xA1", "x", "x"},
      {"   ", "", ""},
      {"", "", ""},
      {"a b\r\nc", "a b\r\nc", "ab\r\nc"},
      {"a  \xB0", "a  ", "a"},  // a lone last lead byte: only it is cut off
      {"\xB0\xA1\xA1\xB0 ", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},  // A1 A1 across characters
      {" \xA1\xA1 a \xA1\xA1 b\xA1\xA1 ", "a \xA1\xA1 b", "ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trimText(c.t), c.trimmed) << ::testing::PrintToString(c.t);
    EXPECT_EQ(removeSpaces(c.t), c.removed) << ::testing::PrintToString(c.t);
  }
}

TEST(text_test, replace_text) {
  struct Case {
    Text t, search;
    ReplaceOptions options;
    Text expected;
  } cases[] = {
      {"aAaA", "a", {.replacement = "x", .caseSensitive = false}, "xxxx"},
      {"aAaA", "a", {.replacement = "x", .caseSensitive = true}, "xAxA"},
      {"aaa", "aa", {.replacement = "b", .caseSensitive = true}, "ba"},
      {"Set-Cookie: k=v", "set-cookie:", {}, " k=v"},
      {"abab", "ab", {.replacement = "abab", .caseSensitive = true}, "abababab"},
      {"abab", "ab", {.replacement = "x", .count = 1, .caseSensitive = true}, "xab"},
      {"abab", "ab", {.replacement = "x", .count = 0, .caseSensitive = true}, "abab"},
      {"abab", "ab", {.replacement = "x", .count = -7, .caseSensitive = true}, "xx"},
      {"abab", "ab", {.replacement = "x", .start = 2, .caseSensitive = true}, "abx"},
      {"abab", "ab", {.replacement = "x", .start = -3, .caseSensitive = true}, "xx"},
      {"abab", "ab", {.replacement = "x", .start = 4, .caseSensitive = true}, "abab"},
      {"abab", "ab", {.replacement = "x", .start = 5, .caseSensitive = true}, "abab"},
      {"abc", "", {.replacement = "x"}, "abc"},
      {"", "a", {.replacement = "x"}, ""},
      {"\xB0\xA1\xA1\xB0",
       "\xA1\xA1",
       {.replacement = "x", .caseSensitive = true},
       "\xB0\xA1\xA1\xB0"},
      {"ab\xB0", "z", {.caseSensitive = true}, "ab"},       // a lone last lead byte is dropped
      {"ab\xB0", "\xB0", {.caseSensitive = true}, "ab"},    // ... or matched
      {"ab\xB0", "zz", {.caseSensitive = true}, "ab\xB0"},  // too short to be walked: kept
  };
  for (const Case& c : cases) {
    EXPECT_EQ(replaceText(c.t, c.search, c.options), c.expected)
        << ::testing::PrintToString(c.t) << " " << ::testing::PrintToString(c.search);
  }
}

TEST(text_test, split_text) {
  struct Case {
    Text t, delimiter;
    std::optional<int> limit;
    TextList expected;
  } cases[] = {
      {"a,,b,", ",", {}, listOf({"a", "", "b"})},
      {",a", ",", {}, listOf({"", "a"})},
      {"", ",", {}, listOf({})},
      {"abc", "", {}, listOf({"abc"})},
      {"a\r\nb\r\n", "\r\n", {}, listOf({"a", "b"})},
      {"a\r\n\r\nb", "\r\n", {}, listOf({"a", "", "b"})},
      {"a,b,c", ",", 2, listOf({"a", "b"})},
      {"a,b,c", ",", 0, listOf({})},
      {"a,b,c", ",", -1, listOf({})},
      {"\xB0,a", ",", {}, listOf({"\xB0,a"})},  // "," after a lead byte is no delimiter
      {"\xB0,\xA1,", "\xA1,", {}, listOf({"\xB0,"})},
      {"a,b\xB0", ",", {}, listOf({"a", "b\xB0"})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitText(c.t, c.delimiter, c.limit), c.expected) << ::testing::PrintToString(c.t);
  }
  EXPECT_EQ(splitText("x,y"), listOf({"x", "y"}));  // the delimiter left out is ","
}

TEST(text_test, numbers) {
  struct Case {
    Text t;
    int expected;
  } cases[] = {
      {"  -42abc", -42},
      {"+7", 7},
      {"abc", 0},
      {"", 0},
      {"\xA3\xB4\xA3\xB4\xA3\xB3", 443},  // full-width 443
      {"\xA3\xAD\xA3\xB5", -5},           // full-width minus
      {"\xA1\xA1\xA3\xAB"
       "12",
       12},               // full-width space and plus
      {"4294967297", 1},  // wraps
      {"2147483648", INT_MIN},
      {"-2147483648", INT_MIN},
      {"\t\n\v\f\r 9", 9},
      {"--1", 0},
      {"1 2", 1},
      {"\xB0\xA1"
       "1",
       0},
      {"\xA1\xAB"
       "1",
       0},  // '~' is no digit
      {"12\xA3", 12},
  };
  for (const Case& c : cases)
    EXPECT_EQ(textToInt(c.t), c.expected) << ::testing::PrintToString(c.t);
  EXPECT_EQ(intToText(-5), "-5");
  EXPECT_EQ(intToText(0), "0");
  EXPECT_EQ(intToText(INT_MIN), "-2147483648");
  EXPECT_EQ(bitOr(static_cast<int>(0x80000000u), 0x10), static_cast<int>(0x80000010u));
}

TEST(text_test, join_and_compare) {
  EXPECT_EQ(concatText("a"), "a");
  EXPECT_EQ(concatText("a", Text(), "bc", Text("d")), "abcd");
  Text grown;
  for (int i = 0; i < 1000; ++i) grown = concatText(std::move(grown), "xy");
  EXPECT_EQ(textLength(grown), 2000);

  EXPECT_EQ(compareText("", Text()), 0);
  EXPECT_EQ(compareText("a", ""), 1);
  EXPECT_EQ(compareText("", "a"), -1);
  EXPECT_EQ(compareText("Z", "a"), -1);
  EXPECT_EQ(compareText("\xB0", "a"), 1);
  EXPECT_EQ(compareText("ab", "abc"), -1);
  EXPECT_EQ(compareText("abc", "abc"), 0);
}

TEST(text_test, extractors) {
  struct Case {
    Text t, left, right, expected;
  } cases[] = {
      {"x[v]y", "[", "]", "v"},        {"x[]", "[", "]", ""},
      {"x[v", "[", "]", ""},           {"x[", "[", "]", ""},  // left marker on the last byte
      {"x]v[", "[", "]", ""},          {"a=\"v\"", "a=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", "v"},
      {"[a][b]", "[", "]", "a"},       {"<<x>>", "<<", ">>", "x"},
      {"a[\xB0]]", "[", "]", "\xB0]"},  // "]" after a lead byte is its second byte
      {"\xB0[x]", "[", "]", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textBetween(c.t, c.left, c.right), c.expected) << ::testing::PrintToString(c.t);
  }
  EXPECT_EQ(textBetween("[a][b]", "[", "]", {.start = 2}), "b");
  EXPECT_EQ(textBetween("[A]", "[a", "]", {.ignoreCase = true}), "");
  EXPECT_EQ(textBetween("X=1;", "x=", ";", {.ignoreCase = true}), "1");

  EXPECT_EQ(textBefore("Set-Cookie: x", ": "), "Set-Cookie");
  EXPECT_EQ(textBefore("abc", "z"), "");
  EXPECT_EQ(textBefore(": x", ": "), "");
  EXPECT_EQ(textBefore("a:b:c", ":", {.start = 3}), "a:b");
  EXPECT_EQ(textBefore("a:b", ":", {.start = -2}), "a");
}

// Every text over a small alphabet against a plain character walk, behind
// ASCII prefixes of several lengths so every skip of the search lands on
// every offset, with markers that repeat their bytes.
TEST(text_test, find_text_agrees_with_a_character_walk) {
  const char alphabet[] = {'a', 'X', '\xB0'};
  // The first and the last match.
  auto walk = [](std::string_view t, std::string_view m) {
    std::pair<int, int> found(-1, -1);
    for (std::size_t i = 0; i + m.size() <= t.size(); i += (t[i] & 0x80) ? 2 : 1) {
      if (t.substr(i, m.size()) != m) continue;
      if (found.first == -1) found.first = static_cast<int>(i) + 1;
      found.second = static_cast<int>(i) + 1;
    }
    return found;
  };
  const std::string markers[] = {"X",
                                 "\xB0",
                                 "aX",
                                 "\xB0X",
                                 "X\xB0",
                                 "Xa",
                                 "aXa",
                                 "\xB0X\xB0",
                                 "XaX",
                                 "\xB0\xB0"
                                 "a",
                                 "XX\xB0"
                                 "a"};
  for (const std::size_t prefix : {0, 3, 8, 13}) {
    for (int n = 0; n < 3 * 3 * 3 * 3 * 3 * 3; ++n) {
      std::string t(prefix, 'a');
      for (int k = n, d = 0; d < 6; ++d, k /= 3) t += alphabet[k % 3];
      for (const std::string& m : markers) {
        const auto [first, last] = walk(t, m);
        ASSERT_EQ(findText(Text(t), Text(m)), first) << ::testing::PrintToString(Text(t)) << m;
        ASSERT_EQ(findTextReverse(Text(t), Text(m)), last)
            << ::testing::PrintToString(Text(t)) << m;
      }
    }
  }
}
