// Cuts the ranking page into one piece per entry at three byte markers and
// takes seven fields from each piece, each the text between two fixed markers.
// The parser knows no HTML: when the page's markup changes, fields come out
// empty or there are no entries, and nothing is reported.
#include <optional>
#include <string_view>
#include <utility>

#include "ranking/codepage.h"
#include "ranking/scrape_ranking.h"
#include "text/bytes.h"
#include "text/lists.h"
#include "text/text.h"

namespace {

// Matched against the page's bytes as they arrive (UTF-8).
constexpr std::string_view startMarker = "<div class=\"lazy-img cover\">";
constexpr std::string_view endMarker =
    "          </div></div><!----></div></li></ul><!----><!---->";
constexpr std::string_view entrySeparator = "</div><div class=\"info\">";
static_assert(startMarker.size() == 28 && endMarker.size() == 59 && entrySeparator.size() == 24);

// Only matches once the piece is in code page 936.
constexpr std::string_view scoreRight = "</div>\xD7\xDB\xBA\xCF\xB5\xC3\xB7\xD6";  // </div>综合得分
static_assert(scoreRight.size() == 14);

// Matched against a piece in code page 936, each searched from the piece's
// start, in this order. The markers fit an entry's info block: link, title,
// episodes, plays, danmaku total, followers, score.
struct Field {
  TextList* RankingLists::*list;
  Text left, right;
};
const Field fieldTable[] = {
    {&RankingLists::titleList, "target=\"_blank\" class=\"title\">",
     "</a><div class=\"bangumi-info\">"},
    {&RankingLists::episodeList, "</a><div class=\"bangumi-info\">",
     "</div><div class=\"detail\"><span class=\"data-box\">"},
    {&RankingLists::playList, "class=\"b-icon play\"></i>",
     "</span><span class=\"data-box\"><i class=\"b-icon view\">"},
    {&RankingLists::followList, "<i class=\"fav\"></i>", "</span></div><div class=\"pts\">"},
    {&RankingLists::danmakuList, "<i class=\"b-icon view\"></i>",
     "</span><span class=\"data-box\"><i class=\"fav\">"},
    {&RankingLists::scoreList, "class=\"pts\"><div>", Text(scoreRight)},
    {&RankingLists::linkList, "<a href=\"", "\" target=\"_blank\" class=\"title\">"},
};

}  // namespace

void parseRankingPage(const Bytes& page, const RankingLists& lists) {
  const int n = bytesLength(page);
  const int s = findBytes(page, Bytes(startMarker));
  // The cuts are views of the page; only the joined text below is a copy.
  // From the start marker, n - s bytes: the page's last byte is left out.
  // Without a start marker the whole page stays (as bytesMid clamps n + 1).
  std::string_view cut = page.view();
  if (s != -1) cut = cut.substr(static_cast<std::size_t>(s) - 1, static_cast<std::size_t>(n - s));
  // Everything before the last end marker except the byte just before it;
  // nothing at all without an end marker.
  const std::size_t e = cut.rfind(endMarker);
  cut = cut.substr(0, e == std::string_view::npos || e == 0 ? 0 : e - 1);
  // The cut begins with the first entry's cover block, ahead of its separator.
  // Removing that one separator joins the block to the entry's info block, so
  // piece k holds the fields of entry k.
  const std::size_t first = cut.find(entrySeparator);
  Bytes joined(cut.substr(0, first));
  if (first != std::string_view::npos) joined.append(cut.substr(first + entrySeparator.size()));

  std::size_t from = 0;
  while (const std::optional<std::string_view> piece =
             nextSplitMember(joined.view(), entrySeparator, &from)) {
    // Stops at a zero byte; percent-decoded, then from UTF-8 to code page 936.
    const Text text = urlDecode(Text(*piece), true);
    for (const Field& field : fieldTable) {
      // Appended whether found or not, so every list grows by one per piece.
      Text value = textBetween(text, field.left, field.right);
      if (TextList* list = lists.*field.list; list != nullptr) listAppend(list, std::move(value));
    }
  }
}
