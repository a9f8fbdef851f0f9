#pragma once

#include <string_view>
#include <vector>

#include "stream/value_reader.h"

namespace qm {

class Component;
class ComponentClass;

// An object reference met while reading; resolved once the whole stream is
// read, and only then.
struct PendingReference {
  Component* object;
  const ComponentClass* objectClass;
  std::string_view property;
  ReferenceValue value;
};

// What reading a property needs beyond the property itself.
class ReadContext {
 public:
  explicit ReadContext(ByteReader& in) : values_(in) {}

  ValueReader& values() { return values_; }

  void deferReference(const PendingReference& reference) { pending_.push_back(reference); }
  const std::vector<PendingReference>& pendingReferences() const { return pending_; }

 private:
  ValueReader values_;
  std::vector<PendingReference> pending_;
};

}  // namespace qm
