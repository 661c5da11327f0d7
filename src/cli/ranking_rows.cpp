#include "cli/ranking_rows.h"

#include "cli/utf8.h"
#include "text/lists.h"
#include "text/text.h"
#include "ui/ranking_handlers.h"  // rankLabel
#include "ui/ranking_window.h"    // kRankingColumns
#include "ui/utf16_text.h"

std::string gbkToUtf8(const Text& text) {
  return utf16ToUtf8(utf16Text(text));
}

std::array<std::string, 7> windowColumnHeaders() {
  std::array<std::string, 7> headers;
  for (std::size_t i = 0; i < headers.size(); ++i)
    headers[i] = gbkToUtf8(kRankingColumns[i].header);
  return headers;
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
