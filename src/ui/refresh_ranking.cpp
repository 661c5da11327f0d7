#include "text/lists.h"
#include "text/text.h"
#include "ui/ranking_handlers.h"

Text rankLabel(int n) {
  return concatText(Text(n < 10 ? "    0" : "    "), intToText(n));
}

void refreshRanking(RankingTable* rankingList, RankingSource source) {
  linkList = TextList();
  TextList titleList, episodeList, playList, followList, danmakuList, scoreList;
  // Emptied before the download, so a refresh that finds nothing leaves no old rows behind.
  rankingList->deleteAllRows();
  source(&titleList, &episodeList, &playList, &followList, &danmakuList, &scoreList);

  // The table's column order, which differs from the fields' order in the page.
  const TextList* const columns[] = {&titleList,  &episodeList, &playList,
                                     &followList, &danmakuList, &scoreList};
  const int count = listSize(titleList);
  for (int n = 1; n <= count; ++n) {
    // The table holds n - 1 rows, so position n appends: row is n - 1.
    const int row = rankingList->insertRow(n, rankLabel(n));
    for (int column = 1; column <= 6; ++column) {
      rankingList->setCellText(row, column, listGet(*columns[column - 1], n));
    }
  }
}
