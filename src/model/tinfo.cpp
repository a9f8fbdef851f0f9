#include "model/tinfo.h"

#include <atomic>

namespace qm {
namespace {
std::atomic<uint32_t> nextRecordId{1};
}  // namespace

Tinfo::Tinfo() {
  uint32_t id = nextRecordId.fetch_add(1, std::memory_order_relaxed);
  if (id == 0) id = nextRecordId.fetch_add(1, std::memory_order_relaxed);
  id_ = id;
}

}  // namespace qm
