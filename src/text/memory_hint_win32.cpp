// Windows: large pages need a privilege that users do not hold, so a large
// block is left to the system's ordinary pages.
#include "text/alloc.h"

void hintLargeBlock(void*, std::size_t) noexcept {}

std::size_t largeBlockSize(std::size_t bytes) noexcept {
  return bytes;
}
