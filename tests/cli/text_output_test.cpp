// The outline of "qmk show" and the Markdown checklist of "qmk export".
#include <gtest/gtest.h>

#include <sstream>

#include "cli/markdown.h"
#include "cli/outline.h"
#include "cli/text_layout.h"
#include "sample_lists.h"

namespace qm::cli {
namespace {

std::string outlineOf(const Ttree& tree) {
  std::ostringstream out;
  writeOutline(tree, out);
  return out.str();
}

std::string markdownOf(const Ttree& tree) {
  std::ostringstream out;
  writeMarkdown(tree, out);
  return out.str();
}

TEST(Outline, IndentsTicksAndAddsWhatIsSet) {
  auto tree = testing::makeSampleList();
  EXPECT_EQ(outlineOf(*tree),
            "[ ] Plan the trip (priority 1)\n"
            "  [x] Call Zoë \"the agent\" (status Complete, start 2026-12-07, end 1899-12-29)\n"
            "    [ ] Tab and back\\slash (start nan, end -inf)\n"
            "[ ] No record\n"
            "[ ]  \n");
}

TEST(Outline, KeepsEachTaskOnOneLine) {
  Ttree tree;
  tree.appendNode(nullptr, "two\r\nlines\rand\nmore");
  EXPECT_EQ(outlineOf(tree), "[ ] two lines and more\n");
}

TEST(Outline, IndentationStopsGrowingOnVeryDeepLists) {
  auto chain = testing::makeChain(kMaxIndentLevels + 3);
  std::istringstream lines(outlineOf(*chain));
  std::string line, last;
  while (std::getline(lines, line)) last = line;
  EXPECT_EQ(last, std::string(2 * kMaxIndentLevels, ' ') + "[ ] " + std::to_string(kMaxIndentLevels + 2));
}

TEST(Markdown, NestedChecklistWithNotesBelowTheirTask) {
  auto tree = testing::makeSampleList();
  tree->nodeAt(0)->record()->note = "first line\r\n\r\nthird line\n";
  EXPECT_EQ(markdownOf(*tree),
            "- [ ] Plan the trip\n"
            "  first line\n"
            "\n"
            "  third line\n"
            "  - [x] Call Zoë \"the agent\"\n"
            "    - [ ] Tab and back\\slash\n"
            "      日本語のメモ\n"
            "- [ ] No record\n"
            "- [ ]  \n");
}

}  // namespace
}  // namespace qm::cli
