#include "ui/find/find_bar.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <sstream>

#include "cli/run_qmk.h"
#include "main_window_fixture.h"
#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "ui/edits/properties_command.h"

namespace qm::test {
namespace {

class FindBarTest : public MainWindowTest {
 protected:
  // Plan (collapsed, with Book hotel and Pack inside, note "passport"),
  // Übersicht, Σύνοψη, then Pack lunch.
  void SetUp() override {
    MainWindowTest::SetUp();
    createTreeWith({"Plan the trip"});
    plan = tree().firstNode();
    plan->record()->note = "Bring the passport";
    hotel = add(plan, "Book hotel");
    pack = add(plan, "Pack bags");
    tree().setExpanded(plan, false);
    overview = add(nullptr, "ÜBERSICHT");
    greek = add(nullptr, "Σύνοψη");
    lunch = add(nullptr, "Pack lunch");
    tree().select(nullptr);
    window->setTag(0);
  }

  ui::FindBar& bar() { return *window->findBar(); }
  void type(const QString& text) { typeText(bar().txtFind, text); }
  QString count() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar().isCounting(); }));
    return bar().lblFindCount->text();
  }
  bool isPaleRed() { return bar().txtFind->palette().color(QPalette::Base) == QColor(255, 204, 204); }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(bar().txtFind, key, modifiers);
  }

  TreeNode *plan, *hotel, *pack, *overview, *greek, *lunch;
};

// The menu items' places, captions and shortcuts are in the window's layout test.
TEST_F(FindBarTest, TheBarStartsHiddenWithNotesToo) {
  EXPECT_TRUE(bar().isHidden());
  EXPECT_TRUE(bar().chkNotesToo->isChecked());
  EXPECT_EQ(bar().chkNotesToo->text(), "Notes too");
  EXPECT_EQ(bar().btnFindNext->text(), "Next");
  EXPECT_EQ(bar().btnFindPrevious->text(), "Previous");
  EXPECT_EQ(bar().lblFind->text(), "Find:");
  // Between the tree and the status bar once shown.
  showActive();
  bar().open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar().geometry().top() > view().geometry().bottom(); }));
  EXPECT_LT(bar().mapTo(window.get(), QPoint(0, bar().height())).y(),
            window->StatusBar1->geometry().top() + 1);
}

TEST_F(FindBarTest, TypingFindsFromTheSelectionIgnoringCaseAcrossScripts) {
  showActive();
  QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar().isVisible());
  EXPECT_TRUE(bar().txtFind->hasFocus());
  type(QStringLiteral("über"));
  EXPECT_EQ(tree().selected(), overview);
  EXPECT_EQ(count(), "1 of 1");
  bar().txtFind->clear();
  type(QStringLiteral("σ"));
  EXPECT_EQ(tree().selected(), greek);
  bar().txtFind->clear();
  type(QStringLiteral("pack"));  // from the selected task on, wrapping
  EXPECT_EQ(tree().selected(), lunch);
  EXPECT_EQ(count(), "2 of 2");
  press(Qt::Key_Backspace);  // "pac": the selected task still matches
  EXPECT_EQ(tree().selected(), lunch);

  // The bar takes the focus with its text selected.
  view().setFocus();
  QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(bar().txtFind->hasFocus());
  EXPECT_EQ(bar().txtFind->selectedText(), "pac");
}

TEST_F(FindBarTest, SearchesCollapsedTasksWrapsGoesBackAndSaysNoMatch) {
  bar().open();
  type(QStringLiteral("pack"));
  EXPECT_EQ(tree().selected(), pack);  // inside the collapsed task, which opens
  EXPECT_TRUE(plan->expanded());
  EXPECT_TRUE(view().isExpanded(indexOf(plan)));
  EXPECT_EQ(count(), "1 of 2");
  press(Qt::Key_Return);
  EXPECT_EQ(tree().selected(), lunch);
  window->mnuFindNext->trigger();  // F3: wraps at the end
  EXPECT_EQ(tree().selected(), pack);
  press(Qt::Key_Return, Qt::ShiftModifier);  // back, wrapping at the start
  EXPECT_EQ(tree().selected(), lunch);
  bar().btnFindPrevious->click();
  EXPECT_EQ(tree().selected(), pack);
  window->mnuFindPrevious->trigger();
  EXPECT_EQ(tree().selected(), lunch);
  EXPECT_EQ(count(), "2 of 2");
  EXPECT_FALSE(isPaleRed());

  type(QStringLiteral("x"));            // "packx"
  EXPECT_EQ(tree().selected(), lunch);  // stays where it was
  EXPECT_TRUE(isPaleRed());
  EXPECT_EQ(bar().lblFindCount->text(), "No match");
  press(Qt::Key_Backspace);
  EXPECT_FALSE(isPaleRed());
  bar().txtFind->clear();
  type(QStringLiteral("zzz"));
  EXPECT_TRUE(isPaleRed());
  // A title that now holds the text is found, although the shorter text
  // found nothing before.
  tree().setText(hotel, "Book zzzz");
  type(QStringLiteral("z"));
  EXPECT_EQ(tree().selected(), hotel);
  EXPECT_EQ(window->Tag(), 0);
}

TEST_F(FindBarTest, AfterAChangeTheTreeIsSearchedAgainNotTheLastMatches) {
  // So that the matches are few enough to be searched among.
  for (int i = 0; i < 6; ++i) add(nullptr, "filler");
  bar().open();
  type(QStringLiteral("pack"));
  EXPECT_EQ(count(), "1 of 2");
  tree().setText(overview, "Pack it");
  press(Qt::Key_Return);
  EXPECT_EQ(tree().selected(), overview);
  EXPECT_EQ(count(), "2 of 3");
}

TEST_F(FindBarTest, NotesTooSwitchesNotesOffAndOn) {
  bar().open();
  type(QStringLiteral("PASSPORT"));
  EXPECT_EQ(tree().selected(), plan);
  tree().select(lunch);
  bar().chkNotesToo->setChecked(false);
  EXPECT_EQ(bar().lblFindCount->text(), "No match");
  EXPECT_EQ(tree().selected(), lunch);
  bar().chkNotesToo->setChecked(true);
  EXPECT_EQ(tree().selected(), plan);
  EXPECT_EQ(count(), "1 of 1");
}

TEST_F(FindBarTest, EscapeAndCloseGiveTheFocusBackAndNothingIsModified) {
  showActive();
  view().setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return view().hasFocus(); }));
  window->setTag(0);
  for (bool byEscape : {true, false}) {
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    type(QStringLiteral("book"));
    EXPECT_EQ(tree().selected(), hotel);
    if (byEscape)
      press(Qt::Key_Escape);
    else
      bar().btnFindClose->click();
    EXPECT_TRUE(bar().isHidden());
    EXPECT_TRUE(view().hasFocus());
    EXPECT_EQ(window->Tag(), 0);
    bar().txtFind->clear();
  }
  // The focus entry rule still holds for other controls.
  auto* field = new QLineEdit(window->centralWidget());
  field->show();
  field->setFocus(Qt::TabFocusReason);
  view().setFocus(Qt::TabFocusReason);
  EXPECT_EQ(window->Tag(), 1);
}

// Searches read a copy of the texts once it is made; every step, done or
// undone, makes it again.
TEST_F(FindBarTest, TheCopyOfTheTextsFollowsEveryStep) {
  auto copied = [&] { return QTest::qWaitFor([&] { return !bar().isCopyingTexts(); }); };
  bar().open();
  ASSERT_TRUE(copied());
  type(QStringLiteral("visa"));
  EXPECT_EQ(bar().lblFindCount->text(), "No match");
  EXPECT_FALSE(bar().isCopyingTexts());  // finding is no step
  // As the properties dialog's OK writes a note.
  ui::RecordFields before = ui::RecordFields::of(*lunch->record());
  lunch->record()->note = "Get the VISA";
  window->undoStack()->push(new ui::PropertiesCommand(tree(), lunch, *lunch->record(), before));
  ASSERT_TRUE(copied());
  press(Qt::Key_Return);
  EXPECT_EQ(tree().selected(), lunch);
  window->undoStack()->undo();
  ASSERT_TRUE(copied());
  press(Qt::Key_Return);
  EXPECT_EQ(count(), "No match");
  bar().close();
  EXPECT_FALSE(bar().isCopyingTexts());
}

TEST_F(FindBarTest, QmkFindGivesTheWindowsMatches) {
  add(hotel, "Pack the charger");
  overview->record()->note = "pack a spoon";
  QTemporaryDir dir;
  std::string file = dir.filePath(QStringLiteral("list.jjp")).toStdString();
  SaveTaskList(file, tree());

  auto pathOf = [](const TreeNode* task) {
    std::string path(task->text());
    for (const TreeNode* up = task->parent(); !up->isRoot(); up = up->parent())
      path = std::string(up->text()) + " / " + path;
    return path;
  };
  for (bool notes : {true, false}) {
    bar().chkNotesToo->setChecked(notes);
    bar().txtFind->setText(QStringLiteral("PACK"));
    tree().select(nullptr);
    std::string windows;
    const TreeNode* first = nullptr;
    for (window->mnuFindNext->trigger(); tree().selected() != first; window->mnuFindNext->trigger()) {
      if (first == nullptr) first = tree().selected();
      windows += pathOf(tree().selected()) + "\n";
    }
    std::vector<std::string_view> args{"find", file, "PACK"};
    if (notes) args.push_back("--notes");
    std::ostringstream out, err;
    EXPECT_EQ(cli::runQmk(args, out, err), 0);
    EXPECT_EQ(out.str(), windows);
    EXPECT_EQ(std::count(windows.begin(), windows.end(), '\n'), notes ? 4 : 3);
  }
}

}  // namespace
}  // namespace qm::test
