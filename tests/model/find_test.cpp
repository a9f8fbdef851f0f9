#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/task_search.h"
#include "model/task_text_index.h"
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

// Folds a text made of whole characters and stray 0xFF bytes, the slow way.
std::u32string foldedSlowly(const std::string& text) {
  std::u32string folded;
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead == 0xFF) {
      folded += char32_t{0x1100FF};
      ++i;
      continue;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (text[i + k] & 0x3F);
    folded += foldCase(code);
    i += length;
  }
  return folded;
}

// Against the slow way, in texts long and short, where the fast scans take
// their shortcuts: runs of plain ASCII, letters whose spellings differ in
// length (the Kelvin sign, the long s), letters without an ASCII spelling.
TEST(TextMatcher, FindsWhatASlowSearchFinds) {
  const std::vector<std::string> pieces = {
      "a",    "A",      "k",      "K",      "\u212A", "s",      "S",      "\u017F", "t",    "T", " ",
      "plan", "\u00E9", "\u00C9", "\u03C3", "\u03A3", "\u03C2", "\u00DF", "\u1E9E", "\xFF", "x"};
  std::mt19937 random(7);
  auto pick = [&](size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(random);
  };
  auto textOf = [&](size_t count) {
    std::string text;
    while (count-- > 0) text += pieces[pick(0, pick(0, 3) == 0 ? pieces.size() - 1 : 11)];
    return text;
  };
  for (int round = 0; round < 20'000; ++round) {
    std::string needle = textOf(pick(1, 5));
    std::string haystack = textOf(pick(0, 40));
    std::u32string folded = foldedSlowly(needle);
    bool expected = foldedSlowly(haystack).find(folded) != std::u32string::npos;
    ASSERT_EQ(TextMatcher(needle).foundIn(haystack), expected)
        << '"' << needle << "\" in \"" << haystack << '"';
  }
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

// The copy of the texts, whole or in part, finds what the tree's walk
// finds, from every kind of start, both ways, with and without notes; texts end in characters cut
// short and start with their lost continuation bytes, and matches could run
// from one text into the next.
TEST(TaskTextIndex, FindsWhatTheWalkOfTheTreeFinds) {
  const std::vector<std::string> pieces = {"ab",     "AB", "b", "a",    "\xC3", "\xA9",
                                           "\u00E9", " ",  "",  "\xFF", "ba"};
  std::mt19937 random(11);
  auto pick = [&](size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(random);
  };
  auto textOf = [&](size_t count) {
    std::string text;
    while (count-- > 0) text += pieces[pick(0, pieces.size() - 1)];
    return text;
  };
  Ttree tree;
  std::vector<TreeNode*> tasks;
  for (int i = 0; i < 9000; ++i) {
    TreeNode* parent = tasks.empty() || pick(0, 2) == 0 ? nullptr : tasks[pick(0, tasks.size() - 1)];
    Tinfo* record = pick(0, 9) == 0 ? nullptr : tree.createRecord();
    if (record != nullptr) record->note = textOf(pick(0, 4));
    tasks.push_back(tree.appendNode(parent, textOf(pick(0, 3)), record));
  }
  // From no copy at all, through half a copy, to the whole.
  TaskTextIndex index;
  EXPECT_FALSE(index.buildSome(tree, 0));
  for (size_t copied = 0;; copied = index.taskCount()) {
    for (int round = 0; round < 100; ++round) {
      const std::string tails[] = {"", "", "", "\xC3\xA9zz", std::string("\0a", 2)};  // 0: as between texts
      TaskQuery query(textOf(pick(1, 3)) + tails[pick(0, 4)], pick(0, 1) == 1);
      const TreeNode* from = pick(0, 9) == 0 ? nullptr : tasks[pick(0, tasks.size() - 1)];
      auto direction = pick(0, 1) == 0 ? SearchDirection::Forward : SearchDirection::Backward;
      bool included = pick(0, 1) == 1;
      TreeNode* walked = findTask(tree, query, from, direction, included);
      std::optional<size_t> found = index.find(
          tree, query, from ? std::optional(tree.absoluteIndex(from)) : std::nullopt, direction, included);
      ASSERT_EQ(found.has_value(), walked != nullptr) << copied << " " << round;
      if (walked != nullptr) {
        ASSERT_EQ(*found, tree.absoluteIndex(walked)) << copied << " " << round;
      }
    }
    if (index.buildSome(tree, 4500) && copied == tree.nodeCount()) break;
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
