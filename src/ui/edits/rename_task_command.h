#pragma once

#include <string>

#include "ui/edits/task_command.h"

namespace qm::ui {

// A title confirmed in the in-place editor.
class RenameTaskCommand : public TaskCommand {
 public:
  RenameTaskCommand(Ttree& tree, TreeNode* task, std::string oldTitle);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  std::string oldTitle_;
  std::string newTitle_;
};

}  // namespace qm::ui
