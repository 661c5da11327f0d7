#include <algorithm>
#include <cstddef>

#include "cli/display_width.h"
#include "cli/output_formats.h"
#include "cli/utf8.h"

namespace {

// A cell as the terminal may safely show it, on one line.
std::string terminalSafe(std::string_view utf8) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  forEachCodePoint(utf8, [&out](char32_t c, std::string_view bytes) {
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {  // C0, DEL and C1 controls
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    } else {
      out += bytes;
    }
  });
  return out;
}

}  // namespace

std::string formatTable(const std::array<std::string, 7>& headers,
                        const std::vector<RankingRow>& rows) {
  using Line = std::array<std::string, 7>;
  std::vector<Line> lines;
  lines.reserve(rows.size() + 1);
  Line head;
  for (std::size_t c = 0; c < 7; ++c) head[c] = terminalSafe(headers[c]);
  lines.push_back(std::move(head));
  for (const RankingRow& row : rows) {
    Line line;
    line[0] = terminalSafe(row.label);
    for (std::size_t c = 0; c < 6; ++c) line[c + 1] = terminalSafe(row.cells[c]);
    lines.push_back(std::move(line));
  }

  std::array<int, 7> widths{};
  for (const Line& line : lines)
    for (std::size_t c = 0; c < 7; ++c) widths[c] = std::max(widths[c], displayWidth(line[c]));

  auto put = [&widths](std::string* out, const Line& line) {
    // Padding goes out only in front of a cell that has text, so no line ends
    // in padding.
    std::size_t padding = 0;
    for (std::size_t c = 0; c < 7; ++c) {
      if (!line[c].empty()) {
        out->append(padding, ' ');
        padding = 0;
        *out += line[c];
      }
      padding += static_cast<std::size_t>(widths[c] - displayWidth(line[c]) + 2);
    }
    *out += '\n';
  };
  std::string out;
  put(&out, lines[0]);
  Line rule;
  for (std::size_t c = 0; c < 7; ++c) rule[c].assign(static_cast<std::size_t>(widths[c]), '-');
  put(&out, rule);
  for (std::size_t i = 1; i < lines.size(); ++i) put(&out, lines[i]);
  return out;
}
