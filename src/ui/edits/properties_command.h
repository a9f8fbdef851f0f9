#pragma once

#include <cstdint>
#include <string>

#include "ui/edits/task_command.h"

namespace qm {
class Tinfo;
}

namespace qm::ui {

// What the properties dialog's OK writes into a record.
struct RecordFields {
  std::string note;
  double taskstart = 0;
  double taskend = 0;
  std::string priority;
  std::string status;
  int32_t icon = 0;

  static RecordFields of(const Tinfo& record);
  void writeInto(Tinfo& record) const;
  bool operator==(const RecordFields&) const = default;
};

// Properties OK: the five fields and the icon as they were.
class PropertiesCommand : public TaskCommand {
 public:
  // Made after OK wrote into the task's record.
  PropertiesCommand(Ttree& tree, TreeNode* task, Tinfo& record, RecordFields before);

 protected:
  void apply() override;
  void revert() override;

 private:
  Tinfo& record_;
  RecordFields before_;
  RecordFields after_;
};

}  // namespace qm::ui
