// Prints the conversion table through the port's own routines, one section
// after another, so that the two ports' tables can be compared line by line
// (scripts/compare-codepages).
#include <cstdio>

#include "ranking/codepage_table.h"

int main() {
  forEachCodePageTableSection([](std::string_view name, const std::string& lines) {
    std::printf("## %.*s\n", static_cast<int>(name.size()), name.data());
    std::fwrite(lines.data(), 1, lines.size(), stdout);
  });
  return 0;
}
