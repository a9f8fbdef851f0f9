// What is due: the marks after each task's title, the Tools menu's Agenda
// item and its dock, and the daily reminder.
#include <QApplication>
#include <QMenu>
#include <QSpinBox>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

#include "model/ttree.h"
#include "ui/agenda/agenda_dock.h"
#include "ui/agenda/agenda_model.h"
#include "ui/due/day_clock.h"
#include "ui/due/row_annotation.h"
#include "ui/due/task_tooltip.h"
#include "ui/edits/command.h"
#include "ui/main_window/uMain.h"
#include "ui/reminder/due_reminder.h"
#include "ui/tree/task_title_delegate.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

const QString kAgendaShownValue = QStringLiteral("AgendaShown");
const QString kAgendaPlaceValue = QStringLiteral("AgendaPlace");
const QString kDaysAheadValue = QStringLiteral("AgendaDaysAhead");
const QString kRemindersValue = QStringLiteral("Reminders");

struct Place {
  const char* name;
  Qt::DockWidgetArea area;
};
// "Floating" keeps the right side as the place it goes back to.
constexpr Place kPlaces[] = {{"Right", Qt::RightDockWidgetArea},
                             {"Left", Qt::LeftDockWidgetArea},
                             {"Bottom", Qt::BottomDockWidgetArea}};
const QString kFloating = QStringLiteral("Floating");
// Tasks of the done count between two turns of the event loop: about a
// millisecond.
constexpr size_t kTallySlice = 65'536;

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

void TfrmMain::buildDueParts() {
  dayClock_ = new DayClock(this);
  agendaModel_ = new AgendaModel(*dayClock_, this);
  agendaDock_ = new AgendaDock(*agendaModel_, this);
  agendaDock_->hide();
  addDockWidget(Qt::RightDockWidgetArea, agendaDock_);
  reminder_ = new DueReminder(*dayClock_, *tray_, ReminderLog(), this);
  // The done counts of a list just shown are made after it is painted.
  tallyTimer_ = new QTimer(this);
  tallyTimer_->setInterval(0);
  connect(tallyTimer_, &QTimer::timeout, this, [this] {
    if (!doneTally_.recountSome(kTallySlice)) return;
    tallyTimer_->stop();
    if (treeView_ != nullptr) treeView_->viewport()->update();
  });

  N7 = ools1->addSeparator();
  N7->setObjectName(QStringLiteral("N7"));
  mnuAgenda = ools1->addAction(QStringLiteral("&Agenda"));
  mnuAgenda->setObjectName(QStringLiteral("mnuAgenda"));
  mnuAgenda->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  mnuAgenda->setCheckable(true);
  bindCommand(mnuAgenda, &TfrmMain::mnuAgendaClick);

  runCommand(this, [this] {
    const QStringList stored = readSettings({kDaysAheadValue, kAgendaPlaceValue, kAgendaShownValue});
    bool isNumber = false;
    const int days = stored[0].toInt(&isNumber);
    if (isNumber && days >= 0 && days <= AgendaDock::kMaxDaysAhead) agendaDock_->spnDaysAhead->setValue(days);
    agendaModel_->setDaysAhead(agendaDock_->spnDaysAhead->value());
    restoreAgendaPlace(stored[1]);
    showAgenda(stored[2] == flag(true));
  });
  followAgendaDock();
  wireReminder();
}

void TfrmMain::followAgendaDock() {
  // The dock's own close button, and the day and place it keeps.
  connect(agendaDock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (agendaDock_->isHidden() == !visible && mnuAgenda->isChecked() != visible) {
      mnuAgenda->setChecked(visible);
      runCommand(this, [this] { mnuAgendaClick(this); });
    }
  });
  connect(agendaDock_, &QDockWidget::dockLocationChanged, this,
          [this] { runCommand(this, [this] { rememberAgendaPlace(); }); });
  connect(agendaDock_, &QDockWidget::topLevelChanged, this,
          [this] { runCommand(this, [this] { rememberAgendaPlace(); }); });
  connect(agendaDock_->spnDaysAhead, &QSpinBox::valueChanged, this, [this](int days) {
    runCommand(this, [this, days] { writeSetting(kDaysAheadValue, QString::number(days)); });
  });
  connect(agendaDock_, &AgendaDock::goToTask, this, &TfrmMain::goToTask);
  connect(dayClock_, &DayClock::dayChanged, this, [this] {
    if (treeView_ != nullptr) treeView_->viewport()->update();
  });
}

void TfrmMain::wireReminder() {
  // Reminders are on unless switched off.
  reminder_->isEnabled = [this] {
    bool on = true;
    runCommand(this, [&] { on = remindersOn(); });
    return on;
  };
  reminder_->onMessageClicked = [this] {
    runCommand(this, [this] {
      Show1Click(this);
      mnuAgenda->setChecked(true);
      mnuAgendaClick(this);
      agendaDock_->raise();
    });
  };
}

void TfrmMain::mnuAgendaClick(QObject* /*Sender*/) {
  showAgenda(mnuAgenda->isChecked());
  writeSetting(kAgendaShownValue, flag(mnuAgenda->isChecked()));
}

void TfrmMain::showAgenda(bool shown) {
  mnuAgenda->setChecked(shown);
  agendaModel_->setActive(shown);
  agendaDock_->setVisible(shown);
  // Beside the tree it takes about half of the window, not what its table
  // would like.
  const Qt::Orientation across =
      dockWidgetArea(agendaDock_) == Qt::BottomDockWidgetArea ? Qt::Vertical : Qt::Horizontal;
  const int half = (across == Qt::Horizontal ? width() : height()) / 2;
  if (shown && !agendaDock_->isFloating()) resizeDocks({agendaDock_}, {half}, across);
}

bool TfrmMain::remindersOn() { return readSetting(kRemindersValue) != flag(false); }

void TfrmMain::setRemindersOn(bool on) { writeSetting(kRemindersValue, flag(on)); }

void TfrmMain::restoreAgendaPlace(const QString& place) {
  for (const Place& p : kPlaces)
    if (place == QLatin1String(p.name)) addDockWidget(p.area, agendaDock_);
  agendaDock_->setFloating(place == kFloating);
}

void TfrmMain::rememberAgendaPlace() {
  QString place = kFloating;
  if (!agendaDock_->isFloating())
    for (const Place& p : kPlaces)
      if (dockWidgetArea(agendaDock_) == p.area) place = QLatin1String(p.name);
  writeSetting(kAgendaPlaceValue, place);
}

// --- the tree's part

void TfrmMain::attachDueViews() {
  TaskTitleDelegate& delegate = *treeView_->titleDelegate();
  delegate.paintAfterTitle = [this](QPainter* painter, const QStyleOptionViewItem& row,
                                    const QModelIndex& index, int titleRight) {
    const TreeNode* task = treeModel_->nodeOf(index);
    // The title editor covers the row; nothing is drawn under it.
    if (task == nullptr || (treeView_->isEditingTitle() && treeView_->currentIndex() == index)) return;
    if (!doneTally_.isCounted()) tallyTimer_->start();  // a change while counting began it again
    RowAnnotation::of(*task, dayClock_->today(), doneTally_.isCounted()).paint(*painter, row, titleRight);
  };
  delegate.toolTipFor = [this](const QModelIndex& index, bool titleCut) {
    const TreeNode* task = treeModel_->nodeOf(index);
    if (task == nullptr) return QString();
    QString text = taskToolTip(*task, titleCut);
    // A title alone shows as it always has.
    if (titleCut && text == treeModel_->data(index).toString()) return QString();
    return text.isEmpty() ? text : toolTipMarkup(text);
  };
  // Going to a task from the agenda is no visit of the tree's own.
  auto entry = std::move(treeView_->events.onFocusEntry);
  treeView_->events.onFocusEntry = [this, entry] {
    if (!agendaDock_->hadFocus() && entry) entry();
  };
  // A task's change also changes its ancestors' progress, and a record's
  // (Properties OK, its undo) reaches the tree only as a step.
  QWidget* rows = treeView_->viewport();
  connect(treeModel_, &QAbstractItemModel::dataChanged, rows, [rows] { rows->update(); });
  connect(undoStack_, &QUndoStack::indexChanged, rows, [rows] { rows->update(); });
  connect(treeModel_, &TaskTreeModel::treeWasReset, this, &TfrmMain::followDueTree);
  // The dock was built before the tree: without this it would take the focus
  // that the window gives its first control.
  QWidget::setTabOrder(treeView_, agendaDock_->spnDaysAhead);
  QWidget::setTabOrder(agendaDock_->spnDaysAhead, agendaDock_->lstAgenda);
  followDueTree();
}

void TfrmMain::followDueTree() {
  doneTally_.follow(tree_.get());
  if (!doneTally_.isCounted()) tallyTimer_->start();
  agendaModel_->setTree(tree_.get());
  reminder_->follow(tree_.get(), QString(), false);
}

void TfrmMain::remindOfDueTasks(const QString& path) { reminder_->follow(tree_.get(), path, true); }

void TfrmMain::goToTask(TreeNode* task) {
  if (!tree_ || task == nullptr || !tree_->isInSubtree(task, tree_->root())) return;
  for (TreeNode* above = task->parent(); above != nullptr && !above->isRoot(); above = above->parent())
    if (!above->expanded()) tree_->setExpanded(above, true);
  tree_->select(task);
  treeView_->scrollTo(treeModel_->indexOf(task));
  activateWindow();
  treeView_->setFocus(Qt::OtherFocusReason);
}

}  // namespace qm::ui
