#include "model/name_index.h"

#include <charconv>

#include "model/component.h"

namespace qm {
namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

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

size_t NameIndex::CaseFreeHash::operator()(std::string_view name) const {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) {
    h ^= lowerAscii(c);
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 29));
}

Component* NameIndex::find(std::string_view name) const {
  size_t number;
  if (recordNumberOf(name, number) && number < numbered_.size() && numbered_[number] != nullptr)
    return numbered_[number];
  // A numbered name may still be among the others: it went there when its
  // number was far beyond the numbered table.
  if (others_.empty()) return nullptr;
  auto found = others_.find(name);
  return found != others_.end() ? found->second : nullptr;
}

Component* NameIndex::findNumbered(size_t number) const {
  if (number < numbered_.size() && numbered_[number] != nullptr) return numbered_[number];
  if (others_.empty()) return nullptr;
  char name[24] = "ID";
  char* end = std::to_chars(name + 2, name + sizeof name, number).ptr;
  auto found = others_.find(std::string_view(name, static_cast<size_t>(end - name)));
  return found != others_.end() ? found->second : nullptr;
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
  others_.emplace(name, component);
}

void NameIndex::erase(Component* component) {
  std::string_view name = component->name();
  size_t number;
  if (recordNumberOf(name, number) && number < numbered_.size() && numbered_[number] == component) {
    numbered_[number] = nullptr;
    if (--numberedCount_ == 0) std::vector<Component*>().swap(numbered_);
    return;
  }
  if (auto found = others_.find(name); found != others_.end() && found->second == component)
    others_.erase(found);
}

}  // namespace qm
