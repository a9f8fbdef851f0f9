#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <typeinfo>

#include "model/compact_text.h"
#include "model/component.h"
#include "model/object_pool.h"

namespace qm {

// The task record: everything about a task except its title and picture.
// From a pool: a list may hold a million records.
class Tinfo final : public Component, public PooledObject<Tinfo> {
 public:
  static constexpr std::string_view kClassName = "Tinfo";

  Tinfo();
  std::string_view className() const override { return kClassName; }

  // A number given to each record when it is created; written into the node
  // list's data field so that an unchanged list saves to identical bytes.
  uint32_t id() const { return id_; }

  // In an order that leaves no gaps: a list may hold a million records.
  int32_t icon = 0;
  CompactText note;
  double taskstart = 0;
  double taskend = 0;
  CompactText priority;
  CompactText status;
  // Design position of a non-visual component; the system never sets it.
  int16_t designLeft = 0;
  int16_t designTop = 0;

 private:
  uint32_t id_;
};

// The component as a task record, or nullptr. Tinfo is final, so comparing
// the exact type is enough, and cheaper than a dynamic_cast over a million
// records.
inline Tinfo* asTaskRecord(Component* component) {
  return component != nullptr && typeid(*component) == typeid(Tinfo) ? static_cast<Tinfo*>(component)
                                                                     : nullptr;
}

}  // namespace qm
