// The agenda dock follows every change of the list and of the day, and
// going to one of its tasks is no edit.
#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QTableView>
#include <QUndoStack>
#include <functional>

#include "main_window_fixture.h"
#include "ui/agenda/agenda_dock.h"
#include "ui/agenda/agenda_model.h"
#include "ui/dialogs/uProperties.h"
#include "ui/due/day_clock.h"

namespace qm::test {
namespace {

constexpr int64_t kToday = 46365;  // 2026-12-09

class Agenda : public MainWindowTest {
 protected:
  // Home (Pay invoice: two days late, P1), Call bank (today), Plan trip (in
  // three days), Someday (in thirty).
  void createSample() {
    createWindow();
    window->dayClock().setSource([this] { return today; });
    createTreeWith({"Home", "Call bank", "Plan trip", "Someday"});
    TreeNode* home = tree().firstNode();
    TreeNode* pay = add(home, "Pay invoice");
    pay->record()->taskend = kToday - 2 + 0.81;
    pay->record()->priority = "1";
    tree().root()->child(1)->record()->taskend = kToday + 0.99;  // late in the day
    tree().root()->child(2)->record()->taskend = kToday + 3;
    tree().root()->child(3)->record()->taskend = kToday + 30;
    if (!window->mnuAgenda->isChecked()) window->mnuAgenda->trigger();  // shown again if it was
    settle();
  }

  ui::AgendaModel& model() { return window->agendaDock()->model(); }
  void settle() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isCollecting(); }));
  }
  TreeNode* task(const char* title) {
    for (TreeNode* n = tree().firstNode(); n != nullptr; n = tree().nextInPreorder(n))
      if (n->text() == title) return n;
    return nullptr;
  }
  // Headings in brackets, then the tasks' titles, with the dock's title.
  QString shown() {
    QStringList rows{window->agendaDock()->windowTitle()};
    for (int row = 0; row < model().rowCount(); ++row) {
      const QString text = model().index(row, model().isHeading(row) ? 0 : 2).data().toString();
      rows << (model().isHeading(row) ? u'[' + text + u']' : text);
    }
    return rows.join(u' ');
  }
  int rowOf(const char* title) {
    for (int row = 0; row < model().rowCount(); ++row)
      if (model().index(row, 2).data().toString() == QLatin1String(title)) return row;
    return -1;
  }
  void properties(const char* title, const char* status) {
    tree().select(task(title));
    ui::TfrmProperties* dialog = window->setProperties(nullptr);
    dialog->findChild<QComboBox*>("cboStatus")->setEditText(QString::fromLatin1(status));
    dialog->cmdOKClick();
  }

  int64_t today = kToday;
};

TEST_F(Agenda, FollowsEditsUndoPropertiesCompleteDaysAheadAndMidnight) {
  createSample();
  const QString start =
      "Agenda: 1 overdue, 1 today [Overdue] Pay invoice [Today] Call bank [Later] Plan trip";
  EXPECT_EQ(shown(), start);
  struct Step {
    const char* what;
    std::function<void()> act;
    QString expected;
  };
  const Step steps[] = {
      {"Complete",
       [&] {
         tree().select(task("Call bank"));
         window->Complete1->trigger();
       },
       "Agenda: 1 overdue, 0 today [Overdue] Pay invoice [Later] Plan trip"},
      {"its undo", [&] { window->mnuUndo->trigger(); }, start},
      {"Properties OK", [&] { properties("Pay invoice", "Complete"); },
       "Agenda: 0 overdue, 1 today [Today] Call bank [Later] Plan trip"},
      {"its undo", [&] { window->mnuUndo->trigger(); }, start},
      {"its redo", [&] { window->mnuRedo->trigger(); },
       "Agenda: 0 overdue, 1 today [Today] Call bank [Later] Plan trip"},
      {"a rename",
       [&] { window->treeModel()->setData(indexOf(task("Call bank")), QStringLiteral("Call the bank")); },
       "Agenda: 0 overdue, 1 today [Today] Call the bank [Later] Plan trip"},
      {"a delete",
       [&] {
         tree().select(task("Plan trip"));
         window->Delete1->trigger();
       },
       "Agenda: 0 overdue, 1 today [Today] Call the bank"},
      {"more days ahead", [&] { window->agendaDock()->spnDaysAhead->setValue(30); },
       "Agenda: 0 overdue, 1 today [Today] Call the bank [Later] Someday"},
      {"midnight",
       [&] {
         ++today;
         window->dayClock().check();
       },
       "Agenda: 1 overdue, 0 today [Overdue] Call the bank [Later] Someday"},
      {"New", [&] { window->cmdCreateTreeClick(nullptr); }, "Agenda"},
  };
  window->setTag(0);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (QString(step.what) == "New") desktop.saveAnswers.push_back(platform::SaveAnswer::No);
    step.act();
    settle();
    EXPECT_EQ(shown(), step.expected);
  }
  EXPECT_EQ(window->readSetting(QStringLiteral("AgendaDaysAhead")), "30");
  EXPECT_EQ(window->readSetting(QStringLiteral("AgendaShown")), "1");
}

TEST_F(Agenda, GoingToATaskExpandsItsAncestorsAndLeavesTheModifiedFlag) {
  const std::function<void(QTableView&, int)> ways[] = {
      [](QTableView& list, int row) {
        list.setCurrentIndex(list.model()->index(row, 0));
        QTest::keyClick(&list, Qt::Key_Return);
      },
      [](QTableView& list, int row) {
        Q_EMIT list.doubleClicked(list.model()->index(row, 0));  // as the view reports one
      },
  };
  for (const auto& go : ways) {
    SCOPED_TRACE(&go == &ways[0] ? "Enter" : "double click");
    window.reset();
    createSample();
    showActive();
    TreeNode* home = task("Home");
    tree().setExpanded(home, false);
    tree().select(task("Plan trip"));
    QTableView& list = *window->agendaDock()->lstAgenda;
    list.setFocus();
    window->setTag(0);
    go(list, rowOf("Pay invoice"));
    EXPECT_EQ(tree().selected(), task("Pay invoice"));
    EXPECT_TRUE(home->expanded());
    EXPECT_TRUE(view().hasFocus());
    EXPECT_EQ(window->Tag(), 0);
    // A later click in the tree is the tree's own, as always.
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, centreOf(task("Pay invoice")));
    EXPECT_EQ(window->Tag(), 1);
  }
}

// A window shown with the dock still gives its keys to the tree first: the
// dock comes after the tree in the focus chain.
TEST_F(Agenda, TheTreeTakesTheFocusBeforeTheDock) {
  createSample();
  showActive();
  EXPECT_EQ(QApplication::focusWidget(), &view());
  QWidget* next = view().nextInFocusChain();
  while (next != nullptr && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
  EXPECT_EQ(next, window->agendaDock()->spnDaysAhead);
}

TEST_F(Agenda, ClosedItHoldsNothingAndItsPlaceIsRemembered) {
  createSample();
  ui::AgendaDock& dock = *window->agendaDock();
  window->addDockWidget(Qt::BottomDockWidgetArea, &dock);
  window->mnuAgenda->trigger();
  EXPECT_FALSE(window->mnuAgenda->isChecked());
  EXPECT_EQ(model().rowCount(), 0);
  EXPECT_EQ(window->readSetting(QStringLiteral("AgendaShown")), "0");
  EXPECT_EQ(window->readSetting(QStringLiteral("AgendaPlace")), "Bottom");
  // A new window takes the stored days ahead and place.
  window->agendaDock()->spnDaysAhead->setValue(3);
  window.reset();
  createWindow();
  EXPECT_EQ(window->dockWidgetArea(window->agendaDock()), Qt::BottomDockWidgetArea);
  EXPECT_EQ(window->agendaDock()->spnDaysAhead->value(), 3);
  EXPECT_FALSE(window->mnuAgenda->isChecked());
}

}  // namespace
}  // namespace qm::test
