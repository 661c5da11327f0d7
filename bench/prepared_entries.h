#pragma once
// The entries a table benchmark shows: those of the generated ranking page,
// cut before the clock starts and handed to the window by its page source, so
// that a timed refresh measures the table and not the page.

#include <utility>

#include "ranking/scrape_ranking.h"
#include "support/sample_ranking_page.h"

struct PreparedEntries {
  TextList title, episode, play, follow, danmaku, score, link;
};

inline PreparedEntries sampleEntries(int count) {
  PreparedEntries e;
  parseRankingPage(Bytes(sampleRankingPage(count)),
                   {&e.title, &e.episode, &e.play, &e.follow, &e.danmaku, &e.score, &e.link});
  return e;
}

// What the next refresh shows; the source moves it out.
inline PreparedEntries nextEntries;

inline void preparedSource(TextList* titleList, TextList* episodeList, TextList* playList,
                           TextList* followList, TextList* danmakuList, TextList* scoreList) {
  PreparedEntries e = std::exchange(nextEntries, {});
  *titleList = std::move(e.title);
  *episodeList = std::move(e.episode);
  *playList = std::move(e.play);
  *followList = std::move(e.follow);
  *danmakuList = std::move(e.danmaku);
  *scoreList = std::move(e.score);
  linkList = std::move(e.link);
}

inline void ignoreUrl(const Text&) {}
