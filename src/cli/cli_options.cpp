#include "cli/cli_options.h"

#include <climits>
#include <string_view>

const char kUsage[] =
    "Usage: korvale-cli [--format table|tsv|csv|json] [--page FILE | --url URL] [--open N]\n"
    "\n"
    "Prints the ranking of newly airing anime series that the Korvale window shows,\n"
    "in UTF-8, from the same download and the same parser.\n"
    "\n"
    "  --format F   table (default): aligned columns for a terminal, with the window's\n"
    "               headers and rank labels;\n"
    "               tsv, csv, json: rank as a number (1, 2, ...), title, episodes,\n"
    "               plays, followers, danmaku, score exactly as the window shows them,\n"
    "               and url, the address a double-click on the row opens.\n"
    "               tsv writes a backslash, tab, line feed and carriage return inside\n"
    "               a field as \\\\, \\t, \\n and \\r; csv quotes as RFC 4180 does.\n"
    "  --page FILE  parse a saved ranking page instead of downloading it\n"
    "  --url URL    download this page instead of the ranking page\n"
    "  --open N     open entry N's page in the browser, as a double-click on row N does\n"
    "  --help       show this help\n"
    "  --version    show the version\n"
    "\n"
    "Exit status: 0 entries were found; 1 none were (the download came back empty or\n"
    "the page did not match), or there is no entry N; 2 a usage error or a page file\n"
    "that cannot be read.\n";

namespace {

std::optional<OutputFormat> formatNamed(std::string_view name) {
  if (name == "table") return OutputFormat::table;
  if (name == "tsv") return OutputFormat::tsv;
  if (name == "csv") return OutputFormat::csv;
  if (name == "json") return OutputFormat::json;
  return std::nullopt;
}

// A decimal entry number from 1 up, without sign or spaces.
std::optional<int> entryNumber(std::string_view s) {
  if (s.empty() || s.size() > 10) return std::nullopt;
  long long n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > INT_MAX) return std::nullopt;
  return static_cast<int>(n);
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CliOptions& o = parsed.options;
  bool formatGiven = false;
  auto fail = [&parsed](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--version") {
      o.version = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string> value;
    if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = std::string(arg.substr(eq + 1));
    }
    if (name != "--format" && name != "--page" && name != "--url" && name != "--open") {
      return fail(arg.starts_with("-") ? "unknown option " + std::string(arg)
                                       : "unexpected argument " + std::string(arg));
    }
    if (!value) {
      if (i + 1 == args.size()) return fail(std::string(name) + " needs a value");
      value = args[++i];
    }
    if (name == "--format") {
      const auto format = formatNamed(*value);
      if (!format) return fail("unknown format " + *value + " (table, tsv, csv or json)");
      if (formatGiven) return fail("--format given twice");
      o.format = *format;
      formatGiven = true;
    } else if (name == "--page") {
      if (o.pageFile) return fail("--page given twice");
      if (value->empty()) return fail("--page needs a file name");
      o.pageFile = std::move(value);
    } else if (name == "--url") {
      if (o.url) return fail("--url given twice");
      if (value->empty()) return fail("--url needs an address");
      o.url = std::move(value);
    } else {
      if (o.openEntry) return fail("--open given twice");
      o.openEntry = entryNumber(*value);
      if (!o.openEntry) return fail("--open needs an entry number from 1 up, not " + *value);
    }
  }
  if (o.pageFile && o.url) return fail("--page and --url cannot be used together");
  if (o.openEntry && formatGiven) return fail("--open prints nothing, so it takes no --format");
  return parsed;
}
