#pragma once

#include <cstdint>

#include "ui/edits/task_command.h"

namespace qm::ui {

// Complete: the ticked box on the node and in the record's icon.
class CompleteTaskCommand : public TaskCommand {
 public:
  static constexpr int32_t kCompletedImage = 12;

  CompleteTaskCommand(Ttree& tree, TreeNode* task);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  int32_t oldImage_;
  int32_t oldIcon_;
};

}  // namespace qm::ui
