#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

std::string joined(const std::vector<std::string>& args) {
  std::string s;
  for (const std::string& a : args) s += "[" + a + "]";
  return s;
}

}  // namespace

TEST(cli_options_test, accepted) {
  struct Case {
    std::vector<std::string> args;
    OutputFormat format;
    std::optional<std::string> page, url;
    std::optional<int> open;
    bool help, version;
  } cases[] = {
      {{}, OutputFormat::table, {}, {}, {}, false, false},
      {{"--format", "tsv"}, OutputFormat::tsv, {}, {}, {}, false, false},
      {{"--format=csv"}, OutputFormat::csv, {}, {}, {}, false, false},
      {{"--format", "json", "--page", "a b.html"},
       OutputFormat::json,
       "a b.html",
       {},
       {},
       false,
       false},
      {{"--page=--x"}, OutputFormat::table, "--x", {}, {}, false, false},
      {{"--url", "http://127.0.0.1:8000/r?a=b"},
       OutputFormat::table,
       {},
       "http://127.0.0.1:8000/r?a=b",
       {},
       false,
       false},
      {{"--open", "3", "--page", "p"}, OutputFormat::table, "p", {}, 3, false, false},
      {{"--open=2147483647"}, OutputFormat::table, {}, {}, 2147483647, false, false},
      {{"--page", "p", "--help"}, OutputFormat::table, "p", {}, {}, true, false},
      {{"-h"}, OutputFormat::table, {}, {}, {}, true, false},
      {{"--version"}, OutputFormat::table, {}, {}, {}, false, true},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine p = parseCommandLine(c.args);
    SCOPED_TRACE(joined(c.args));
    EXPECT_EQ(p.error, "");
    EXPECT_EQ(p.options.format, c.format);
    EXPECT_EQ(p.options.pageFile, c.page);
    EXPECT_EQ(p.options.url, c.url);
    EXPECT_EQ(p.options.openEntry, c.open);
    EXPECT_EQ(p.options.help, c.help);
    EXPECT_EQ(p.options.version, c.version);
  }
}

TEST(cli_options_test, usage_errors) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-x"}, "unknown option -x"},
      {{"page.html"}, "unexpected argument page.html"},
      {{"--format"}, "--format needs a value"},
      {{"--format", "xml"}, "unknown format xml (table, tsv, csv or json)"},
      {{"--format", "CSV"}, "unknown format CSV (table, tsv, csv or json)"},
      {{"--format=csv", "--format", "csv"}, "--format given twice"},
      {{"--page"}, "--page needs a value"},
      {{"--page="}, "--page needs a file name"},
      {{"--page", "a", "--page", "b"}, "--page given twice"},
      {{"--url="}, "--url needs an address"},
      {{"--url", "a", "--url", "b"}, "--url given twice"},
      {{"--page", "a", "--url", "b"}, "--page and --url cannot be used together"},
      {{"--open", "0"}, "--open needs an entry number from 1 up, not 0"},
      {{"--open", "-1"}, "--open needs an entry number from 1 up, not -1"},
      {{"--open", "+1"}, "--open needs an entry number from 1 up, not +1"},
      {{"--open", "1x"}, "--open needs an entry number from 1 up, not 1x"},
      {{"--open", " 1"}, "--open needs an entry number from 1 up, not  1"},
      {{"--open", "2147483648"}, "--open needs an entry number from 1 up, not 2147483648"},
      {{"--open", "99999999999"}, "--open needs an entry number from 1 up, not 99999999999"},
      {{"--open="}, "--open needs an entry number from 1 up, not "},
      {{"--open", "1", "--open", "2"}, "--open given twice"},
      {{"--open", "1", "--format", "csv"}, "--open prints nothing, so it takes no --format"},
      {{"--help=yes"}, "unknown option --help=yes"},
  };
  for (const Case& c : cases) EXPECT_EQ(parseCommandLine(c.args).error, c.error) << joined(c.args);
}
