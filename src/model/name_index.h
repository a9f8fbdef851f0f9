#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

class Component;

// Set of components keyed by their names, compared without regard to ASCII
// letter case. The names the record numbering gives ("ID" and a number) sit
// in a table indexed by that number, so a list of a million records costs
// one pointer per record and no hashing; any other name goes to an
// open-addressing table that keeps each name's hash beside it, so a probe
// compares names only when the hashes agree.
class NameIndex {
 public:
  Component* find(std::string_view name) const;
  // The component named "ID" and `number`: the numbered table answers
  // without a name being written out and read back.
  Component* findNumbered(size_t number) const;
  void insert(Component* component);  // the name must be non-empty and absent
  void erase(Component* component);
  size_t size() const { return numberedCount_ + hashedCount_; }
  // Makes room for records numbered below `count`, so that reading a list
  // does not copy the table as it grows.
  void reserveNumbered(size_t count) { numbered_.reserve(count); }

 private:
  struct Slot {
    Component* component = nullptr;  // nullptr: never used; tombstone(): erased
    uint64_t hash = 0;
  };
  static Component* tombstone();
  Component* findHashed(std::string_view name, uint64_t hash) const;
  void insertHashed(Component* component, uint64_t hash);
  void grow();

  std::vector<Component*> numbered_;
  size_t numberedCount_ = 0;
  std::vector<Slot> slots_;
  size_t hashedCount_ = 0;
  size_t used_ = 0;  // live entries plus tombstones
};

// Inline: reading a list compares every property name this way.
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace qm
