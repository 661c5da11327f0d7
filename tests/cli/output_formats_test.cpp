#include "cli/output_formats.h"

#include <gtest/gtest.h>

namespace {

RankingRow row(int rank, std::string title, std::string episodes = "E",
               std::string url = "http://u") {
  return {rank,
          (rank < 10 ? "    0" : "    ") + std::to_string(rank),
          {std::move(title), std::move(episodes), "1.2\xE4\xBA\xBF", "30\xE4\xB8\x87", "4", "9.8"},
          std::move(url)};
}

// Titles that a naive writer gets wrong in one format or another.
const std::vector<RankingRow> kAwkward = {
    row(1, "say \"hi\", then\nleave"),
    row(2, "tab\there\r\nback\\slash"),
    row(10, "\xE4\xB8\xAD\xE6\x96\x87\x01\x1B[31m", "", "http://a.b/?x=1,2"),
};

const std::array<std::string, 7> kHeaders = {" \xE6\x8E\x92\xE5\x90\x8D",
                                             "\xE5\x90\x8D\xE7\xA7\xB0",
                                             "\xE9\x9B\x86\xE6\x95\xB0",
                                             "\xE6\x92\xAD\xE6\x94\xBE\xE9\x87\x8F",
                                             "\xE8\xBF\xBD\xE7\x95\xAA\xE4\xBA\xBA\xE6\x95\xB0",
                                             "\xE5\xBC\xB9\xE5\xB9\x95\xE6\x80\xBB\xE6\x95\xB0",
                                             "\xE7\xBB\xBC\xE5\x90\x88\xE8\xAF\x84\xE5\x88\x86"};

}  // namespace

TEST(output_formats_test, csv_quotes_as_rfc_4180) {
  EXPECT_EQ(formatCsv(kAwkward),
            "rank,title,episodes,plays,followers,danmaku,score,url\r\n"
            "1,\"say \"\"hi\"\", then\nleave\",E,1.2\xE4\xBA\xBF,30\xE4\xB8\x87,4,9.8,http://u\r\n"
            "2,\"tab\there\r\nback\\slash\",E,1.2\xE4\xBA\xBF,30\xE4\xB8\x87,4,9.8,http://u\r\n"
            "10,\xE4\xB8\xAD\xE6\x96\x87\x01\x1B[31m,,1.2\xE4\xBA\xBF,30\xE4\xB8\x87,4,9.8,"
            "\"http://a.b/?x=1,2\"\r\n");
  EXPECT_EQ(formatCsv({}), "rank,title,episodes,plays,followers,danmaku,score,url\r\n");
  EXPECT_EQ(formatCsv({row(3, "\"")}).substr(55),
            "3,\"\"\"\",E,1.2\xE4\xBA\xBF,30\xE4\xB8\x87,4,9.8,http://u\r\n");
}

TEST(output_formats_test, tsv_keeps_each_entry_on_one_line) {
  EXPECT_EQ(
      formatTsv(kAwkward),
      "rank\ttitle\tepisodes\tplays\tfollowers\tdanmaku\tscore\turl\n"
      "1\tsay \"hi\", then\\nleave\tE\t1.2\xE4\xBA\xBF\t30\xE4\xB8\x87\t4\t9.8\thttp://u\n"
      "2\ttab\\there\\r\\nback\\\\slash\tE\t1.2\xE4\xBA\xBF\t30\xE4\xB8\x87\t4\t9.8\thttp://u\n"
      "10\t\xE4\xB8\xAD\xE6\x96\x87\x01\x1B[31m\t\t1.2\xE4\xBA\xBF\t30\xE4\xB8\x87\t4\t9.8\t"
      "http://a.b/?x=1,2\n");
  EXPECT_EQ(formatTsv({}), "rank\ttitle\tepisodes\tplays\tfollowers\tdanmaku\tscore\turl\n");
}

TEST(output_formats_test, json_escapes_and_stays_valid_utf8) {
  EXPECT_EQ(
      formatJson(kAwkward),
      "[\n"
      "  {\"rank\": 1, \"title\": \"say \\\"hi\\\", then\\nleave\", \"episodes\": \"E\", "
      "\"plays\": \"1.2\xE4\xBA\xBF\", \"followers\": \"30\xE4\xB8\x87\", \"danmaku\": \"4\", "
      "\"score\": \"9.8\", \"url\": \"http://u\"},\n"
      "  {\"rank\": 2, \"title\": \"tab\\there\\r\\nback\\\\slash\", \"episodes\": \"E\", "
      "\"plays\": \"1.2\xE4\xBA\xBF\", \"followers\": \"30\xE4\xB8\x87\", \"danmaku\": \"4\", "
      "\"score\": \"9.8\", \"url\": \"http://u\"},\n"
      "  {\"rank\": 10, \"title\": \"\xE4\xB8\xAD\xE6\x96\x87\\u0001\\u001b[31m\", "
      "\"episodes\": \"\", \"plays\": \"1.2\xE4\xBA\xBF\", \"followers\": \"30\xE4\xB8\x87\", "
      "\"danmaku\": \"4\", \"score\": \"9.8\", \"url\": \"http://a.b/?x=1,2\"}\n"
      "]\n");
  EXPECT_EQ(formatJson({}), "[]\n");
  struct Case {
    std::string title, json;
  } cases[] = {
      {"\b\f\x7F", "\\b\\f\x7F"},
      {"/</script>", "/</script>"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"bad \xFF\xE4\xB8", "bad \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    const std::string json = formatJson({row(1, c.title)});
    const std::string title = "\"title\": \"" + c.json + "\", ";
    EXPECT_NE(json.find(title), std::string::npos) << json;
  }
}

TEST(output_formats_test, table_aligns_wide_characters_in_cells) {
  // 中文 takes four cells, 第1话 five, 1.2亿 five, 30万 four.
  const std::vector<RankingRow> rows = {
      row(1, "\xE4\xB8\xAD\xE6\x96\x87",
          "\xE7\xAC\xAC"
          "1\xE8\xAF\x9D"),
      row(2, "abcde", "1-12"),
  };
  EXPECT_EQ(
      formatTable(kHeaders, rows),
      " \xE6\x8E\x92\xE5\x90\x8D   \xE5\x90\x8D\xE7\xA7\xB0   \xE9\x9B\x86\xE6\x95\xB0   "
      "\xE6\x92\xAD\xE6\x94\xBE\xE9\x87\x8F  \xE8\xBF\xBD\xE7\x95\xAA\xE4\xBA\xBA\xE6\x95\xB0  "
      "\xE5\xBC\xB9\xE5\xB9\x95\xE6\x80\xBB\xE6\x95\xB0  "
      "\xE7\xBB\xBC\xE5\x90\x88\xE8\xAF\x84\xE5\x88\x86\n"
      "------  -----  -----  ------  --------  --------  --------\n"
      "    01  \xE4\xB8\xAD\xE6\x96\x87   \xE7\xAC\xAC"
      "1\xE8\xAF\x9D  "
      "1.2\xE4\xBA\xBF   30\xE4\xB8\x87      4         9.8\n"
      "    02  abcde  1-12   1.2\xE4\xBA\xBF   30\xE4\xB8\x87      4         9.8\n");
}

TEST(output_formats_test, table_shows_control_characters_as_escapes) {
  const std::string table = formatTable(kHeaders, kAwkward);
  EXPECT_EQ(table.find('\x1B'), std::string::npos);
  EXPECT_EQ(table.find('\r'), std::string::npos);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 5);
  EXPECT_NE(table.find("    01  say \"hi\", then\\nleave  "), std::string::npos);
  EXPECT_NE(table.find("    02  tab\\there\\r\\nback\\slash  "), std::string::npos);
  EXPECT_NE(table.find("    10  \xE4\xB8\xAD\xE6\x96\x87\\x01\\x1B[31m     "), std::string::npos);
  EXPECT_NE(formatTable(kHeaders, {row(1,
                                       "\xC2\x9B"
                                       "1m\x7F")})
                .find("  \\x9B1m\\x7F  "),
            std::string::npos);
  // No entries: the header and its rule alone.
  const std::string empty = formatTable(kHeaders, {});
  EXPECT_EQ(std::count(empty.begin(), empty.end(), '\n'), 2);
}

TEST(output_formats_test, table_lines_end_without_padding) {
  RankingRow blank = row(1, " t ");
  blank.cells[5] = "";  // the score, in the last column
  const std::string table = formatTable(kHeaders, {blank});
  // A cell's own spaces stay; the padding after the last text goes.
  EXPECT_EQ(table.substr(table.rfind('\n', table.size() - 2) + 1),
            "    01   t    E     1.2\xE4\xBA\xBF   30\xE4\xB8\x87      4\n");
}
