#include "web/web_request.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/print.h"
#include "text/bytes.h"
#include "text/text.h"
#include "web/internet.h"

namespace {

using Calls = std::vector<std::string>;

const std::string agent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Answers as the platform would and writes every call with its arguments into
// `calls`, one line each: handles as S, C and R, null pointers as "null",
// request flags in hex.
class RecordingInternet final : public InternetApi {
 public:
  bool openFails = false, connectFails = false, openRequestFails = false, sendFails = false;
  std::vector<std::string> chunks;  // the body, as the reads deliver it
  std::size_t failingRead = SIZE_MAX;
  std::string failingReadBytes;  // what the failing read delivers before it fails
  std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
  Calls calls;

  RecordingInternet() { setInternetApi(this); }
  ~RecordingInternet() override { setInternetApi(nullptr); }
  RecordingInternet(const RecordingInternet&) = delete;
  RecordingInternet& operator=(const RecordingInternet&) = delete;

  InternetHandle open(const char* agentText, std::uint32_t accessType, const char* proxy,
                      const char* proxyBypass, std::uint32_t flags) override {
    record("open", {str(agentText), num(accessType), str(proxy), str(proxyBypass), num(flags)});
    return openFails ? nullptr : session;
  }
  InternetHandle connect(InternetHandle s, const char* host, std::uint16_t port, const char* user,
                         const char* password, std::uint32_t service, std::uint32_t flags,
                         std::uintptr_t context) override {
    record("connect", {name(s), str(host), num(port), str(user), str(password), num(service),
                       num(flags), num(context)});
    return connectFails ? nullptr : connection;
  }
  InternetHandle openRequest(InternetHandle c, const char* verb, const char* path,
                             const char* version, const char* referrer, const char** acceptTypes,
                             std::uint32_t flags, std::uintptr_t context) override {
    record("openRequest", {name(c), str(verb), str(path), str(version), str(referrer),
                           acceptTypes == nullptr ? "null" : "list", hex(flags), num(context)});
    return openRequestFails ? nullptr : request;
  }
  bool send(InternetHandle r, const char* headers, std::uint32_t headersLength, const void* body,
            std::uint32_t bodyLength) override {
    record("send",
           {name(r), std::string(headers, headersLength), num(headersLength),
            body == nullptr ? "null" : std::string(static_cast<const char*>(body), bodyLength),
            num(bodyLength)});
    return !sendFails;
  }
  bool read(InternetHandle r, void* buffer, std::uint32_t size, std::uint32_t* count) override {
    record("read", {name(r), num(size)});
    *count = 0;
    const bool fails = reads++ == failingRead;
    if (!fails && (sendFails || next == chunks.size())) return true;
    const std::string& chunk = fails ? failingReadBytes : chunks[next++];
    EXPECT_LE(chunk.size(), size);
    std::memcpy(buffer, chunk.data(), chunk.size());
    *count = static_cast<std::uint32_t>(chunk.size());
    return !fails;
  }
  bool queryInfo(InternetHandle r, std::uint32_t infoLevel, void* buffer, std::uint32_t* length,
                 std::uint32_t* index) override {
    record("queryInfo",
           {name(r), num(infoLevel), num(*length), index == nullptr ? "null" : "index"});
    if (sendFails) return false;
    if (*length < rawHeaders.size() + 1) {
      *length = static_cast<std::uint32_t>(rawHeaders.size() + 1);
      return false;
    }
    std::memcpy(buffer, rawHeaders.c_str(), rawHeaders.size() + 1);
    *length = static_cast<std::uint32_t>(rawHeaders.size());
    return true;
  }
  bool close(InternetHandle handle) override {
    record("close", {name(handle)});
    return true;
  }

  // The "send" line's header text and body.
  std::string sentHeaders() const { return field(3, 1); }
  std::string sentBody() const { return field(3, 3); }
  std::string field(std::size_t call, std::size_t n) const {
    std::string line = calls.at(call).substr(calls.at(call).find(' ') + 1);
    for (std::size_t i = 0; i < n; ++i) line = line.substr(line.find('|') + 1);
    return line.substr(0, line.find('|'));
  }

 private:
  char handles[3] = {};
  InternetHandle session = &handles[0], connection = &handles[1], request = &handles[2];
  std::size_t next = 0, reads = 0;

  std::string name(InternetHandle h) const {
    return h == session ? "S" : h == connection ? "C" : h == request ? "R" : "?";
  }
  static std::string str(const char* s) { return s == nullptr ? "null" : s; }
  static std::string num(std::uint64_t n) { return std::to_string(n); }
  static std::string hex(std::uint32_t n) {
    char out[16];
    std::snprintf(out, sizeof out, "%08X", static_cast<unsigned>(n));
    return out;
  }
  void record(const char* call, std::initializer_list<std::string> args) {
    std::string line = call;
    const char* separator = " ";
    for (const std::string& arg : args) {
      line += separator + arg;
      separator = "|";
    }
    calls.push_back(line);
  }
};

// The calls from the reads on: `reads` reads, the header query, the closes.
Calls afterSend(int reads) {
  Calls out(static_cast<std::size_t>(reads), "read R|1024");
  for (const char* call : {"queryInfo R|22|5000|null", "close R", "close C", "close S"}) {
    out.push_back(call);
  }
  return out;
}

Calls join(Calls a, const Calls& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Text rankingUrl =
    "https://www.example.com/ranking/bangumi/13/1/3/?spm_id_from=333.334.ranking_timing_bangumi.11";
const Text plainUrl = "http://h:81/p";
const std::string plainLines = "Accept: */*\r\nReferer: http://h:81/p\r\nAccept-Language: zh-cn";

}  // namespace

TEST(web_request_test, ranking_page_request) {
  RecordingInternet net;
  net.chunks = {"<html>", "</html>"};
  net.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n\r\n";
  Text headers, responseHeaders, newCookies = "old";
  EXPECT_EQ(webRequest(rankingUrl, {.newCookies = &newCookies,
                                    .headers = &headers,
                                    .responseHeaders = &responseHeaders}),
            Bytes("<html></html>"));
  const std::string sent =
      "Accept: */*\r\nReferer: " + std::string(rankingUrl.view()) + "\r\nAccept-Language: zh-cn";
  EXPECT_EQ(net.calls, join({"open " + agent + "|1|null|null|0",
                             "connect S|www.example.com|443|null|null|3|0|0",
                             "openRequest C|GET|/ranking/bangumi/13/1/3/"
                             "?spm_id_from=333.334.ranking_timing_bangumi.11|HTTP/1.1|null|null|"
                             "80800010|0",
                             "send R|" + sent + "|" + std::to_string(sent.size()) + "||0"},
                            afterSend(3)));
  EXPECT_EQ(headers, Text(sent.c_str()));
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n\r\n");
  EXPECT_EQ(newCookies, "a=1");

  RecordingInternet bare;  // nothing given to receive the results
  EXPECT_EQ(webRequest(rankingUrl), Bytes());
  EXPECT_EQ(bare.calls, join(Calls(net.calls.begin(), net.calls.begin() + 4), afterSend(1)));
}

TEST(web_request_test, connection_and_flags) {
  Text empty;
  struct Case {
    Text url;
    Text* cookies;
    bool noRedirect;
    std::string connect, flags;
  } cases[] = {
      {"HTTPS://Host/x", nullptr, false, "connect S|host|443|null|null|3|0|0", "80800010"},
      {"http://h:81/p", nullptr, false, "connect S|h|81|null|null|3|0|0", "80004010"},
      {"http://h:81/p", &empty, false, "connect S|h|81|null|null|3|0|0", "80084010"},
      {"http://h:81/p", nullptr, true, "connect S|h|81|null|null|3|0|0", "80204010"},
      {"https://h/p", &empty, true, "connect S|h|443|null|null|3|0|0", "80A80010"},
      {"h/p", nullptr, false, "connect S|h|80|null|null|3|0|0", "80004010"},
      {"http://h:70000/", nullptr, false, "connect S|h|4464|null|null|3|0|0", "80004010"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.url));
    RecordingInternet net;
    webRequest(c.url, {.cookies = c.cookies, .noRedirect = c.noRedirect});
    EXPECT_EQ(net.calls.at(1), c.connect);
    EXPECT_EQ(net.field(2, 6), c.flags);
  }
}

TEST(web_request_test, methods_and_bodies) {
  struct Case {
    int method;
    Text textBody;
    Bytes byteBody;
    std::string verb, sentBody;
    Bytes byteBodyAfter;
  } cases[] = {
      {0, "abc", Bytes("xyz"), "GET", "", Bytes("xyz")},  // GET never sends a body
      {1, "abc", Bytes(), "POST", "abc", Bytes("abc")},
      {1, "abc", Bytes(std::string_view("x\0y", 3)), "POST", std::string("x\0y", 3),
       Bytes(std::string_view("x\0y", 3))},
      {2, "", Bytes(), "HEAD", "", Bytes()},
      {3, "t", Bytes(), "PUT", "t", Bytes("t")},
      {4, "", Bytes(), "OPTIONS", "", Bytes()},
      {5, "", Bytes("b"), "DELETE", "b", Bytes("b")},
      {6, "", Bytes(), "TRACE", "", Bytes()},
      {7, "", Bytes(), "CONNECT", "", Bytes()},
      {8, "abc", Bytes(), "GET", "", Bytes()},
      {-1, "abc", Bytes(), "GET", "", Bytes()},
      {INT_MIN, "", Bytes(), "GET", "", Bytes()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    RecordingInternet net;
    Bytes byteBody = c.byteBody;
    webRequest(plainUrl, {.method = c.method, .textBody = c.textBody, .byteBody = &byteBody});
    EXPECT_EQ(net.field(2, 1), c.verb);
    EXPECT_EQ(net.sentBody(), c.sentBody);
    EXPECT_EQ(net.field(3, 4), std::to_string(c.sentBody.size()));
    EXPECT_EQ(byteBody, c.byteBodyAfter);
    // Only POST gets the content type.
    EXPECT_EQ(
        net.sentHeaders(),
        plainLines + (c.method == 1 ? "\r\nContent-Type: application/x-www-form-urlencoded" : ""));
  }
}

TEST(web_request_test, agent_proxy_and_header_switches) {
  struct Case {
    Text url, proxy, headers;
    bool complete, normalize;
    std::string open, sent;
  } cases[] = {
      {plainUrl, "p:8080", "", true, true, "open " + agent + "|3|http=p:8080||0", plainLines},
      {"https://h/", "p:8080", "", true, true, "open " + agent + "|3|p:8080||0",
       "Accept: */*\r\nReferer: https://h/\r\nAccept-Language: zh-cn"},
      {plainUrl, "", "user-agent:  mine \r\nx-a: 1", true, true, "open mine|1|null|null|0",
       "User-Agent:  mine \r\nX-A: 1\r\n" + plainLines},
      {plainUrl, "", "User-Agent: \r\nAccept: a", true, true, "open null|1|null|null|0",
       "User-Agent: \r\nAccept: a\r\nReferer: http://h:81/p\r\nAccept-Language: zh-cn"},
      {plainUrl, "", "x-a: 1\r\nbad", false, false, "open " + agent + "|1|null|null|0",
       "x-a: 1\r\nbad"},
      {plainUrl, "", "x-a: 1\r\nbad", false, true, "open " + agent + "|1|null|null|0", "X-A: 1"},
      {plainUrl, "", "", false, true, "open " + agent + "|1|null|null|0", ""},
      {plainUrl, "", "bad", true, false, "open " + agent + "|1|null|null|0",
       "bad\r\nAccept: */*\r\nReferer: http://h:81/p\r\nAccept-Language: zh-cn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.headers));
    RecordingInternet net;
    Text headers = c.headers;
    webRequest(c.url, {.headers = &headers,
                       .proxy = c.proxy,
                       .completeHeaders = c.complete,
                       .normalizeHeaderText = c.normalize});
    EXPECT_EQ(net.calls.at(0), c.open);
    EXPECT_EQ(net.sentHeaders(), c.sent);
    EXPECT_EQ(headers, Text(c.sent.c_str()));  // the caller's text, as sent
  }
}

TEST(web_request_test, cookies) {
  const std::string received =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b = 2\r\n"
      "Set-Cookie: d=deleted\r\nSet-Cookie: b = 2\r\n\r\n";
  struct Case {
    const char* cookies;  // null: not given
    bool merge;
    std::string cookieLine, flags;
    Text cookiesAfter, newCookies;
  } cases[] = {
      {nullptr, true, "", "80004010", "", "a=1; b = 2; d=deleted; b = 2"},
      {"", true, "", "80084010", "a=1; b=2", "a=1; b=2"},
      {"a=0; c=3; d=4", true, "\r\nCookie: a=0; c=3; d=4", "80084010", "a=1; b=2; c=3",
       "a=1; b=2; c=3"},
      {"Cookie: c=3", true, "\r\nCookie: c=3", "80084010", "a=1; b=2; Cookie:c=3",
       "a=1; b=2; Cookie:c=3"},
      {"a = 0", false, "\r\nCookie: a = 0", "80084010", "a = 0", "a=1; b = 2; d=deleted; b = 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cookies != nullptr ? c.cookies : "(not given)");
    RecordingInternet net;
    net.rawHeaders = received;
    Text cookies = c.cookies != nullptr ? c.cookies : "", newCookies = "old";
    webRequest(plainUrl, {.cookies = c.cookies != nullptr ? &cookies : nullptr,
                          .newCookies = &newCookies,
                          .mergeNewCookies = c.merge});
    EXPECT_EQ(net.field(2, 6), c.flags);
    EXPECT_EQ(net.sentHeaders(), plainLines + c.cookieLine);
    EXPECT_EQ(cookies, c.cookiesAfter);
    EXPECT_EQ(newCookies, c.newCookies);
  }
}

TEST(web_request_test, early_failures_change_nothing) {
  struct Case {
    bool open, connect, request;
    Calls calls;
  } cases[] = {
      {true, false, false, {"open " + agent + "|1|null|null|0"}},
      {false,
       true,
       false,
       {"open " + agent + "|1|null|null|0", "connect S|h|81|null|null|3|0|0", "close S"}},
      {false,
       false,
       true,
       {"open " + agent + "|1|null|null|0", "connect S|h|81|null|null|3|0|0",
        "openRequest C|POST|/p|HTTP/1.1|null|null|80084010|0", "close C", "close S"}},
  };
  for (const Case& c : cases) {
    RecordingInternet net;
    net.openFails = c.open;
    net.connectFails = c.connect;
    net.openRequestFails = c.request;
    Text cookies = "a = 1", newCookies = "n", headers = "x: 1", responseHeaders = "r";
    Bytes byteBody;
    EXPECT_EQ(webRequest(plainUrl, {.method = 1,
                                    .textBody = "abc",
                                    .cookies = &cookies,
                                    .newCookies = &newCookies,
                                    .headers = &headers,
                                    .responseHeaders = &responseHeaders,
                                    .byteBody = &byteBody}),
              Bytes());
    EXPECT_EQ(net.calls, c.calls);
    EXPECT_EQ(cookies, "a = 1");
    EXPECT_EQ(newCookies, "n");
    EXPECT_EQ(headers, "x: 1");
    EXPECT_EQ(responseHeaders, "r");
    EXPECT_EQ(byteBody, Bytes());
  }
}

TEST(web_request_test, failed_send) {
  // The request handle exists, so the header text is already completed and
  // normalised; a failed header query leaves no headers and no cookies.
  RecordingInternet net;
  net.sendFails = true;
  Text cookies = "a = 1", newCookies = "n", headers = "x-y: 1", responseHeaders = "r";
  EXPECT_EQ(webRequest(plainUrl, {.cookies = &cookies,
                                  .newCookies = &newCookies,
                                  .headers = &headers,
                                  .responseHeaders = &responseHeaders}),
            Bytes());
  EXPECT_EQ(headers, Text(("X-Y: 1\r\n" + plainLines + "\r\nCookie: a = 1").c_str()));
  EXPECT_EQ(responseHeaders, "");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(newCookies, "a=1");
  EXPECT_EQ(std::vector(net.calls.begin() + 4, net.calls.end()), afterSend(1));
}

TEST(web_request_test, body_in_reads_of_1024_bytes) {
  std::string body;
  for (int i = 0; i < 2500; ++i) body += static_cast<char>(i % 251);
  RecordingInternet net;
  net.chunks = {body.substr(0, 1024), body.substr(1024, 1024), body.substr(2048)};
  EXPECT_EQ(webRequest(plainUrl), Bytes(body));
  EXPECT_EQ(std::vector(net.calls.begin() + 4, net.calls.end()), afterSend(4));

  RecordingInternet shortReads;  // the platform may hand out less than asked
  shortReads.chunks = {"a", "", "b"};
  EXPECT_EQ(webRequest(plainUrl), Bytes("a"));

  RecordingInternet failing;  // a read that fails ends the body
  failing.chunks = {"abc", "def"};
  failing.failingRead = 1;
  EXPECT_EQ(webRequest(plainUrl), Bytes("abc"));
  EXPECT_EQ(std::vector(failing.calls.begin() + 4, failing.calls.end()), afterSend(2));

  // A reset part-way through a read: the bytes it delivered before failing
  // are kept, and nothing more is read.
  RecordingInternet reset;
  reset.chunks = {"abc", "ghi"};
  reset.failingRead = 1;
  reset.failingReadBytes = "de";
  EXPECT_EQ(webRequest(plainUrl), Bytes("abcde"));
  EXPECT_EQ(std::vector(reset.calls.begin() + 4, reset.calls.end()), afterSend(2));
}

TEST(web_request_test, header_block_beyond_5000_bytes) {
  RecordingInternet net;
  net.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n";
  for (int i = 0; i < 300; ++i)
    net.rawHeaders += "X-Filler-" + std::to_string(i) + ": 0123456789abcdef\r\n";
  net.rawHeaders += "Set-Cookie: late=2; path=/\r\n\r\n";
  ASSERT_GT(net.rawHeaders.size(), 5000u);
  Text responseHeaders, newCookies;
  webRequest(plainUrl, {.newCookies = &newCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, Text(net.rawHeaders.c_str()));
  EXPECT_EQ(newCookies, "a=1; late=2");
  const std::string size = std::to_string(net.rawHeaders.size() + 1);
  EXPECT_EQ(std::vector(net.calls.begin() + 4, net.calls.end()),
            (Calls{"read R|1024", "queryInfo R|22|5000|null", "queryInfo R|22|" + size + "|null",
                   "close R", "close C", "close S"}));

  RecordingInternet exact;  // 4999 bytes and the zero fill the buffer
  exact.rawHeaders = "HTTP/1.1 200 OK\r\n" + std::string(4999 - 21, 'x') + "\r\n\r\n";
  ASSERT_EQ(exact.rawHeaders.size(), 4999u);
  webRequest(plainUrl, {.responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, Text(exact.rawHeaders.c_str()));
  EXPECT_EQ(std::vector(exact.calls.begin() + 4, exact.calls.end()), afterSend(1));
}
