#include "ui/ranking_handlers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/print.h"
#include "text/lists.h"
#include "text/text.h"
#include "ui/fake_table.h"

namespace {

// The seven fields of one entry in the table's column order, then its link.
struct Entry {
  Text title, episodes, plays, followers, danmaku, score, link;
};
using Page = std::vector<Entry>;

Page numberedPage(int count) {
  Page page;
  for (int n = 1; n <= count; ++n) {
    const Text i = intToText(n);
    page.push_back({concatText(Text("title "), i), concatText(Text("ep "), i),
                    concatText(Text("plays "), i), concatText(Text("follow "), i),
                    concatText(Text("danmaku "), i), concatText(Text("score "), i),
                    concatText(Text("www.example.com/ss"), i)});
  }
  return page;
}

// The page the fake source serves, and what the table and linkList held when
// the source was asked for it.
Page servedPage;
const FakeTable* watchedTable = nullptr;
std::size_t rowsAtDownload = 0;
int linksAtDownload = 0;

void fakeSource(TextList* titleList, TextList* episodeList, TextList* playList,
                TextList* followList, TextList* danmakuList, TextList* scoreList) {
  rowsAtDownload = watchedTable->rows.size();
  linksAtDownload = listSize(linkList);
  for (const Entry& e : servedPage) {
    listAppend(titleList, e.title);
    listAppend(episodeList, e.episodes);
    listAppend(playList, e.plays);
    listAppend(followList, e.followers);
    listAppend(danmakuList, e.danmaku);
    listAppend(scoreList, e.score);
    listAppend(&linkList, e.link);
  }
}

void refreshFrom(FakeTable* table, Page page) {
  servedPage = std::move(page);
  watchedTable = table;
  refreshRanking(table, fakeSource);
}

// Checks that the table and linkList show `page` exactly, row r holding entry r + 1.
void expectShows(const FakeTable& table, const Page& page) {
  ASSERT_EQ(table.rows.size(), page.size());
  ASSERT_EQ(listSize(linkList), static_cast<int>(page.size()));
  for (std::size_t r = 0; r < page.size(); ++r) {
    SCOPED_TRACE(r);
    const Entry& e = page[r];
    const std::array<Text, 6> cells = {e.title,     e.episodes, e.plays,
                                       e.followers, e.danmaku,  e.score};
    for (std::size_t c = 0; c < cells.size(); ++c) EXPECT_EQ(table.rows[r][c + 1], cells[c]);
    EXPECT_EQ(listGet(linkList, static_cast<int>(r) + 1), e.link);
  }
}

std::vector<Text> openedUrls;
void recordUrl(const Text& url) {
  openedUrls.push_back(url);
}

class ranking_handlers_test : public ::testing::Test {
 protected:
  void SetUp() override {
    linkList = TextList();
    openedUrls.clear();
  }
  FakeTable table;
};

}  // namespace

TEST_F(ranking_handlers_test, rows_follow_the_page) {
  for (int count : {0, 3, 50, 100}) {
    SCOPED_TRACE(count);
    refreshFrom(&table, numberedPage(count));
    expectShows(table, servedPage);
  }
  // The label is the row number: a leading zero below 10, none from 10 on.
  const struct {
    std::size_t row;
    Text label;
  } labels[] = {{0, "    01"},  {1, "    02"},  {8, "    09"},  {9, "    10"},
                {49, "    50"}, {98, "    99"}, {99, "    100"}};
  for (const auto& [row, label] : labels) EXPECT_EQ(table.rows[row][0], label) << row;
}

TEST_F(ranking_handlers_test, cells_are_shown_as_the_page_has_them) {
  const Page page = {
      {"  \xB0\xA1\xB0\xA2 ", "\xC8\xAB 12 \xBB\xB0", " 1.2\xCD\xF2", "3,456 ", "", "9.8&amp;",
       " //x "},  // 啊阿, 全 12 话, 万
      {"", "", "", "", "", "", ""},
  };
  refreshFrom(&table, page);
  expectShows(table, page);
  EXPECT_EQ(table.rows[1][0], "    02");
}

TEST_F(ranking_handlers_test, a_refresh_replaces_everything_before_downloading) {
  refreshFrom(&table, numberedPage(50));
  Page second = numberedPage(4);
  for (Entry& e : second) e.link = concatText(Text("second/"), e.title);
  refreshFrom(&table, second);
  EXPECT_EQ(rowsAtDownload, 0u);
  EXPECT_EQ(linksAtDownload, 0);
  expectShows(table, second);

  // A site that cannot be reached gives no entries: nothing of the earlier refresh stays.
  refreshFrom(&table, {});
  expectShows(table, {});
}

TEST_F(ranking_handlers_test, activation_opens_the_selected_rows_link) {
  Page page = numberedPage(3);
  page[1].link = "";
  page[2].link = "//host/path?q=\xB0\xA1";
  refreshFrom(&table, page);
  const struct {
    int selected;
    Text url;
  } cases[] = {
      {0, "http://www.example.com/ss1"}, {1, "http://"}, {2, "http:////host/path?q=\xB0\xA1"}};
  for (const auto& [selected, url] : cases) {
    table.selected = selected;
    openedUrls.clear();
    openEntryPage(table, recordUrl);
    EXPECT_EQ(openedUrls, std::vector<Text>{url}) << selected;
  }

  // The second refresh's links are the ones opened.
  Page second = numberedPage(2);
  second[1].link = "second";
  refreshFrom(&table, second);
  table.selected = 1;
  openedUrls.clear();
  openEntryPage(table, recordUrl);
  EXPECT_EQ(openedUrls, std::vector<Text>{"http://second"});
}

TEST_F(ranking_handlers_test, activation_without_a_selection_opens_nothing) {
  refreshFrom(&table, numberedPage(3));
  openEntryPage(table, recordUrl);
  refreshFrom(&table, {});
  openEntryPage(table, recordUrl);
  EXPECT_TRUE(openedUrls.empty());
}
