#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "ranking/scrape_ranking.h"
#include "support/list_of.h"
#include "support/print.h"
#include "support/sample_ranking_page.h"
#include "text/lists.h"

namespace {

// The page's markup around the fields, written out here rather than taken
// from the parser.
constexpr std::string_view cover = "<div class=\"lazy-img cover\"><img alt=\"\"></div></a><!---->";
constexpr std::string_view separator = "</div><div class=\"info\">";
constexpr std::string_view endMarker =
    "          </div></div><!----></div></li></ul><!----><!---->";
constexpr std::string_view scoreWordUtf8 =
    "\xE7\xBB\xBC\xE5\x90\x88\xE5\xBE\x97\xE5\x88\x86";  // 综合得分

struct Entry {
  std::string link, title, episodes, plays, danmaku, followers, score;
};

// Fields that name their entry and their column: "L1", "T1", …, "S1".
Entry named(const std::string& n) {
  return {"L" + n, "T" + n, "E" + n, "P" + n, "D" + n, "F" + n, "S" + n};
}

// An entry's info block, fields in the page's order, ending with the line
// break the page has before its closing tags.
std::string info(const Entry& e) {
  return "<a href=\"" + e.link + "\" target=\"_blank\" class=\"title\">" + e.title +
         "</a><div class=\"bangumi-info\">" + e.episodes +
         "</div><div class=\"detail\"><span class=\"data-box\"><i class=\"b-icon play\"></i>" +
         e.plays + "</span><span class=\"data-box\"><i class=\"b-icon view\"></i>" + e.danmaku +
         "</span><span class=\"data-box\"><i class=\"fav\"></i>" + e.followers +
         "</span></div><div class=\"pts\"><div>" + e.score + "</div>" + std::string(scoreWordUtf8) +
         "\n";
}

// The cover block, the separator and the info block of each entry, between
// a page head and the end marker.
std::string page(std::initializer_list<Entry> entries) {
  std::string out = "<html><ul class=\"rank-list\">";
  for (const Entry& e : entries) {
    out += "<li><a href=\"" + e.link + "\" target=\"_blank\">";
    out += cover;
    out += separator;
    out += info(e);
  }
  out += endMarker;
  return out + "</div></html>";
}

struct Parsed {
  TextList title, episode, play, follow, danmaku, score, link;
};

Parsed parse(std::string_view bytes) {
  Parsed p;
  parseRankingPage(Bytes(bytes),
                   {&p.title, &p.episode, &p.play, &p.follow, &p.danmaku, &p.score, &p.link});
  return p;
}

// Position k of every list holds the fields of the entry named names[k - 1].
void expectNamedEntries(const Parsed& p, std::initializer_list<std::string> names) {
  Parsed expected;
  for (const std::string& n : names) {
    const Entry e = named(n);
    listAppend(&expected.title, Text(e.title));
    listAppend(&expected.episode, Text(e.episodes));
    listAppend(&expected.play, Text(e.plays));
    listAppend(&expected.follow, Text(e.followers));
    listAppend(&expected.danmaku, Text(e.danmaku));
    listAppend(&expected.score, Text(e.score));
    listAppend(&expected.link, Text(e.link));
  }
  EXPECT_EQ(p.title, expected.title);
  EXPECT_EQ(p.episode, expected.episode);
  EXPECT_EQ(p.play, expected.play);
  EXPECT_EQ(p.follow, expected.follow);
  EXPECT_EQ(p.danmaku, expected.danmaku);
  EXPECT_EQ(p.score, expected.score);
  EXPECT_EQ(p.link, expected.link);
}

void expectEntryCount(const Parsed& p, int count) {
  for (const TextList* list :
       {&p.title, &p.episode, &p.play, &p.follow, &p.danmaku, &p.score, &p.link}) {
    EXPECT_EQ(listSize(*list), count);
  }
}

}  // namespace

TEST(parse_ranking_page_test, entries_in_page_order) {
  expectNamedEntries(parse(page({named("1"), named("2"), named("3")})), {"1", "2", "3"});
  expectNamedEntries(parse(page({named("1")})), {"1"});
}

TEST(parse_ranking_page_test, appends_after_existing_members) {
  Parsed p;
  listAppend(&p.title, Text("old"));
  listAppend(&p.link, Text("old link"));
  parseRankingPage(Bytes(page({named("1")})),
                   {&p.title, &p.episode, &p.play, &p.follow, &p.danmaku, &p.score, &p.link});
  EXPECT_EQ(p.title, listOf({"old", "T1"}));
  EXPECT_EQ(p.link, listOf({"old link", "L1"}));
  EXPECT_EQ(p.score, listOf({"S1"}));
}

TEST(parse_ranking_page_test, a_null_list_takes_nothing) {
  TextList titles;
  parseRankingPage(Bytes(page({named("1"), named("2")})), {.titleList = &titles});
  EXPECT_EQ(titles, listOf({"T1", "T2"}));
}

TEST(parse_ranking_page_test, pages_without_entries) {
  const std::string whole = page({named("1")});
  const std::string noEnd = whole.substr(0, whole.find(endMarker)) + "</html>";
  // The end marker on the page's last byte: the middle cut has already
  // dropped that byte, so the marker is gone. One byte more and it is found.
  const std::string endsWithMarker = whole.substr(0, whole.find(endMarker) + endMarker.size());
  for (const std::string& bytes : {std::string(), std::string("<html></html>"), noEnd,
                                   endsWithMarker, std::string(endMarker) + "x"}) {
    expectEntryCount(parse(bytes), 0);
  }
  expectEntryCount(parse(endsWithMarker + "x"), 1);
}

TEST(parse_ranking_page_test, without_start_marker_the_first_piece_starts_the_page) {
  // The whole page stays, last byte included, and the first separator still
  // joins what comes before it to the first info block.
  const std::string bytes = "<p>head</p>" + std::string(separator) + info(named("1")) +
                            std::string(separator) + info(named("2")) + std::string(endMarker);
  expectNamedEntries(parse(bytes), {"1", "2"});
}

TEST(parse_ranking_page_test, the_last_end_marker_wins) {
  // A third entry after the first end marker: the earlier marker stays inside
  // the second piece.
  std::string bytes = page({named("1"), named("2")});
  bytes.insert(bytes.rfind("</html>"), std::string(cover) + std::string(separator) +
                                           info(named("3")) + std::string(endMarker));
  expectNamedEntries(parse(bytes), {"1", "2", "3"});
}

TEST(parse_ranking_page_test, the_byte_before_the_end_marker_is_dropped) {
  // page() ends the last entry with the score's right marker and a line
  // break: the line break goes, the marker stays (every test above). Without
  // the line break the marker's last byte goes instead.
  std::string bytes = page({named("1"), named("2")});
  bytes.erase(bytes.find(endMarker) - 1, 1);
  const Parsed p = parse(bytes);
  EXPECT_EQ(p.score, listOf({"S1", ""}));
  EXPECT_EQ(p.follow, listOf({"F1", "F2"}));
}

TEST(parse_ranking_page_test, separators) {
  const std::string sep(separator);
  // Two adjacent separators: one entry whose fields are all empty.
  std::string bytes = page({named("1"), named("2")});
  bytes.insert(bytes.rfind(sep), sep);
  Parsed p = parse(bytes);
  EXPECT_EQ(p.title, listOf({"T1", "", "T2"}));
  EXPECT_EQ(p.link, listOf({"L1", "", "L2"}));
  expectEntryCount(p, 3);
  // A cut that ends with a separator: no extra entry.
  bytes = page({named("1")});
  bytes.insert(bytes.find(endMarker) - 1, sep);
  expectNamedEntries(parse(bytes), {"1"});
  // No separator, or only the one that is removed: one piece.
  expectNamedEntries(parse(info(named("1")) + "\n" + std::string(endMarker) + "x"), {"1"});
  expectNamedEntries(parse(sep + info(named("1")) + std::string(endMarker) + "x"), {"1"});
}

TEST(parse_ranking_page_test, a_missing_marker_empties_one_field) {
  std::string bytes = page({named("1"), named("2"), named("3")});
  bytes.erase(bytes.find(scoreWordUtf8, bytes.find("S2")), scoreWordUtf8.size());
  Parsed p = parse(bytes);
  EXPECT_EQ(p.score, listOf({"S1", "", "S3"}));
  EXPECT_EQ(p.title, listOf({"T1", "T2", "T3"}));
  EXPECT_EQ(p.follow, listOf({"F1", "F2", "F3"}));
  expectEntryCount(p, 3);
}

TEST(parse_ranking_page_test, pieces_are_percent_decoded_and_converted) {
  Entry e = named("1");
  e.title = "%41%4a%zz%E4%B8%AD+&amp;";  // %zz gives 0xDE, which UTF-8 cannot decode
  e.link = "//host/ss1?from=rank%2Fbangumi";
  e.plays = "12.3\xE4\xB8\x87";  // 万
  const Parsed p = parse(page({e}));
  EXPECT_EQ(p.title, listOf({"AJ?\xD6\xD0+&amp;"}));  // 中
  EXPECT_EQ(p.link, listOf({"//host/ss1?from=rank/bangumi"}));
  EXPECT_EQ(p.play, listOf({"12.3\xCD\xF2"}));
}

TEST(parse_ranking_page_test, the_score_is_found_only_after_conversion) {
  // The same page with its score word already in code page 936 bytes: they
  // are no UTF-8, so after the conversion the right marker is not there.
  std::string bytes = page({named("1")});
  bytes.replace(bytes.find(scoreWordUtf8), scoreWordUtf8.size(),
                "\xD7\xDB\xBA\xCF\xB5\xC3\xB7\xD6");
  const Parsed p = parse(bytes);
  EXPECT_EQ(p.score, listOf({""}));
  EXPECT_EQ(p.follow, listOf({"F1"}));
}

TEST(parse_ranking_page_test, a_zero_byte_ends_its_piece) {
  std::string bytes = page({named("1"), named("2"), named("3")});
  bytes.insert(bytes.find("</span>", bytes.find("P2")), 1, '\0');
  const Parsed p = parse(bytes);
  EXPECT_EQ(p.title, listOf({"T1", "T2", "T3"}));
  EXPECT_EQ(p.episode, listOf({"E1", "E2", "E3"}));
  EXPECT_EQ(p.play, listOf({"P1", "", "P3"}));
  EXPECT_EQ(p.danmaku, listOf({"D1", "", "D3"}));
  EXPECT_EQ(p.follow, listOf({"F1", "", "F3"}));
  EXPECT_EQ(p.link, listOf({"L1", "L2", "L3"}));
  EXPECT_EQ(p.score, listOf({"S1", "", "S3"}));
}

TEST(parse_ranking_page_test, realistic_page) {
  std::ifstream file(KORVALE_FIXTURES "/ranking_page_50.html", std::ios::binary);
  ASSERT_TRUE(file.good());
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const Parsed p = parse(bytes);
  expectEntryCount(p, 50);
  // 更新至第…话, 全…话, …万, …亿, and the entry's link.
  auto updatedTo = [](const char* n) {
    return Text(std::string("\xB8\xFC\xD0\xC2\xD6\xC1\xB5\xDA") + n + "\xBB\xB0");
  };
  auto all = [](const char* n) { return Text(std::string("\xC8\xAB") + n + "\xBB\xB0"); };
  auto wan = [](const char* n) { return Text(std::string(n) + "\xCD\xF2"); };
  auto yi = [](const char* n) { return Text(std::string(n) + "\xD2\xDA"); };
  auto link = [](int n) { return Text("//www.bilibili.com/bangumi/play/ss" + std::to_string(n)); };
  struct Case {
    int k;
    Text title, episodes, plays, danmaku, followers, score, link;
  } cases[] = {
      {1, "\xD0\xC7\xB3\xBD\xC2\xC3\xC8\xCB",  // 星辰旅人
       updatedTo("8"), yi("1.3"), wan("466.2"), wan("699.7"), "2500000", link(28037)},
      {3, "\xC4\xA7\xB7\xA8\xD1\xA7\xD4\xB0\xB5\xC4\xC8\xD5\xB3\xA3",  // 魔法学园的日常
       all("12"), wan("5099.7"), wan("237.8"), wan("122.6"), "1293204", link(28111)},
      {12, "\xD3\xEA\xBA\xF3\xB5\xC4\xBF\xA7\xB7\xC8\xB5\xEA",  // 雨后的咖啡店
       updatedTo("8"), wan("1734.1"), wan("54.7"), wan("187.5"), "562900",
       "//www.bilibili.com/bangumi/play/ss28444?from=rank/bangumi"},
      {29, "\xBB\xFA\xBC\xD7\xD5\xBD\xBC\xC7 &quot;\xC1\xE3&quot;",  // 机甲战记 &quot;零&quot;
       updatedTo("23"), wan("1436.6"), wan("26.6"), wan("90.6"), "331513", link(29073)},
      {37, "?? \xB5\xDA\xC6\xDF\xC4\xA7\xB7\xA8\xCA\xB9",  // 한글 第七魔法使: no Hangul in 936
       updatedTo("23"), wan("1371.0"), wan("8.5"), wan("86.7"), "286430", link(29369)},
      {41, "Re&#39;s \xC2\xC3\xB3\xCC",  // Re&#39;s 旅程
       all("24"), wan("609.5"), wan("27.0"), wan("43.3"), "269320", link(29517)},
      {44, "\xD0\xC7\xBA\xD3\xD5\xBD\xB6\xD3 &amp; \xD1\xA7\xD4\xB0",  // 星河战队 &amp; 学园
       updatedTo("9"), wan("1187.1"), wan("14.2"), wan("61.9"), "258147", link(29628)},
      {50, "??\xD3\xA3\xD6\xAE\xCA\xAB",  // 🌸樱之诗: one "?" per UTF-16 unit
       "\xBC\xB4\xBD\xAB\xBF\xAA\xB2\xA5", wan("765.3"), wan("23.9"), wan("29.3"), "239088",
       link(29850)},  // 即将开播
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    EXPECT_EQ(listGet(p.title, c.k), c.title);
    EXPECT_EQ(listGet(p.episode, c.k), c.episodes);
    EXPECT_EQ(listGet(p.play, c.k), c.plays);
    EXPECT_EQ(listGet(p.danmaku, c.k), c.danmaku);
    EXPECT_EQ(listGet(p.follow, c.k), c.followers);
    EXPECT_EQ(listGet(p.score, c.k), c.score);
    EXPECT_EQ(listGet(p.link, c.k), c.link);
  }
}

TEST(parse_ranking_page_test, sample_pages) {
  for (const int entries : {0, 1, 16, 100}) {
    const Parsed p = parse(sampleRankingPage(entries));
    expectEntryCount(p, entries);
    for (int k = 1; k <= entries; ++k) {
      EXPECT_EQ(listGet(p.link, k),
                Text("//www.bilibili.com/bangumi/play/ss" + std::to_string(10000 + k)));
      EXPECT_EQ(listGet(p.score, k), Text(std::to_string(1000000 - k)));
    }
  }
  const Parsed p = parse(sampleRankingPage(16));
  EXPECT_EQ(listGet(p.title, 8), "\xD0\xC7\xB3\xBD &amp; \xCF\xC4\xC4\xBF 8");  // 星辰 &amp; 夏目 8
  EXPECT_EQ(listGet(p.title, 16), "\xD0\xC7\xB3\xBD &amp; \xCF\xC4\xC4\xBF 16 ??");
}
