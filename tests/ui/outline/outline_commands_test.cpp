// The Outline items on the first, middle and last sibling at the top level
// and nested: the shape, the expanded states (the tree's and the view's),
// the selection, and undo and redo to the byte.
#include <QMenu>
#include <QUndoStack>

#include "main_window_fixture.h"
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

}  // namespace
}  // namespace qm::test
