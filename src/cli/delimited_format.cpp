#include <string_view>

#include "cli/output_formats.h"

namespace {

// Header and lines of rank, six cells and url; `field` writes one value.
template <class Field>
std::string delimited(const std::vector<RankingRow>& rows, char separator, std::string_view lineEnd,
                      Field field) {
  std::string out = "rank";
  for (std::string_view key : kCellKeys) (out += separator) += key;
  (out += separator) += "url";
  out += lineEnd;
  for (const RankingRow& row : rows) {
    out += std::to_string(row.rank);
    for (const std::string& cell : row.cells) field(&(out += separator), cell);
    field(&(out += separator), row.url);
    out += lineEnd;
  }
  return out;
}

void tsvField(std::string* out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '\\':
        *out += "\\\\";
        break;
      case '\t':
        *out += "\\t";
        break;
      case '\n':
        *out += "\\n";
        break;
      case '\r':
        *out += "\\r";
        break;
      default:
        *out += c;
    }
  }
}

void csvField(std::string* out, std::string_view value) {
  if (value.find_first_of("\",\r\n") == std::string_view::npos) {
    *out += value;
    return;
  }
  *out += '"';
  for (const char c : value) {
    if (c == '"') *out += '"';
    *out += c;
  }
  *out += '"';
}

}  // namespace

std::string formatTsv(const std::vector<RankingRow>& rows) {
  return delimited(rows, '\t', "\n", tsvField);
}

std::string formatCsv(const std::vector<RankingRow>& rows) {
  return delimited(rows, ',', "\r\n", csvField);
}
