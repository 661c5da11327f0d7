// The request's text operations on arbitrary text: URL parts, header text and
// cookie lists. No crash, no read outside a buffer, and the results keep the
// shapes the request relies on.
#include <cstdint>

#include "fuzz_input.h"
#include "text/text.h"
#include "web/cookies.h"
#include "web/headers.h"
#include "web/url.h"

namespace {

// Text never holds a zero byte: the pieces are cut at the first one.
Text fuzzText(std::string_view piece) {
  return Text(piece.substr(0, piece.find('\0')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzzPieces(data, size, 4);
  const Text url = fuzzText(pieces[0]);
  (void)urlIsSecure(url);
  const Text host = urlHost(url), hostAndPort = urlHost(url, true);
  FUZZ_CHECK(textLength(host) <= textLength(url) && textLength(hostAndPort) <= textLength(url));
  (void)urlPort(url);  // any int: the number is the URL's own
  FUZZ_CHECK(textLength(urlPath(url)) <= textLength(url) + 1);

  const Text given = fuzzText(pieces[1]);
  (void)selectUserAgent(given);
  Text headers = given;
  completeHeaderText(&headers, fuzzNumber(pieces[3]) & 1, url);
  const Text normal = normalizeHeaders(headers);
  FUZZ_CHECK(textLength(normal) <= textLength(headers));
  FUZZ_CHECK(normalizeHeaders(normal) == normal);
  appendCookieHeader(&headers, given);

  const Text received = collectSetCookies(given);
  FUZZ_CHECK(textLength(received) <= textLength(given));
  Text jar = fuzzText(pieces[2]);
  Text fresh = received;
  const Text merged = mergeCookies(&jar, &fresh);
  FUZZ_CHECK(merged == jar);
  // A second merge with nothing received keeps at most what the jar holds (a
  // name received twice in one response is kept twice, then once).
  Text again = merged, none;
  FUZZ_CHECK(textLength(mergeCookies(&again, &none)) <= textLength(merged));
  return 0;
}
