// Undo and redo of every kind of edit: the saved bytes and the expanded
// states come back exactly, and the Edit menu's items follow the history.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QUndoStack>
#include <functional>

#include "main_window_fixture.h"
#include "model_fault_log.h"
#include "stream/task_list_file.h"
#include "ui/dialogs/uProperties.h"

namespace qm::test {
namespace {

using ui::TfrmProperties;

class Undo : public MainWindowTest {
 protected:
  // 0 A+ (1 A1, 2 A2+ (3 A21 ticked, 4 A22)), 5 B (6 B1), 7 C
  void createSample() {
    createTreeWith({"A", "B", "C"});
    TreeNode* a = tree().firstNode();
    add(a, "A1");
    TreeNode* a2 = add(a, "A2");
    tree().setImageIndex(add(a2, "A21"), 12);
    add(a2, "A22")->record()->note = "notes";
    add(tree().root()->child(1), "B1");
    tree().setExpanded(a, true);
    tree().setExpanded(a2, true);
  }

  std::string bytes() { return saveTaskListToBytes(tree()); }
  // Titles by depth, "+" after an expanded task.
  std::string outline() {
    std::string out;
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n))
      out += std::string(n->depth(), '.') + std::string(n->text()) + (n->expanded() ? "+" : "") + " ";
    return out;
  }
  TreeNode* at(size_t index) { return tree().nodeAt(index); }
  void select(size_t index) { tree().select(at(index)); }

  void rename(TreeNode* task, const QString& title) {
    ASSERT_TRUE(view().editTitle(task));
    editor()->setText(title);
    closeEditor(Qt::Key_Return);
  }
  // Onto a task on show, as a drop can only be.
  void drop(size_t task, size_t target) {
    if (!tree().isDisplayed(at(target))) return;
    select(task);
    view().scrollTo(indexOf(at(target)));
    QPoint point = centreOf(at(target));
    window->TreeDragDrop(&view(), &view(), point.x(), point.y());
  }
  TfrmProperties* properties(size_t task) {
    select(task);
    return window->setProperties(nullptr);
  }
  void setPriority(TfrmProperties* dialog, const char* priority) {
    dialog->findChild<QComboBox*>("cboPriority")->setEditText(QString::fromLatin1(priority));
    dialog->findChild<QComboBox*>("cboStatus")->setEditText(QStringLiteral("Complete"));
    dialog->findChild<QPlainTextEdit*>("Memo1")->setPlainText(QStringLiteral("changed"));
  }

  QUndoStack& stack() { return *window->undoStack(); }
};

TEST_F(Undo, EveryKindOfEditIsUndoneAndRedoneToTheByte) {
  struct Case {
    const char* step;
    std::function<void()> edit;
  };
  const Case cases[] = {
      {"Insert Node", [this] { window->mnuInsert->trigger(); }},
      {"Delete Node",
       [this] {
         select(0);  // the whole expanded subtree, with its records
         window->Delete1->trigger();
       }},
      {"Delete Node",
       [this] {
         select(6);  // an only child
         window->Delete1->trigger();
       }},
      {"Rename", [this] { rename(at(3), QStringLiteral("renamed")); }},
      {"Indent",
       [this] {
         select(5);  // under the last task displayed inside A, A22
         pressCtrlTab();
       }},
      {"Move", [this] { drop(0, 7); }},
      {"Move", [this] { drop(4, 0); }},  // within its parent's subtree, to the top
      {"Complete",
       [this] {
         select(4);
         window->Complete1->trigger();
       }},
      {"Properties",
       [this] {
         TfrmProperties* dialog = properties(4);
         setPriority(dialog, "2");
         dialog->cmdOKClick();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    window.reset();
    createSample();
    const std::string before = bytes();
    const std::string shapeBefore = outline();
    c.edit();
    const std::string after = bytes();
    const std::string shapeAfter = outline();
    ASSERT_NE(after, before);
    EXPECT_EQ(window->mnuUndo->text(), "&Undo " + QString::fromLatin1(c.step));
    EXPECT_TRUE(window->mnuUndo->isEnabled());
    EXPECT_FALSE(window->mnuRedo->isEnabled());
    window->setTag(0);
    window->mnuUndo->trigger();
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(outline(), shapeBefore);
    EXPECT_EQ(window->Tag(), 1);
    EXPECT_EQ(window->mnuRedo->text(), "&Redo " + QString::fromLatin1(c.step));
    EXPECT_EQ(window->mnuUndo->text(), "&Undo");
    EXPECT_FALSE(window->mnuUndo->isEnabled());
    window->mnuRedo->trigger();
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(outline(), shapeAfter);
    EXPECT_EQ(window->panelText(1), QString::number(tree().nodeCount()));
  }
}

TEST_F(Undo, StepsSelectTheTaskTheyChanged) {
  createSample();
  window->mnuInsert->trigger();
  closeEditor(Qt::Key_Escape);
  window->mnuUndo->trigger();
  EXPECT_EQ(tree().selected(), at(7)) << "the task displayed above the inserted one";
  window->mnuRedo->trigger();
  EXPECT_EQ(tree().selected(), at(8));
  select(6);
  window->Delete1->trigger();
  window->mnuUndo->trigger();
  EXPECT_EQ(tree().selected(), at(6));
  EXPECT_TRUE(tree().root()->child(1)->hasChildren());
}

TEST_F(Undo, RandomEditSequencesUndoToTheStartAndRedoToTheEnd) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    window.reset();
    // Qt's seeded generator (the same Mersenne Twister): an std::mt19937 of
    // our own would add a second copy of the engine that a static Qt for
    // Windows holds, and mingw's linker may give Qt's callers ours, whose
    // registers they do not expect (GCC's interprocedural register allocation).
    QRandomGenerator random(seed);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    createTreeWith({"t0"});
    ModelFaultLog faults;
    QAbstractItemModelTester tester(window->treeModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    for (int i = 1; i < 40; ++i) {
      TreeNode* task = add(pick(3) == 0 ? nullptr : at(pick(tree().nodeCount())), "t");
      if (pick(2) == 0) tree().setExpanded(task->parent(), true);
    }
    std::vector<std::string> states{bytes()};
    std::vector<std::string> shapes{outline()};
    for (int step = 0; step < 200; ++step) {
      const size_t task = pick(tree().nodeCount());
      const int index = stack().index();
      switch (pick(7)) {
        case 0:
          window->mnuInsert->trigger();
          if (pick(2) == 0) closeEditor(Qt::Key_Escape);
          break;
        case 1:
          if (tree().nodeCount() > 5 && at(task)->subtreeSize() < 10) {
            select(task);
            window->Delete1->trigger();
          }
          break;
        case 2:
          tree().select(nullptr);
          window->treeModel()->setData(indexOf(at(task)), QStringLiteral("r%1").arg(step));
          break;
        case 3:
          select(task);
          pressCtrlTab();
          break;
        case 4:
          drop(task, pick(tree().nodeCount()));
          break;
        case 5:
          select(task);
          window->Complete1->trigger();
          break;
        default: {
          TfrmProperties* dialog = properties(task);
          setPriority(dialog, step % 2 == 0 ? "1" : "3");
          dialog->cmdOKClick();
        }
      }
      view().finishEditing();
      if (stack().index() == index) continue;
      ASSERT_EQ(stack().index(), index + 1);
      states.push_back(bytes());
      shapes.push_back(outline());
    }
    ASSERT_GT(states.size(), 100u);
    for (size_t i = states.size() - 1; i-- > 0;) {
      window->mnuUndo->trigger();
      ASSERT_EQ(bytes(), states[i]) << "undoing to step " << i;
      ASSERT_EQ(outline(), shapes[i]) << "undoing to step " << i;
    }
    EXPECT_FALSE(stack().canUndo());
    while (stack().canRedo()) window->mnuRedo->trigger();
    EXPECT_EQ(bytes(), states.back());
    EXPECT_EQ(outline(), shapes.back());
    EXPECT_TRUE(faults.empty()) << faults.text();
  }
}

TEST_F(Undo, APropertiesDialogOfADeletedTaskWritesIntoItOnceItIsBack) {
  createSample();
  TfrmProperties* dialog = properties(3);
  Tinfo* record = at(3)->record();
  select(2);
  window->Delete1->trigger();
  window->mnuUndo->trigger();
  setPriority(dialog, "4");
  dialog->cmdOKClick();
  EXPECT_EQ(at(3)->record(), record);
  EXPECT_EQ(record->priority, "4");
  EXPECT_EQ(record->icon, 12);
}

TEST_F(Undo, TheTitleEditorKeepsTheUndoKeysForItsText) {
  showActive();
  createSample();
  window->mnuInsert->trigger();
  ASSERT_TRUE(isEditing());
  QTest::keyClicks(editor(), "abc");
  QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor()->text(), " ");
  QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(editor()->text(), "abc");
  EXPECT_EQ(stack().count(), 1) << "the insert, and nothing undone in the tree";
  closeEditor(Qt::Key_Return);
  EXPECT_EQ(window->mnuUndo->text(), "&Undo Rename");
  QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(titleOf(at(8)), " ");
  QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(titleOf(at(8)), "abc");
}

TEST_F(Undo, HistoryBelongsToTheListAndKeepsAThousandSteps) {
  QTemporaryDir files;
  const QString file = files.filePath(QStringLiteral("list.jjp"));
  createSample();
  EXPECT_EQ(stack().undoLimit(), 1000);
  select(1);
  window->Delete1->trigger();
  desktop.fileNames.push_back(file);
  window->mnuSave->trigger();
  EXPECT_TRUE(stack().canUndo()) << "Save keeps the history";
  desktop.saveAnswers.push_back(platform::SaveAnswer::No);
  desktop.fileNames.push_back(file);
  window->mnuOpen->trigger();
  EXPECT_FALSE(stack().canUndo()) << "Open clears it";
  window->mnuInsert->trigger();
  desktop.saveAnswers.push_back(platform::SaveAnswer::No);
  window->mnuNew->trigger();
  EXPECT_FALSE(stack().canUndo()) << "New clears it";
}

}  // namespace
}  // namespace qm::test
