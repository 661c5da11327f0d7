#include "cli/page_file.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

PageFile readPageFile(const std::string& path) {
  // A path made from UTF-8 opens the same file name on both ports.
  const fs::path name(
      std::u8string_view(reinterpret_cast<const char8_t*>(path.data()), path.size()));
  std::error_code ec;
  const fs::file_status status = fs::status(name, ec);
  if (status.type() == fs::file_type::not_found) return {{}, "no such file"};
  if (status.type() == fs::file_type::directory) return {{}, "it is a directory"};
  std::ifstream in(name, std::ios::binary);
  if (!in) return {{}, "it cannot be opened"};
  // Bytes count with 32-bit integers: a larger file is refused, not truncated.
  Bytes page;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    if (in.gcount() > INT_MAX - page.length()) return {{}, "it is larger than 2 GiB"};
    page.append(std::string_view(chunk, static_cast<std::size_t>(in.gcount())));
  }
  if (in.bad()) return {{}, "it cannot be read"};
  return {std::move(page), {}};
}
