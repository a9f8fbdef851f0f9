#include "ui/agenda/agenda_model.h"

#include <QBrush>
#include <QFont>
#include <QPalette>
#include <QStringList>

#include "model/ttree.h"
#include "ui/due/day_clock.h"
#include "ui/due/row_annotation.h"

namespace qm::ui {
namespace {

// Each slice stays well inside a frame, with room for the edit that
// started it and the repaint.
constexpr std::chrono::milliseconds kSlice{3};
const QColor kMutedColor(120, 120, 120);
const QColor kOverdueRed(192, 0, 0);

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The titles of the task's ancestors, outermost first.
QString pathOf(const TreeNode& task) {
  QStringList titles;
  for (const TreeNode* p = task.parent(); p != nullptr && !p->isRoot(); p = p->parent())
    titles.prepend(fromUtf8(p->text()));
  return titles.join(QStringLiteral(" \u203A "));
}

}  // namespace

AgendaModel::AgendaModel(DayClock& clock, QObject* parent) : QAbstractTableModel(parent), clock_(clock) {
  sliceTimer_.setInterval(0);
  connect(&sliceTimer_, &QTimer::timeout, this, &AgendaModel::collectSome);
  connect(&clock_, &DayClock::dayChanged, this, &AgendaModel::restart);
}

AgendaModel::~AgendaModel() {
  if (tree_ != nullptr) tree_->removeObserver(this);
}

void AgendaModel::setTree(Ttree* tree) {
  if (tree == tree_) return;
  if (tree_ != nullptr) tree_->removeObserver(this);
  dropShown();
  tree_ = tree;
  if (tree_ != nullptr) tree_->addObserver(this);
  restart();
}

void AgendaModel::setActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active_)
    restart();
  else
    dropShown();
}

void AgendaModel::setDaysAhead(int days) {
  if (days == daysAhead_) return;
  daysAhead_ = days;
  restart();
}

void AgendaModel::restart() {
  collector_.reset();
  sliceTimer_.stop();
  if (!active_ || tree_ == nullptr) {
    dropShown();
    return;
  }
  collector_.emplace(clock_.today(), daysAhead_);
  sliceTimer_.start();
}

void AgendaModel::collectSome() {
  if (!collector_ || tree_ == nullptr) {
    sliceTimer_.stop();
    return;
  }
  // Showing the rows is a slice of its own, after the last of the
  // collecting.
  if (!collector_->isDone()) {
    collector_->collectSome(*tree_, kSlice);
    return;
  }
  sliceTimer_.stop();
  const size_t overdue = collector_->overdue();
  const size_t dueToday = collector_->dueToday();
  std::vector<AgendaEntry> entries = collector_->takeEntries();
  collector_.reset();
  show(std::move(entries), overdue, dueToday);
}

void AgendaModel::show(std::vector<AgendaEntry> entries, size_t overdue, size_t dueToday) {
  const QString oldTitle = title();
  beginResetModel();
  shown_ = std::move(entries);
  shownMayHoldTaken_ = false;
  overdue_ = overdue;
  dueToday_ = dueToday;
  groups_.clear();
  int row = 0;
  for (size_t i = 0; i < shown_.size();) {
    Group group{shown_[i].group, row, i, i};
    while (group.end < shown_.size() && shown_[group.end].group == group.group) ++group.end;
    row += 1 + static_cast<int>(group.end - group.begin);
    i = group.end;
    groups_.push_back(group);
  }
  rows_ = row;
  endResetModel();
  if (title() != oldTitle) Q_EMIT titleChanged(title());
}

void AgendaModel::dropShown() {
  if (shown_.empty() && groups_.empty() && overdue_ == 0 && dueToday_ == 0) return;
  show({}, 0, 0);
  shown_.shrink_to_fit();
}

void AgendaModel::takenSubtreeDestroyed(TreeNode* /*node*/) {
  if (shownMayHoldTaken_) dropShown();
}

void AgendaModel::treeDestroyed() {
  dropShown();
  collector_.reset();
  sliceTimer_.stop();
  tree_ = nullptr;
}

QString AgendaModel::title() const {
  if (overdue_ == 0 && dueToday_ == 0) return QStringLiteral("Agenda");
  return QStringLiteral("Agenda: %1 overdue, %2 today").arg(overdue_).arg(dueToday_);
}

const AgendaModel::Group* AgendaModel::groupOfRow(int row) const {
  const Group* found = nullptr;
  for (const Group& g : groups_)
    if (g.firstRow <= row) found = &g;
  return found;
}

bool AgendaModel::isHeading(int row) const {
  const Group* group = groupOfRow(row);
  return group != nullptr && group->firstRow == row;
}

QList<int> AgendaModel::headingRows() const {
  QList<int> rows;
  for (const Group& g : groups_) rows << g.firstRow;
  return rows;
}

const AgendaEntry* AgendaModel::entryAt(int row) const {
  const Group* group = groupOfRow(row);
  if (group == nullptr || row == group->firstRow) return nullptr;
  const size_t at = group->begin + static_cast<size_t>(row - group->firstRow - 1);
  return at < group->end ? &shown_[at] : nullptr;
}

TreeNode* AgendaModel::taskAt(int row) const {
  const AgendaEntry* entry = entryAt(row);
  if (entry == nullptr || tree_ == nullptr) return nullptr;
  // A task taken out since the rows were collected is still shown until
  // they are collected again, but cannot be gone to.
  auto* task = const_cast<TreeNode*>(entry->task);
  return tree_->isInSubtree(task, tree_->root()) ? task : nullptr;
}

int AgendaModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int AgendaModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant AgendaModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (const AgendaEntry* entry = entryAt(index.row())) return entryData(*entry, index.column(), role);
  const Group* group = groupOfRow(index.row());
  if (group == nullptr) return {};
  if (role == HeadingRole) return true;
  if (role == Qt::DisplayRole && index.column() == DateColumn) {
    const std::string_view name = agendaGroupName(group->group);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  }
  if (role == Qt::FontRole) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  return {};
}

QVariant AgendaModel::entryData(const AgendaEntry& entry, int column, int role) const {
  const TreeNode& task = *entry.task;
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case DateColumn:
          return RowAnnotation::dayText(entry.endDay);
        case PriorityColumn:
          return task.record() != nullptr ? fromUtf8(task.record()->priority.view()) : QString();
        case TaskColumn:
          return fromUtf8(task.text());
        case PathColumn:
          return pathOf(task);
        default:
          return {};
      }
    case Qt::ForegroundRole:
      if (column == PathColumn) return QBrush(kMutedColor);
      if (column == DateColumn && entry.group == AgendaGroup::Overdue) return QBrush(kOverdueRed);
      return {};
    case TaskRole:
      return QVariant::fromValue(static_cast<void*>(const_cast<TreeNode*>(&task)));
    default:
      return {};
  }
}

QVariant AgendaModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kNames[ColumnCount] = {"Date", "Priority", "Task", "In"};
  return section >= 0 && section < ColumnCount ? QString::fromLatin1(kNames[section]) : QVariant();
}

Qt::ItemFlags AgendaModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return isHeading(index.row()) ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace qm::ui
