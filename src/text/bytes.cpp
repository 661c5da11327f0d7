#include "text/bytes.h"

#include <algorithm>

#include "text/lists.h"
#include "text/text_scan.h"

Bytes textToBytes(const Text& t) {
  return Bytes(t.view());
}
Text bytesToText(const Bytes& b) {
  return Text(b.view());
}

int bytesLength(const Bytes& b) {
  return b.length();
}

Bytes bytesLeft(const Bytes& b, int n) {
  if (n <= 0) return {};
  if (n >= b.length()) return b;
  return Bytes(b.view().substr(0, static_cast<std::size_t>(n)));
}

Bytes bytesMid(const Bytes& b, int start, int n) {
  if (start < 1) start = 1;
  if (start > b.length() || n <= 0) return {};
  return Bytes(b.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

Bytes blankBytes(int n) {
  Bytes b;
  b.resize(n);
  return b;
}

int findBytes(const Bytes& b, const Bytes& pattern, std::optional<int> start) {
  if (pattern.empty()) return -1;
  std::size_t from = 0;
  if (start && *start > 1) {
    from = static_cast<std::size_t>(*start) - 1;
    if (from >= b.view().size()) return -1;
  }
  const std::size_t at = searchBytes(b.view(), pattern.view(), from);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

int findBytesReverse(const Bytes& b, const Bytes& pattern, std::optional<int> start) {
  if (pattern.empty()) return -1;
  std::string_view span = b.view();
  if (start) {
    if (*start <= 0) return -1;
    span = span.substr(0, static_cast<std::size_t>(*start));
  }
  const std::size_t at = span.rfind(pattern.view());
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

Bytes replaceBytes(const Bytes& b, const Bytes& pattern, const ReplaceBytesOptions& options) {
  const std::string_view v = b.view(), p = pattern.view(), r = options.replacement.view();
  const std::size_t start = options.start > 1 ? static_cast<std::size_t>(options.start) - 1 : 0;
  if (v.empty() || p.empty() || start >= v.size() || (options.count && *options.count <= 0))
    return b;
  Bytes out;
  out.reserve(b.length());
  out.append(v.substr(0, start));
  std::size_t i = start;
  int replaced = 0;
  for (std::size_t at = searchBytes(v, p, i); at != std::string_view::npos;
       at = searchBytes(v, p, i)) {
    out.append(v.substr(i, at - i)).append(r);
    i = at + p.size();
    if (options.count && ++replaced == *options.count) break;
  }
  out.append(v.substr(i));
  return out;
}

std::optional<std::string_view> nextSplitMember(std::string_view v, std::string_view delimiter,
                                                std::size_t* from) {
  if (*from >= v.size()) return std::nullopt;  // an empty remainder is no member
  const std::size_t at = searchBytes(v, delimiter, *from);
  const std::size_t end = at == std::string_view::npos ? v.size() : at;
  const std::string_view member = v.substr(*from, end - *from);
  *from = at == std::string_view::npos ? v.size() : at + delimiter.size();
  return member;
}

BytesList splitBytes(const Bytes& b, const Bytes& delimiter, std::optional<int> limit) {
  BytesList list;
  const std::string_view v = b.view(), d = delimiter.view();
  if (v.empty() || (limit && *limit <= 0)) return list;
  if (d.empty()) {
    listAppend(&list, b);
    return list;
  }
  std::size_t from = 0;
  while (const std::optional<std::string_view> member = nextSplitMember(v, d, &from)) {
    listAppend(&list, Bytes(*member));
    if (limit && listSize(list) == *limit) return list;
  }
  return list;
}

bool bytesEqual(const Bytes& a, const Bytes& b) {
  return a == b;
}
