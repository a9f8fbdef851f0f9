#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QToolTip>

#include "main_window_fixture.h"
#include "ui/find/find_bar.h"
#include "ui/looks/elided_label.h"

namespace qm::test {
namespace {

using FittingText = MainWindowTest;

TEST_F(FittingText, APathInPanelZeroKeepsItsRootAndFileNameAndShowsWhollyAsItsTip) {
  showActive();
  auto* panel = window->StatusBar1->findChild<ui::ElidedLabel*>(QStringLiteral("StatusPanel0"));
  ASSERT_NE(panel, nullptr);
  struct Row {
    QString path;
    bool elided;
  };
  const Row rows[] = {
      {QStringLiteral("/tmp/a.jjp"), false},
      {QStringLiteral("/home/someone/Documents/plans/2026/a rather long folder name/holiday.jjp"), true},
      {QStringLiteral("c:\\Users\\someone\\Documents\\plans\\a rather long folder name\\holiday.jjp"), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    window->setPanelText(0, row.path);
    EXPECT_EQ(window->panelText(0), row.path);
    const QString shown = panel->shownText();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width());
    EXPECT_EQ(shown != row.path, row.elided);
    EXPECT_EQ(shown.front(), row.path.front());
    EXPECT_TRUE(shown.endsWith(row.path.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1)))
        << shown.toStdString();

    QHelpEvent tip(QEvent::ToolTip, panel->rect().center(), panel->mapToGlobal(panel->rect().center()));
    QCoreApplication::sendEvent(panel, &tip);
    EXPECT_EQ(QToolTip::text(), row.path);
    QToolTip::hideText();
  }
}

TEST_F(FittingText, TheFindFieldHoldsTwentyCharactersAtTheDefaultSizeAndNoControlIsSqueezed) {
  showActive();
  createTree();
  ui::FindBar& bar = *window->findBar();
  bar.open();
  bar.lblFindCount->setText(QStringLiteral("12345 of 67890"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar.txtFind->width() > bar.txtFind->minimumSizeHint().width(); }));
  QTest::qWait(0);  // the count's new width laid out

  QLineEdit* field = bar.txtFind;
  const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
  const int textWidth = field->contentsRect().width() - 2 * frame - 4;  // less the text's own margins
  EXPECT_GE(textWidth, 20 * field->fontMetrics().averageCharWidth());
  for (QWidget* control :
       std::initializer_list<QWidget*>{bar.lblFind, bar.txtFind, bar.btnFindNext, bar.btnFindPrevious,
                                       bar.chkNotesToo, bar.lblFindCount, bar.btnFindClose}) {
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_GE(control->width(), control->minimumSizeHint().width());
    EXPECT_TRUE(bar.rect().contains(control->geometry()));
  }
}

}  // namespace
}  // namespace qm::test
