// The keys go to the main window again once a modal box or dialog closes:
// the real boxes and dialogs, closed by a key as the user would.
#include <QTimer>

#include "main_window_fixture.h"
#include "ui/dialogs/uAboutBox.h"

namespace qm::test {
namespace {

class FocusAfterDialogs : public MainWindowTest {
 protected:
  // Runs `command`, closing the first modal box or dialog it shows with `key`.
  static void runClosingModalWith(Qt::Key key, const std::function<void()>& command) {
    QTimer closer;
    closer.setInterval(10);
    bool closed = false;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        closer.stop();
        closed = true;
        QTest::keyClick(modal, key);
      }
    });
    closer.start();
    command();
    EXPECT_TRUE(closed) << "no modal box or dialog was shown";
  }
};

TEST_F(FocusAfterDialogs, TheMainWindowIsActiveAgainWithTheTreeFocused) {
  createTree();
  ui::TAboutBox about(window.get());
  window->setAboutBox(&about);
  showActive();
  platform::setDesktop(nullptr);  // Qt's own boxes and dialogs from here on

  struct Case {
    const char* what;
    QAction* item;
    Qt::Key closingKey;
  };
  const Case cases[] = {
      {"the \"Confirm\" box of Properties with nothing selected", window->mnuProperties, Qt::Key_Return},
      {"the about box", window->About1, Qt::Key_Escape},
      {"the save prompt of New", window->mnuNew, Qt::Key_Escape},
      {"the save dialog", window->SaveAs1, Qt::Key_Escape},
      {"the open dialog", window->mnuOpen, Qt::Key_Escape},
  };
  for (const Case& c : cases) {
    tree().select(nullptr);
    window->setTag(0);  // Open asks nothing first
    view().setFocus();
    runClosingModalWith(c.closingKey, [&] { c.item->trigger(); });
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get())) << c.what;
    EXPECT_EQ(QApplication::focusWidget(), &view()) << c.what;
  }
}

}  // namespace
}  // namespace qm::test
