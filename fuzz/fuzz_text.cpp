// The text searches, extractors and editing operations on arbitrary bytes:
// no crash, no read outside a buffer, and results that keep their contracts.
#include <cstdint>

#include "fuzz_input.h"
#include "text/lists.h"
#include "text/text.h"

namespace {

// The search as a plain character walk, to check the fast scan against.
int walkFind(std::string_view t, std::string_view m) {
  for (std::size_t i = 0; i + m.size() <= t.size(); i += (t[i] & 0x80) ? 2 : 1) {
    if (t.substr(i, m.size()) == m) return static_cast<int>(i) + 1;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzzPieces(data, size, 4);
  const Text t(pieces[0]), marker(pieces[1]), other(pieces[2]);
  const int start = fuzzNumber(pieces[3]);
  const bool fold = start % 2 != 0;
  if (!marker.empty()) FUZZ_CHECK(findText(t, marker) == walkFind(t.view(), marker.view()));

  for (const SearchOptions options :
       {SearchOptions{}, SearchOptions{.start = start, .ignoreCase = fold}}) {
    const int p = findText(t, marker, options);
    FUZZ_CHECK(p == -1 || (p >= 1 && p <= textLength(t)));
    if (p != -1 && !marker.empty() && !options.ignoreCase) {
      FUZZ_CHECK(textMid(t, p, textLength(marker)) == marker);
    }
    const int r = findTextReverse(t, marker, options);
    FUZZ_CHECK(r == -1 || (r >= 1 && r <= textLength(t)));
    const Text between = textBetween(t, marker, other, options);
    FUZZ_CHECK(textLength(between) <= textLength(t));
    const Text before = textBefore(t, marker, options);
    FUZZ_CHECK(textLength(before) < textLength(t) || before.empty());
  }

  const int count = start / 8;
  const Text replaced = replaceText(
      t, marker, {.replacement = other, .start = start, .count = count, .caseSensitive = !fold});
  if (count == 0 || marker.empty()) FUZZ_CHECK(replaced == t);
  const TextList pieces2 =
      splitText(t, marker, start > 0 ? std::optional<int>(start) : std::nullopt);
  int total = 0;
  for (const Text& piece : pieces2.members) total += textLength(piece);
  FUZZ_CHECK(total <= textLength(t));

  const Text trimmed = trimText(t);
  FUZZ_CHECK(t.view().find(trimmed.view()) != std::string_view::npos);
  FUZZ_CHECK(textLength(removeSpaces(t)) <= textLength(t));
  FUZZ_CHECK(textLength(toUpper(t)) == textLength(t));
  FUZZ_CHECK(toLower(toUpper(t)) == toLower(t));
  (void)textToInt(t);
  return 0;
}
