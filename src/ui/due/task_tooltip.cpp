#include "ui/due/task_tooltip.h"

#include <QStringList>

#include "model/task_dates.h"
#include "model/ttree.h"
#include "ui/due/row_annotation.h"

namespace qm::ui {
namespace {

constexpr qsizetype kNoteLines = 10;
constexpr qsizetype kNoteChars = 500;

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The note's beginning, with an ellipsis when some of it was left out.
QString noteStart(const QString& note) {
  QStringList lines = note.trimmed().split(u'\n');
  QString start = lines.mid(0, kNoteLines).join(u'\n');
  const bool cut = lines.size() > kNoteLines || start.size() > kNoteChars;
  start.truncate(kNoteChars);
  return cut ? start + QChar(0x2026) : start;
}

}  // namespace

QString taskToolTip(const TreeNode& task, bool titleCut) {
  QStringList lines;
  if (titleCut) lines << fromUtf8(task.text());
  if (std::optional<int64_t> start = startDayOf(task))
    lines << QStringLiteral("Start: ") + RowAnnotation::dayText(*start);
  if (std::optional<int64_t> end = endDayOf(task))
    lines << QStringLiteral("End: ") + RowAnnotation::dayText(*end);
  if (const Tinfo* record = task.record()) {
    if (!record->priority.empty()) lines << QStringLiteral("Priority: ") + fromUtf8(record->priority.view());
    if (!record->status.empty()) lines << QStringLiteral("Status: ") + fromUtf8(record->status.view());
    const QString note = noteStart(fromUtf8(record->note.view()).remove(u'\r'));
    if (!note.isEmpty()) lines << QString() << note;
  }
  return lines.join(u'\n');
}

QString toolTipMarkup(const QString& plainText) {
  return QStringLiteral("<p style='white-space:pre-wrap'>") + plainText.toHtmlEscaped() +
         QStringLiteral("</p>");
}

}  // namespace qm::ui
