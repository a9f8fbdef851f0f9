#include "model/compact_text.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>

namespace qm {

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
  auto* fresh = static_cast<Block*>(std::malloc(offsetof(Block, bytes) + text.size() + 1));
  if (fresh == nullptr) throw std::bad_alloc();
  fresh->size = static_cast<uint32_t>(text.size());
  std::memcpy(fresh->bytes, text.data(), text.size());
  fresh->bytes[text.size()] = '\0';
  clear();
  block_ = fresh;
}

void CompactText::clear() noexcept {
  std::free(block_);
  block_ = nullptr;
}

std::ostream& operator<<(std::ostream& out, const CompactText& text) { return out << text.view(); }

}  // namespace qm
