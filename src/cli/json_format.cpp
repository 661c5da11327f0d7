#include "cli/output_formats.h"
#include "cli/utf8.h"

namespace {

void jsonString(std::string* out, std::string_view utf8) {
  static const char digits[] = "0123456789abcdef";
  *out += '"';
  forEachCodePoint(utf8, [out](char32_t c, std::string_view bytes) {
    switch (c) {
      case '"':
        *out += "\\\"";
        break;
      case '\\':
        *out += "\\\\";
        break;
      case '\b':
        *out += "\\b";
        break;
      case '\f':
        *out += "\\f";
        break;
      case '\n':
        *out += "\\n";
        break;
      case '\r':
        *out += "\\r";
        break;
      case '\t':
        *out += "\\t";
        break;
      default:
        if (c < 0x20) {
          (*out += "\\u00") += digits[c >> 4];
          *out += digits[c & 15];
        } else {
          *out += bytes;
        }
    }
  });
  *out += '"';
}

}  // namespace

std::string formatJson(const std::vector<RankingRow>& rows) {
  if (rows.empty()) return "[]\n";
  std::string out = "[\n";
  for (const RankingRow& row : rows) {
    out += "  {\"rank\": ";
    out += std::to_string(row.rank);
    for (std::size_t c = 0; c < kCellKeys.size(); ++c) {
      ((out += ", \"") += kCellKeys[c]) += "\": ";
      jsonString(&out, row.cells[c]);
    }
    out += ", \"url\": ";
    jsonString(&out, row.url);
    out += &row == &rows.back() ? "}\n" : "},\n";
  }
  out += "]\n";
  return out;
}
