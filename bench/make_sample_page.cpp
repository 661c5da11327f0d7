// Writes the generated ranking page of N entries to a file, so that tools
// outside this program (the Python scraper, korvale-cli) read the very bytes
// the in-process benchmarks parse: make_sample_page N FILE
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/sample_ranking_page.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sample_page ENTRIES FILE\n");
    return 2;
  }
  const std::string page = sampleRankingPage(std::atoi(argv[1]));
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) return 1;
  const bool written = std::fwrite(page.data(), 1, page.size(), out) == page.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
