// After an open no task is selected, and none may look selected: F2 and
// Properties act on the selected task, so the row drawn as current must be
// that task or none.
#include "main_window_fixture.h"
#include "ui/dialogs/uProperties.h"

namespace qm::test {
namespace {

const QString kSelectFirst = QStringLiteral("Please select an item first");

class SelectionAfterOpen : public MainWindowTest {
 protected:
  QString writeList() { return writeListFile(files.filePath(QStringLiteral("list.jjp")), {"one", "two"}); }

  void openWithTheDialog() {
    openWithDialog(writeList());
    // The dialog's closing gives the focus back to the view.
    view().clearFocus();
    view().setFocus(Qt::ActiveWindowFocusReason);
  }

  void pressCtrlP() { QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier); }
  // The properties dialogs open, closed, so that no later test meets them.
  size_t closePropertiesDialogs() {
    std::vector<ui::TfrmProperties*> dialogs;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<ui::TfrmProperties*>(w)) dialogs.push_back(dialog);
    qDeleteAll(dialogs);  // after the look: each takes its own popups with it
    return dialogs.size();
  }

  QTemporaryDir files;
};

TEST_F(SelectionAfterOpen, NothingLooksSelectedUntilATaskIsAndThenF2AndPropertiesActOnIt) {
  struct Case {
    const char* how;
    std::function<void()> arrive;
  };
  const Case cases[] = {
      {"opened from the command line",
       [&] {
         window = std::make_unique<ui::TfrmMain>(writeList());
         showActive();
       }},
      {"opened with Open and no list before",
       [&] {
         showActive();
         openWithTheDialog();
       }},
      {"opened with Open over a list",
       [&] {
         showActive();
         createTree();
         window->setTag(0);
         openWithTheDialog();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    window.reset();
    desktop.confirmations.clear();
    c.arrive();
    ASSERT_TRUE(window->tree() != nullptr && view().hasFocus());
    EXPECT_EQ(tree().selected(), nullptr);
    EXPECT_FALSE(view().currentIndex().isValid()) << "a row is drawn as current";
    QTest::keyClick(&view(), Qt::Key_F2);
    EXPECT_FALSE(isEditing());
    pressCtrlP();
    EXPECT_EQ(desktop.confirmations, QStringList{kSelectFirst});

    // The first key that moves the selection selects the first task.
    QTest::keyClick(&view(), Qt::Key_Down);
    EXPECT_EQ(tree().selected(), tree().firstNode());
    EXPECT_EQ(view().currentIndex(), indexOf(tree().firstNode()));
    QTest::keyClick(&view(), Qt::Key_F2);
    EXPECT_TRUE(isEditing());
    closeEditor(Qt::Key_Escape);
    pressCtrlP();
    EXPECT_EQ(desktop.confirmations.size(), 1) << "Properties opened a dialog for the task";
    EXPECT_EQ(closePropertiesDialogs(), 1u);
  }
}

}  // namespace
}  // namespace qm::test
