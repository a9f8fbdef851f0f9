#include "model/huge_pages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
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

SlabPrefetch::SlabPrefetch(bool /*wanted*/) {}
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

// Enough ready to meet the burst at a read's start, when every pool takes its
// first slab at once, while each slab taken is made again behind it; what is
// left at the end was cleared for nothing.
constexpr size_t kSlabsAhead = 12;

// Slabs made ready by a prefetch's thread: each mapped and written to there,
// then handed over, so that no slab in use is ever written by that thread.
struct Prefetched {
  std::mutex lock;                // taken once a slab (4 MiB), so never held for long
  std::condition_variable taken;  // a slab was taken, or the prefetch ends
  std::deque<void*> ready;        // pool slabs (kPoolSlabBytes), first made first taken
  std::atomic<bool> stop{false};  // read while a slab is written, so that the end never waits long
  bool running = false;
  std::thread filler;
};

Prefetched& prefetched() {
  static Prefetched slabs;
  return slabs;
}

void bringIn(char* slab, size_t bytes, const std::atomic<bool>& stop) {
  for (size_t at = 0; at < bytes && !stop; at += 4096) static_cast<volatile char*>(slab)[at] = 0;
}

void keepSlabsReady(Prefetched& slabs) {
  try {
    std::unique_lock<std::mutex> hold(slabs.lock);
    while (true) {
      slabs.taken.wait(hold, [&] { return slabs.stop || slabs.ready.size() < kSlabsAhead; });
      if (slabs.stop) return;
      hold.unlock();
      char* slab = static_cast<char*>(mapHugeAligned(kPoolSlabBytes, true));
      bringIn(slab, kPoolSlabBytes, slabs.stop);
      hold.lock();
      slabs.ready.push_back(slab);  // given back with the rest when stopped
    }
  } catch (const std::bad_alloc&) {
    // No memory to spare: the reader maps its own slabs, and fails there.
  }
}

}  // namespace

void* mapSlab(size_t bytes, bool adviseHuge) {
  Prefetched& slabs = prefetched();
  {
    std::lock_guard<std::mutex> hold(slabs.lock);
    if (bytes == kPoolSlabBytes && !slabs.ready.empty()) {
      void* slab = slabs.ready.front();
      slabs.ready.pop_front();
      slabs.taken.notify_one();
      return slab;
    }
  }
  return mapHugeAligned(bytes, adviseHuge);
}

SlabPrefetch::SlabPrefetch(bool wanted) {
  Prefetched& slabs = prefetched();
  std::lock_guard<std::mutex> hold(slabs.lock);
  if (!wanted || slabs.running) return;
  slabs.stop = false;
  try {
    slabs.filler = std::thread(keepSlabsReady, std::ref(slabs));
  } catch (const std::system_error&) {
    return;  // no thread to spare: the reader maps its own slabs
  }
  slabs.running = started_ = true;
}

SlabPrefetch::~SlabPrefetch() {
  if (!started_) return;
  Prefetched& slabs = prefetched();
  {
    std::lock_guard<std::mutex> hold(slabs.lock);
    slabs.stop = true;
  }
  slabs.taken.notify_one();
  slabs.filler.join();
  std::lock_guard<std::mutex> hold(slabs.lock);
  for (void* slab : slabs.ready) unmapHugeAligned(slab, kPoolSlabBytes);
  slabs.ready.clear();
  slabs.running = false;
}

#endif

}  // namespace qm
