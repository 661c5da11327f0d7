#include "text/lists.h"
#include "text/text.h"
#include "ui/ranking_handlers.h"

void openEntryPage(const RankingTable& rankingList, UrlOpener opener) {
  const int row = rankingList.selectedRow();
  // The keyboard can activate the table while no row is selected; there is no
  // entry to open then.
  if (row < 0) return;
  opener(concatText(Text("http://"), listGet(linkList, row + 1)));
}
