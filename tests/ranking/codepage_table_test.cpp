#include "ranking/codepage_table.h"

#include <gtest/gtest.h>

#include <map>

TEST(codepage_table_test, the_port_converts_as_windows_does) {
  // Digests of the table as Windows' own routines give it (Wine 8). Where a
  // section differs, scripts/compare-codepages shows the lines.
  const std::map<std::string_view, std::uint64_t> windows = {
      {"bmp-to-936", 0xEB391B46EC600505u},      {"936-to-utf16", 0x0C7201B9D6132F9Fu},
      {"bmp-utf8", 0xC0111BDBFB68D675u},        {"supplementary", 0x1D7827735ABE277Au},
      {"lone-surrogates", 0xFEF1FAD82D93FF55u},
  };
  int sections = 0;
  forEachCodePageTableSection([&](std::string_view name, const std::string& lines) {
    ++sections;
    ASSERT_TRUE(windows.contains(name)) << name;
    EXPECT_EQ(fnv1a(lines), windows.at(name)) << name;
  });
  EXPECT_EQ(sections, static_cast<int>(windows.size()));
}
