#pragma once
// The command line of korvale-cli.

#include <optional>
#include <string>
#include <vector>

enum class OutputFormat { table, tsv, csv, json };

struct CliOptions {
  OutputFormat format = OutputFormat::table;
  std::optional<std::string> pageFile;  // --page: parse this saved page
  std::optional<std::string> url;       // --url: download this page instead
  std::optional<int> openEntry;         // --open: 1-based entry to open
  bool help = false;
  bool version = false;
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // not empty: a usage error, said in one line
};

// Reads the arguments after the program name (UTF-8). Options take their value
// as the next argument or after "=" (--format=csv).
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];
