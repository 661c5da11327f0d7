// Linux: large blocks are advised for transparent huge pages, which the system
// may be set to give only where asked. One fault then fills 2 MiB instead of
// 4 KiB, which matters where first touches are slow (virtual machines).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "text/alloc.h"

void hintLargeBlock(void* block, std::size_t bytes) noexcept {
  // madvise takes whole pages: every page the block touches. Advising the
  // whole mapping keeps it one piece, so realloc can still move it by mremap.
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = begin / page * page;
  const std::uintptr_t end = (begin + bytes + page - 1) / page * page;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

std::size_t largeBlockSize(std::size_t bytes) noexcept {
  // malloc gives a large block a mapping of its own, one page more than the
  // block (rounded to pages) for its header. A mapping of whole 2 MiB units
  // is placed on a 2 MiB boundary, and so is every one realloc moves it to:
  // huge pages then cover it all, and a move keeps them whole. Anywhere else
  // a move splits them and the grown part starts with small pages.
  constexpr std::size_t unit = 2 << 20;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  if (bytes > static_cast<std::size_t>(-1) - unit - page) return bytes;  // fails in realloc
  return (bytes + page + unit - 1) / unit * unit - page;
}
