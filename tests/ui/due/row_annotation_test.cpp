// What a row shows after its title, at the day's boundaries, and how it
// gives way to a long title.
#include "ui/due/row_annotation.h"

#include <gtest/gtest.h>

#include <QStyleOptionViewItem>
#include <string>

#include "model/ttree.h"
#include "ui/due/task_tooltip.h"

namespace qm::ui {
namespace {

constexpr int64_t kToday = 46365;  // 2026-12-09
using Look = RowAnnotation::Look;

TEST(RowAnnotation, LooksAndPiecesAtTheDayBoundaries) {
  struct Case {
    const char* what;
    double end;
    const char* priority;
    const char* status;
    int32_t image;
    int32_t icon;
    Look look;
    QStringList pieces;
  };
  const QString today = RowAnnotation::dayText(kToday);
  const QString yesterday = RowAnnotation::dayText(kToday - 1);
  const QString tomorrow = RowAnnotation::dayText(kToday + 1);
  const Case cases[] = {
      {"no dates", 0, "", "", 0, 0, Look::Plain, {}},
      {"a priority without dates", 0, "3", "", 0, 0, Look::Plain, {"P3"}},
      {"due at the very end of today", kToday + 0.99999, "", "", 0, 0, Look::DueToday, {today}},
      {"due at the start of today", kToday, "1", "", 0, 0, Look::DueToday, {"P1", today}},
      {"due late yesterday", kToday - 1 + 0.99999, "", "", 0, 0, Look::Overdue, {yesterday}},
      {"due at the start of tomorrow", kToday + 1, "4", "", 0, 0, Look::Plain, {"P4", tomorrow}},
      {"priority outside 1 to 4", kToday + 1, "urgent", "", 0, 0, Look::Plain, {tomorrow}},
      {"done by the picture", kToday - 1, "", "", 12, 0, Look::Done, {yesterday}},
      {"done by the icon", kToday - 1, "", "", 0, 12, Look::Done, {yesterday}},
      {"done by the status", kToday - 1, "", "Complete", 0, 0, Look::Done, {yesterday}},
      {"status in other letters", kToday - 1, "", "complete", 0, 0, Look::Overdue, {yesterday}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ttree tree;
    Tinfo* record = tree.createRecord();
    record->taskend = c.end;
    record->priority = c.priority;
    record->status = c.status;
    record->icon = c.icon;
    TreeNode* task = tree.appendNode(nullptr, "task", record);
    tree.setImageIndex(task, c.image);
    const RowAnnotation annotation = RowAnnotation::of(*task, kToday);
    EXPECT_EQ(annotation.look, c.look);
    EXPECT_EQ(annotation.pieces, c.pieces);
  }
}

TEST(RowAnnotation, GivesWayPieceByPieceFromTheLeft) {
  RowAnnotation annotation;
  annotation.pieces = {QStringLiteral("12/40"), QStringLiteral("P2"), QStringLiteral("31/12/2026")};
  QStyleOptionViewItem row;
  const QFontMetrics metrics(row.font);
  auto width = [&](const char* text) { return metrics.horizontalAdvance(QString::fromLatin1(text)); };
  struct Case {
    int room;
    const char* shown;
  };
  const Case cases[] = {
      {width("12/40 P2 31/12/2026"), "12/40 P2 31/12/2026"},
      {width("12/40 P2 31/12/2026") - 1, "P2 31/12/2026"},
      {width("31/12/2026"), "31/12/2026"},
      {width("31/12/2026") - 1, ""},
      {0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(annotation.fitted(row, c.room), QString::fromLatin1(c.shown)) << c.room;
}

TEST(TaskToolTip, DatesPriorityStatusAndTheNotesStart) {
  struct Case {
    const char* what;
    bool titleCut;
    double start, end;
    const char* priority;
    const char* status;
    std::string note;
    QString expected;
  };
  const QString start = RowAnnotation::dayText(kToday - 3);
  const QString end = RowAnnotation::dayText(kToday);
  std::string twelveLines;
  for (int i = 1; i <= 12; ++i) twelveLines += "line " + std::to_string(i) + "\r\n";
  const QString tenLines = QStringLiteral(
      "line 1\nline 2\nline 3\nline 4\nline 5\nline 6\nline 7\nline 8\n"
      "line 9\nline 10\u2026");
  const Case cases[] = {
      {"nothing to tell", false, 0, 0, "", "", "", ""},
      {"a cut title alone", true, 0, 0, "", "", "", "A title"},
      {"everything", true, kToday - 3 + 0.9, kToday + 0.8, "2", "In Progress", "<b>call</b> first",
       "A title\nStart: " + start + "\nEnd: " + end +
           "\nPriority: 2\nStatus: In Progress\n\n<b>call</b> first"},
      {"a long note, by lines", false, 0, 0, "", "", twelveLines, "\n" + tenLines},
      {"a long note, by characters", false, 0, 0, "", "", std::string(600, 'x'),
       "\n" + QString(500, u'x') + QChar(0x2026)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ttree tree;
    Tinfo* record = tree.createRecord();
    record->taskstart = c.start;
    record->taskend = c.end;
    record->priority = c.priority;
    record->status = c.status;
    record->note = c.note;
    EXPECT_EQ(taskToolTip(*tree.appendNode(nullptr, "A title", record), c.titleCut), c.expected);
  }
  // Shown as text, whatever it holds.
  EXPECT_EQ(toolTipMarkup(QStringLiteral("<b>x</b>")),
            "<p style='white-space:pre-wrap'>&lt;b&gt;x&lt;/b&gt;</p>");
}

}  // namespace
}  // namespace qm::ui
