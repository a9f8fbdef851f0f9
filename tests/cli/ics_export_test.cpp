// The pieces of the iCalendar export that its parsers forgive: the exact
// escapes and folds, and UIDs that survive an export and change with a
// rename or a move.
#include "cli/formats/ics_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/formats/ics_lines.h"

namespace qm::cli {
namespace {

TEST(IcsLines, EscapesTextAndFoldsBetweenCharacters) {
  EXPECT_EQ(icsText("a,b;c\\d"), "a\\,b\\;c\\\\d");
  EXPECT_EQ(icsText("x\r\ny\rz\n"), "x\\ny\\nz\\n");
  EXPECT_EQ(icsText("tab\tbell\a\x7F"), "tab\tbell  ");
  EXPECT_EQ(icsText("bad \xFF byte"), "bad \xEF\xBF\xBD byte");

  const std::string a74(74, 'a');
  const struct {
    std::string line;
    std::string written;
  } folds[] = {
      {std::string(75, 'a'), std::string(75, 'a') + "\r\n"},
      {std::string(76, 'a'), std::string(75, 'a') + "\r\n a\r\n"},
      {a74 + "é", a74 + "\r\n é\r\n"},      // a two-byte character stays whole
      {a74 + "\\,", a74 + "\r\n \\,\r\n"},  // and so does an escape
      {a74 + "a" + std::string(74, 'b') + "c", a74 + "a\r\n " + std::string(74, 'b') + "\r\n c\r\n"},
  };
  for (const auto& fold : folds) {
    std::ostringstream out;
    writeContentLine(out, fold.line);
    EXPECT_EQ(out.str(), fold.written);
  }
  EXPECT_EQ(icsDate(46368), "20261212");
  EXPECT_EQ(icsDate(-700000), std::nullopt);  // year -17
  EXPECT_EQ(icsUtcDateTime(-1), "19691231T235959Z");
}

std::vector<std::string> uidsOf(const Ttree& tree) {
  std::ostringstream out;
  writeICalendar(tree, 0, out);
  std::vector<std::string> uids;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("UID:")) uids.push_back(line.substr(4, line.size() - 5));
  return uids;
}

TEST(IcsExport, UidsStayAcrossExportsAndChangeWithARenameOrAMove) {
  Ttree tree;
  TreeNode* work = tree.appendNode(nullptr, "Work");
  tree.appendNode(work, "Call");
  TreeNode* secondCall = tree.appendNode(work, "Call");
  TreeNode* home = tree.appendNode(nullptr, "Home");
  tree.appendNode(home, "Call");
  const std::vector<std::string> before = uidsOf(tree);
  ASSERT_EQ(before.size(), 5u);
  EXPECT_TRUE(before[0].ends_with("@quillmark"));
  EXPECT_EQ(uidsOf(tree), before);
  for (size_t i = 0; i < before.size(); ++i)
    for (size_t j = i + 1; j < before.size(); ++j) EXPECT_NE(before[i], before[j]);

  tree.setText(home, "House");  // the task and all below it
  std::vector<std::string> renamed = uidsOf(tree);
  EXPECT_EQ(std::vector(renamed.begin(), renamed.begin() + 3),
            std::vector(before.begin(), before.begin() + 3));
  EXPECT_NE(renamed[3], before[3]);
  EXPECT_NE(renamed[4], before[4]);

  tree.moveNodeTo(secondCall, nullptr, 2);  // after House: the moved task alone
  std::vector<std::string> moved = uidsOf(tree);
  EXPECT_EQ(moved[0], before[0]);
  EXPECT_EQ(moved[1], before[1]);
  EXPECT_EQ(moved[2], renamed[3]);
  EXPECT_EQ(moved[3], renamed[4]);
  EXPECT_NE(moved[4], before[2]);
}

}  // namespace
}  // namespace qm::cli
