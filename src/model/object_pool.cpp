#include "model/object_pool.h"

#include <sys/mman.h>

#include <cstdint>

namespace qm {

void* newPoolSlab(size_t bytes, bool large) {
  // Slabs are mapped directly, aligned to 2 MiB, so that the system may back
  // a pool's later slabs with huge pages: first touches of fresh memory are
  // most of the cost of reading a large list. A small list stays within the
  // first slab of each pool, in ordinary pages.
  constexpr size_t kHuge = size_t{2} << 20;
  size_t size = (bytes + kHuge - 1) / kHuge * kHuge;
  void* mapped = ::mmap(nullptr, size + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto start = reinterpret_cast<uintptr_t>(mapped);
  uintptr_t aligned = (start + kHuge - 1) / kHuge * kHuge;
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (uintptr_t end = start + size + kHuge; end > aligned + size)
    ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
  if (large) ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace qm
