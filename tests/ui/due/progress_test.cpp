// The done counts behind each row's "3/7" stay those of a full recount
// through every kind of edit, its undo and its redo.
#include <QAction>
#include <QComboBox>
#include <QRandomGenerator>
#include <QUndoStack>

#include "main_window_fixture.h"
#include "model/task_dates.h"
#include "ui/dialogs/uProperties.h"

namespace qm::test {
namespace {

class Progress : public MainWindowTest {
 protected:
  TreeNode* at(size_t index) { return tree().nodeAt(index); }

  // Every task's done descendants, counted from scratch.
  ::testing::AssertionResult countsMatchRecount() {
    if (!QTest::qWaitFor([&] { return window->doneTally().isCounted(); }))
      return ::testing::AssertionFailure() << "never counted";
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n)) {
      size_t done = 0;
      for (TreeNode* d = tree().nextInPreorder(n); d != nullptr && tree().isInSubtree(d, n);
           d = tree().nextInPreorder(d))
        done += isDone(*d) ? 1 : 0;
      if (n->doneDescendants() != done)
        return ::testing::AssertionFailure()
               << titleOf(n) << " counts " << n->doneDescendants() << ", not " << done;
    }
    return ::testing::AssertionSuccess();
  }

  void setStatus(size_t task, const char* status) {
    tree().select(at(task));
    ui::TfrmProperties* dialog = window->setProperties(nullptr);
    dialog->findChild<QComboBox*>("cboStatus")->setEditText(QString::fromLatin1(status));
    dialog->cmdOKClick();
  }
};

TEST_F(Progress, CountsMatchARecountThroughRandomEditsUndoAndRedo) {
  for (unsigned seed : {7u, 8u}) {
    SCOPED_TRACE(seed);
    window.reset();
    QRandomGenerator random(seed);  // not std::mt19937: see the README, Windows
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    createTreeWith({"t0"});
    for (int i = 1; i < 30; ++i) {
      TreeNode* task = add(pick(3) == 0 ? nullptr : at(pick(tree().nodeCount())), "t");
      tree().setExpanded(task->parent(), true);
      if (pick(4) == 0) tree().setImageIndex(task, 12);  // done by the picture alone
    }
    ASSERT_TRUE(countsMatchRecount());
    QUndoStack& stack = *window->undoStack();
    for (int step = 0; step < 300; ++step) {
      const size_t task = pick(tree().nodeCount());
      switch (pick(11)) {
        case 0:
          window->mnuInsert->trigger();
          view().finishEditing();
          break;
        case 1:
          if (tree().nodeCount() > 5) {
            tree().select(at(task));
            window->Delete1->trigger();
          }
          break;
        case 2:
          tree().select(at(task));
          pressCtrlTab();
          break;
        case 3:
          tree().select(at(task));
          window->Complete1->trigger();
          break;
        case 4:
          setStatus(task, pick(2) == 0 ? "Complete" : "In Progress");  // the icon follows the status
          break;
        case 5:
          tree().select(at(task));
          window->TreeNodeClick(nullptr);  // the picture takes the record's icon
          break;
        case 6:
        case 7:
          if (stack.canUndo()) window->mnuUndo->trigger();
          break;
        case 9:  // ticks or unticks, by whichever sign the task is done
          tree().select(at(task));
          window->mnuToggleDone->trigger();
          break;
        case 10: {
          tree().select(at(task));
          QAction* const moves[] = {window->mnuMoveUp, window->mnuMoveDown, window->mnuIndent,
                                    window->mnuOutdent};
          moves[pick(4)]->trigger();
          break;
        }
        default:
          if (stack.canRedo()) window->mnuRedo->trigger();
      }
      ASSERT_TRUE(countsMatchRecount()) << "after step " << step;
    }
  }
}

}  // namespace
}  // namespace qm::test
