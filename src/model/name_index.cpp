#include "model/name_index.h"

#include <charconv>

#include "model/component.h"

namespace qm {
namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

uint64_t hashIgnoringAsciiCase(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) {
    h ^= lowerAscii(c);
    h *= 1099511628211ull;
  }
  return h ^ (h >> 29);
}

// The number of a name of the form "ID<n>" (letter case ignored) written
// without leading zeros; names spelt otherwise ("ID007") are other names.
bool recordNumberOf(std::string_view name, size_t& number) {
  if (name.size() < 3 || name.size() > 11 || lowerAscii(static_cast<unsigned char>(name[0])) != 'i' ||
      lowerAscii(static_cast<unsigned char>(name[1])) != 'd')
    return false;
  if (name[2] == '0' && name.size() > 3) return false;
  size_t value = 0;
  for (char c : name.substr(2)) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  number = value;
  return true;
}

}  // namespace

Component* NameIndex::tombstone() {
  static char marker;
  return reinterpret_cast<Component*>(&marker);
}

Component* NameIndex::find(std::string_view name) const {
  size_t number;
  if (recordNumberOf(name, number) && number < numbered_.size() && numbered_[number] != nullptr)
    return numbered_[number];
  // A numbered name may still be in the hashed table: it went there when its
  // number was far beyond the numbered table.
  if (hashedCount_ == 0) return nullptr;
  return findHashed(name, hashIgnoringAsciiCase(name));
}

Component* NameIndex::findNumbered(size_t number) const {
  if (number < numbered_.size() && numbered_[number] != nullptr) return numbered_[number];
  if (hashedCount_ == 0) return nullptr;
  char name[24] = "ID";
  char* end = std::to_chars(name + 2, name + sizeof name, number).ptr;
  std::string_view spelt(name, static_cast<size_t>(end - name));
  return findHashed(spelt, hashIgnoringAsciiCase(spelt));
}

void NameIndex::insert(Component* component) {
  std::string_view name = component->name();
  size_t number;
  if (recordNumberOf(name, number)) {
    // Numbers up to about twice the count keep the table at most half empty.
    if (number >= numbered_.size() && number < 2 * numberedCount_ + 1024) numbered_.resize(number + 1);
    if (number < numbered_.size()) {
      numbered_[number] = component;
      ++numberedCount_;
      return;
    }
  }
  insertHashed(component, hashIgnoringAsciiCase(name));
}

void NameIndex::erase(Component* component) {
  std::string_view name = component->name();
  size_t number;
  if (recordNumberOf(name, number) && number < numbered_.size() && numbered_[number] == component) {
    numbered_[number] = nullptr;
    if (--numberedCount_ == 0) std::vector<Component*>().swap(numbered_);
    return;
  }
  if (slots_.empty()) return;
  size_t mask = slots_.size() - 1;
  for (size_t i = hashIgnoringAsciiCase(name) & mask;; i = (i + 1) & mask) {
    if (slots_[i].component == nullptr) return;
    if (slots_[i].component == component) {
      slots_[i].component = tombstone();
      --hashedCount_;
      return;
    }
  }
}

Component* NameIndex::findHashed(std::string_view name, uint64_t hash) const {
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.component == nullptr) return nullptr;
    if (slot.hash == hash && slot.component != tombstone() &&
        equalsIgnoringAsciiCase(slot.component->name(), name))
      return slot.component;
  }
}

void NameIndex::insertHashed(Component* component, uint64_t hash) {
  if ((used_ + 1) * 4 > slots_.size() * 3) grow();  // at most three quarters full
  size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].component != nullptr && slots_[i].component != tombstone()) i = (i + 1) & mask;
  if (slots_[i].component == nullptr) ++used_;
  slots_[i] = {component, hash};
  ++hashedCount_;
}

void NameIndex::grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  size_t capacity = 16;
  while (capacity < (hashedCount_ + 1) * 2) capacity *= 2;
  slots_.assign(capacity, Slot{});
  hashedCount_ = 0;
  used_ = 0;
  for (const Slot& s : old)
    if (s.component != nullptr && s.component != tombstone()) insertHashed(s.component, s.hash);
}

}  // namespace qm
