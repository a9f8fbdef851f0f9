// The outline of "qmk show" and the Markdown checklist of "qmk export".
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/formats/markdown.h"
#include "cli/formats/outline.h"
#include "cli/text_layout.h"
#include "model/tinfo.h"
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
            "- [ ] Plan the trip — P1\n"
            "\n"
            "  first line\n"
            "\n"
            "  third line\n"
            "  - [x] Call Zoë \"the agent\" — due 1899-12-29 · Complete\n"
            "    - [ ] Tab and back\\\\slash\n"
            "\n"
            "      日本語のメモ\n"
            "- [ ] No record\n"
            "- [ ]  \n");
}

// The HTML that GitHub's CommonMark renderer makes of the export.
std::string renderedByCmark(const std::string& markdown) {
  const std::string input = ::testing::TempDir() + "markdown_export_" + std::to_string(::getpid()) + ".md";
  std::ofstream(input, std::ios::binary) << markdown;
  std::string html;
  if (FILE* cmark = ::popen(("cmark-gfm -e tasklist " + input).c_str(), "r")) {
    char chunk[4096];
    while (size_t got = std::fread(chunk, 1, sizeof chunk, cmark)) html.append(chunk, got);
    EXPECT_EQ(::pclose(cmark), 0);
  }
  std::remove(input.c_str());
  return html;
}

TEST(Markdown, ARendererShowsEveryTitleAndNoteLineAsTheTextItIs) {
  if (std::system("command -v cmark-gfm >/dev/null 2>&1") != 0) GTEST_SKIP() << "cmark-gfm is not installed";
  Ttree tree;
  auto add = [&](TreeNode* parent, const char* title, const char* note) {
    Tinfo* record = tree.createRecord();
    record->note = note;
    return tree.appendNode(parent, title, record);
  };
  TreeNode* top = add(nullptr, "*bold* [a](b) <b>x</b> `c` &amp; a|b ~s~ \\",
                      "- not an item\r\n1. nor this\r\n# nor a heading");
  TreeNode* heading = add(top, "# not a heading", "    not code\n> nor a quote\n\nafter a blank line\n===");
  tree.setImageIndex(heading, 12);
  // The details after a title are text as well.
  top->record()->taskend = 46368.5;
  top->record()->priority = "1";
  top->record()->status = "In [Progress](x)";
  heading->record()->priority = "_high_ <i>";
  add(top, "1. two", "");
  add(nullptr, "+ last", "_x_ ![i](j)\\");
  // Loose items (their notes are paragraphs) carry their box before the paragraph.
  EXPECT_EQ(renderedByCmark(markdownOf(tree)),
            "<ul>\n"
            "<li><input type=\"checkbox\" disabled=\"\" /> \n"
            "<p>*bold* [a](b) &lt;b&gt;x&lt;/b&gt; `c` &amp;amp; a|b ~s~ \\ — due 2026-12-12 · P1 · In "
            "[Progress](x)</p>\n"
            "<p>- not an item<br />\n"
            "1. nor this<br />\n"
            "# nor a heading</p>\n"
            "<ul>\n"
            "<li><input type=\"checkbox\" checked=\"\" disabled=\"\" /> \n"
            "<p># not a heading — _high_ &lt;i&gt;</p>\n"
            "<p>not code<br />\n"
            "&gt; nor a quote</p>\n"
            "<p>after a blank line<br />\n"
            "===</p>\n"
            "</li>\n"
            "<li><input type=\"checkbox\" disabled=\"\" /> \n"
            "<p>1. two</p>\n"
            "</li>\n"
            "</ul>\n"
            "</li>\n"
            "<li><input type=\"checkbox\" disabled=\"\" /> \n"
            "<p>+ last</p>\n"
            "<p>_x_ ![i](j)\\</p>\n"
            "</li>\n"
            "</ul>\n");
}

}  // namespace
}  // namespace qm::cli
