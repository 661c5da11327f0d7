// The page parser and the code-page conversions on arbitrary bytes: no crash,
// no read or write outside a buffer, and the lists growing in step.
#include <cstdint>

#include "fuzz_input.h"
#include "ranking/codepage.h"
#include "ranking/scrape_ranking.h"
#include "text/lists.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzzPieces(data, size, 3);
  const Bytes page(pieces[0]);
  TextList title, episode, play, follow, danmaku, score, link;
  parseRankingPage(page, {&title, &episode, &play, &follow, &danmaku, &score, &link});
  for (const TextList* list : {&episode, &play, &follow, &danmaku, &score, &link}) {
    FUZZ_CHECK(listSize(*list) == listSize(title));
  }

  const Text text(pieces[1]);
  FUZZ_CHECK(textLength(urlDecode(text, false)) <= textLength(text));
  (void)urlDecode(text, true);
  for (const unsigned codePage : {65001u, 936u, 0u}) {
    const Bytes units = textToUtf16(text, codePage);
    FUZZ_CHECK(units.length() % 2 == 0);
    FUZZ_CHECK(units.length() <= 2 * (textLength(text) + 1));
    FUZZ_CHECK(textLength(utf16ToText(units, 936)) <= 2 * textLength(text));
  }
  // Units as they come, odd lengths and missing terminators included.
  const Bytes units(pieces[2]);
  for (const unsigned codePage : {65001u, 936u, 0u}) (void)utf16ToText(units, codePage);
  return 0;
}
