#include "model/huge_pages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <cstdint>
#include <new>

namespace qm {
namespace {

size_t wholeHugePages(size_t bytes) { return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }

}  // namespace

#ifdef _WIN32

// Large pages need the lock-pages privilege, which few users hold: without it
// the request fails at once and ordinary committed pages are taken instead.
// Either way the region starts on an allocation boundary (64 KiB), which is
// all the callers rely on.
void* mapHugeAligned(size_t bytes, bool adviseHuge) {
  size_t size = wholeHugePages(bytes);
  void* memory = nullptr;
  if (size_t large = ::GetLargePageMinimum(); adviseHuge && large != 0 && size % large == 0)
    memory = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE);
  if (memory == nullptr) memory = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void unmapHugeAligned(void* memory, size_t /*bytes*/) noexcept {
  if (memory != nullptr) ::VirtualFree(memory, 0, MEM_RELEASE);
}

#else

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

#endif

}  // namespace qm
