#include "cli/ranking_rows.h"

#include "cli/utf8.h"
#include "text/lists.h"
#include "text/text.h"
#include "ui/utf16_text.h"

std::string gbkToUtf8(const Text& text) {
  return utf16ToUtf8(utf16Text(text));
}

std::array<std::string, 7> windowColumnHeaders() {
  return {gbkToUtf8(" \xC5\xC5\xC3\xFB"),                  // " 排名"
          gbkToUtf8("\xC3\xFB\xB3\xC6"),                   // 名称
          gbkToUtf8("\xBC\xAF\xCA\xFD"),                   // 集数
          gbkToUtf8("\xB2\xA5\xB7\xC5\xC1\xBF"),           // 播放量
          gbkToUtf8("\xD7\xB7\xB7\xAC\xC8\xCB\xCA\xFD"),   // 追番人数
          gbkToUtf8("\xB5\xAF\xC4\xBB\xD7\xDC\xCA\xFD"),   // 弹幕总数
          gbkToUtf8("\xD7\xDB\xBA\xCF\xC6\xC0\xB7\xD6")};  // 综合评分
}

Text rankLabel(int rank) {
  return concatText(Text(rank < 10 ? "    0" : "    "), intToText(rank));
}

std::vector<RankingRow> rankingRows(const RankingLists& lists) {
  const TextList* columns[6] = {lists.titleList,  lists.episodeList, lists.playList,
                                lists.followList, lists.danmakuList, lists.scoreList};
  const int count = listSize(*lists.titleList);
  std::vector<RankingRow> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (int n = 1; n <= count; ++n) {
    RankingRow row;
    row.rank = n;
    row.label = gbkToUtf8(rankLabel(n));
    for (std::size_t c = 0; c < 6; ++c) row.cells[c] = gbkToUtf8(listGet(*columns[c], n));
    row.url = gbkToUtf8(concatText(Text("http://"), listGet(*lists.linkList, n)));
    rows.push_back(std::move(row));
  }
  return rows;
}
