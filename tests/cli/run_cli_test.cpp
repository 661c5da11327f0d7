#include "cli/run_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/print.h"

namespace {

// One run of korvale-cli with every outside effect recorded.
struct CliRun {
  int status = -1;
  std::string out, err;
  std::vector<Text> downloaded, opened;
};

CliRun runWith(const std::vector<std::string>& args, const Bytes& page = Bytes()) {
  CliRun r;
  const CliEnvironment env{
      .rankingUrl = "https://ranking.invalid/r/",
      .download =
          [&r, &page](const Text& url) {
            r.downloaded.push_back(url);
            return page;
          },
      .openUrl = [&r](const Text& url) { r.opened.push_back(url); },
      .writeOutput = [&r](std::string_view s) { r.out += s; },
      .writeError = [&r](std::string_view s) { r.err += s; },
  };
  r.status = runCli(args, env);
  return r;
}

// A page of `n` entries with the markup the parser expects; entry k is titled
// "T<k>" and links to "//h/<k>", as the site writes its links: a double-click
// opens "http://" followed by the link as it stands.
Bytes pageOf(int n) {
  std::string page = "<ul>";
  for (int k = 1; k <= n; ++k) {
    const std::string id = std::to_string(k);
    page += "<div class=\"lazy-img cover\"></div><div class=\"info\"><a href=\"//h/" + id +
            "\" target=\"_blank\" class=\"title\">T" + id +
            "</a><div class=\"bangumi-info\">E</div><div class=\"detail\"><span class=\"data-box\">"
            "<i class=\"b-icon play\"></i>P</span><span class=\"data-box\"><i class=\"b-icon "
            "view\"></i>D</span><span class=\"data-box\"><i class=\"fav\"></i>F</span></div><div "
            "class=\"pts\"><div>S</div>\xE7\xBB\xBC\xE5\x90\x88\xE5\xBE\x97\xE5\x88\x86</div>\n";
  }
  page += "          </div></div><!----></div></li></ul><!----><!---->\n";
  return Bytes(page);
}

}  // namespace

TEST(run_cli_test, downloads_the_ranking_page_or_the_given_url) {
  CliRun r = runWith({"--format", "tsv"}, pageOf(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.downloaded, std::vector<Text>{"https://ranking.invalid/r/"});
  EXPECT_EQ(r.out,
            "rank\ttitle\tepisodes\tplays\tfollowers\tdanmaku\tscore\turl\n"
            "1\tT1\tE\tP\tF\tD\tS\thttp:////h/1\n"
            "2\tT2\tE\tP\tF\tD\tS\thttp:////h/2\n");
  EXPECT_EQ(r.err, "");

  // The address goes to the download as given, in the program's code page.
  r = runWith({"--url", "http://127.0.0.1:8/\xE6\x8E\x92?a=1"}, pageOf(1));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.downloaded, std::vector<Text>{"http://127.0.0.1:8/\xC5\xC5?a=1"});
  EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1),
            "    01  T1    E     P       F         D         S\n");
}

TEST(run_cli_test, no_entries_says_why) {
  struct Case {
    std::vector<std::string> args;
    Bytes page;
    std::string err;
  } cases[] = {
      {{}, Bytes(), "korvale-cli: the download of https://ranking.invalid/r/ came back empty\n"},
      {{"--url", "http://127.0.0.1:9/x"},
       Bytes(),
       "korvale-cli: the download of http://127.0.0.1:9/x came back empty\n"},
      {{"--format", "json"},
       Bytes("<html>moved</html>"),
       "korvale-cli: no entries: the page did not match the ranking markup (18 bytes from "
       "https://ranking.invalid/r/)\n"},
      {{"--open", "1"},
       Bytes(),
       "korvale-cli: the download of https://ranking.invalid/r/ came back empty\n"},
  };
  for (const Case& c : cases) {
    const CliRun r = runWith(c.args, c.page);
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.err, c.err);
    EXPECT_TRUE(r.opened.empty());
  }
  // The format's empty document still goes out, for scripts that read it.
  EXPECT_EQ(runWith({"--format", "json"}).out, "[]\n");
  EXPECT_EQ(runWith({"--format", "csv"}).out,
            "rank,title,episodes,plays,followers,danmaku,score,url\r\n");
}

TEST(run_cli_test, open_opens_what_a_double_click_on_that_row_opens) {
  CliRun r = runWith({"--open", "2"}, pageOf(3));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.opened, std::vector<Text>{"http:////h/2"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");

  r = runWith({"--open=3"}, pageOf(3));
  EXPECT_EQ(r.opened, std::vector<Text>{"http:////h/3"});

  r = runWith({"--open", "4"}, pageOf(3));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.opened.empty());
  EXPECT_EQ(r.err, "korvale-cli: there is no entry 4: the page lists 3 entries\n");
}

TEST(run_cli_test, usage_errors_download_nothing) {
  const CliRun r = runWith({"--format", "yaml"}, pageOf(1));
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.downloaded.empty());
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "korvale-cli: unknown format yaml (table, tsv, csv or json)\n"
            "Try korvale-cli --help.\n");

  EXPECT_EQ(runWith({"--version"}).out, "korvale-cli 1.0\n");
  const CliRun help = runWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: korvale-cli ", 0), 0u);
  EXPECT_TRUE(help.downloaded.empty());
}

TEST(run_cli_test, page_files) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "korvale_run_cli_test";
  fs::create_directories(dir);
  const std::string saved = (dir / "saved.html").string(), empty = (dir / "empty.html").string();
  std::ofstream(saved, std::ios::binary) << pageOf(2).view();
  std::ofstream(empty, std::ios::binary).close();

  CliRun r = runWith({"--page", saved, "--format", "csv"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.downloaded.empty());
  EXPECT_EQ(r.out.substr(r.out.find("\r\n") + 2),
            "1,T1,E,P,F,D,S,http:////h/1\r\n2,T2,E,P,F,D,S,http:////h/2\r\n");

  struct Case {
    std::string path;
    int status;
    std::string err;
  } cases[] = {
      {empty, 1, "korvale-cli: " + empty + " is empty\n"},
      {(dir / "missing.html").string(), 2,
       "korvale-cli: cannot read " + (dir / "missing.html").string() + ": no such file\n"},
      {dir.string(), 2, "korvale-cli: cannot read " + dir.string() + ": it is a directory\n"},
  };
  for (const Case& c : cases) {
    r = runWith({"--page", c.path});
    EXPECT_EQ(r.status, c.status) << c.path;
    EXPECT_EQ(r.err, c.err);
    EXPECT_TRUE(r.downloaded.empty());
  }
  fs::remove_all(dir);
}
