#include "text/bytes.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/print.h"
#include "text/lists.h"

namespace {

Bytes b(std::string_view s) {
  return Bytes(s);
}
template <std::size_t N>
Bytes raw(const char (&s)[N]) {  // keeps embedded zero bytes
  return Bytes(std::string_view(s, N - 1));
}

BytesList listOf(std::initializer_list<std::string_view> members) {
  BytesList list;
  for (std::string_view m : members) listAppend(&list, Bytes(m));
  return list;
}

}  // namespace

TEST(bytes_test, conversions) {
  EXPECT_EQ(bytesToText(raw("AB\0C")), "AB");
  EXPECT_EQ(bytesToText(Bytes()), "");
  EXPECT_EQ(textToBytes(""), Bytes());
  EXPECT_EQ(bytesLength(textToBytes("abc")), 3);
  EXPECT_EQ(bytesLength(raw("\0\0")), 2);
}

TEST(bytes_test, cutting) {
  const Bytes five = b("12345");
  EXPECT_EQ(bytesMid(five, 0, 2), b("12"));
  EXPECT_EQ(bytesMid(five, INT_MIN, 2), b("12"));
  EXPECT_EQ(bytesMid(five, 3, 0), Bytes());
  EXPECT_EQ(bytesMid(five, 4, 10), b("45"));
  EXPECT_EQ(bytesMid(five, 6, 1), Bytes());
  EXPECT_EQ(bytesMid(five, 1, INT_MAX), five);
  EXPECT_EQ(bytesLeft(five, 100), five);
  EXPECT_EQ(bytesLeft(five, 0), Bytes());
  EXPECT_EQ(bytesLeft(five, -3), Bytes());
  EXPECT_EQ(bytesLeft(five, 2), b("12"));
  EXPECT_EQ(blankBytes(3), raw("\0\0\0"));
  EXPECT_EQ(blankBytes(-1), Bytes());
}

TEST(bytes_test, searching) {
  EXPECT_EQ(findBytes(b("abc"), Bytes()), -1);
  EXPECT_EQ(findBytes(Bytes(), b("a")), -1);
  EXPECT_EQ(findBytes(b("ABAB"), b("BA")), 2);
  EXPECT_EQ(findBytes(b("\xB0\xA1\xA1\xB0"), b("\xA1\xA1")), 2);  // no character stepping
  EXPECT_EQ(findBytes(b("ABAB"), b("AB"), 2), 3);
  EXPECT_EQ(findBytes(b("ABAB"), b("AB"), -4), 1);
  EXPECT_EQ(findBytes(b("ABAB"), b("B"), 4), 4);
  EXPECT_EQ(findBytes(b("ABAB"), b("B"), 5), -1);
  EXPECT_EQ(findBytes(b("ABAB"), b("B"), INT_MAX), -1);
  EXPECT_EQ(findBytes(raw("a\0b"), raw("\0b")), 2);
  EXPECT_EQ(findBytes(b("ab"), b("abc")), -1);

  EXPECT_EQ(findBytesReverse(b("ABAB"), b("AB")), 3);
  EXPECT_EQ(findBytesReverse(b("ABAB"), Bytes()), -1);
  EXPECT_EQ(findBytesReverse(b("ABAB"), b("AB"), 4), 3);  // lies wholly inside bytes 1 to 4
  EXPECT_EQ(findBytesReverse(b("ABAB"), b("AB"), 3), 1);
  EXPECT_EQ(findBytesReverse(b("ABAB"), b("AB"), 0), -1);
  EXPECT_EQ(findBytesReverse(b("ABAB"), b("AB"), INT_MAX), 3);
  EXPECT_EQ(findBytesReverse(b("aaa"), b("aa")), 2);
}

TEST(bytes_test, replacing) {
  const Bytes text = b("x--y--z");
  EXPECT_EQ(replaceBytes(text, b("--"), {.count = 1}), b("xy--z"));
  EXPECT_EQ(replaceBytes(text, b("--")), b("xyz"));
  EXPECT_EQ(replaceBytes(text, b("--"), {.count = -1}), text);
  EXPECT_EQ(replaceBytes(text, b("--"), {.count = 0}), text);
  EXPECT_EQ(replaceBytes(text, b("--"), {.replacement = b("--+"), .count = 2}), b("x--+y--+z"));
  EXPECT_EQ(replaceBytes(text, b("--"), {.start = 3}), b("x--yz"));  // bytes before start are kept
  EXPECT_EQ(replaceBytes(text, b("--"), {.start = 8}), text);
  EXPECT_EQ(replaceBytes(text, Bytes()), text);
  EXPECT_EQ(replaceBytes(Bytes(), b("-")), Bytes());
  EXPECT_EQ(replaceBytes(b("aaa"), b("aa"), {.replacement = b("b")}), b("ba"));
}

TEST(bytes_test, splitting) {
  struct Case {
    Bytes input, delimiter;
    std::optional<int> limit;
    BytesList expected;
  } cases[] = {
      {b("a|b|"), b("|"), {}, listOf({"a", "b"})},
      {b("|a"), b("|"), {}, listOf({"", "a"})},
      {b("a||b"), b("|"), {}, listOf({"a", "", "b"})},
      {b("abc"), b("|"), {}, listOf({"abc"})},
      {Bytes(), b("|"), {}, listOf({})},
      {b("abc"), Bytes(), {}, listOf({"abc"})},
      {b("a|b|c"), b("|"), 2, listOf({"a", "b"})},
      {b("a|b|c"), b("|"), 0, listOf({})},
      {b("<><>x"), b("<>"), {}, listOf({"", "", "x"})},
      {b("\xB0|\xA1"), b("|"), {}, listOf({"\xB0", "\xA1"})},  // byte by byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitBytes(c.input, c.delimiter, c.limit), c.expected)
        << ::testing::PrintToString(c.input);
  }
  EXPECT_EQ(splitBytes(raw("a\0b")), listOf({"a", "b"}));  // the delimiter left out is a zero byte
}

TEST(bytes_test, joining_and_equality) {
  EXPECT_EQ(concatBytes(Bytes(), Bytes()), Bytes());
  EXPECT_EQ(concatBytes(b("A"), b("BC")), b("ABC"));
  EXPECT_EQ(concatBytes(raw("\0"), raw("\0")), raw("\0\0"));
  EXPECT_TRUE(bytesEqual(Bytes(), b("")));
  EXPECT_FALSE(bytesEqual(b("ab"), b("ac")));
  EXPECT_FALSE(bytesEqual(b("ab"), b("abc")));
}
