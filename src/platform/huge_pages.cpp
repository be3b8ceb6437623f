#include "platform/huge_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace tessik {

void AdviseHugePages(void* begin, size_t bytes) {
  constexpr uintptr_t kPage = 4096;
  const uintptr_t start = (reinterpret_cast<uintptr_t>(begin) + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(begin) + bytes) & ~(kPage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void GrowHeapInHugePages(size_t bytes) {
  // Large blocks come from the heap too, rather than from mappings of their own that are new
  // memory each time, and the heap is not given back while the program runs.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  // The heap grows at the next block too large for its top, by the block and bytes more: a block
  // larger than the heap's few kilobytes so far makes it grow now, and the room is advised
  // before any of it is touched.
  mallopt(M_TOP_PAD, static_cast<int>(bytes));
  void* probe = malloc(1 << 20);
  if (probe == nullptr) return;
  char* const end = static_cast<char*>(sbrk(0));
  if (end > static_cast<char*>(probe)) {
    AdviseHugePages(probe, static_cast<size_t>(end - static_cast<char*>(probe)));
  }
  free(probe);
  mallopt(M_TOP_PAD, 0);
}

}  // namespace tessik
