#include "web/cookies.h"

#include <gtest/gtest.h>

#include "support/list_of.h"
#include "support/print.h"
#include "text/lists.h"

namespace {}  // namespace

TEST(cookies_test, cookie_line) {
  struct Case {
    Text headers, cookies, expected;
  } cases[] = {
      {"Accept: */*", "a=1; b=2", "Accept: */*\r\nCookie: a=1; b=2"},
      {"", "a=1", "\r\nCookie: a=1"},
      {"H: v", "Cookie: a=1", "H: v\r\nCookie: a=1"},
      {"H: v", "cookie: a=1", "H: v\r\nCookie: cookie: a=1"},
  };
  for (const Case& c : cases) {
    Text headers = c.headers;
    appendCookieHeader(&headers, c.cookies);
    EXPECT_EQ(headers, c.expected) << ::testing::PrintToString(c.cookies);
  }
}

TEST(cookies_test, collect) {
  struct Case {
    Text responseHeaders, expected;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n", "a=1; b=2"},
      {"Set-Cookie: a=deleted\r\nSet-Cookie: a=deleted\r\nSet-Cookie: v=x y; p",
       "a=deleted; a=deleted; v=x y"},
      {"set-cookie: a=1\r\nSet-Cookie:b=2\r\nX-Set-Cookie: c=3", ""},
      {"Set-Cookie: a=1;", "a=1"},
      {"Set-Cookie: k=v set-cookie:x", "k=v x"},  // every occurrence, any case, goes
      {"Set-Cookie: ; x\r\nSet-Cookie: novalue", "; novalue"},
      {"Set-Cookie: \xB0\xA1=\xA1\xA1v\xA1\xA1", "\xB0\xA1=\xA1\xA1v"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(collectSetCookies(c.responseHeaders), c.expected)
        << ::testing::PrintToString(c.responseHeaders);
  }
}

TEST(cookies_test, merge) {
  struct Case {
    Text cookies, newCookies, merged, newCookiesAfter;
  } cases[] = {
      {"a=0; c=3", "a=1; b=2", "a=1; b=2; c=3", "a=1;b=2"},
      {"a=0", "a=deleted", "", "a=deleted"},
      {"b=1", "a=deleted; c=3", "c=3; b=1", "a=deleted;c=3"},
      {"a = 1 ; b = 2", "", "a=1; b=2", ""},
      {"", "a=1; a=1", "a=1", "a=1;a=1"},
      {"", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
      {"a=1; a=2", "", "a=1", ""},  // of old entries with one name, the first
      {"a=1; a=1", "", "a=1", ""},
      {"x; y=", "x=1", "x=1; y=", "x=1"},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.cookies) + " " +
                 ::testing::PrintToString(c.newCookies));
    Text cookies = c.cookies, newCookies = c.newCookies;
    EXPECT_EQ(mergeCookies(&cookies, &newCookies), c.merged);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(newCookies, c.newCookiesAfter);
  }
}

TEST(cookies_test, names_and_lists) {
  EXPECT_EQ(cookieName(" a = 1"), "a");
  EXPECT_EQ(cookieName("a"), "a");
  EXPECT_EQ(cookieName(" a "), "a");
  EXPECT_EQ(cookieName("=v"), "");
  EXPECT_EQ(cookieName("a=b=c"), "a");
  const TextList list = listOf({"a=1", " b =2", "c"});
  EXPECT_TRUE(hasCookieName(list, "b"));
  EXPECT_TRUE(hasCookieName(list, "c"));
  EXPECT_FALSE(hasCookieName(list, "A"));
  EXPECT_FALSE(hasCookieName(list, "a=1"));
  EXPECT_FALSE(hasCookieName(TextList(), ""));
  EXPECT_EQ(listIndexOf(list, "c"), 3);
  EXPECT_EQ(listIndexOf(list, "a=1"), 1);
  EXPECT_EQ(listIndexOf(list, "b =2"), -1);
  EXPECT_EQ(listIndexOf(listOf({"x", "x"}), "x"), 1);
  EXPECT_EQ(listIndexOf(TextList(), ""), -1);
  EXPECT_EQ(removeDuplicates("a; b; a; b; c", "; "), "a; b; c");
  EXPECT_EQ(removeDuplicates("a,,a,", ","), "a,");
  EXPECT_EQ(removeDuplicates("a;A", ";"), "a;A");
  EXPECT_EQ(removeDuplicates("", "; "), "");
  EXPECT_EQ(removeDuplicates("a;a", ""), "a;a");
}
