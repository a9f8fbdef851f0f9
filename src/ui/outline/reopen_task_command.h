#pragma once

#include <cstdint>
#include <string>

#include "ui/edits/task_command.h"

namespace qm::ui {

// Reopen, and Toggle Done on a done task: the blank box on the node and in
// the record's icon, and a status of exactly "Complete" back to
// "Not Started". A task without a record gets only the picture.
class ReopenTaskCommand : public TaskCommand {
 public:
  static constexpr int32_t kBlankBoxImage = 0;

  ReopenTaskCommand(Ttree& tree, const QString& text, TreeNode* task);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  int32_t oldImage_;
  int32_t oldIcon_;
  std::string oldStatus_;
};

}  // namespace qm::ui
