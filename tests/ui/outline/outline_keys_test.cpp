// The Outline keys: they reach the commands while the tree has the focus,
// act on the title editor while one is open, and never open the menu bar.
#include <QMenuBar>
#include <QUndoStack>

#include "main_window_fixture.h"

namespace qm::test {
namespace {

class OutlineKeys : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    showActive();
    createTreeWith({"A", "B"});
    view().setFocus(Qt::OtherFocusReason);
  }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = isEditing() ? static_cast<QWidget*>(editor()) : &view();
    QTest::keyClick(target, key, modifiers);
  }
  std::vector<std::string> topTitles() { return childTitles(tree().root()); }
};

TEST_F(OutlineKeys, AUserBuildsAThreeLevelPlanInOrderFromTheKeyboard) {
  tree().select(tree().root()->child(1));
  auto type = [&](const char* title) {
    ASSERT_TRUE(isEditing());
    editor()->setText(QString::fromLatin1(title));
    closeEditor(Qt::Key_Return);
  };
  press(Qt::Key_Return, Qt::ControlModifier);  // below B
  type("C");
  press(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
  type("C1");
  press(Qt::Key_Return, Qt::ControlModifier);
  type("C2");
  press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);  // the keypad's Enter
  type("D");
  press(Qt::Key_Right, Qt::AltModifier);  // under C2
  press(Qt::Key_Left, Qt::AltModifier);   // back after C2
  press(Qt::Key_Left, Qt::AltModifier);   // after C
  press(Qt::Key_Up, Qt::AltModifier);     // before C
  press(Qt::Key_Down, Qt::AltModifier);   // after it again
  press(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(childTitles(tree().root()->child(2)), (std::vector<std::string>{"C1", "C2"}));
  EXPECT_EQ(tree().selected(), tree().root()->child(3));
  EXPECT_EQ(tree().selected()->imageIndex(), 12);
  EXPECT_EQ(window->MainMenu3->activeAction(), nullptr) << "Alt with an arrow left the menu bar alone";
  EXPECT_EQ(QApplication::focusWidget(), &view());
}

TEST_F(OutlineKeys, WhileATitleIsEditedTheKeysStayWithTheEditor) {
  tree().select(tree().root()->child(1));
  ASSERT_TRUE(view().editTitle(tree().selected()));
  editor()->setText(QStringLiteral("Bx"));
  editor()->setCursorPosition(1);
  const int steps = window->undoStack()->count();
  for (auto [key, modifiers] : {std::pair{Qt::Key_Up, Qt::AltModifier},
                                {Qt::Key_Down, Qt::AltModifier},
                                {Qt::Key_Left, Qt::AltModifier},
                                {Qt::Key_Right, Qt::AltModifier},
                                {Qt::Key_Space, Qt::ControlModifier}}) {
    QTest::keyClick(editor(), key, modifiers);
    ASSERT_TRUE(isEditing()) << key;
  }
  EXPECT_EQ(editor()->text(), "Bx");
  QTest::keyClick(editor(), Qt::Key_Return, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view().isEditingTitle(); }));
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"A", "Bx"})) << "Ctrl+Enter confirmed, inserting nothing";
  EXPECT_EQ(window->undoStack()->count(), steps + 1) << "the rename alone";
  EXPECT_EQ(tree().selected(), tree().root()->child(1));
  EXPECT_EQ(tree().root()->child(1)->imageIndex(), 0);
}

}  // namespace
}  // namespace qm::test
