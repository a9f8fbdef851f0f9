#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/component.h"

namespace qm {

// The task record: everything about a task except its title and picture.
class Tinfo : public Component {
 public:
  static constexpr std::string_view kClassName = "Tinfo";

  Tinfo();
  std::string_view className() const override { return kClassName; }

  // A number given to each record when it is created; written into the node
  // list's data field so that an unchanged list saves to identical bytes.
  uint32_t id() const { return id_; }

  std::string note;
  double taskstart = 0;
  double taskend = 0;
  std::string priority;
  std::string status;
  int32_t icon = 0;
  // Design position of a non-visual component; the system never sets it.
  int16_t designLeft = 0;
  int16_t designTop = 0;

 private:
  uint32_t id_;
};

}  // namespace qm
