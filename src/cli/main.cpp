// korvale-cli: the window's ranking, printed for a terminal or a script.

#include "cli/run_cli.h"
#include "cli/system.h"
#include "ui/open_url.h"
#include "web/web_request.h"

int main(int argc, char** argv) {
  const CliEnvironment env{
      .rankingUrl = KORVALE_RANKING_URL,
      // Every option left out, exactly as the window's download.
      .download = [](const Text& url) { return webRequest(url); },
      .openUrl = openUrl,
      .writeOutput = writeStandardOutput,
      .writeError = writeStandardError,
  };
  return runCli(commandLineArguments(argc, argv), env);
}
