#include "cli/run_cli.h"

#include "cli/cli_options.h"
#include "cli/output_formats.h"
#include "cli/page_file.h"
#include "cli/ranking_rows.h"
#include "cli/utf8.h"
#include "ranking/codepage.h"
#include "text/lists.h"
#include "text/text.h"

namespace {

constexpr int kFound = 0;
constexpr int kNoneFound = 1;
constexpr int kUsageError = 2;

std::string formatted(OutputFormat format, const std::vector<RankingRow>& rows) {
  switch (format) {
    case OutputFormat::tsv:
      return formatTsv(rows);
    case OutputFormat::csv:
      return formatCsv(rows);
    case OutputFormat::json:
      return formatJson(rows);
    case OutputFormat::table:
      break;
  }
  return formatTable(windowColumnHeaders(), rows);
}

}  // namespace

int runCli(const std::vector<std::string>& args, const CliEnvironment& env) {
  auto complain = [&env](const std::string& message) {
    env.writeError("korvale-cli: " + message + "\n");
  };
  const ParsedCommandLine parsed = parseCommandLine(args);
  if (!parsed.error.empty()) {
    complain(parsed.error + "\nTry korvale-cli --help.");
    return kUsageError;
  }
  const CliOptions& o = parsed.options;
  if (o.help) {
    env.writeOutput(kUsage);
    return kFound;
  }
  if (o.version) {
    env.writeOutput("korvale-cli " KORVALE_VERSION "\n");
    return kFound;
  }

  Bytes page;
  std::string source;  // where the page came from, for the messages
  if (o.pageFile) {
    PageFile file = readPageFile(*o.pageFile);
    if (!file.bytes) {
      complain("cannot read " + *o.pageFile + ": " + file.error);
      return kUsageError;
    }
    page = std::move(*file.bytes);
    source = *o.pageFile;
  } else {
    const Text url = o.url ? utf8ToGbk(Text(*o.url)) : env.rankingUrl;
    page = env.download(url);
    source = gbkToUtf8(url);
  }

  TextList title, episode, play, follow, danmaku, score, link;
  parseRankingPage(page, {&title, &episode, &play, &follow, &danmaku, &score, &link});
  const std::vector<RankingRow> rows =
      rankingRows({&title, &episode, &play, &follow, &danmaku, &score, &link});

  if (!o.openEntry) env.writeOutput(formatted(o.format, rows));
  if (rows.empty()) {
    if (page.empty()) {
      complain(o.pageFile ? source + " is empty"
                          : "the download of " + source + " came back empty");
    } else {
      complain("no entries: the page did not match the ranking markup (" +
               std::to_string(page.length()) + " bytes from " + source + ")");
    }
    return kNoneFound;
  }
  if (o.openEntry) {
    if (*o.openEntry > listSize(link)) {
      complain("there is no entry " + std::to_string(*o.openEntry) + ": the page lists " +
               std::to_string(listSize(link)) + " entries");
      return kNoneFound;
    }
    env.openUrl(concatText(Text("http://"), listGet(link, *o.openEntry)));
  }
  return kFound;
}
