// webRequest and the refresh cycle against servers that misbehave
// (hostile_servers.py and the TLS origins of run_with_server.py), the same
// cases for every port. Each case ends, without a crash or a hang, with the
// body bytes received before the server broke off, the cookies of the header
// block that came, and a table emptied and then filled with the entries that
// body yields. The time each case took is printed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ranking/scrape_ranking.h"
#include "support/list_of.h"
#include "support/print.h"
#include "text/bytes.h"
#include "text/lists.h"
#include "text/text.h"
#include "ui/fake_table.h"
#include "ui/ranking_handlers.h"
#include "web/web_request.h"

namespace {

std::string variable(const std::string& name) {
  const char* value = std::getenv(("KORVALE_TEST_" + name).c_str());
  return value != nullptr ? value : "";
}

// What the refresh downloads and what came back. The refresh takes its source
// as a plain function, so the source's URL and outputs live here.
struct Download {
  Text url;
  Bytes body;
  Text newCookies;
  Text responseHeaders;
};
Download download;
Bytes pageGiven;  // the source of the refresh that says what the table should show

void downloadPage(TextList* titleList, TextList* episodeList, TextList* playList,
                  TextList* followList, TextList* danmakuList, TextList* scoreList) {
  // As the program asks for its page: the URL alone.
  download.body = webRequest(download.url, {.newCookies = &download.newCookies,
                                            .responseHeaders = &download.responseHeaders});
  parseRankingPage(download.body, {titleList, episodeList, playList, followList, danmakuList,
                                   scoreList, &linkList});
}

void givenPage(TextList* titleList, TextList* episodeList, TextList* playList, TextList* followList,
               TextList* danmakuList, TextList* scoreList) {
  parseRankingPage(
      pageGiven, {titleList, episodeList, playList, followList, danmakuList, scoreList, &linkList});
}

// The bytes a hostile server sent as its body before it broke off.
Bytes bodySent(const char* name) {
  if (name == nullptr) return {};
  std::ifstream in(variable("HOSTILE_BODIES") + "/" + name + ".body", std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return Bytes(std::string(std::istreambuf_iterator<char>(in), {}));
}

// A body is up to 20 KB: a failure shows where it first differs.
std::string whereDiffers(const Bytes& got, const Bytes& want) {
  const std::string_view a = got.view(), b = want.view();
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  return "got " + std::to_string(a.size()) + " bytes, want " + std::to_string(b.size()) +
         ", first difference at " + std::to_string(at);
}

struct Case {
  const char* name;     // as printed
  const char* server;   // the port's variable: KORVALE_TEST_<server>_PORT
  const char* target;   // path and query
  const char* body;     // the hostile server's body sent; null: none
  const char* status;   // the header block's first line; null: no header block
  const char* line;     // a line of the header block; null: none to look for
  const char* cookies;  // newCookies
  int rows;             // what the body yields, stated once more in plain figures
  bool secure = false;  // https, to localhost: the name in the certificates
  int emptyRow = -1;    // a row whose six fields come out empty
};

constexpr int pageEntries = 30;  // tests/ui/e2e/ranking-page.html

// Runs the refresh against one server, checks the outcome and prints it with
// the time it took.
void runCase(const Case& c) {
  SCOPED_TRACE(c.name);
  const std::string port = variable(std::string(c.server) + "_PORT");
  ASSERT_FALSE(port.empty()) << "run through tests/web/run_with_server.py";
  const std::string url = (c.secure ? "https://localhost:" : "http://127.0.0.1:") + port + c.target;
  download = {.url = Text(url.c_str())};
  download.newCookies = download.responseHeaders = "before";
  // Rows and a link of an earlier refresh, which the refresh must not leave behind.
  FakeTable table;
  table.rows.assign(2, {"stale"});
  linkList = listOf({"stale"});

  const auto start = std::chrono::steady_clock::now();
  refreshRanking(&table, downloadPage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const TextList links = linkList;

  const Bytes sent = bodySent(c.body);
  EXPECT_TRUE(download.body == sent) << whereDiffers(download.body, sent);
  EXPECT_EQ(download.newCookies, Text(c.cookies));
  const Text& headers = download.responseHeaders;
  if (c.status == nullptr) {
    // No response came: no header block, or (WinINet under Wine) the empty line alone.
    EXPECT_TRUE(headers == "" || headers == "\r\n") << headers.c_str();
  } else {
    EXPECT_EQ(textLeft(headers, textLength(c.status) + 2), concatText(Text(c.status), "\r\n"));
    if (c.line != nullptr) {
      EXPECT_NE(findText(headers, concatText(Text("\r\n"), c.line, "\r\n")), -1) << headers.c_str();
    }
    EXPECT_EQ(textRight(headers, 4), "\r\n\r\n");
  }

  pageGiven = sent;
  FakeTable expected;
  refreshRanking(&expected, givenPage);
  EXPECT_EQ(table.rows, expected.rows);
  EXPECT_EQ(links, linkList);
  ASSERT_EQ(table.rows.size(), static_cast<std::size_t>(c.rows));
  if (c.emptyRow >= 0) {
    const auto& row = table.rows[static_cast<std::size_t>(c.emptyRow)];
    EXPECT_EQ(std::vector<Text>(row.begin() + 1, row.end()), std::vector<Text>(6));
  }

  std::printf("hostile  %-28s %7.2f s  body %5d bytes  rows %2zu  cookies \"%s\"\n", c.name,
              seconds, bytesLength(download.body), table.rows.size(), download.newCookies.c_str());
  std::fflush(stdout);
}

bool httpsTrusted() {
  return variable("HTTPS") == "1";
}

}  // namespace

TEST(hostile_server_test, matrix) {
  const Case cases[] = {
      {"connection refused", "REFUSED", "/", nullptr, nullptr, nullptr, "", 0},
      {"reset in the body", "HOSTILE_RESET", "/", "reset", "HTTP/1.1 200 OK", "Set-Cookie: b=2",
       "a=1; b=2", 0},
      // The whole page, but short of the length announced: its entries count.
      {"body short of its length", "HOSTILE_SHORT_BODY", "/", "short_body", "HTTP/1.1 200 OK",
       "Connection: close", "a=1; b=2", pageEntries},
      {"100 KiB header block", "HOSTILE_BIG_HEADER", "/", "big_header", "HTTP/1.1 200 OK",
       "Set-Cookie: late=3", "a=1; b=2; late=3", pageEntries},
      {"HTTP/1.0, close-delimited", "HOSTILE_HTTP10", "/", "http10", "HTTP/1.0 200 OK",
       "Set-Cookie: b=2", "a=1; b=2", pageEntries},
      {"bad chunk size", "HOSTILE_BAD_CHUNK", "/", "bad_chunk", "HTTP/1.1 200 OK",
       "Transfer-Encoding: chunked", "a=1; b=2", 0},
      // The body keeps its zero bytes. The one inside the second entry's title
      // ends that entry's text: its row stays, with its fields empty.
      {"zero bytes in the body", "HOSTILE_ZERO_BYTES", "/", "zero_bytes", "HTTP/1.1 200 OK",
       "Set-Cookie: b=2", "a=1; b=2", pageEntries, false, 1},
      {"gzip body not asked for", "HOSTILE_GZIP", "/", "gzip", "HTTP/1.1 200 OK",
       "Content-Encoding: gzip", "a=1; b=2", 0},
#ifdef _WIN32
      // Windows' WinINet gives up a redirect loop after a bounded number of
      // hops (ERROR_HTTP_REDIRECT_FAILED). Wine's follows it for good, so here
      // the loop is 40 hops long and then the server hangs up unanswered;
      // Wine then keeps the last redirect's status line without its other
      // lines, so its cookie is not among them.
      {"redirect loop", "HOSTILE_REDIRECT_LOOP", "/loop/40", nullptr, "HTTP/1.1 302 Found", nullptr,
       "", 0},
#else
      // Given up after 30 redirects; the header block is the last redirect's.
      {"redirect loop", "HOSTILE_REDIRECT_LOOP", "/loop/100", nullptr, "HTTP/1.1 302 Found",
       "Location: /loop/69", "hop=70", 0},
#endif
  };
  for (const Case& c : cases) runCase(c);

  if (!httpsTrusted()) GTEST_SKIP() << "the test CA is not trusted";
  // Each origin would answer with the cookies a=1 and b=2: none may arrive.
  const Case tls[] = {
      {"self-signed certificate", "UNTRUSTED", "/cookies/first", nullptr, nullptr, nullptr, "", 0,
       true},
      {"expired certificate", "EXPIRED", "/cookies/first", nullptr, nullptr, nullptr, "", 0, true},
      {"wrong-host certificate", "WRONG_HOST", "/cookies/first", nullptr, nullptr, nullptr, "", 0,
       true},
  };
  for (const Case& c : tls) runCase(c);
}

// Apart from the matrix, so that the wait overlaps the other tests.
TEST(hostile_server_test, silent_server) {
#ifdef _WIN32
  // Windows' WinINet ends the wait at its 30 s receive time limit. Wine's
  // waits for as long as the server keeps the connection open, so here the
  // server hangs up after 5 s.
  runCase(
      {"accept, then silence", "HOSTILE_SILENT", "/silent/5", nullptr, nullptr, nullptr, "", 0});
#else
  // The server keeps silent for 45 s: the time limit ends the wait first.
  const auto start = std::chrono::steady_clock::now();
  runCase(
      {"accept, then silence", "HOSTILE_SILENT", "/silent/45", nullptr, nullptr, nullptr, "", 0});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40));
#endif
}
