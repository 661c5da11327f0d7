#pragma once
// What the window runs on its events: refreshRanking when it is created and
// when the refresh button is clicked, openEntryPage when a row is activated.

#include "ranking/scrape_ranking.h"
#include "ui/open_url.h"
#include "ui/ranking_table.h"

// Where the refresh gets its entries: scrapeRanking, or a fake in the tests.
using RankingSource = void (*)(TextList* titleList, TextList* episodeList, TextList* playList,
                               TextList* followList, TextList* danmakuList, TextList* scoreList);

// The label of row `n` (counted from 1): four spaces, then the number with a
// leading zero below 10. It is the row's position, not a value from the page.
Text rankLabel(int n);

// Empties linkList and the table, then fills both from `source`: row r shows
// entry r + 1 under a rank label, and its link is linkList's member r + 1.
void refreshRanking(RankingTable* rankingList, RankingSource source = scrapeRanking);

// Opens "http://" followed by the link of the selected row; nothing when no row
// is selected.
void openEntryPage(const RankingTable& rankingList, UrlOpener opener = openUrl);
