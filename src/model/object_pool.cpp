#include "model/object_pool.h"

#include <mutex>
#include <vector>

namespace qm {

void* newPoolSlab(size_t bytes) {
  // Kept reachable here, so that leak checkers see the objects inside.
  static std::mutex lock;
  static auto* slabs = new std::vector<void*>;
  void* slab = ::operator new(bytes);
  std::lock_guard<std::mutex> guard(lock);
  slabs->push_back(slab);
  return slab;
}

}  // namespace qm
