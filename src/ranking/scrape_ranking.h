#pragma once
// The ranking page cut into entries: six field lists and the entries' links.

#include "text/values.h"

// The program-wide entry links: the link of table row r is at position r + 1.
// Made empty at start-up and released at normal exit.
extern TextList linkList;

// Downloads the ranking page and appends one member per entry to each of the
// six lists and one link per entry to linkList.
void scrapeRanking(TextList* titleList, TextList* episodeList, TextList* playList,
                   TextList* followList, TextList* danmakuList, TextList* scoreList);

// Where parseRankingPage appends; a null list takes nothing.
struct RankingLists {
  TextList* titleList;
  TextList* episodeList;
  TextList* playList;
  TextList* followList;
  TextList* danmakuList;
  TextList* scoreList;
  TextList* linkList;
};

// Everything scrapeRanking does after the download, on the page bytes alone.
void parseRankingPage(const Bytes& page, const RankingLists& lists);
