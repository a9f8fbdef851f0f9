#include <gtest/gtest.h>

#include <QClipboard>
#include <QSpinBox>
#include <QUndoStack>

#include "main_window_fixture.h"
#include "ui/find/find_bar.h"

namespace qm::test {
namespace {

using EditingKeys = MainWindowTest;

// The find field, and a spin box added to the window as later work would.
TEST_F(EditingKeys, EditingKeysActOnTheFocusedFieldAndTheOtherKeysOnTheMenus) {
  showActive();
  createTree();
  for (int i = 0; i < 2; ++i) {
    window->cmdNewNodeClick(nullptr);
    closeEditor(Qt::Key_Return);
  }
  window->mnuUndoClick(nullptr);  // a step to undo and one to redo: either key taken by the list shows
  const int listStep = window->undoStack()->index();
  window->findBar()->open();
  auto* spin = new QSpinBox(window->centralWidget());
  spin->setRange(0, 999);
  spin->show();
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *text, *selected;  // the field's afterwards; selection unchecked when null
  } steps[] = {
      {Qt::Key_A, ctrl, "123", "123"},  // select all, not Save As
      {Qt::Key_C, ctrl, "123", "123"},
      {Qt::Key_X, ctrl, "", ""},
      {Qt::Key_Z, ctrl, "123", nullptr},  // the field's undo, not the list's
      {Qt::Key_Z, ctrl | Qt::ShiftModifier, "", nullptr},
      {Qt::Key_Z, ctrl, "123", nullptr},
      {Qt::Key_Y, ctrl, "", nullptr},  // the field's redo, not the list's
      {Qt::Key_V, ctrl, "123", ""},
  };
  for (QWidget* field : {static_cast<QWidget*>(window->findBar()->txtFind), static_cast<QWidget*>(spin)}) {
    QLineEdit* line = field == spin ? spin->findChild<QLineEdit*>() : window->findBar()->txtFind;
    SCOPED_TRACE(field->metaObject()->className());
    field->setFocus(Qt::OtherFocusReason);
    line->clear();
    QTest::keyClicks(field, "123");
    for (const auto& step : steps) {
      QTest::keyClick(field, step.key, step.modifiers);
      EXPECT_EQ(line->text(), step.text) << step.key;
      EXPECT_TRUE(step.selected == nullptr || line->selectedText() == step.selected) << step.key;
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "123");
    EXPECT_EQ(window->undoStack()->index(), listStep);
  }
  // Other Ctrl+letters from a field, and the editing keys from the tree, run the menus.
  desktop.saveAnswers.push_back(platform::SaveAnswer::Cancel);
  QTest::keyClick(spin, Qt::Key_N, ctrl);  // New, asking first
  EXPECT_EQ(desktop.savePrompts.size(), 1);
  view().setFocus(Qt::OtherFocusReason);
  QTest::keyClick(&view(), Qt::Key_Y, ctrl);
  EXPECT_EQ(window->undoStack()->index(), listStep + 1);
  desktop.fileNames.push_back(std::nullopt);  // Save As's dialog, cancelled
  QTest::keyClick(&view(), Qt::Key_A, ctrl);
  EXPECT_EQ(desktop.saveRequests.size(), 1);
}

}  // namespace
}  // namespace qm::test
