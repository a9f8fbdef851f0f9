#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>

#include "main_window_fixture.h"
#include "ui/tree/task_title_delegate.h"

namespace qm::test {
namespace {

using InsertNode = MainWindowTest;

TEST_F(InsertNode, AppendsAtTheEndOfTheTopLevelWhateverIsSelected) {
  createTreeWith({"A", "B"});
  TreeNode* deep = add(add(tree().firstNode(), "a1"), "a1x");
  tree().select(deep);
  window->cmdNewNodeClick(nullptr);
  TreeNode* added = tree().root()->children().back();
  EXPECT_EQ(childTitles(tree().root()), (std::vector<std::string>{"A", "B", " "}));
  EXPECT_EQ(tree().selected(), added);
  EXPECT_NE(added->record(), nullptr);
  EXPECT_EQ(added->imageIndex(), 0);
  EXPECT_EQ(added->selectedIndex(), 0);
  EXPECT_TRUE(isEditing());
  EXPECT_EQ(view().currentIndex(), indexOf(added));
  EXPECT_EQ(window->panelText(1), "5");
}

TEST_F(InsertNode, CancelledFirstEditKeepsTheBlankAndAConfirmedEmptyEditGivesEmpty) {
  createWindow();
  window->cmdCreateTreeClick(nullptr);
  ASSERT_TRUE(isEditing());
  EXPECT_EQ(editor()->text(), " ");
  QTest::keyClicks(editor(), "typed");
  closeEditor(Qt::Key_Escape);
  EXPECT_EQ(titleOf(tree().firstNode()), " ");

  window->cmdNewNodeClick(nullptr);
  ASSERT_TRUE(isEditing());
  editor()->clear();
  closeEditor(Qt::Key_Return);
  EXPECT_EQ(titleOf(tree().root()->child(1)), "");
}

TEST_F(InsertNode, TheEditorTakesAtMost255BytesOfUtf8AndKeepsSpaces) {
  createWindow();
  window->cmdCreateTreeClick(nullptr);
  ASSERT_TRUE(isEditing());
  typeText(editor(), QString(130, QChar(0x00E9)));  // two bytes each
  EXPECT_EQ(editor()->text().toUtf8().size(), 254);
  QTest::keyClicks(editor(), "xyz");
  EXPECT_EQ(editor()->text().toUtf8().size(), 255);
  closeEditor(Qt::Key_Return);
  EXPECT_EQ(tree().firstNode()->text().size(), 255u);

  window->cmdNewNodeClick(nullptr);
  QTest::keyClicks(editor(), "  padded  ");
  closeEditor(Qt::Key_Return);
  EXPECT_EQ(titleOf(tree().root()->child(1)), "  padded  ");
}

using Keyboard = MainWindowTest;

TEST_F(Keyboard, F2WithAnyModifiersEditsTheSelectedTaskOnly) {
  showActive();
  createTreeWith({"A", "B"});
  TreeNode* b = tree().root()->child(1);
  tree().select(nullptr);
  QTest::keyClick(&view(), Qt::Key_F2);
  EXPECT_FALSE(isEditing());
  tree().select(b);
  QTest::keyClick(&view(), Qt::Key_F2, Qt::ShiftModifier);
  ASSERT_TRUE(isEditing());
  EXPECT_EQ(editor()->text(), "B");
  QTest::keyClicks(editor(), "Renamed");
  closeEditor(Qt::Key_Return);
  EXPECT_EQ(titleOf(b), "Renamed");
}

TEST_F(Keyboard, TabAndShiftTabMoveNothing) {
  showActive();
  createTreeWith({"A", "B"});
  TreeNode* b = tree().root()->child(1);
  tree().select(b);
  window->setTag(0);
  QTest::keyClick(&view(), Qt::Key_Tab);
  QTest::keyClick(&view(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(b->parent(), tree().root());
  EXPECT_EQ(tree().selected(), b);
  EXPECT_TRUE(view().hasFocus());
  EXPECT_FALSE(isEditing());
  EXPECT_EQ(window->Tag(), 0);
}

TEST_F(Keyboard, CtrlShiftTabIndentsLikeCtrlTab) {
  showActive();
  createTreeWith({"A", "B"});
  tree().select(tree().root()->child(1));
  QTest::keyClick(&view(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(childTitles(tree().firstNode()), (std::vector<std::string>{"B"}));
}

TEST_F(Keyboard, CtrlTabInTheTitleEditorIndentsAndConfirmsTheEdit) {
  showActive();
  createTreeWith({"A"});
  window->cmdNewNodeClick(nullptr);
  ASSERT_TRUE(isEditing());
  QTest::keyClicks(editor(), "B");
  QTest::keyClick(editor(), Qt::Key_Tab, Qt::ControlModifier);
  TreeNode* a = tree().firstNode();
  ASSERT_EQ(a->childCount(), 1u);
  EXPECT_EQ(titleOf(a->child(0)), "B");
  EXPECT_EQ(tree().selected(), a);
  EXPECT_FALSE(view().isEditingTitle());
}

TEST_F(Keyboard, PlainTabInTheTitleEditorConfirmsTheEdit) {
  showActive();
  window->cmdCreateTreeClick(nullptr);
  QTest::keyClicks(editor(), "Done");
  QTest::keyClick(editor(), Qt::Key_Tab);
  EXPECT_FALSE(view().isEditingTitle());
  EXPECT_EQ(titleOf(tree().firstNode()), "Done");
  EXPECT_EQ(tree().nodeCount(), 1u);
}

// The rows of the indent table, by the position of the selected task S.
using Indent = MainWindowTest;

TEST_F(Indent, UnderACollapsedOrChildlessPreviousSiblingAsItsFirstChild) {
  createTreeWith({"A", "B", "C"});
  TreeNode* a = tree().root()->child(0);
  add(a, "a1");  // collapsed
  TreeNode* b = tree().root()->child(1);
  TreeNode* c = tree().root()->child(2);
  tree().select(b);
  pressCtrlTab();
  EXPECT_EQ(childTitles(a), (std::vector<std::string>{"B", "a1"}));
  EXPECT_TRUE(a->expanded());
  EXPECT_TRUE(view().isExpanded(indexOf(a)));
  EXPECT_EQ(tree().selected(), a);

  tree().select(c);  // its previous sibling is now A, expanded: see the next test; make it childless first
  TreeNode* lone = add(nullptr, "D");
  tree().select(lone);
  pressCtrlTab();
  EXPECT_EQ(childTitles(c), (std::vector<std::string>{"D"}));
  EXPECT_EQ(tree().selected(), c);
  EXPECT_TRUE(view().isExpanded(indexOf(c)));
}

TEST_F(Indent, UnderTheLastDisplayedTaskInsideAnExpandedPreviousSibling) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().root()->child(0);
  add(a, "a1");
  TreeNode* a2 = add(a, "a2");
  TreeNode* a2x = add(a2, "a2x");
  add(a2x, "hidden");  // a2x stays collapsed, so this one is not displayed
  tree().setExpanded(a, true);
  tree().setExpanded(a2, true);
  TreeNode* b = tree().root()->child(1);
  tree().select(b);
  pressCtrlTab();
  EXPECT_EQ(childTitles(a2x), (std::vector<std::string>{"B", "hidden"}));
  EXPECT_EQ(tree().selected(), a2x);
  EXPECT_TRUE(a2x->expanded());
  EXPECT_TRUE(view().isExpanded(indexOf(a2x)));
}

TEST_F(Indent, FirstChildStaysCollapsedAndItsParentIsSelected) {
  createTreeWith({"A"});
  TreeNode* a = tree().firstNode();
  TreeNode* a1 = add(a, "a1");
  TreeNode* a1x = add(a1, "a1x");
  add(a1x, "deep");
  add(a, "a2");
  for (TreeNode* n : {a, a1, a1x}) tree().setExpanded(n, true);
  tree().select(a1);
  window->setTag(0);
  pressCtrlTab();
  EXPECT_EQ(childTitles(a), (std::vector<std::string>{"a1", "a2"}));
  EXPECT_FALSE(a1->expanded());
  EXPECT_FALSE(a1x->expanded());
  EXPECT_FALSE(view().isExpanded(indexOf(a1)));
  EXPECT_FALSE(view().isExpanded(indexOf(a1x)));
  EXPECT_EQ(tree().selected(), a);
  EXPECT_EQ(window->Tag(), 0);  // nothing changed place
}

TEST_F(Indent, TopmostTaskStaysCollapsedAndNothingIsSelected) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  add(a, "a1");
  tree().setExpanded(a, true);
  tree().select(a);
  pressCtrlTab();
  EXPECT_EQ(tree().firstNode(), a);
  EXPECT_FALSE(a->expanded());
  EXPECT_FALSE(view().isExpanded(indexOf(a)));
  EXPECT_EQ(tree().selected(), nullptr);
  EXPECT_TRUE(view().selectionModel()->selectedIndexes().isEmpty());
  EXPECT_FALSE(view().currentIndex().isValid());

  pressCtrlTab();  // nothing selected: nothing happens
  EXPECT_EQ(childTitles(tree().root()), (std::vector<std::string>{"A", "B"}));
}

using DragDrop = MainWindowTest;

TEST_F(DragDrop, DroppedOnItsParentATaskMovesToTheTopOfItsSiblings) {
  createTreeWith({"A"});
  TreeNode* a = tree().firstNode();
  add(a, "a1");
  add(a, "a2");
  TreeNode* a3 = add(a, "a3");
  TreeNode* a3x = add(a3, "a3x");
  tree().setExpanded(a, true);
  tree().setExpanded(a3, true);
  tree().select(a3);
  window->setTag(0);
  QPoint parent = centreOf(a);
  window->TreeDragDrop(&view(), &view(), parent.x(), parent.y());
  EXPECT_EQ(childTitles(a), (std::vector<std::string>{"a3", "a1", "a2"}));
  EXPECT_EQ(tree().selected(), a);
  EXPECT_FALSE(a3->expanded());  // a moved task is collapsed
  EXPECT_FALSE(view().isExpanded(indexOf(a3)));
  EXPECT_EQ(a3x->parent(), a3);
  EXPECT_EQ(window->Tag(), 1);
  EXPECT_EQ(tree().nodeCount(), 5u);
}

TEST_F(DragDrop, DroppedOnItsOwnDescendantNothingMovesButTheSelection) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  TreeNode* a1 = add(a, "a1");
  tree().setExpanded(a, true);
  tree().select(a);
  window->setTag(0);
  QPoint point = centreOf(a1);
  window->TreeDragDrop(&view(), &view(), point.x(), point.y());
  EXPECT_EQ(childTitles(tree().root()), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(a1->parent(), a);
  EXPECT_TRUE(a->expanded());
  EXPECT_EQ(tree().selected(), a1);
  EXPECT_EQ(window->Tag(), 0);
}

TEST_F(DragDrop, NothingHappensOnEmptySpaceOrWithoutSelection) {
  createTreeWith({"A", "B"});
  TreeNode* b = tree().root()->child(1);
  tree().select(b);
  QPoint below = centreOf(b) + QPoint(0, 200);
  window->TreeDragDrop(&view(), &view(), below.x(), below.y());
  EXPECT_EQ(childTitles(tree().root()), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(tree().selected(), b);

  tree().select(nullptr);
  QPoint onA = centreOf(tree().firstNode());
  window->TreeDragDrop(&view(), &view(), onA.x(), onA.y());
  EXPECT_EQ(tree().firstNode()->childCount(), 0u);
}

TEST_F(DragDrop, TheViewTakesTaskDragsHighlightsTheTargetAndDropsThroughTheHandler) {
  showActive();
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  TreeNode* b = tree().root()->child(1);
  tree().select(b);
  QPoint target = centreOf(a);

  // Text dragged from another box or program is refused, so that its source
  // does not delete it as moved, and nothing moves.
  QMimeData text;
  text.setText("from elsewhere");
  QDragEnterEvent refused(target, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view().viewport(), &refused);
  EXPECT_FALSE(refused.isAccepted());
  QDropEvent dropped(target, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view().viewport(), &dropped);
  EXPECT_FALSE(dropped.isAccepted());
  EXPECT_EQ(a->childCount(), 0u);

  std::unique_ptr<QMimeData> task(window->treeModel()->mimeData({indexOf(b)}));
  QDragEnterEvent enter(target, Qt::CopyAction | Qt::MoveAction, task.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view().viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(target, Qt::CopyAction | Qt::MoveAction, task.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view().viewport(), &move);
  EXPECT_TRUE(move.isAccepted());
  EXPECT_EQ(move.dropAction(), Qt::MoveAction);
  EXPECT_EQ(view().dropTarget(), indexOf(a));
  QDropEvent drop(target, Qt::CopyAction | Qt::MoveAction, task.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view().viewport(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_FALSE(view().dropTarget().isValid());
  EXPECT_EQ(childTitles(a), (std::vector<std::string>{"B"}));
  EXPECT_EQ(tree().selected(), a);
}

TEST_F(DragDrop, ARightClickShowsTheWindowsMenuWithoutSelectingTheTaskUnderIt) {
  showActive();
  createTreeWith({"A", "B"});
  TreeNode* b = tree().root()->child(1);
  tree().select(b);
  QPoint onA = centreOf(tree().firstNode());
  QContextMenuEvent request(QContextMenuEvent::Mouse, onA, view().viewport()->mapToGlobal(onA));
  QCoreApplication::sendEvent(view().viewport(), &request);
  EXPECT_TRUE(window->PopupMenu1->isVisible());
  window->PopupMenu1->hide();
  EXPECT_EQ(tree().selected(), b);
  window->Complete1->trigger();
  EXPECT_EQ(b->imageIndex(), 12);  // Complete acts on the selected task
  EXPECT_EQ(tree().firstNode()->imageIndex(), 0);
}

using DeleteNode = MainWindowTest;

TEST_F(DeleteNode, DeletingAnOnlyChildTakesTheParentsButtonAndCountsAtOnce) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  TreeNode* a1 = add(a, "a1");
  add(a1, "a1x");
  tree().setExpanded(a, true);
  tree().select(a1);
  window->setTag(0);
  window->tbDeleteNodeClick(nullptr);
  EXPECT_FALSE(a->hasChildren());
  EXPECT_FALSE(window->treeModel()->hasChildren(indexOf(a)));
  EXPECT_EQ(tree().nodeCount(), 2u);
  EXPECT_EQ(window->panelText(1), "2");
  EXPECT_EQ(tree().selected(), a);
  EXPECT_EQ(window->Tag(), 1);

  tree().select(nullptr);
  window->tbDeleteNodeClick(nullptr);  // nothing selected: nothing happens
  EXPECT_EQ(tree().nodeCount(), 2u);
}

using Complete = MainWindowTest;

TEST_F(Complete, ACompletedTaskShowsTheTickOnlyWhileNotSelected) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  tree().select(a);
  window->setTag(0);
  window->Complete1Click(nullptr);
  EXPECT_EQ(a->imageIndex(), 12);
  EXPECT_EQ(a->selectedIndex(), 0);
  EXPECT_EQ(a->record()->icon, 12);
  EXPECT_EQ(window->Tag(), 1);

  const ui::ImageList& images = window->ImageList1();
  ASSERT_NE(images.pixmap(0).toImage(), images.pixmap(12).toImage());
  QIcon icon = indexOf(a).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_EQ(icon.pixmap(16, QIcon::Normal).toImage(), images.pixmap(12).toImage());
  EXPECT_EQ(icon.pixmap(16, QIcon::Selected).toImage(), images.pixmap(0).toImage());
}

TEST_F(Complete, NothingSelectedChangesNothingAndATaskWithoutRecordGetsThePicture) {
  createTreeWith({"A"});
  TreeNode* a = tree().firstNode();
  tree().select(nullptr);
  window->setTag(0);
  window->Complete1Click(nullptr);
  EXPECT_EQ(a->imageIndex(), 0);
  EXPECT_EQ(window->Tag(), 0);
  EXPECT_TRUE(desktop.errors.isEmpty());

  TreeNode* bare = tree().appendNode(nullptr, "bare");
  tree().select(bare);
  window->Complete1Click(nullptr);
  EXPECT_EQ(bare->imageIndex(), 12);
}

TEST_F(Complete, TheClickCopiesTheRecordsIconOntoTheTask) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  a->record()->icon = 12;  // as the properties dialog leaves it
  tree().select(a);
  EXPECT_EQ(a->imageIndex(), 0);
  window->TreeNodeClick(&view());
  EXPECT_EQ(a->imageIndex(), 12);
}

// The modified flag: every click and focus entry, and every edit.
using ModifiedFlag = MainWindowTest;

TEST_F(ModifiedFlag, ClicksOnTasksAndOnEmptySpace) {
  showActive();
  createTreeWith({"A", "B"});
  TreeNode* b = tree().root()->child(1);
  window->setTag(0);
  QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, centreOf(b));
  EXPECT_EQ(window->Tag(), 1);
  EXPECT_EQ(tree().selected(), b);

  window->setTag(0);
  QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, centreOf(b) + QPoint(0, 150));
  EXPECT_EQ(window->Tag(), 1);

  window->setTag(0);
  QTest::mouseClick(view().viewport(), Qt::RightButton, {}, centreOf(tree().firstNode()));
  EXPECT_EQ(window->Tag(), 0);  // a right click is no click, and selects nothing
  EXPECT_EQ(tree().selected(), b);
}

TEST_F(ModifiedFlag, FocusEntryCountsButWindowReactivationDoesNot) {
  showActive();
  window->cmdCreateTreeClick(nullptr);  // the new task's editor takes the focus: the view's first
  EXPECT_EQ(window->Tag(), 1);
  closeEditor(Qt::Key_Return);
  EXPECT_TRUE(view().hasFocus());

  window->setTag(0);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_TRUE(view().hasFocus());
  EXPECT_EQ(window->Tag(), 0);

  // The focus leaves for another control of the window and comes back.
  auto* field = new QLineEdit(window->centralWidget());
  field->show();
  field->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(window->Tag(), 0);
  view().setFocus(Qt::TabFocusReason);
  EXPECT_EQ(window->Tag(), 1);
}

TEST_F(ModifiedFlag, FirstFocusOfANewViewInAHiddenWindowCountsWhenShown) {
  createWindow();
  window->cmdCreateTreeClick(nullptr);
  EXPECT_EQ(window->Tag(), 0);  // creating the list is no edit
  closeEditor(Qt::Key_Escape);
  showActive();
  EXPECT_EQ(window->Tag(), 1);
}

TEST_F(ModifiedFlag, EveryEditSetsIt) {
  createTreeWith({"A", "B"});
  TreeNode* a = tree().firstNode();
  TreeNode* b = tree().root()->child(1);
  auto afterEdit = [&](const std::function<void()>& edit) {
    window->setTag(0);
    edit();
    return window->Tag();
  };
  EXPECT_EQ(afterEdit([&] {
              window->cmdNewNodeClick(nullptr);
              closeEditor(Qt::Key_Escape);
            }),
            1);
  EXPECT_EQ(afterEdit([&] {
              tree().select(b);
              view().editTitle(b);
              QTest::keyClicks(editor(), "Bee");
              closeEditor(Qt::Key_Return);
            }),
            1);
  EXPECT_EQ(afterEdit([&] {
              view().editTitle(b);
              closeEditor(Qt::Key_Return);  // confirmed unchanged
            }),
            0);
  EXPECT_EQ(afterEdit([&] {
              tree().select(b);
              pressCtrlTab();
            }),
            1);
  EXPECT_EQ(afterEdit([&] {
              tree().select(a);
              window->Complete1Click(nullptr);
            }),
            1);
  EXPECT_EQ(afterEdit([&] {
              tree().select(b);
              window->tbDeleteNodeClick(nullptr);
            }),
            1);
}

}  // namespace
}  // namespace qm::test
