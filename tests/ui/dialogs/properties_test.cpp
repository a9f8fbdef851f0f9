#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "model/ttree.h"
#include "ui/dialogs/day_picker.h"
#include "ui/dialogs/uProperties.h"

namespace qm::ui {
namespace {

constexpr double kStart = 0.9178593056;  // 22:01:43.044
constexpr double kEnd = 0.8115169444;    // 19:28:35.064

double wholeDays(const QDate& day) { return static_cast<double>(day.toJulianDay() - 2415019); }
auto fields(const Tinfo& r) {
  return std::tuple(r.note, r.taskstart, r.taskend, r.priority, r.status, r.icon);
}
void fill(Tinfo& r) {
  std::tie(r.note, r.taskstart, r.taskend, r.priority, r.status, r.icon) =
      std::tuple("old", 40000.5, 40001.25, "2", "Not Started", 3);
}

// The named control that a focused inner widget (a list's line edit) is part of.
std::string controlName(QWidget* w) {
  while (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) w = w->parentWidget();
  return w->objectName().toStdString();
}

// One open dialog, its controls found by their names.
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

  bool closedAndDeleted() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
  }
  // Types as a user does: the list has the focus, its old text selected.
  void type(QComboBox* list, const QString& text) {
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(list->lineEdit(), text);
  }

  QPointer<TfrmProperties> window;
  DayPicker *start, *end;
  QComboBox *priority, *status;
  QPlainTextEdit* notes;
  QPushButton *ok, *cancel;
};

class PropertiesDialog : public ::testing::Test {
 protected:
  TreeNode* addTask(TreeNode* parent = nullptr) {
    return tree->appendNode(parent, "t", tree->createRecord());
  }
  Dialog open(TreeNode* node) {
    tree->select(node);
    Dialog d(TfrmProperties::open(tree.get(), node));
    EXPECT_TRUE(QTest::qWaitForWindowActive(d.window));
    return d;
  }

  std::unique_ptr<Ttree> tree = std::make_unique<Ttree>();
};

TEST_F(PropertiesDialog, NewTaskShowsTodayAndOkStoresTodayAtTheFixedTimes) {
  TreeNode* task = addTask();
  task->record()->icon = 5;
  QDate today = QDate::currentDate();
  Dialog d = open(task);
  EXPECT_EQ(d.window->windowTitle(), "Note");
  EXPECT_EQ(std::tuple(d.window->pos(), d.window->size()), std::tuple(QPoint(232, 171), QSize(447, 426)));
  EXPECT_EQ(d.window->findChild<QTabWidget*>()->currentWidget()->objectName(), "tsDate");
  EXPECT_EQ(std::tuple(d.start->date(), d.end->date()), std::tuple(today, today));
  EXPECT_EQ(std::tuple(d.priority->currentText(), d.status->currentText(), d.notes->toPlainText()),
            std::tuple("", "", ""));

  // Tab order: OK (focused at opening), Cancel, the tabs, then the page.
  std::vector<std::string> order;
  for (int i = 0; i < 8; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
    order.push_back(controlName(QApplication::focusWidget()));
  EXPECT_EQ(order, (std::vector<std::string>{"cmdOK", "cmdCancel", "pageControl", "DateTimePicker3",
                                             "DateTimePicker2", "cboPriority", "cboStatus", "cmdOK"}));

  QTest::keyClick(d.ok, Qt::Key_Return);  // Enter on the focused OK presses it
  EXPECT_EQ(fields(*task->record()),
            std::tuple("", wholeDays(today) + kStart, wholeDays(today) + kEnd, "", "", 5));
  EXPECT_TRUE(d.closedAndDeleted());
}

TEST_F(PropertiesDialog, TextIsStoredAsTypedAndOnlyExactCompleteSetsTheTickedBox) {
  struct Case {
    const char* typed;
    int iconBefore, iconAfter;
  };
  for (Case c : {Case{"complete", 0, 0}, Case{"Comp", 0, 0}, Case{"Complete ", 0, 0}, Case{"Complete", 0, 12},
                 Case{"In Progress", 12, 12}, Case{"", 12, 12}}) {
    TreeNode* task = addTask();
    std::tie(task->record()->status, task->record()->icon) = std::tuple("Complete", c.iconBefore);
    Dialog d = open(task);
    d.type(d.status, c.typed);
    d.type(d.priority, "7");
    d.ok->click();
    EXPECT_EQ(std::tuple(task->record()->status, task->record()->priority, task->record()->icon),
              std::tuple(c.typed, "7", c.iconAfter));
    EXPECT_EQ(task->imageIndex(), 0) << "the view takes the picture at its next click";
  }
}

TEST_F(PropertiesDialog, DatesShowTheirDayAndAreStoredAtTheFixedTimes) {
  struct Case {
    double taskstart, taskend;
    QDate start, end;
  };
  QDate today = QDate::currentDate();
  for (Case c : {Case{46000.1, 0, {2025, 12, 9}, {1899, 12, 30}},  // an unset end shows day 0
                 Case{-1.25, -36522.75, {1899, 12, 29}, {1800, 1, 1}},
                 Case{-657434.5, 2958465.9, {100, 1, 1}, {9999, 12, 31}},
                 Case{std::numeric_limits<double>::quiet_NaN(), 1e300, today, today}}) {
    TreeNode* task = addTask();
    std::tie(task->record()->taskstart, task->record()->taskend) = std::tuple(c.taskstart, c.taskend);
    Dialog d = open(task);
    EXPECT_EQ(std::tuple(d.start->date(), d.end->date()), std::tuple(c.start, c.end));
    d.ok->click();
    double start = wholeDays(c.start), end = wholeDays(c.end);
    EXPECT_EQ(task->record()->taskstart, start < 0 ? start - kStart : start + kStart);
    EXPECT_EQ(task->record()->taskend, end < 0 ? end - kEnd : end + kEnd);
  }
}

TEST_F(PropertiesDialog, NotesKeepTheirLinesAndCharacters) {
  TreeNode* task = addTask();
  task->record()->note = "first\r\nsecond\xC2\xA0\xC3\xA9\r\n";
  Dialog d = open(task);
  EXPECT_EQ(d.notes->blockCount(), 3);
  d.ok->click();
  EXPECT_EQ(task->record()->note, "first\r\nsecond\xC2\xA0\xC3\xA9\r\n");

  Dialog blank(TfrmProperties::open(tree.get(), nullptr));
  EXPECT_EQ(blank.notes->toPlainText(), "\n ");
  blank.ok->click();
  EXPECT_TRUE(blank.closedAndDeleted());
}

// Whether the note's last character is in sight in the box.
bool endInSight(QPlainTextEdit* box) {
  QTextCursor end(box->document());
  end.movePosition(QTextCursor::End);
  return box->viewport()->rect().contains(box->cursorRect(end));
}

TEST_F(PropertiesDialog, TheNotesBoxEndsInsideItsPageAndALongNoteCanBeReadToItsEnd) {
  std::string longNote;
  while (longNote.size() < 2000) longNote += "a word of the note ";
  for (const std::string& note : {std::string("short"), longNote}) {
    SCOPED_TRACE(note.size());
    TreeNode* task = addTask();
    task->record()->note = note + "END";
    Dialog d = open(task);
    d.window->findChild<QTabWidget*>()->setCurrentIndex(1);
    QWidget* page = d.notes->parentWidget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.notes->isVisible(); }));
    EXPECT_EQ(d.notes->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(d.notes->width(), 417);
    EXPECT_LE(d.notes->geometry().bottom(), page->rect().bottom());
    QScrollBar* bar = d.notes->verticalScrollBar();
    const bool overflows = note.size() > 100;
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->isVisible() == overflows; }));  // laid out when shown

    // Ctrl+End, then back to the top and down by the wheel.
    d.notes->setFocus();
    QTest::keyClick(d.notes, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(endInSight(d.notes));
    QTest::keyClick(d.notes, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
    for (int turn = 0; turn < 100 && bar->value() < bar->maximum(); ++turn) {
      const QPoint at = d.notes->viewport()->rect().center();
      QWheelEvent wheel(at, d.notes->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(d.notes->viewport(), &wheel);
    }
    EXPECT_TRUE(endInSight(d.notes));
    d.cancel->click();
  }
}

TEST_F(PropertiesDialog, CancelEscapeTheCloseBoxAndEnterInAListWriteNothing) {
  enum Way { CancelButton, Escape, CloseBox, EnterInAList };
  for (Way way : {CancelButton, Escape, CloseBox, EnterInAList}) {
    TreeNode* task = addTask();
    fill(*task->record());
    Dialog d = open(task);
    d.notes->setPlainText("changed");
    d.start->setDate({2030, 1, 1});
    d.type(d.status, "Complete");
    if (way == CancelButton) d.cancel->click();
    if (way == Escape) QTest::keyClick(d.window, Qt::Key_Escape);
    if (way == CloseBox) d.window->close();
    if (way == EnterInAList) QTest::keyClick(d.status->lineEdit(), Qt::Key_Return);  // Cancel is the default
    EXPECT_TRUE(d.closedAndDeleted()) << way;
    Tinfo before;
    fill(before);
    EXPECT_EQ(fields(*task->record()), fields(before)) << way;
  }
}

TEST_F(PropertiesDialog, EachDialogWritesTheTaskItWasOpenedForWhateverIsSelected) {
  TreeNode* a = addTask();
  TreeNode* b = addTask();
  TreeNode* c = addTask();
  fill(*c->record());
  Dialog forA = open(a);
  Dialog forB = open(b);
  forA.type(forA.priority, "1");
  forB.type(forB.priority, "2");
  tree->select(c);
  forB.ok->click();
  tree->moveNode(a, b);  // a moved task is still the same task
  forA.ok->click();
  EXPECT_EQ(std::tuple(a->record()->priority, b->record()->priority, c->record()->priority),
            std::tuple("1", "2", "2"));
  Tinfo untouched;
  fill(untouched);
  EXPECT_EQ(fields(*c->record()), fields(untouched));
}

TEST_F(PropertiesDialog, OkWritesNothingOnceTheTaskHasLeftItsTree) {
  enum Change { TaskDeleted, ParentDeleted, RecordReplaced, TreeCleared, TreeDestroyed };
  for (Change change : {TaskDeleted, ParentDeleted, RecordReplaced, TreeCleared, TreeDestroyed}) {
    tree = std::make_unique<Ttree>();
    TreeNode* parent = addTask();
    TreeNode* task = addTask(parent);
    Tinfo* original = task->record();
    TreeNode* other = addTask();
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
    EXPECT_TRUE(d.closedAndDeleted()) << change;
    if (change == RecordReplaced) {
      EXPECT_EQ(std::tuple(original->priority, task->record()->priority), std::tuple("", ""));
    }
    if (change == TaskDeleted || change == RecordReplaced) {
      EXPECT_EQ(other->record()->priority, "") << change;
    }
  }
}

}  // namespace
}  // namespace qm::ui
