#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>

class QPainter;
class QStyleOptionViewItem;

namespace qm {
class TreeNode;
}

namespace qm::ui {

// What a task's row shows after its title: its progress ("3/7", for a task
// with sub-tasks), its priority ("P1" to "P4") and its end date in the
// locale's short format, in that order, drawn right-aligned in the room the
// title leaves. Overdue in red, due today in bold, done in grey.
struct RowAnnotation {
  enum class Look { Plain, Overdue, DueToday, Done };

  // Left to right; empty when the task shows nothing.
  QStringList pieces;
  Look look = Look::Plain;

  // The progress only once the done counts are known.
  static RowAnnotation of(const TreeNode& task, int64_t today, bool progressKnown = true);
  // The end date as the row shows it.
  static QString dayText(int64_t day);

  // Draws into `row` (the item's rectangle) right of titleRight, dropping
  // pieces from the left when they do not fit: the title keeps its room.
  void paint(QPainter& painter, const QStyleOptionViewItem& row, int titleRight) const;
  // The pieces that fit in `width` pixels, joined, as paint draws them.
  QString fitted(const QStyleOptionViewItem& row, int width) const;
};

}  // namespace qm::ui
