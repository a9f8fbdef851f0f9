#include "model/name_index.h"

#include "model/component.h"

namespace qm {
namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

size_t hashIgnoringAsciiCase(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) {
    h ^= lowerAscii(c);
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 29));
}

}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(static_cast<unsigned char>(a[i])) != lowerAscii(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

Component* NameIndex::tombstone() {
  static char marker;
  return reinterpret_cast<Component*>(&marker);
}

size_t NameIndex::slotFor(std::string_view name) const {
  return hashIgnoringAsciiCase(name) & (slots_.size() - 1);
}

Component* NameIndex::find(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  for (size_t i = slotFor(name);; i = (i + 1) & (slots_.size() - 1)) {
    Component* c = slots_[i];
    if (c == nullptr) return nullptr;
    if (c != tombstone() && equalsIgnoringAsciiCase(c->name(), name)) return c;
  }
}

void NameIndex::insert(Component* component) {
  if ((used_ + 1) * 2 > slots_.size()) grow();
  size_t i = slotFor(component->name());
  while (slots_[i] != nullptr && slots_[i] != tombstone()) i = (i + 1) & (slots_.size() - 1);
  if (slots_[i] == nullptr) ++used_;
  slots_[i] = component;
  ++size_;
}

void NameIndex::erase(Component* component) {
  if (slots_.empty()) return;
  for (size_t i = slotFor(component->name());; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == nullptr) return;
    if (slots_[i] == component) {
      slots_[i] = tombstone();
      --size_;
      return;
    }
  }
}

void NameIndex::grow() {
  std::vector<Component*> old;
  old.swap(slots_);
  size_t capacity = 16;
  while (capacity < (size_ + 1) * 4) capacity *= 2;
  slots_.assign(capacity, nullptr);
  size_ = 0;
  used_ = 0;
  for (Component* c : old)
    if (c != nullptr && c != tombstone()) insert(c);
}

}  // namespace qm
