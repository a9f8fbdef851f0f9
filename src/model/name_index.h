#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace qm {

class Component;

// Open-addressing set of components keyed by their names, compared without
// regard to ASCII letter case. One pointer per slot keeps the index small on
// lists of a million records; the key is read from the component itself.
class NameIndex {
 public:
  Component* find(std::string_view name) const;
  void insert(Component* component);  // the name must be non-empty and absent
  void erase(Component* component);
  size_t size() const { return size_; }

 private:
  static Component* tombstone();
  size_t slotFor(std::string_view name) const;
  void grow();

  std::vector<Component*> slots_;
  size_t size_ = 0;
  size_t used_ = 0;  // live entries plus tombstones
};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace qm
