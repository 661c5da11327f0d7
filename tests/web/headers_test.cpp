#include "web/headers.h"

#include <gtest/gtest.h>

#include "support/print.h"
#include "text/text.h"

TEST(headers_test, user_agent) {
  struct Case {
    Text headers, agent;
  } cases[] = {
      {"", defaultUserAgent},
      {"Accept: */*\r\nReferer: x", defaultUserAgent},
      {"User-Agent:  Agent/1.0  \r\nAccept: */*", "Agent/1.0"},
      {"Accept: */*\r\nUser-Agent: A", "A"},  // the last line needs no line break
      {"user-agent: lower ", "lower"},
      {"USER-AGENT: Caps\r\nUser-Agent: exact", "exact"},
      // Named only in another letter case: that line's value, not the rest of the text.
      {"Accept: */*\r\nuser-agent:  lower  \r\nReferer: r", "lower"},
      {"user-agent: first\r\nAccept: */*", "first"},
      {"User-Agent:   \r\nuser-agent: x", ""},  // empty: the session gets no agent
      {"User-Agent:", ""},
      {"X-Note: user-agent: v", "user-agent: v"},
      {"X-Note: User-Agent: v", "v"},
      {"User-Agent: \xB0\xA1 \xA1\xA1", "\xB0\xA1"},  // the full-width space trims too
  };
  for (const Case& c : cases) {
    EXPECT_EQ(selectUserAgent(c.headers), c.agent) << ::testing::PrintToString(c.headers);
  }
}

TEST(headers_test, header_value) {
  EXPECT_EQ(headerValue("Name:  v  "), "v");
  EXPECT_EQ(headerValue("a:b:c"), "b:c");
  EXPECT_EQ(headerValue("no colon"), "");
  EXPECT_EQ(headerValue(":"), "");
  EXPECT_EQ(headerValue(""), "");
}

TEST(headers_test, complete) {
  const Text url = "https://h/p?q=1";
  const Text tail = "\r\nReferer: https://h/p?q=1\r\nAccept-Language: zh-cn";
  const Text post = "\r\nContent-Type: application/x-www-form-urlencoded";
  struct Case {
    Text headers;
    int method;
    Text expected;
  } cases[] = {
      {"", 0, concatText(Text("Accept: */*"), tail)},
      {"", 1, concatText(Text("Accept: */*"), tail, post)},
      {"", 3, concatText(Text("Accept: */*"), tail)},
      {"accept: text/html", 0, concatText(Text("accept: text/html"), tail)},
      {"Accept-Language: en", 0, "Accept-Language: en\r\nAccept: */*\r\nReferer: https://h/p?q=1"},
      // A name found inside another line counts as present.
      {"X-Note: see Referer: elsewhere", 0,
       "X-Note: see Referer: elsewhere\r\nAccept: */*\r\nAccept-Language: zh-cn"},
      {"X-Accept: 1", 0, concatText(Text("X-Accept: 1"), tail)},
      {"content-type: text/plain", 1,
       concatText(Text("content-type: text/plain\r\nAccept: */*"), tail)},
      {"Accept: a\r\nReferer: r\r\nAccept-Language: l\r\nContent-Type: c", 1,
       "Accept: a\r\nReferer: r\r\nAccept-Language: l\r\nContent-Type: c"},
  };
  for (const Case& c : cases) {
    Text headers = c.headers;
    completeHeaderText(&headers, c.method, url);
    EXPECT_EQ(headers, c.expected) << ::testing::PrintToString(c.headers) << " " << c.method;
  }
}

TEST(headers_test, normalize) {
  struct Case {
    Text headers, expected;
  } cases[] = {
      {"user-agent: x\r\naccept-language: zh\r\ncontent-TYPE: a",
       "User-Agent: x\r\nAccept-Language: zh\r\nContent-TYPE: a"},
      {"a: 1\r\nno colon\r\n\r\nb: 2", "A: 1\r\nB: 2"},
      {"a: 1\r\n", "A: 1"},
      {"\r\na: 1", "A: 1"},
      {"key: value-with-dash", "Key: value-with-dash"},
      {"a:b", "A:b"},
      {"x-: v", "X-: v"},  // the name's last, empty piece
      {"-x: v", "-X: v"},
      {"a--b: v", "A--B: v"},
      {"--: v", "--: v"},
      {": v", ": v"},
      {"\xB0\xA1-b: v", "\xB0\xA1-B: v"},
      {"no colon", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalizeHeaders(c.headers), c.expected) << ::testing::PrintToString(c.headers);
  }
  EXPECT_EQ(capitalizeWord(""), "");
  EXPECT_EQ(capitalizeWord("a"), "A");
  EXPECT_EQ(capitalizeWord("aBc"), "ABc");
  EXPECT_EQ(capitalizeWord("1a"), "1a");
  EXPECT_EQ(capitalizeWord("\xB0\xA1"), "\xB0\xA1");
  EXPECT_EQ(capitalizeWord("\xE1"), "\xE1");
}
