#include "ui/edits/properties_command.h"

#include "model/tinfo.h"
#include "model/ttree.h"

namespace qm::ui {

RecordFields RecordFields::of(const Tinfo& record) {
  return {record.note.str(),     record.taskstart,    record.taskend,
          record.priority.str(), record.status.str(), record.icon};
}

void RecordFields::writeInto(Tinfo& record) const {
  record.note = note;
  record.taskstart = taskstart;
  record.taskend = taskend;
  record.priority = priority;
  record.status = status;
  record.icon = icon;
}

PropertiesCommand::PropertiesCommand(Ttree& tree, TreeNode* task, Tinfo& record, RecordFields before)
    : TaskCommand(tree, QStringLiteral("Properties"), true),
      record_(record),
      before_(std::move(before)),
      after_(RecordFields::of(record)) {
  changed_ = task;
}

void PropertiesCommand::apply() {
  after_.writeInto(record_);
  tree_.recordChanged(changed_);
}

void PropertiesCommand::revert() {
  before_.writeInto(record_);
  tree_.recordChanged(changed_);
}

}  // namespace qm::ui
