#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm {

class Component;

// Inline: reading a list compares every property name this way.
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Set of components keyed by their names, compared without regard to ASCII
// letter case.
class NameIndex {
 public:
  Component* find(std::string_view name) const;
  // The component named "ID" and `number`: the numbered table answers
  // without a name being written out and read back.
  Component* findNumbered(size_t number) const;
  void insert(Component* component);  // the name must be non-empty and absent
  void erase(Component* component);
  size_t size() const { return numberedCount_ + others_.size(); }
  // Makes room for records numbered below `count`, so that reading a list
  // does not copy the table as it grows.
  void reserveNumbered(size_t count) { numbered_.reserve(count); }

 private:
  struct CaseFreeHash {
    size_t operator()(std::string_view name) const;
  };
  struct CaseFreeEqual {
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoringAsciiCase(a, b); }
  };

  // The names the record numbering gives ("ID" and a number), by number.
  // Buys memory and speed: all names in the map took 291 bytes a task beyond the text and 2x the load.
  std::vector<Component*> numbered_;
  size_t numberedCount_ = 0;
  // Every other name; the keys are views of the components' own names.
  std::unordered_map<std::string_view, Component*, CaseFreeHash, CaseFreeEqual> others_;
};

}  // namespace qm
