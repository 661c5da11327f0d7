#include "web/url.h"

#include <gtest/gtest.h>

#include "support/print.h"

TEST(url_test, host_port_and_path) {
  struct Case {
    Text url, host;
    int port;
    Text path;
  } cases[] = {
      {"https://www.example.com/ranking/bangumi/13/1/3/"
       "?spm_id_from=333.334.ranking_timing_bangumi.11",
       "www.example.com", 443,
       "/ranking/bangumi/13/1/3/?spm_id_from=333.334.ranking_timing_bangumi.11"},
      {"HTTPS://WWW.Example.COM/Path/X?Q=A", "www.example.com", 443, "/Path/X?Q=A"},
      {"HtTp://Host/P", "host", 80, "/P"},
      {"http://host:8080/a/b", "host", 8080, "/a/b"},
      {"https://host:8443/x", "host", 8443, "/x"},
      {"http://host:8080", "host", 8080, "/"},
      {"http://host:70000/", "host", 70000, "/"},  // cut to 16 bits only at the connection
      {"http://host:abc/", "host", 0, "/"},
      {"http://host:/", "host", 0, "/"},
      {"https://host:\xA3\xB4\xA3\xB4\xA3\xB3/", "host", 443, "/"},  // full-width digits
      {"host/a/b", "host", 80, "/a/b"},
      {"host", "host", 80, "/"},
      {"https://host", "host", 443, "/"},
      {"http://host?q=/x", "host?q=", 80, "/x"},  // no slash before the query
      {"http://host?q=1", "host?q=1", 80, "/"},
      {"", "", 80, "/"},
      {"https://", "", 443, "/"},
      {"http:///x", "", 80, "/x"},
      // A host that also occurs inside the scheme is found after it.
      {"http://h/x", "h", 80, "/x"},
      {"https://t/p", "t", 443, "/p"},
      {"https://s:1/p", "s", 1, "/p"},
      {"x http://host/p", "host", 80, "/p"},  // "http://" found anywhere
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.url));
    EXPECT_EQ(urlHost(c.url), c.host);
    EXPECT_EQ(urlPort(c.url), c.port);
    EXPECT_EQ(urlPath(c.url), c.path);
  }
  EXPECT_EQ(urlHost("http://Host:8080/x", true), "host:8080");
  EXPECT_EQ(urlHost("Host:8080", true), "host:8080");
  EXPECT_EQ(urlHost("https://a:1:2/", true), "a:1:2");
  EXPECT_EQ(urlPort("https://a:1:2/"), 2);  // the last colon
  EXPECT_EQ(urlHost("https://a:1:2/"), "a");
}

TEST(url_test, secure_scheme) {
  EXPECT_TRUE(urlIsSecure("https://h/"));
  EXPECT_TRUE(urlIsSecure("HTTPS://h/"));
  EXPECT_TRUE(urlIsSecure("https://"));
  EXPECT_FALSE(urlIsSecure("http://h/"));
  EXPECT_FALSE(urlIsSecure("https:/h/"));
  EXPECT_FALSE(urlIsSecure(" https://h/"));
  EXPECT_FALSE(urlIsSecure(""));
}
