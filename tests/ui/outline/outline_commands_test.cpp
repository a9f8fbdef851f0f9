// The Outline items on the first, middle and last sibling at the top level
// and nested: the shape, the expanded states (the tree's and the view's),
// the selection, and undo and redo to the byte.
#include <QAbstractItemModelTester>
#include <QMenu>
#include <QRandomGenerator>
#include <QUndoStack>
#include <functional>

#include "main_window_fixture.h"
#include "model_fault_log.h"
#include "stream/task_list_file.h"

namespace qm::test {
namespace {

class Outline : public MainWindowTest {
 protected:
  // A+ (A1, A2+ (A21, A22), A3), B (B1), C
  void createSample() {
    createTreeWith({"A", "B", "C"});
    TreeNode* a = tree().firstNode();
    add(a, "A1");
    TreeNode* a2 = add(a, "A2");
    add(a2, "A21");
    add(a2, "A22");
    add(a, "A3");
    add(tree().root()->child(1), "B1");
    tree().setExpanded(a, true);
    tree().setExpanded(a2, true);
  }

  std::string bytes() { return saveTaskListToBytes(tree()); }
  // Titles by depth ("." a level), "+" after an expanded task, "*" for a new
  // task's blank title.
  std::string outline() {
    std::string out;
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n)) {
      const std::string title = n->text() == " " ? "*" : titleOf(n);
      out += (out.empty() ? "" : " ") + std::string(n->depth(), '.') + title + (n->expanded() ? "+" : "");
    }
    return out;
  }
  TreeNode* find(const std::string& title) {
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n))
      if (titleOf(n) == title) return n;
    return nullptr;
  }
  // The view shows what the tree holds: its expanded states and selection.
  void expectViewFollowsTree() {
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n)) {
      if (n->hasChildren()) {
        EXPECT_EQ(view().isExpanded(indexOf(n)), n->expanded()) << titleOf(n);
      }
    }
    EXPECT_EQ(view().currentIndex(), indexOf(tree().selected()));
    EXPECT_TRUE(view().selectionModel()->isSelected(indexOf(tree().selected())));
  }
};

constexpr const char* kSample = "A+ .A1 .A2+ ..A21 ..A22 .A3 B .B1 C";

TEST_F(Outline, EachCommandOnFirstMiddleAndLastSiblingsUndoesAndRedoesToTheByte) {
  struct Case {
    QAction* ui::TfrmMain::*item;
    const char* task;
    const char* shape;  // kSample: nothing happens
  };
  using W = ui::TfrmMain;
  const Case cases[] = {
      {&W::mnuMoveUp, "A", kSample},
      {&W::mnuMoveUp, "B", "B .B1 A+ .A1 .A2+ ..A21 ..A22 .A3 C"},
      {&W::mnuMoveUp, "C", "A+ .A1 .A2+ ..A21 ..A22 .A3 C B .B1"},
      {&W::mnuMoveUp, "A1", kSample},
      {&W::mnuMoveUp, "A2", "A+ .A2+ ..A21 ..A22 .A1 .A3 B .B1 C"},
      {&W::mnuMoveUp, "A3", "A+ .A1 .A3 .A2+ ..A21 ..A22 B .B1 C"},
      {&W::mnuMoveDown, "A", "B .B1 A+ .A1 .A2+ ..A21 ..A22 .A3 C"},
      {&W::mnuMoveDown, "B", "A+ .A1 .A2+ ..A21 ..A22 .A3 C B .B1"},
      {&W::mnuMoveDown, "C", kSample},
      {&W::mnuMoveDown, "A1", "A+ .A2+ ..A21 ..A22 .A1 .A3 B .B1 C"},
      {&W::mnuMoveDown, "A2", "A+ .A1 .A3 .A2+ ..A21 ..A22 B .B1 C"},
      {&W::mnuMoveDown, "A3", kSample},
      {&W::mnuIndent, "A", kSample},
      {&W::mnuIndent, "B", "A+ .A1 .A2+ ..A21 ..A22 .A3 .B ..B1 C"},
      {&W::mnuIndent, "C", "A+ .A1 .A2+ ..A21 ..A22 .A3 B+ .B1 .C"},
      {&W::mnuIndent, "A1", kSample},
      {&W::mnuIndent, "A2", "A+ .A1+ ..A2+ ...A21 ...A22 .A3 B .B1 C"},
      {&W::mnuIndent, "A3", "A+ .A1 .A2+ ..A21 ..A22 ..A3 B .B1 C"},
      {&W::mnuOutdent, "A", kSample},
      {&W::mnuOutdent, "B", kSample},
      {&W::mnuOutdent, "B1", "A+ .A1 .A2+ ..A21 ..A22 .A3 B B1 C"},
      {&W::mnuOutdent, "A1", "A+ .A2+ ..A21 ..A22 .A3 A1 B .B1 C"},
      {&W::mnuOutdent, "A2", "A+ .A1 .A3 A2+ .A21 .A22 B .B1 C"},
      {&W::mnuOutdent, "A3", "A+ .A1 .A2+ ..A21 ..A22 A3 B .B1 C"},
      {&W::mnuInsertBelow, "A", "A+ .A1 .A2+ ..A21 ..A22 .A3 * B .B1 C"},
      {&W::mnuInsertBelow, "B", "A+ .A1 .A2+ ..A21 ..A22 .A3 B .B1 * C"},
      {&W::mnuInsertBelow, "C", "A+ .A1 .A2+ ..A21 ..A22 .A3 B .B1 C *"},
      {&W::mnuInsertBelow, "A1", "A+ .A1 .* .A2+ ..A21 ..A22 .A3 B .B1 C"},
      {&W::mnuInsertBelow, "A2", "A+ .A1 .A2+ ..A21 ..A22 .* .A3 B .B1 C"},
      {&W::mnuInsertBelow, "B1", "A+ .A1 .A2+ ..A21 ..A22 .A3 B+ .B1 .* C"},
      {&W::mnuInsertBelow, nullptr, "A+ .A1 .A2+ ..A21 ..A22 .A3 B .B1 C *"},
      {&W::mnuInsertChild, "A", "A+ .A1 .A2+ ..A21 ..A22 .A3 .* B .B1 C"},
      {&W::mnuInsertChild, "B", "A+ .A1 .A2+ ..A21 ..A22 .A3 B+ .B1 .* C"},
      {&W::mnuInsertChild, "C", "A+ .A1 .A2+ ..A21 ..A22 .A3 B .B1 C+ .*"},
      {&W::mnuInsertChild, "A1", "A+ .A1+ ..* .A2+ ..A21 ..A22 .A3 B .B1 C"},
      {&W::mnuInsertChild, "A2", "A+ .A1 .A2+ ..A21 ..A22 ..* .A3 B .B1 C"},
      {&W::mnuInsertChild, "A3", "A+ .A1 .A2+ ..A21 ..A22 .A3+ ..* B .B1 C"},
      {&W::mnuInsertChild, nullptr, kSample},
  };
  for (const Case& c : cases) {
    window.reset();
    createSample();
    QAction* item = (*window).*c.item;
    SCOPED_TRACE(item->text().toStdString() + " on " + (c.task ? c.task : "nothing"));
    TreeNode* task = c.task != nullptr ? find(c.task) : nullptr;
    tree().select(task);
    window->setTag(0);
    const std::string before = bytes();
    const bool inserts = item == window->mnuInsertBelow || item == window->mnuInsertChild;
    item->trigger();
    const bool changes = std::string(c.shape) != kSample;
    EXPECT_EQ(outline(), c.shape);
    EXPECT_EQ(window->Tag(), changes ? 1 : 0);
    EXPECT_EQ(window->undoStack()->count(), changes ? 1 : 0);
    EXPECT_EQ(isEditing(), inserts && changes);
    closeEditor(Qt::Key_Escape);
    TreeNode* selected = inserts && changes ? find(" ") : task;
    EXPECT_EQ(tree().selected(), selected);
    if (inserts && changes) {
      EXPECT_EQ(window->panelText(1), QString::number(tree().nodeCount()));
    }
    if (selected != nullptr) {
      expectViewFollowsTree();
      EXPECT_TRUE(view().viewport()->rect().intersects(view().visualRect(indexOf(selected))));
      EXPECT_NE(selected->record(), nullptr);
    }
    if (!changes) continue;
    EXPECT_EQ(window->mnuUndo->text(), "&Undo " + QString(item->text()).remove('&'));
    const std::string after = bytes();
    window->mnuUndo->trigger();
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(outline(), kSample);
    if (task != nullptr) {
      EXPECT_EQ(tree().selected(), task);
    }
    expectViewFollowsTree();
    window->mnuRedo->trigger();
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(outline(), c.shape);
    EXPECT_EQ(tree().selected(), selected);
    EXPECT_EQ(window->panelText(1), QString::number(tree().nodeCount()));
  }
}

TEST_F(Outline, ToggleDoneAndReopenOverEverySignOfDone) {
  struct Case {
    int32_t image;
    int32_t icon;
    const char* status;
    bool done;
    const char* statusAfter;  // of Toggle Done, and of Reopen on a done task
  };
  const Case cases[] = {
      {0, 0, "In Progress", false, "In Progress"},
      {0, 0, "complete", false, "complete"},  // only exactly "Complete" counts
      {12, 0, "", true, ""},
      {0, 12, "In Progress", true, "In Progress"},
      {0, 0, "Complete", true, "Not Started"},
      {12, 12, "Complete", true, "Not Started"},
  };
  for (const Case& c : cases) {
    for (bool reopen : {false, true}) {
      SCOPED_TRACE(::testing::Message()
                   << c.image << "/" << c.icon << "/" << c.status << " reopen " << reopen);
      window.reset();
      createTreeWith({"T", "U"});
      TreeNode* task = tree().firstNode();
      tree().setImageIndex(task, c.image);
      task->record()->icon = c.icon;
      task->record()->status = c.status;
      tree().select(task);
      const std::string before = bytes();
      window->PopupMenu1->popup(QPoint());
      EXPECT_EQ(window->Reopen1->isEnabled(), c.done);
      window->PopupMenu1->hide();
      (reopen ? window->Reopen1 : window->mnuToggleDone)->trigger();
      if (reopen && !c.done) {
        EXPECT_EQ(bytes(), before);
        continue;
      }
      const int32_t mark = c.done ? 0 : 12;
      EXPECT_EQ(task->imageIndex(), mark);
      EXPECT_EQ(task->record()->icon, mark);
      EXPECT_EQ(task->record()->status, c.statusAfter);
      EXPECT_EQ(window->Tag(), 1);
      EXPECT_EQ(window->mnuUndo->text(), reopen ? "&Undo Reopen" : "&Undo Toggle Done");
      window->mnuUndo->trigger();
      EXPECT_EQ(bytes(), before);
      window->mnuRedo->trigger();
      EXPECT_EQ(task->record()->status, c.statusAfter);
    }
  }
}

TEST_F(Outline, NothingHappensWithoutASelectedTask) {
  createSample();
  tree().select(nullptr);
  const std::string before = bytes();
  window->setTag(0);
  for (QAction* item : window->mnuOutline->actions())
    if (item != window->mnuInsertBelow) item->trigger();
  window->Reopen1->trigger();
  EXPECT_EQ(bytes(), before);
  EXPECT_EQ(window->Tag(), 0);
  EXPECT_EQ(window->undoStack()->count(), 0);
}

// The outline's commands mixed with the other edits, each on a random task,
// then everything undone step by step: each step's bytes and shape come
// back, the view follows the tree, and Qt's model tester finds no fault.
TEST_F(Outline, RandomMixesWithTheOtherEditsUndoToTheStart) {
  for (unsigned seed : {1u, 2u}) {
    SCOPED_TRACE(seed);
    window.reset();
    QRandomGenerator random(seed);  // not std::mt19937: see the README, Windows
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    createSample();
    ModelFaultLog faults;
    QAbstractItemModelTester tester(window->treeModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    ui::TfrmMain& w = *window;
    const std::vector<QAction*> items{w.mnuMoveUp,      w.mnuMoveDown,    w.mnuIndent,     w.mnuOutdent,
                                      w.mnuInsertBelow, w.mnuInsertChild, w.mnuToggleDone, w.Reopen1,
                                      w.mnuInsert,      w.Delete1,        w.Complete1};
    std::vector<std::string> states{bytes()};
    std::vector<std::string> shapes{outline()};
    for (int step = 0; step < 160; ++step) {
      TreeNode* task = tree().nodeAt(pick(tree().nodeCount()));
      tree().select(task);
      const int index = w.undoStack()->index();
      switch (const size_t choice = pick(items.size() + 3); choice) {
        case 0:
          w.treeModel()->setData(indexOf(task), QStringLiteral("r%1").arg(step));
          break;
        case 1:
          pressCtrlTab();
          break;
        case 2:  // a drop onto a task on show
          if (TreeNode* target = tree().nodeAt(pick(tree().nodeCount())); tree().isDisplayed(target)) {
            view().scrollTo(indexOf(target));
            const QPoint point = centreOf(target);
            w.TreeDragDrop(&view(), &view(), point.x(), point.y());
          }
          break;
        default:
          if (items[choice - 3] != w.Delete1 || (tree().nodeCount() > 4 && task->subtreeSize() < 6))
            items[choice - 3]->trigger();
      }
      if (pick(2) == 0) view().finishEditing();
      closeEditor(Qt::Key_Escape);
      if (w.undoStack()->index() == index) continue;
      ASSERT_EQ(w.undoStack()->index(), index + 1);
      states.push_back(bytes());
      shapes.push_back(outline());
    }
    ASSERT_GT(states.size(), 80u);
    for (size_t i = states.size() - 1; i-- > 0;) {
      w.mnuUndo->trigger();
      ASSERT_EQ(outline(), shapes[i]) << "undoing to step " << i;
      ASSERT_EQ(bytes(), states[i]) << "undoing to step " << i;
    }
    EXPECT_FALSE(w.undoStack()->canUndo());
    expectViewFollowsTree();
    EXPECT_TRUE(faults.empty()) << faults.text();
  }
}

}  // namespace
}  // namespace qm::test
