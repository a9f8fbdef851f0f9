#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/task_search.h"
#include "model/tinfo.h"

namespace qm {
namespace {

TEST(TextMatcher, IgnoresLetterCaseAcrossScriptsAndNothingElse) {
  struct Case {
    const char* text;
    const char* in;
    bool found;
  };
  const Case cases[] = {
      {"über", "ÜBER alles", true},
      {"σ", "ΣΟΦΙΑ", true},
      {"Σοφ", "σοφός", true},
      {"ς", "ΣΟΦΟΣ", true},  // final sigma, capital sigma and small sigma are one letter
      {"привет", "ПРИВЕТ", true},
      {"ЁЖ", "ёж", true},
      {"k", "5 \u212A", true},            // the Kelvin sign folds to k
      {"STRASSE", "stra\u00DFe", false},  // ß is one letter, not two
      {"\u1E9E", "\u00DF", true},         // capital sharp s is the small one's capital
      {"i", "\u0130stanbul", true},
      {"cafe", "café", false},  // accents are kept
      {"a b", "ab", false},     // and spaces
      {"Report", "the final REPORT.", true},
      {"port", "repor", false},
      {"", "anything", false},
      {"x", "", false},
      {"\xFF", "a\xFFz", true},  // a stray byte matches itself
      {"\xC3", "\xC3\xA9", false},
      {"ab", "aaaaaaaaaaaaaaaab", true},
      {"needle", "a long haystack holding a NeEdLe only after its first eight bytes", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextMatcher(c.text).foundIn(c.in), c.found) << c.text << " in " << c.in;
}

TEST(TextMatcher, FoldsEveryMappedLetterOfTheThreeScripts) {
  // Each pair of capital and small letter finds the other.
  const char32_t capitals[][2] = {{U'A', U'Z'},     {0x00C0, 0x00D6}, {0x0391, 0x03A1},
                                  {0x03A3, 0x03A9}, {0x0410, 0x042F}, {0x0400, 0x040F}};
  for (auto [first, last] : capitals)
    for (char32_t c = first; c <= last; ++c)
      EXPECT_EQ(foldCase(c), c < 0x0400 || c >= 0x0410 ? c + 32 : c + 80) << std::hex << uint32_t(c);
  EXPECT_EQ(foldCase(0x0100), 0x0101u);  // Latin Extended-A alternates capital, small
  EXPECT_EQ(foldCase(0x0101), 0x0101u);
  EXPECT_EQ(foldCase(0x1E9E), 0x00DFu);
  EXPECT_EQ(foldCase(U'1'), U'1');
  EXPECT_EQ(foldCase(0x65E5), 0x65E5u);
}

class FindTask : public ::testing::Test {
 protected:
  // A (note "alpha"), with B and C inside it, collapsed; then D, then E with F inside.
  void SetUp() override {
    a = add(nullptr, "A task", "alpha");
    b = add(a, "B task", "");
    c = add(a, "C other", "");
    d = add(nullptr, "D task", "");
    e = add(nullptr, "E other", "");
    f = add(e, "F task", "task in the note");
  }
  TreeNode* add(TreeNode* parent, const char* title, const char* note) {
    Tinfo* record = tree.createRecord();
    record->note = note;
    return tree.appendNode(parent, title, record);
  }
  TreeNode* find(const char* text, const TreeNode* from, SearchDirection direction, bool included,
                 bool notes = true) {
    return findTask(tree, TaskQuery(text, notes), from, direction, included);
  }

  Ttree tree;
  TreeNode *a, *b, *c, *d, *e, *f;
};

TEST_F(FindTask, WalksTheWholeTreeInDisplayOrderAndWraps) {
  using enum SearchDirection;
  EXPECT_EQ(find("task", b, Forward, true), b);          // the start is included when asked
  EXPECT_EQ(find("task", b, Forward, false), d);         // C does not match
  EXPECT_EQ(find("task", f, Forward, false), a);         // wraps at the end
  EXPECT_EQ(find("other", nullptr, Forward, false), c);  // inside a collapsed task
  EXPECT_EQ(find("task", d, Backward, false), b);
  EXPECT_EQ(find("task", a, Backward, false), f);  // wraps at the start
  EXPECT_EQ(find("task", nullptr, Backward, false), f);
  EXPECT_EQ(find("other", c, Forward, false), e);
  EXPECT_EQ(find("C other", c, Forward, false), c);  // the only match finds itself again
  EXPECT_EQ(find("nothing", a, Forward, true), nullptr);
  EXPECT_EQ(find("", a, Forward, true), nullptr);
}

TEST_F(FindTask, NotesMatchOnlyWhenAskedAndATaskWithoutRecordHasNone) {
  using enum SearchDirection;
  EXPECT_EQ(find("ALPHA", nullptr, Forward, true), a);
  EXPECT_EQ(find("ALPHA", nullptr, Forward, true, false), nullptr);
  EXPECT_EQ(find("note", nullptr, Forward, true), f);
  TreeNode* bare = tree.appendNode(nullptr, "bare");
  EXPECT_EQ(find("bare", f, Forward, false), bare);
  EXPECT_EQ(find("note", bare, Forward, true), f);
}

TEST_F(FindTask, CountsInSlicesAndRanksTheCurrentMatch) {
  for (size_t slice : {1u, 2u, 100u}) {
    MatchCounter counter(TaskQuery("task", true), d);
    while (!counter.countSome(tree, slice)) {
    }
    EXPECT_EQ(counter.matches(), 4u);  // A, B, D, F
    EXPECT_EQ(counter.rankOfCurrent(), 3u);
  }
  MatchCounter none(TaskQuery("other", true), d);
  none.countSome(tree, 100);
  EXPECT_EQ(none.matches(), 2u);
  EXPECT_EQ(none.rankOfCurrent(), 0u);
}

TEST_F(FindTask, ALongerTextIsFoundAmongTheMatchesOfTheShorterAsInTheTree) {
  MatchCounter counter(TaskQuery("t", true), nullptr);
  ASSERT_TRUE(counter.countSome(tree, 100));
  auto found = std::make_shared<const std::vector<FoundTask>>(counter.takeFound());
  ASSERT_EQ(found->size(), 6u);  // every task holds a "t"
  for (const char* text : {"task", "other", "B TASK", "note", "nothing"}) {
    TaskQuery query(text, true);
    for (const TreeNode* from : std::initializer_list<const TreeNode*>{nullptr, a, b, c, d, e, f})
      for (auto direction : {SearchDirection::Forward, SearchDirection::Backward})
        for (bool included : {true, false})
          EXPECT_EQ(findAmong(tree, *found, query, from, direction, included),
                    findTask(tree, query, from, direction, included))
              << text << (from != nullptr ? from->text() : "none") << int(direction) << included;
    MatchCounter among(query, f, found);
    MatchCounter whole(query, f);
    ASSERT_TRUE(among.countSome(tree, 100) && whole.countSome(tree, 100));
    EXPECT_EQ(among.matches(), whole.matches());
    EXPECT_EQ(among.rankOfCurrent(), whole.rankOfCurrent());
  }
}

TEST(PreorderCursor, StepsBothWaysOverADeepChain) {
  Ttree tree;
  TreeNode* parent = nullptr;
  std::vector<TreeNode*> chain;
  {
    Ttree::BulkUpdate bulk(tree);  // keeps the appends linear
    for (int i = 0; i < 100'000; ++i) chain.push_back(parent = tree.appendNode(parent, "x"));
  }
  PreorderCursor cursor(chain.back());
  EXPECT_EQ(cursor.depth(), chain.size());
  EXPECT_EQ(cursor.ancestorAt(0), chain.front());
  cursor.forward();
  EXPECT_EQ(cursor.node(), nullptr);
  PreorderCursor back(chain.back());
  for (size_t i = chain.size(); i-- > 0; back.backward()) ASSERT_EQ(back.node(), chain[i]);
  EXPECT_EQ(back.node(), nullptr);
}

}  // namespace
}  // namespace qm
