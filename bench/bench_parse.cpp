// The page parser on generated ranking pages of 100, 1,000 and 10,000
// entries: the time per page should grow with the page, ten times the entries
// costing about ten times as much. Beside it, the floor: one memchr pass and
// one memmem pass over the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "ranking/codepage.h"
#include "ranking/scrape_ranking.h"
#include "support/sample_ranking_page.h"

namespace {

void BM_parseRankingPage(benchmark::State& state) {
  const Bytes page(sampleRankingPage(static_cast<int>(state.range(0))));
  utf8ToGbk("\xE4\xB8\xAD");  // the code page tables are read once per process, not timed here
  for (auto _ : state) {
    TextList title, episode, play, follow, danmaku, score, link;
    parseRankingPage(page, {&title, &episode, &play, &follow, &danmaku, &score, &link});
    benchmark::DoNotOptimize(link.members.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.length());
  state.counters["page_bytes"] = page.length();
}
BENCHMARK(BM_parseRankingPage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One pass over the page with `find(at, bytesLeft)`, which gives the next hit
// or null: the floor the parser is measured against.
template <class Find>
void scanPass(benchmark::State& state, Find find) {
  const std::string page = sampleRankingPage(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int found = 0;
    const char* const end = page.data() + page.size();
    for (const char* at = page.data();
         const char* next = find(at, static_cast<std::size_t>(end - at)); at = next + 1)
      ++found;
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.size());
}

// Every '<' of the page found with memchr: the least any scan for markup does.
void BM_memchrPass(benchmark::State& state) {
  scanPass(state, [](const char* at, std::size_t n) {
    return static_cast<const char*>(std::memchr(at, '<', n));
  });
}
BENCHMARK(BM_memchrPass)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every entry's opening marker found with memmem.
void BM_memmemPass(benchmark::State& state) {
  static constexpr char marker[] = "<li class=\"rank-item\">";
  scanPass(state, [](const char* at, std::size_t n) {
    return static_cast<const char*>(memmem(at, n, marker, sizeof marker - 1));
  });
}
BENCHMARK(BM_memmemPass)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One entry's piece on its way to code page 936.
void BM_urlDecodePiece(benchmark::State& state) {
  const std::string entry = sampleRankingEntry(8);
  const Text piece(entry.substr(entry.find("<div class=\"info\">")));
  for (auto _ : state) benchmark::DoNotOptimize(urlDecode(piece, true));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * piece.length());
}
BENCHMARK(BM_urlDecodePiece);

}  // namespace
