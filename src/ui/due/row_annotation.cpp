#include "ui/due/row_annotation.h"

#include <QDate>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionViewItem>

#include "model/task_dates.h"
#include "model/ttree.h"
#include "ui/due/day_clock.h"

namespace qm::ui {
namespace {

// Between the title and the annotation, and after the annotation.
constexpr int kGap = 12;
constexpr int kRightMargin = 4;
const QColor kOverdueRed(192, 0, 0);
const QColor kDoneGrey(128, 128, 128);

QFont fontFor(const QStyleOptionViewItem& row, RowAnnotation::Look look) {
  QFont font = row.font;
  if (look == RowAnnotation::Look::DueToday) font.setBold(true);
  return font;
}

}  // namespace

QString RowAnnotation::dayText(int64_t day) {
  return QLocale().toString(calendarDayOfDay(day), QLocale::ShortFormat);
}

RowAnnotation RowAnnotation::of(const TreeNode& task, int64_t today, bool progressKnown) {
  RowAnnotation annotation;
  if (progressKnown && task.hasChildren())
    annotation.pieces << QStringLiteral("%1/%2").arg(task.doneDescendants()).arg(task.subtreeSize() - 1);
  const Tinfo* record = task.record();
  const std::optional<int64_t> end = endDayOf(task);
  if (record != nullptr && priorityRank(record->priority) < 4)
    annotation.pieces << QStringLiteral("P") + QChar(record->priority.view()[0]);
  if (end) annotation.pieces << dayText(*end);
  if (isDone(task))
    annotation.look = Look::Done;
  else if (DueState state = dueStateOf(task, today, 0); state == DueState::Overdue)
    annotation.look = Look::Overdue;
  else if (state == DueState::DueToday)
    annotation.look = Look::DueToday;
  return annotation;
}

QString RowAnnotation::fitted(const QStyleOptionViewItem& row, int width) const {
  const QFontMetrics metrics(fontFor(row, look));
  // The date matters most, then the priority, then the progress.
  for (qsizetype first = 0; first < pieces.size(); ++first) {
    QString text = pieces.mid(first).join(u' ');
    if (metrics.horizontalAdvance(text) <= width) return text;
  }
  return {};
}

void RowAnnotation::paint(QPainter& painter, const QStyleOptionViewItem& row, int titleRight) const {
  if (pieces.isEmpty()) return;
  QRect room = row.rect;
  room.setLeft(titleRight + kGap);
  room.setRight(row.rect.right() - kRightMargin);
  const QString text = fitted(row, room.width());
  if (text.isEmpty()) return;
  painter.save();
  painter.setFont(fontFor(row, look));
  QColor color = row.palette.color(row.state.testFlag(QStyle::State_Selected) ? QPalette::HighlightedText
                                                                              : QPalette::Text);
  if (look == Look::Overdue) color = kOverdueRed;
  if (look == Look::Done) color = kDoneGrey;
  painter.setPen(color);
  painter.drawText(room, Qt::AlignRight | Qt::AlignVCenter, text);
  painter.restore();
}

}  // namespace qm::ui
