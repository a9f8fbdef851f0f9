#pragma once

#include <QAbstractTableModel>
#include <QTimer>
#include <array>
#include <optional>
#include <vector>

#include "model/task_dates.h"
#include "model/tree_observer.h"
#include "ui/agenda/agenda_collector.h"

namespace qm::ui {

class DayClock;

// The agenda as rows of a table: a heading row for each group that has
// tasks ("Overdue", "Today", "Tomorrow", "Later"), then its tasks with their
// date, priority, title and the path of their ancestors. Collected again,
// in slices, after every change of the tree and when the day changes; the
// rows shown stay until the new ones are ready. Only while active: an
// inactive agenda holds nothing.
class AgendaModel : public QAbstractTableModel, public TreeObserver {
  Q_OBJECT
 public:
  enum Column { DateColumn, PriorityColumn, TaskColumn, PathColumn, ColumnCount };
  // The task of a row (a TreeNode*), null for a heading.
  static constexpr int TaskRole = Qt::UserRole + 1;
  static constexpr int HeadingRole = Qt::UserRole + 2;

  AgendaModel(DayClock& clock, QObject* parent = nullptr);
  ~AgendaModel() override;

  void setTree(Ttree* tree);
  Ttree* tree() const { return tree_; }
  void setActive(bool active);
  void setDaysAhead(int days);
  int daysAhead() const { return daysAhead_; }
  // Still collecting after a change.
  bool isCollecting() const { return collector_.has_value(); }
  size_t overdue() const { return overdue_; }
  size_t dueToday() const { return dueToday_; }
  // "Agenda", or "Agenda: 2 overdue, 3 today".
  QString title() const;
  // The task of a row while it is still in the tree, or nullptr.
  TreeNode* taskAt(int row) const;
  bool isHeading(int row) const;
  QList<int> headingRows() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // TreeObserver: every change is collected again; the rows shown go at
  // once only when their tasks may be destroyed.
  void nodeInserted(TreeNode*) override { restart(); }
  void nodeAboutToBeRemoved(TreeNode*) override { dropShown(); }
  void nodeRemoved(TreeNode*, size_t) override { restart(); }
  void nodeMoved(TreeNode*) override { restart(); }
  void nodeAboutToBeTaken(TreeNode*) override { shownMayHoldTaken_ = true; }
  void nodeTaken(TreeNode*, size_t) override { restart(); }
  void takenSubtreeDestroyed(TreeNode*) override;
  void treeAboutToBeReset() override { dropShown(); }
  void treeReset() override { restart(); }
  void nodeChanged(TreeNode*) override { restart(); }
  void recordChanged(TreeNode*) override { restart(); }
  void treeDestroyed() override;

 Q_SIGNALS:
  // The title or the counts changed.
  void titleChanged(const QString& title);

 private:
  struct Group {
    AgendaGroup group;
    int firstRow;  // the heading's row
    size_t begin;  // its entries in shown_
    size_t end;
  };
  void restart();
  void collectSome();
  void show(std::vector<AgendaEntry> entries, size_t overdue, size_t dueToday);
  void dropShown();
  const Group* groupOfRow(int row) const;
  const AgendaEntry* entryAt(int row) const;
  QVariant entryData(const AgendaEntry& entry, int column, int role) const;

  DayClock& clock_;
  Ttree* tree_ = nullptr;
  bool active_ = false;
  int daysAhead_ = 7;
  std::optional<AgendaCollector> collector_;
  QTimer sliceTimer_;
  std::vector<AgendaEntry> shown_;
  std::vector<Group> groups_;
  int rows_ = 0;
  size_t overdue_ = 0;
  size_t dueToday_ = 0;
  // A task taken out of the tree since the rows shown were collected may be
  // among them; when such a task is destroyed, they go.
  bool shownMayHoldTaken_ = false;
};

}  // namespace qm::ui
