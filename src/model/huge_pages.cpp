#include "model/huge_pages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <new>
#include <thread>

#include "model/object_pool.h"

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

// Committed memory on Windows is brought in as it is touched, with no call
// that does so ahead without touching it.
void* mapSlab(size_t bytes, bool adviseHuge) { return mapHugeAligned(bytes, adviseHuge); }

SlabPrefetch::SlabPrefetch(size_t /*bytes*/) {}
SlabPrefetch::~SlabPrefetch() = default;

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

namespace {

// Slabs made ready by a prefetch's thread: each mapped and written to there,
// then handed over, so that no slab in use is ever written by that thread.
struct Prefetched {
  std::mutex lock;          // taken once a slab (4 MiB), so never held for long
  std::deque<void*> ready;  // pool slabs (kPoolSlabBytes), first made first taken
  std::atomic<bool> stop{false};
  std::thread filler;
  bool running = false;
};

Prefetched& prefetched() {
  static Prefetched slabs;
  return slabs;
}

void bringIn(char* slab, size_t bytes) {
  for (size_t at = 0; at < bytes; at += 4096) static_cast<volatile char*>(slab)[at] = 0;
}

}  // namespace

void* mapSlab(size_t bytes, bool adviseHuge) {
  Prefetched& slabs = prefetched();
  {
    std::lock_guard<std::mutex> hold(slabs.lock);
    if (bytes == kPoolSlabBytes && !slabs.ready.empty()) {
      void* slab = slabs.ready.front();
      slabs.ready.pop_front();
      return slab;
    }
  }
  return mapHugeAligned(bytes, adviseHuge);
}

SlabPrefetch::SlabPrefetch(size_t bytes) {
  Prefetched& slabs = prefetched();
  std::lock_guard<std::mutex> hold(slabs.lock);
  if (bytes == 0 || slabs.running) return;
  slabs.running = started_ = true;
  slabs.stop = false;
  slabs.filler = std::thread([&slabs, count = (bytes + kPoolSlabBytes - 1) / kPoolSlabBytes] {
    try {
      for (size_t i = 0; i < count && !slabs.stop; ++i) {
        char* slab = static_cast<char*>(mapHugeAligned(kPoolSlabBytes, true));
        bringIn(slab, kPoolSlabBytes);
        std::lock_guard<std::mutex> hold(slabs.lock);
        slabs.ready.push_back(slab);
      }
    } catch (const std::bad_alloc&) {
      // No memory to spare: the reader maps its own slabs, and fails there.
    }
  });
}

SlabPrefetch::~SlabPrefetch() {
  if (!started_) return;
  Prefetched& slabs = prefetched();
  slabs.stop = true;
  slabs.filler.join();
  std::lock_guard<std::mutex> hold(slabs.lock);
  for (void* slab : slabs.ready) unmapHugeAligned(slab, kPoolSlabBytes);
  slabs.ready.clear();
  slabs.running = false;
}

#endif

}  // namespace qm
