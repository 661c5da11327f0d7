// The download in front of the parser; the page's address is fixed when the
// program is built (KORVALE_RANKING_URL), never read at run time.
#include "ranking/scrape_ranking.h"
#include "web/web_request.h"

namespace {
const Text rankingPageUrl = KORVALE_RANKING_URL;
}

void scrapeRanking(TextList* titleList, TextList* episodeList, TextList* playList,
                   TextList* followList, TextList* danmakuList, TextList* scoreList) {
  // Only the body counts: every other output of the request is left out.
  parseRankingPage(webRequest(rankingPageUrl), {titleList, episodeList, playList, followList,
                                                danmakuList, scoreList, &linkList});
}
