// Text and byte operations over 8 MiB inputs.
#include <benchmark/benchmark.h>

#include <string>

#include "text/bytes.h"
#include "text/text.h"

namespace {

constexpr int kSize = 8 << 20;

// Markup-like filler with Chinese text, and the needle only at the very end.
std::string haystack(std::string_view needle) {
  const std::string unit = "<div class=\"info\">\xD6\xD0\xCE\xC4 text 12345</div>";
  std::string s;
  s.reserve(kSize + needle.size());
  while (s.size() + unit.size() < static_cast<std::size_t>(kSize)) s += unit;
  s += needle;
  return s;
}

void setBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSize);
}

void BM_findBytes(benchmark::State& state) {
  const Bytes page(haystack("</ul><!---->"));
  const Bytes marker("</ul><!---->");
  for (auto _ : state) benchmark::DoNotOptimize(findBytes(page, marker));
  setBytes(state);
}
BENCHMARK(BM_findBytes);

void BM_findText(benchmark::State& state) {
  const Text page(haystack("</ul><!---->"));
  const Text marker("</ul><!---->");
  for (auto _ : state) benchmark::DoNotOptimize(findText(page, marker));
  setBytes(state);
}
BENCHMARK(BM_findText);

void BM_splitBytes(benchmark::State& state) {
  const Bytes page(haystack(""));
  const Bytes separator("</div><div class=\"info\">");
  for (auto _ : state) benchmark::DoNotOptimize(splitBytes(page, separator));
  setBytes(state);
}
BENCHMARK(BM_splitBytes);

void BM_replaceBytes(benchmark::State& state) {
  const Bytes page(haystack(""));
  const Bytes pattern("<div class=\"info\">");
  for (auto _ : state) benchmark::DoNotOptimize(replaceBytes(page, pattern));
  setBytes(state);
}
BENCHMARK(BM_replaceBytes);

void BM_concatBytesAppends(benchmark::State& state) {
  const Bytes chunk(std::string(1024, 'x'));
  for (auto _ : state) {
    Bytes body;
    for (int i = 0; i < kSize / 1024; ++i) body = concatBytes(std::move(body), chunk);
    benchmark::DoNotOptimize(body);
  }
  setBytes(state);
}
BENCHMARK(BM_concatBytesAppends);

}  // namespace
