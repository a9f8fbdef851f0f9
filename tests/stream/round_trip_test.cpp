#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/done_tally.h"
#include "model/task_dates.h"
#include "model/tinfo.h"
#include "stream/encoding/text_codec.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using test::describe;

const char* const kTexts[] = {"",
                              "plain",
                              "line one\r\nline two",
                              "caf\xC3\xA9",
                              "\xC3\xA9",
                              "\xE4\xB8\xAD\xE6\x96\x87\xE7\xAC\x94\xE8\xAE\xB0",
                              "mixed \xE4\xB8\xAD and \xF0\x9F\x98\x80 emoji",
                              "\xE2\x82\xAC 10",
                              "tab\there"};

double pickDate(std::mt19937& random) {
  const double dates[] = {0,
                          46363,
                          46363.75,
                          -1.25,
                          2958465.99999,
                          std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
  return dates[random() % std::size(dates)];
}

std::string pickTitle(std::mt19937& random) {
  switch (random() % 5) {
    case 0:
      return std::string(300, 't');  // cut to 255
    case 1: {
      std::string accents;
      for (int i = 0; i < 140; ++i) accents += "\xC3\xA9";  // cut to 254 bytes
      return accents;
    }
    default:
      return kTexts[random() % std::size(kTexts)];
  }
}

// A random tree: each new task goes under a random earlier one or the top.
void fill(Ttree& tree, size_t count, unsigned seed, double topLevelShare) {
  std::mt19937 random(seed);
  std::vector<TreeNode*> nodes;
  for (size_t i = 0; i < count; ++i) {
    Tinfo* r = tree.createRecord();
    r->note = kTexts[random() % std::size(kTexts)];
    r->taskstart = pickDate(random);
    r->taskend = pickDate(random);
    r->priority = std::to_string(random() % 5);
    r->status = kTexts[random() % std::size(kTexts)];
    r->icon = random() % 2 ? 12 : 0;
    r->setTag(random() % 7 == 0 ? -70000 : 0);
    bool top = nodes.empty() || std::uniform_real_distribution<>(0, 1)(random) < topLevelShare;
    TreeNode* node = tree.appendNode(top ? nullptr : nodes[random() % nodes.size()], pickTitle(random), r);
    tree.setImageIndex(node, r->icon);
    nodes.push_back(node);
  }
}

// Titles over 255 bytes are saved cut at a whole character.
void cutTitles(Ttree& tree) {
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n))
    tree.setText(n, cutAtCharacter(n->text(), 255));
}

void expectRoundTrip(Ttree& tree) {
  std::string bytes = saveTaskListToBytes(tree);
  Ttree back;
  loadTaskListFromBytes(bytes, back);
  cutTitles(tree);
  EXPECT_EQ(describe(back), describe(tree));
  EXPECT_EQ(back.settings(), tree.settings());
  EXPECT_EQ(saveTaskListToBytes(back).size(), bytes.size());
}

TEST(RoundTrip, GeneratedListsOfEveryShape) {
  struct Shape {
    size_t count;
    double topLevelShare;
  };
  const Shape shapes[] = {{0, 0}, {1, 1}, {300, 0.0}, {300, 0.05}, {2000, 1.0}, {500, 0.3}};
  unsigned seed = 1;
  for (const Shape& shape : shapes) {
    Ttree tree;
    tree.setSettings(TreeSettings::mainWindowInitial());
    fill(tree, shape.count, seed++, shape.topLevelShare);
    SCOPED_TRACE(shape.count);
    expectRoundTrip(tree);
  }
}

TEST(RoundTrip, SavingIntoAUsedBufferGivesTheSameBytes) {
  Ttree tree;
  tree.setSettings(TreeSettings::mainWindowInitial());
  fill(tree, 200, 7, 0.3);
  const std::string fresh = saveTaskListToBytes(tree);
  std::string buffer(size_t{1} << 20, 'x');  // larger, and full of other bytes
  const char* memory = buffer.data();
  saveTaskListToBytes(tree, buffer);
  EXPECT_EQ(buffer, fresh);
  EXPECT_EQ(buffer.data(), memory);  // its memory was reused
  std::string small = "old";
  saveTaskListToBytes(tree, small);
  EXPECT_EQ(small, fresh);
}

TEST(RoundTrip, ADeepChain) {
  Ttree tree;
  TreeNode* parent = nullptr;
  Ttree::BulkUpdate bulk(tree);
  for (int i = 0; i < 10000; ++i) {
    Tinfo* r = tree.createRecord();
    r->note = "note " + std::to_string(i);
    parent = tree.appendNode(parent, "level " + std::to_string(i), r);
  }
  Ttree back;
  loadTaskListFromBytes(saveTaskListToBytes(tree), back);
  ASSERT_EQ(back.nodeCount(), tree.nodeCount());
  const TreeNode* a = tree.firstNode();
  const TreeNode* b = back.firstNode();
  for (; a != nullptr && b != nullptr; a = tree.nextInPreorder(a), b = back.nextInPreorder(b)) {
    ASSERT_EQ(a->text(), b->text());
    ASSERT_EQ(a->childCount(), b->childCount());
    ASSERT_NE(b->record(), nullptr);
    ASSERT_EQ(a->record()->note, b->record()->note);
  }
  EXPECT_EQ(a, b);
}

TEST(RoundTrip, TreeSettingsInEveryForm) {
  Ttree tree;
  TreeSettings s = TreeSettings::mainWindowInitial();
  s.left = -40000;
  s.top = 70000;
  s.width = 32767;
  s.height = -129;
  s.borderStyle = BorderStyle::bsNone;
  s.color = clYellow;
  s.indent = 0;
  s.tabOrder = -1;
  s.test1 = "set \xE2\x82\xAC";
  s.align = Align::alCustom;
  tree.setSettings(s);
  tree.setTag(5);
  expectRoundTrip(tree);

  s = TreeSettings::classDefaults();
  s.color = 0x123456;
  tree.setSettings(s);
  expectRoundTrip(tree);
}

TEST(RoundTrip, ThroughFilesOnDisk) {
  std::string path = ::testing::TempDir() + "round_trip.jjp";
  Ttree tree;
  tree.setSettings(TreeSettings::mainWindowInitial());
  fill(tree, 400, 99, 0.2);
  SaveTaskList(path, tree);
  Ttree back;
  LoadTaskList(path, back);
  cutTitles(tree);
  EXPECT_EQ(describe(back), describe(tree));
  std::remove(path.c_str());
}

// Each task's done descendants as stored, and as counted the slow way.
std::vector<size_t> storedDoneCounts(const Ttree& tree) {
  std::vector<size_t> counts;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n))
    counts.push_back(n->doneDescendants());
  return counts;
}

std::vector<size_t> slowDoneCounts(const Ttree& tree) {
  std::vector<size_t> counts;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) {
    size_t done = 0;
    for (TreeNode* d = tree.nextInPreorder(n); d != nullptr && tree.isInSubtree(d, n);
         d = tree.nextInPreorder(d))
      done += isDone(*d) ? 1 : 0;
    counts.push_back(done);
  }
  return counts;
}

// A list read back has its done counts made by the read; one built in
// memory is counted a slice at a time, to the same counts.
TEST(RoundTrip, DoneCountsComeWithTheRead) {
  for (double topLevelShare : {0.0, 0.05, 1.0}) {
    SCOPED_TRACE(topLevelShare);
    Ttree built;
    fill(built, 400, 11, topLevelShare);
    size_t i = 0;
    for (TreeNode* n = built.firstNode(); n != nullptr; n = built.nextInPreorder(n), ++i)
      if (i % 5 == 0) n->record()->status = std::string(kCompleteStatus);  // done by the status alone
    Ttree read;
    loadTaskListFromBytes(saveTaskListToBytes(built), read);
    DoneTally readTally, builtTally;
    readTally.follow(&read);
    EXPECT_TRUE(readTally.isCounted());
    EXPECT_EQ(storedDoneCounts(read), slowDoneCounts(read));
    builtTally.follow(&built);
    EXPECT_FALSE(builtTally.isCounted());
    while (!builtTally.recountSome(7)) {
    }
    EXPECT_EQ(storedDoneCounts(built), slowDoneCounts(built));
    EXPECT_EQ(storedDoneCounts(built), storedDoneCounts(read));
    readTally.follow(nullptr);
    TreeNode* first = read.firstNode();
    read.setImageIndex(first, first->imageIndex() == kTickedBoxImage ? 0 : kTickedBoxImage);  // unseen
    readTally.follow(&read);
    EXPECT_FALSE(readTally.isCounted());
  }
}

}  // namespace
}  // namespace qm
