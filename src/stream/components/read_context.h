#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "stream/encoding/value_reader.h"

namespace qm {

class Component;
class ComponentClass;

// An object reference met while reading; resolved once the whole stream is
// read, and only then.
struct PendingReference {
  Component* object;
  const ComponentClass* objectClass;
  // Must outlive the read: the file's own bytes may be given back by then,
  // so this names static text (a class's property name), never the file's.
  std::string_view property;
  ReferenceValue value;
};

// What reading a property needs beyond the property itself.
class ReadContext {
 public:
  explicit ReadContext(ByteReader& in) : values_(in) {}

  ValueReader& values() { return values_; }

  // Keeps its own copy of the name: the bytes read may be given back before
  // the references are resolved.
  void deferReference(const PendingReference& reference) {
    pending_.push_back(reference);
    pending_.back().value.name = names_.emplace_back(reference.value.name);
  }
  const std::vector<PendingReference>& pendingReferences() const { return pending_; }

 private:
  ValueReader values_;
  std::vector<PendingReference> pending_;
  std::deque<std::string> names_;  // stable addresses for the views above
};

}  // namespace qm
