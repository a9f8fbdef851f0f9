#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "model/ttree.h"
#include "ui/day_picker.h"
#include "ui/uProperties.h"

namespace qm::ui {
namespace {

constexpr qint64 kJulianDayOfDayZero = 2415019;  // 1899-12-30

double wholeDays(const QDate& day) { return static_cast<double>(day.toJulianDay() - kJulianDayOfDayZero); }

// One dialog as the user sees it, found through the controls' names.
struct Dialog {
  explicit Dialog(TfrmProperties* d)
      : window(d),
        start(d->findChild<DayPicker*>("DateTimePicker3")),
        end(d->findChild<DayPicker*>("DateTimePicker2")),
        priority(d->findChild<QComboBox*>("cboPriority")),
        status(d->findChild<QComboBox*>("cboStatus")),
        notes(d->findChild<QPlainTextEdit*>("Memo1")),
        ok(d->findChild<QPushButton*>("cmdOK")),
        cancel(d->findChild<QPushButton*>("cmdCancel")) {}

  // True when the dialog has closed and deleted itself.
  bool gone() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
  }
  void type(QComboBox* list, const QString& text) {
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(list->lineEdit(), text);
  }

  QPointer<TfrmProperties> window;
  DayPicker* start;
  DayPicker* end;
  QComboBox* priority;
  QComboBox* status;
  QPlainTextEdit* notes;
  QPushButton* ok;
  QPushButton* cancel;
};

class PropertiesDialog : public ::testing::Test {
 protected:
  TreeNode* addTask(const char* title) { return tree->appendNode(nullptr, title, tree->createRecord()); }
  Dialog open(TreeNode* node) {
    tree->select(node);
    return Dialog(TfrmProperties::open(tree.get(), node));
  }
  static void expectSameRecord(const Tinfo& a, const Tinfo& b) {
    EXPECT_EQ(a.note, b.note);
    EXPECT_EQ(a.taskstart, b.taskstart);
    EXPECT_EQ(a.taskend, b.taskend);
    EXPECT_EQ(a.priority, b.priority);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.icon, b.icon);
  }
  static void fill(Tinfo& r) {
    r.note = "old";
    r.taskstart = 40000.5;
    r.taskend = 40001.25;
    r.priority = "2";
    r.status = "Not Started";
    r.icon = 3;
  }

  std::unique_ptr<Ttree> tree = std::make_unique<Ttree>();
};

TEST_F(PropertiesDialog, NewTaskShowsTodayAndOkStoresTodayAtTheFixedTimes) {
  TreeNode* task = addTask("a");
  task->record()->icon = 5;
  QDate today = QDate::currentDate();
  Dialog d = open(task);
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.window));

  EXPECT_EQ(d.window->windowTitle(), "Note");
  EXPECT_EQ(d.window->size(), QSize(447, 426));
  EXPECT_EQ(d.window->findChild<QTabWidget*>()->currentWidget()->objectName(), "tsDate");
  EXPECT_EQ(d.start->date(), today);
  EXPECT_EQ(d.end->date(), today);
  EXPECT_EQ(d.priority->currentText(), "");
  EXPECT_EQ(d.status->currentText(), "");
  EXPECT_EQ(d.notes->toPlainText(), "");
  EXPECT_EQ(QApplication::focusWidget(), d.ok);

  // OK has the focus, so Enter presses it.
  QTest::keyClick(d.ok, Qt::Key_Return);
  const Tinfo& r = *task->record();
  EXPECT_EQ(r.taskstart, wholeDays(today) + 0.9178593056);  // 22:01:43.044
  EXPECT_EQ(r.taskend, wholeDays(today) + 0.8115169444);    // 19:28:35.064
  EXPECT_EQ(r.note, "");
  EXPECT_EQ(r.priority, "");
  EXPECT_EQ(r.status, "");
  EXPECT_EQ(r.icon, 5);
  EXPECT_TRUE(d.gone());
}

TEST_F(PropertiesDialog, OnlyTheExactStatusCompleteSetsTheTickedBoxAndNothingClearsIt) {
  struct Case {
    const char* typed;
    int iconBefore;
    int iconAfter;
  };
  for (Case c : {Case{"complete", 0, 0}, Case{"Complete", 0, 12}, Case{"Complete ", 0, 0}, Case{"Comp", 0, 0},
                 Case{"In Progress", 12, 12}, Case{"", 12, 12}}) {
    TreeNode* task = addTask(c.typed);
    task->record()->icon = c.iconBefore;
    task->record()->status = "Complete";
    Dialog d = open(task);
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.window));
    d.type(d.status, c.typed);
    d.type(d.priority, "7");
    d.ok->click();
    EXPECT_EQ(task->record()->status, c.typed);
    EXPECT_EQ(task->record()->priority, "7");
    EXPECT_EQ(task->record()->icon, c.iconAfter) << c.typed;
    EXPECT_EQ(task->imageIndex(), 0) << "the view takes the picture at its next click";
  }
}

TEST_F(PropertiesDialog, DatesShowTheirDayAndStoreItAtTheFixedTime) {
  struct Case {
    double taskstart, taskend;
    QDate start, end;
  };
  for (Case c : {Case{46000.1, 0, {2025, 12, 9}, {1899, 12, 30}},  // an unset end shows day 0
                 Case{-1.25, -36522.75, {1899, 12, 29}, {1800, 1, 1}},
                 Case{-657434.5, 2958465.9, {100, 1, 1}, {9999, 12, 31}}}) {
    TreeNode* task = addTask("dated");
    task->record()->taskstart = c.taskstart;
    task->record()->taskend = c.taskend;
    Dialog d = open(task);
    EXPECT_EQ(d.start->date(), c.start);
    EXPECT_EQ(d.end->date(), c.end);
    d.ok->click();
    double startDays = wholeDays(c.start), endDays = wholeDays(c.end);
    EXPECT_EQ(task->record()->taskstart, startDays < 0 ? startDays - 0.9178593056 : startDays + 0.9178593056);
    EXPECT_EQ(task->record()->taskend, endDays < 0 ? endDays - 0.8115169444 : endDays + 0.8115169444);
  }
}

TEST_F(PropertiesDialog, NotesKeepTheirLineBreaksAndCharacters) {
  TreeNode* task = addTask("a");
  task->record()->note = "first\r\nsecond\xC2\xA0\xC3\xA9\r\n";
  Dialog d = open(task);
  EXPECT_EQ(d.notes->blockCount(), 3);
  d.ok->click();
  EXPECT_EQ(task->record()->note, "first\r\nsecond\xC2\xA0\xC3\xA9\r\n");

  Dialog blank(TfrmProperties::open(tree.get(), nullptr));
  EXPECT_EQ(blank.notes->toPlainText(), "\n ");
  EXPECT_EQ(blank.window->target(), nullptr);
  blank.ok->click();
  EXPECT_TRUE(blank.gone());
}

TEST_F(PropertiesDialog, CancelEscapeAndTheCloseBoxWriteNothing) {
  enum Way { CancelButton, Escape, CloseBox, EnterInAList };
  for (Way way : {CancelButton, Escape, CloseBox, EnterInAList}) {
    SCOPED_TRACE(way);
    TreeNode* task = addTask("a");
    fill(*task->record());
    Tinfo before;
    fill(before);
    Dialog d = open(task);
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.window));
    d.type(d.status, "Complete");
    d.notes->setPlainText("changed");
    d.start->setDate({2030, 1, 1});
    if (way == CancelButton) d.cancel->click();
    if (way == Escape) QTest::keyClick(d.window, Qt::Key_Escape);
    if (way == CloseBox) d.window->close();
    if (way == EnterInAList) QTest::keyClick(d.status->lineEdit(), Qt::Key_Return);  // Cancel is the default
    EXPECT_TRUE(d.gone()) << way;
    expectSameRecord(*task->record(), before);
  }
}

TEST_F(PropertiesDialog, EachDialogWritesTheTaskItWasOpenedFor) {
  TreeNode* a = addTask("a");
  TreeNode* b = addTask("b");
  TreeNode* c = addTask("c");
  fill(*c->record());
  Dialog forA = open(a);
  Dialog forB = open(b);
  forA.type(forA.priority, "1");
  forB.type(forB.priority, "2");
  tree->select(c);
  forB.ok->click();
  tree->moveNode(a, b);  // moving a task keeps it
  forA.ok->click();
  EXPECT_EQ(a->record()->priority, "1");
  EXPECT_EQ(b->record()->priority, "2");
  Tinfo untouched;
  fill(untouched);
  expectSameRecord(*c->record(), untouched);
}

TEST_F(PropertiesDialog, OkWritesNothingOnceTheTaskHasLeftItsTree) {
  enum Change { TaskDeleted, ParentDeleted, RecordReplaced, TreeCleared, TreeDestroyed };
  for (Change change : {TaskDeleted, ParentDeleted, RecordReplaced, TreeCleared, TreeDestroyed}) {
    tree = std::make_unique<Ttree>();
    TreeNode* parent = addTask("parent");
    TreeNode* task = tree->appendNode(parent, "task", tree->createRecord());
    Tinfo* original = task->record();
    TreeNode* other = addTask("other");
    Dialog d = open(task);
    d.type(d.priority, "4");
    tree->select(other);
    if (change == TaskDeleted) tree->deleteNode(task);
    if (change == ParentDeleted) tree->deleteNode(parent);
    if (change == RecordReplaced) tree->setRecord(task, tree->createRecord());
    if (change == TreeCleared) tree->ClearTasks();
    if (change == TreeDestroyed) tree.reset();
    EXPECT_EQ(d.window->target(), nullptr) << change;
    d.ok->click();
    EXPECT_TRUE(d.gone()) << change;
    if (change == RecordReplaced) {
      EXPECT_EQ(original->priority, "");
      EXPECT_EQ(task->record()->priority, "");
    }
    if (change == TaskDeleted || change == RecordReplaced) {
      EXPECT_EQ(other->record()->priority, "") << change;
    }
  }
}

}  // namespace
}  // namespace qm::ui
