// Fetching a 100 MiB body over loopback: webRequest beside the curl tool on the
// same URL, which writes what it receives nowhere. Needs the local test servers:
//   python3 tests/web/run_with_server.py -- build/linux/bench/bench_web
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "text/text.h"
#include "web/web_request.h"

extern char** environ;

namespace {

constexpr int kSize = 100 << 20;

std::string bodyUrl() {
  const char* port = std::getenv("KORVALE_TEST_HTTP_PORT");
  return "http://localhost:" + std::string(port != nullptr ? port : "0") + "/bytes/" +
         std::to_string(kSize);
}

void BM_webRequest(benchmark::State& state) {
  const Text url(bodyUrl().c_str());
  webRequest(url);  // the server makes the body once
  for (auto _ : state) {
    const Bytes body = webRequest(url);
    if (body.length() != kSize) state.SkipWithError("incomplete body; is the server running?");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSize);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The read loop's part alone, without a network: 100 MiB appended to a body in
// pieces of 1024 bytes. Most of its time is the first touch of fresh memory
// as the body grows.
void BM_bodyGrowth(benchmark::State& state) {
  const std::string piece(1024, 'x');
  for (auto _ : state) {
    Bytes body;
    for (int at = 0; at < kSize; at += 1024) body.append(piece);
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSize);
}

// `curl -s -f --noproxy '*' -o /dev/null URL`, process start included; no
// shell is involved.
void BM_curlTool(benchmark::State& state) {
  const std::string url = bodyUrl();
  char* argv[] = {
      const_cast<char*>("curl"),      const_cast<char*>("-s"),        const_cast<char*>("-f"),
      const_cast<char*>("--noproxy"), const_cast<char*>("*"),         const_cast<char*>("-o"),
      const_cast<char*>("/dev/null"), const_cast<char*>(url.c_str()), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv, environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("curl failed; is it installed, and the server running?");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSize);
}

}  // namespace

BENCHMARK(BM_webRequest)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_bodyGrowth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_curlTool)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
