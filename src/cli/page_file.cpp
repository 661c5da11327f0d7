#include "cli/page_file.h"

#include <climits>

#include "cli/system.h"

PageFile readPageFile(const std::string& path) {
  std::string why;
  const FilePointer file = openFileForReading(path, &why);
  if (!file) return {{}, why};
  // Bytes count with 32-bit integers: a larger file is refused, not truncated.
  Bytes page;
  char chunk[65536];
  while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get())) {
    if (n > static_cast<std::size_t>(INT_MAX - page.length()))
      return {{}, "it is larger than 2 GiB"};
    page.append(std::string_view(chunk, n));
  }
  if (std::ferror(file.get())) return {{}, "it cannot be read"};
  return {std::move(page), {}};
}
