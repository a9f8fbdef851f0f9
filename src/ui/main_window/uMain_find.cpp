// Find: the find bar under the task tree and the Edit menu's find items.
#include <QLineEdit>
#include <QUndoStack>
#include <QVBoxLayout>

#include "ui/find/find_bar.h"
#include "ui/main_window/uMain.h"

namespace qm::ui {

void TfrmMain::buildFindBar() {
  findBar_ = new FindBar(clientArea_);
  clientLayout_->addWidget(findBar_);
  connect(findBar_, &FindBar::leaving, this, [this] {
    if (treeView_ != nullptr) treeView_->setFocus(Qt::OtherFocusReason);
  });
}

void TfrmMain::attachFindBar() {
  for (QAction* item : {mnuFind, mnuFindNext, mnuFindPrevious}) item->setEnabled(true);
  findBar_->setTaskModel(treeModel_);
  // Every edit is a step, a note written by the properties dialog too.
  connect(undoStack_, &QUndoStack::indexChanged, findBar_, &FindBar::treeEdited, Qt::UniqueConnection);
  // Merely searching is no edit: the focus coming back from the bar is not
  // the view's focus entry.
  auto entry = std::move(treeView_->events.onFocusEntry);
  treeView_->events.onFocusEntry = [this, entry] {
    if (!findBar_->hadFocus() && entry) entry();
  };
}

void TfrmMain::mnuFindClick(QObject* /*Sender*/) {
  if (tree_) findBar_->open();
}

void TfrmMain::mnuFindNextClick(QObject* /*Sender*/) { findFromMenu(&FindBar::findNext); }

void TfrmMain::mnuFindPreviousClick(QObject* /*Sender*/) { findFromMenu(&FindBar::findPrevious); }

void TfrmMain::findFromMenu(void (FindBar::*step)()) {
  if (!tree_) return;
  if (findBar_->txtFind->text().isEmpty()) {
    findBar_->open();  // nothing to look for yet
    return;
  }
  findBar_->show();
  (findBar_->*step)();
}

}  // namespace qm::ui
