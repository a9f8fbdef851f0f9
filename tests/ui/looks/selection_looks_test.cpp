#include <gtest/gtest.h>

#include <QPalette>

#include "main_window_fixture.h"
#include "ui/find/find_bar.h"
#include "ui/looks/readable_colours.h"
#include "ui/main_window/main_window_style.h"

namespace qm::test {
namespace {

using ui::contrastRatio;

TEST(ReadableColours, TheSelectionStandsOutOnEveryTreeColourWithAndWithoutTheFocus) {
  struct Row {
    const char* what;
    QColor base;
    QColor highlight;  // what the style offers
    QColor highlightedText;
  };
  const QColor styleBlue(0x30, 0x8c, 0xc6);
  const Row rows[] = {
      {"sky blue, the style's blue", ui::kSkyBlue, styleBlue, Qt::white},
      {"note mode's yellow", ui::kYellow, styleBlue, Qt::white},
      {"navy, a light highlight", QColor(0, 0, 128), QColor(0xa6, 0xca, 0xf0), Qt::black},
      {"mid grey", QColor(128, 128, 128), QColor(120, 120, 130), Qt::white},
      {"highlight the same as the tree", ui::kSkyBlue, ui::kSkyBlue, Qt::black},
      {"white, navy: kept", Qt::white, QColor(0, 0, 128), Qt::white},
  };
  EXPECT_NEAR(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);  // the usual example
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    QPalette palette;
    palette.setColor(QPalette::Base, row.base);
    palette.setColor(QPalette::Highlight, row.highlight);
    palette.setColor(QPalette::HighlightedText, row.highlightedText);
    ui::makeSelectionReadable(palette);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      const QColor highlight = palette.color(group, QPalette::Highlight);
      EXPECT_GE(contrastRatio(highlight, row.base), 3.0) << group;
      EXPECT_GE(contrastRatio(palette.color(group, QPalette::HighlightedText), highlight), 4.5) << group;
      EXPECT_TRUE(contrastRatio(row.highlight, row.base) < 3.0 ||
                  highlight == row.highlight);  // kept if fine
    }
  }
}

using SelectionLooks = MainWindowTest;

// The colour drawn at the right end of the task's row, clear of its text.
QColor drawnBehind(ui::TaskTreeView& view, const QModelIndex& index) {
  const QImage image = view.viewport()->grab().toImage();
  const QRect row = view.visualRect(index);
  return image.pixelColor(QPoint(row.right() - 2, row.center().y()) * image.devicePixelRatio());
}

TEST_F(SelectionLooks, TheTaskFindLandsOnIsPlainlySelectedWhileTheFindFieldHasTheFocus) {
  showActive();
  createTreeWith({"Plan the trip", "Pack lunch", "Book hotel"});
  TreeNode* lunch = tree().root()->child(1);
  tree().select(nullptr);
  window->findBar()->open();
  typeText(window->findBar()->txtFind, QStringLiteral("lunch"));
  ASSERT_EQ(tree().selected(), lunch);
  ASSERT_TRUE(window->findBar()->txtFind->hasFocus());
  ASSERT_FALSE(view().hasFocus());

  const QPalette& palette = view().palette();
  const QColor background = palette.color(QPalette::Inactive, QPalette::Base);
  EXPECT_EQ(background, ui::kSkyBlue);
  EXPECT_GE(contrastRatio(palette.color(QPalette::Inactive, QPalette::Highlight), background), 3.0);
  EXPECT_GE(contrastRatio(drawnBehind(view(), indexOf(lunch)), background), 3.0);
  // Another task's row shows the tree's own colour.
  EXPECT_EQ(drawnBehind(view(), indexOf(tree().firstNode())), ui::kSkyBlue);
}

}  // namespace
}  // namespace qm::test
