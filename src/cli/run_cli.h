#pragma once
// korvale-cli from its arguments to its exit status, with every effect on the
// outside world passed in, so tests can record them.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/values.h"

struct CliEnvironment {
  Text rankingUrl;                                 // the page the window downloads
  std::function<Bytes(const Text& url)> download;  // as scrapeRanking downloads it
  std::function<void(const Text& url)> openUrl;    // as a double-click opens it
  std::function<void(std::string_view utf8)> writeOutput;
  std::function<void(std::string_view utf8)> writeError;
};

// Exit status: 0 entries were found, 1 none were (or no entry N for --open),
// 2 a usage error or a page file that cannot be read.
int runCli(const std::vector<std::string>& args, const CliEnvironment& env);
