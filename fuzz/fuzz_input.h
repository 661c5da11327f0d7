#pragma once
// Splits one fuzzer input into several texts: the bytes between 0xFF 0x00
// separators, so one input drives an operation with all its arguments.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

inline std::vector<std::string_view> fuzzPieces(const std::uint8_t* data, std::size_t size,
                                                std::size_t count) {
  std::vector<std::string_view> pieces;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (pieces.size() + 1 < count) {
    const std::size_t at = rest.find(std::string_view("\xFF\x00", 2));
    if (at == std::string_view::npos) break;
    pieces.push_back(rest.substr(0, at));
    rest.remove_prefix(at + 2);
  }
  pieces.push_back(rest);
  pieces.resize(count);
  return pieces;
}

// A small signed number taken from the first byte of a piece, for positions and counts.
inline int fuzzNumber(std::string_view piece) {
  return piece.empty() ? 0 : static_cast<int>(static_cast<signed char>(piece[0]));
}

#define FUZZ_CHECK(condition)           \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)
