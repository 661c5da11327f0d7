#pragma once
// The page source and the URL opener the window tests give the window: entry
// n has the title "<n>号", the field of column c the text "<c>/<n>" and the
// link "site/<n>".

#include <functional>
#include <vector>

#include "text/lists.h"
#include "text/text.h"
#include "ui/ranking_window.h"

inline int downloads = 0;
inline int entriesServed = 3;
inline std::vector<Text> opened;
inline std::function<void()> duringDownload;  // runs inside each download

inline void fakeSource(TextList* titleList, TextList* episodeList, TextList* playList,
                       TextList* followList, TextList* danmakuList, TextList* scoreList) {
  ++downloads;
  if (duringDownload) duringDownload();
  TextList* const fields[] = {episodeList, playList, followList, danmakuList, scoreList};
  for (int n = 1; n <= entriesServed; ++n) {
    listAppend(titleList, concatText(intToText(n), "\xBA\xC5"));  // 号
    for (int f = 0; f < 5; ++f) {
      listAppend(fields[f], concatText(intToText(f + 2), "/", intToText(n)));
    }
    listAppend(&linkList, concatText(Text("site/"), intToText(n)));
  }
}

inline void recordUrl(const Text& url) {
  opened.push_back(url);
}

inline constexpr RankingWindowOptions kFakeRanking = {.source = fakeSource, .opener = recordUrl};

inline void resetFakeRanking() {
  downloads = 0;
  entriesServed = 3;
  opened.clear();
  duringDownload = nullptr;
}
