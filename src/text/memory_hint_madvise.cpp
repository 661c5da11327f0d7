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
