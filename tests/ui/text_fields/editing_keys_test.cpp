#include "ui/text_fields/editing_keys.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QUndoStack>
#include <functional>

#include "main_window_fixture.h"
#include "ui/find/find_bar.h"

namespace qm::test {
namespace {

// A text field of the window, read the same way whatever its kind.
struct Field {
  QWidget* widget;
  std::function<QString()> text;
  std::function<QString()> selected;
  std::function<void()> clear;
};

Field lineField(QWidget* owner, QLineEdit* line) {
  return {owner, [line] { return line->text(); }, [line] { return line->selectedText(); },
          [line] { line->clear(); }};
}

Field textBoxField(QPlainTextEdit* box) {
  return {box, [box] { return box->toPlainText(); }, [box] { return box->textCursor().selectedText(); },
          [box] { box->clear(); }};
}

class EditingKeys : public MainWindowTest {
 protected:
  // A list with a step to undo and one to redo, so that either menu key
  // taken by the window would show in the undo stack.
  void SetUp() override {
    MainWindowTest::SetUp();
    showActive();
    createTree();
    for (int i = 0; i < 2; ++i) {
      window->cmdNewNodeClick(nullptr);
      closeEditor(Qt::Key_Return);
    }
    window->mnuUndoClick(nullptr);
    ASSERT_TRUE(window->undoStack()->canUndo() && window->undoStack()->canRedo());
  }

  // The field as it would be added by later work: a child of the window.
  template <class W>
  W* addedField() {
    auto* widget = new W(window->centralWidget());
    widget->show();
    return widget;
  }

  Field field(const std::string& kind) {
    if (kind == "find") {
      window->findBar()->open();
      return lineField(window->findBar()->txtFind, window->findBar()->txtFind);
    }
    if (kind == "spin box") {
      auto* spin = addedField<QSpinBox>();
      spin->setRange(0, 999);
      return lineField(spin, spin->findChild<QLineEdit*>());
    }
    return textBoxField(addedField<QPlainTextEdit>());
  }
};

TEST_F(EditingKeys, EditingKeysActOnTheFocusedFieldAndNeverOnTheList) {
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;      // the field's text afterwards
    const char* selected;  // and its selection, when given
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Step steps[] = {
      {Qt::Key_A, ctrl, "123", "123"},                     // select all, not Save As
      {Qt::Key_C, ctrl, "123", "123"},                     // copy
      {Qt::Key_X, ctrl, "", ""},                           // cut
      {Qt::Key_Z, ctrl, "123", nullptr},                   // undo of the cut, not of the list
      {Qt::Key_Z, ctrl | Qt::ShiftModifier, "", nullptr},  // redo
      {Qt::Key_Z, ctrl, "123", nullptr},                   //
      {Qt::Key_Y, ctrl, "", nullptr},                      // redo, not of the list
      {Qt::Key_V, ctrl, "123", ""},                        // paste
  };
  for (const std::string kind : {"find", "spin box", "text box"}) {
    SCOPED_TRACE(kind);
    Field f = field(kind);
    f.widget->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.widget->hasFocus(); }));
    const int listStep = window->undoStack()->index();
    f.clear();
    QTest::keyClicks(f.widget, "123");
    ASSERT_EQ(f.text(), "123");
    int i = 0;
    for (const Step& step : steps) {
      SCOPED_TRACE(i++);
      QTest::keyClick(f.widget, step.key, step.modifiers);
      EXPECT_EQ(f.text(), step.text);
      if (step.selected != nullptr) {
        EXPECT_EQ(f.selected(), step.selected);
      }
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "123");
    EXPECT_EQ(window->undoStack()->index(), listStep);
    EXPECT_TRUE(desktop.saveRequests.isEmpty());
  }
}

TEST_F(EditingKeys, OtherCtrlLettersInAFieldAndEditingKeysInTheTreeStayTheMenus) {
  window->findBar()->open();
  QSignalSpy newList(window->mnuNew, &QAction::triggered);
  desktop.saveAnswers.push_back(platform::SaveAnswer::Cancel);
  QTest::keyClick(window->findBar()->txtFind, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(newList.count(), 1);

  view().setFocus(Qt::OtherFocusReason);
  const int listStep = window->undoStack()->index();
  QTest::keyClick(&view(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window->undoStack()->index(), listStep + 1);
  QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->undoStack()->index(), listStep);
  desktop.fileNames.push_back(std::nullopt);  // Save As's dialog, cancelled
  QTest::keyClick(&view(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(desktop.saveRequests.size(), 1);
}

TEST(EditingKeyOf, OnlyCtrlWithTheEditingLettersCounts) {
  struct Row {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    ui::EditingKey expected;
  };
  const Row rows[] = {
      {Qt::Key_A, Qt::ControlModifier, ui::EditingKey::SelectAll},
      {Qt::Key_Z, Qt::ControlModifier, ui::EditingKey::Undo},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, ui::EditingKey::Redo},
      {Qt::Key_Y, Qt::ControlModifier, ui::EditingKey::Redo},
      {Qt::Key_X, Qt::ControlModifier, ui::EditingKey::Cut},
      {Qt::Key_C, Qt::ControlModifier, ui::EditingKey::Copy},
      {Qt::Key_V, Qt::ControlModifier, ui::EditingKey::Paste},
      {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, ui::EditingKey::None},
      {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, ui::EditingKey::None},
      {Qt::Key_Z, Qt::NoModifier, ui::EditingKey::None},
      {Qt::Key_S, Qt::ControlModifier, ui::EditingKey::None},
  };
  for (const Row& row : rows) {
    QKeyEvent key(QEvent::KeyPress, row.key, row.modifiers);
    EXPECT_EQ(ui::editingKeyOf(key), row.expected) << row.key << " " << row.modifiers;
  }
}

}  // namespace
}  // namespace qm::test
