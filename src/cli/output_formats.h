#pragma once
// The four ways korvale-cli prints the ranking. Each returns the whole
// document in UTF-8; an empty ranking still gives the format's empty document.

#include <array>
#include <string>
#include <vector>

#include "cli/ranking_rows.h"

// Aligned columns for a terminal: the window's headers and rank labels, two
// spaces between columns, widths counted in cells (a wide CJK character takes
// two). A tab, line break or other control character inside a field shows as
// an escape (\t, \n, \r, \xNN), so every entry is one line and a page cannot
// send control sequences to the terminal.
std::string formatTable(const std::array<std::string, 7>& headers,
                        const std::vector<RankingRow>& rows);

// A header row, then one line per entry: rank, the six fields and url,
// separated by tabs. Inside a field a backslash, tab, line feed and carriage
// return are written \\, \t, \n and \r, so each entry stays one line.
std::string formatTsv(const std::vector<RankingRow>& rows);

// Comma-separated values with a header row and CRLF line ends; a field holding
// a quote, comma, CR or LF is quoted, with its quotes doubled.
std::string formatCsv(const std::vector<RankingRow>& rows);

// An array of objects with the keys rank (a number), title, episodes, plays,
// followers, danmaku, score and url (strings).
std::string formatJson(const std::vector<RankingRow>& rows);
