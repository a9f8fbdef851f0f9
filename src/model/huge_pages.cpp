#include "model/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace qm {
namespace {

size_t wholeHugePages(size_t bytes) { return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }

}  // namespace

void* mapHugeAligned(size_t bytes, bool adviseHuge) {
  // One huge page more than needed, then the unaligned ends are cut off.
  size_t size = wholeHugePages(bytes);
  void* mapped = ::mmap(nullptr, size + kHugePageBytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto start = reinterpret_cast<uintptr_t>(mapped);
  uintptr_t aligned = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (uintptr_t end = start + size + kHugePageBytes; end > aligned + size)
    ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
  if (adviseHuge) ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void unmapHugeAligned(void* memory, size_t bytes) noexcept {
  if (memory != nullptr) ::munmap(memory, wholeHugePages(bytes));
}

}  // namespace qm
