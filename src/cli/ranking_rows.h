#pragma once
// The ranking as korvale-cli prints it: the window's rows in UTF-8.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/scrape_ranking.h"

// One entry as the window shows it in its row, plus the address a double-click
// on that row opens. Every text is UTF-8 and otherwise exactly the field's text.
struct RankingRow {
  int rank = 0;       // 1, 2, ...: the row's position in the page's list
  std::string label;  // the window's rank label for column 0
  // Title, episodes, plays, followers, danmaku total and score: the window's
  // columns 1 to 6, in that order.
  std::array<std::string, 6> cells;
  std::string url;  // "http://" joined with the entry's link
};

// Names of the six cells in the machine-readable formats, in column order.
inline constexpr std::array<std::string_view, 6> kCellKeys = {"title",     "episodes", "plays",
                                                              "followers", "danmaku",  "score"};

// The window's seven column headers, in UTF-8.
std::array<std::string, 7> windowColumnHeaders();

// One row per entry of the parsed lists, in page order.
std::vector<RankingRow> rankingRows(const RankingLists& lists);
