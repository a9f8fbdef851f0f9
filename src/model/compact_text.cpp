#include "model/compact_text.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "model/object_pool.h"

namespace qm {
namespace {

// Blocks of up to 256 bytes come from pools by multiples of 16 bytes: no
// allocator header, and a list's texts lie together.
constexpr size_t kGrain = 16;
constexpr size_t kPooledUpTo = 256;

template <size_t... Classes>
struct BlockPools {
  static void* allocate(size_t bytes) {
    void* p = nullptr;
    ((bytes <= (Classes + 1) * kGrain && p == nullptr
          ? (p = ObjectPool<(Classes + 1) * kGrain, 8>::allocate())
          : nullptr),
     ...);
    return p;
  }
  static void deallocate(void* block, size_t bytes) {
    bool done = false;
    ((bytes <= (Classes + 1) * kGrain && !done
          ? (ObjectPool<(Classes + 1) * kGrain, 8>::deallocate(block), done = true)
          : false),
     ...);
  }
};

template <size_t... I>
BlockPools<I...> poolsFor(std::index_sequence<I...>);
using Pools = decltype(poolsFor(std::make_index_sequence<kPooledUpTo / kGrain>()));

void* allocateBlock(size_t bytes) {
  if (bytes <= kPooledUpTo) return Pools::allocate(bytes);
  void* p = std::malloc(bytes);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void freeBlock(void* block, size_t bytes) {
  if (bytes <= kPooledUpTo)
    Pools::deallocate(block, bytes);
  else
    std::free(block);
}

}  // namespace

CompactText& CompactText::operator=(CompactText&& other) noexcept {
  if (this != &other) {
    clear();
    block_ = other.block_;
    other.block_ = nullptr;
  }
  return *this;
}

void CompactText::assign(std::string_view text) {
  if (text.empty()) return clear();
  if (text.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("CompactText");
  // A block of the same size is reused; the text may lie inside it.
  if (block_ != nullptr && block_->size == text.size()) {
    std::memmove(block_->bytes, text.data(), text.size());
    return;
  }
  auto* fresh = static_cast<Block*>(allocateBlock(blockBytes(text.size())));
  fresh->size = static_cast<uint32_t>(text.size());
  std::memcpy(fresh->bytes, text.data(), text.size());
  fresh->bytes[text.size()] = '\0';
  clear();
  block_ = fresh;
}

void CompactText::clear() noexcept {
  if (block_ != nullptr) freeBlock(block_, blockBytes(block_->size));
  block_ = nullptr;
}

std::ostream& operator<<(std::ostream& out, const CompactText& text) { return out << text.view(); }

}  // namespace qm
