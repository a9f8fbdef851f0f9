#include "model/ttree.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/error.h"

namespace qm {
namespace {

// Records what a view would see, to check that every change is announced in
// about-to / done pairs with consistent positions.
class RecordingObserver : public TreeObserver {
 public:
  std::vector<std::string> events;
  void nodeAboutToBeInserted(TreeNode* parent, size_t row) override {
    events.push_back("insert? " + label(parent) + " " + std::to_string(row));
  }
  void nodeInserted(TreeNode* node) override { events.push_back("insert " + label(node)); }
  void nodeAboutToBeRemoved(TreeNode* node) override { events.push_back("remove? " + label(node)); }
  void nodeRemoved(TreeNode* parent, size_t row) override {
    events.push_back("remove " + label(parent) + " " + std::to_string(row));
  }
  void nodeAboutToBeMoved(TreeNode* node, TreeNode* parent, size_t row) override {
    events.push_back("move? " + label(node) + " " + label(parent) + " " + std::to_string(row));
  }
  void nodeMoved(TreeNode* node) override { events.push_back("move " + label(node)); }
  void treeAboutToBeReset() override { events.push_back("reset?"); }
  void treeReset() override { events.push_back("reset"); }
  void treeDestroyed() override { events.push_back("destroyed"); }
  static std::string label(TreeNode* n) { return n->isRoot() ? "<root>" : std::string(n->text()); }
};

// Builds a tree from an outline: each line's leading spaces (two per level)
// give its depth.
TreeNode* addTask(Ttree& tree, TreeNode* parent, std::string_view title) {
  return tree.appendNode(parent, title, tree.createRecord());
}

std::string outline(const Ttree& tree) {
  std::string out;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n))
    out += std::string(n->depth() * 2, ' ') + std::string(n->text()) + (n->expanded() ? "+" : "") + "\n";
  return out;
}

class TreeFixture : public ::testing::Test {
 protected:
  // A
  //   A1
  //   A2
  //     A21
  // B
  // C
  void SetUp() override {
    a = addTask(tree, nullptr, "A");
    a1 = addTask(tree, a, "A1");
    a2 = addTask(tree, a, "A2");
    a21 = addTask(tree, a2, "A21");
    b = addTask(tree, nullptr, "B");
    c = addTask(tree, nullptr, "C");
  }
  Ttree tree;
  TreeNode *a, *a1, *a2, *a21, *b, *c;
};

TEST_F(TreeFixture, AbsoluteIndexFollowsPreorderBothWays) {
  std::vector<TreeNode*> order{a, a1, a2, a21, b, c};
  ASSERT_EQ(tree.nodeCount(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(tree.absoluteIndex(order[i]), i);
    EXPECT_EQ(tree.nodeAt(i), order[i]);
  }
  EXPECT_EQ(tree.nodeAt(order.size()), nullptr);
  tree.deleteNode(a2);
  EXPECT_EQ(tree.absoluteIndex(b), 2u);
  EXPECT_EQ(tree.nodeAt(3), c);
}

TEST_F(TreeFixture, DeleteRemovesSubtreeWithItsRecordsAndClearsSelectionInside) {
  tree.select(a21);
  size_t records = tree.componentCount();
  tree.deleteNode(a);
  EXPECT_EQ(tree.nodeCount(), 2u);
  EXPECT_EQ(tree.componentCount(), records - 4);
  EXPECT_EQ(tree.selected(), nullptr);
  EXPECT_EQ(b->row(), 0u);
  EXPECT_EQ(c->row(), 1u);
  EXPECT_EQ(outline(tree), "B\nC\n");
}

TEST_F(TreeFixture, MoveMakesFirstChildAndAppliesTheCollapsingRules) {
  tree.setExpanded(a, true);
  tree.setExpanded(a2, true);
  // A2 (expanded, with a child) moves under C: A2 and its subtree collapse,
  // C expands; A keeps A1 and stays expanded.
  EXPECT_TRUE(tree.moveNode(a2, c));
  EXPECT_EQ(outline(tree), "A+\n  A1\nB\nC+\n  A2\n    A21\n");
  // A1, the only child left, moves to the top level: A loses its children
  // and is collapsed.
  EXPECT_TRUE(tree.moveNode(a1, nullptr));
  EXPECT_EQ(outline(tree), "A1\nA\nB\nC+\n  A2\n    A21\n");
  EXPECT_EQ(tree.nodeCount(), 6u);
  EXPECT_EQ(tree.absoluteIndex(a21), 5u);
}

TEST_F(TreeFixture, MoveIntoOwnSubtreeChangesNothing) {
  tree.setExpanded(a, true);
  std::string before = outline(tree);
  EXPECT_FALSE(tree.moveNode(a, a21));
  EXPECT_FALSE(tree.moveNode(a, a));
  EXPECT_EQ(outline(tree), before);
}

TEST_F(TreeFixture, MoveToOwnFirstPlaceStillCollapses) {
  tree.setExpanded(a, true);
  tree.setExpanded(a2, true);
  RecordingObserver observer;
  tree.addObserver(&observer);
  EXPECT_TRUE(tree.moveNode(a, nullptr));  // already the first top-level task
  EXPECT_EQ(outline(tree), "A\n  A1\n  A2\n    A21\nB\nC\n");
  EXPECT_TRUE(observer.events.empty()) << observer.events.front();  // no structural change announced
  tree.removeObserver(&observer);
}

TEST_F(TreeFixture, DisplayedAboveFollowsExpansion) {
  EXPECT_EQ(tree.nodeDisplayedAbove(a), nullptr);
  EXPECT_EQ(tree.nodeDisplayedAbove(a1), a);
  EXPECT_EQ(tree.nodeDisplayedAbove(b), a);  // A collapsed
  tree.setExpanded(a, true);
  EXPECT_EQ(tree.nodeDisplayedAbove(b), a2);  // A2 collapsed
  tree.setExpanded(a2, true);
  EXPECT_EQ(tree.nodeDisplayedAbove(b), a21);
}

TEST_F(TreeFixture, ObserversSeeBracketedChanges) {
  RecordingObserver observer;
  tree.addObserver(&observer);
  TreeNode* d = addTask(tree, a21, "D");
  tree.moveNode(d, b);
  tree.deleteNode(b);
  {
    Ttree::BulkUpdate bulk(tree);
    addTask(tree, nullptr, "quiet");
  }
  std::vector<std::string> expected{"insert? A21 0", "insert D",        "move? D B 0", "move D",
                                    "remove? B",     "remove <root> 1", "reset?",      "reset"};
  EXPECT_EQ(observer.events, expected);
  EXPECT_EQ(tree.nodeCount(), 6u);
  EXPECT_EQ(tree.absoluteIndex(tree.nodeAt(5)), 5u);  // sizes recomputed after the bulk update
  tree.removeObserver(&observer);
}

TEST(Ttree, DestructionTellsObservers) {
  RecordingObserver observer;
  {
    Ttree tree;
    tree.addObserver(&observer);
  }
  EXPECT_EQ(observer.events, std::vector<std::string>{"destroyed"});
}

// Rows and absolute positions are kept lazily; after every change of a
// random series they must agree with a plain walk over the children.
TEST(Ttree, PositionsStayRightThroughRandomEdits) {
  Ttree tree;
  std::mt19937 random(7);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  std::vector<TreeNode*> nodes;
  auto anyNode = [&]() -> TreeNode* { return nodes.empty() ? nullptr : tree.nodeAt(pick(nodes.size())); };
  for (int step = 0; step < 3000; ++step) {
    size_t action = pick(10);
    if (action < 5 || tree.nodeCount() < 3) {
      tree.appendNode(pick(4) == 0 ? nullptr : anyNode(), "n");
    } else if (action < 8) {
      TreeNode* node = anyNode();
      tree.moveNode(node, pick(3) == 0 ? nullptr : anyNode());
    } else if (action < 9) {
      TreeNode* node = anyNode();
      if (node->subtreeSize() < 20) tree.deleteNode(node);
    } else {
      Ttree::BulkUpdate bulk(tree);
      tree.appendNode(anyNode(), "bulk");
      tree.appendNode(nullptr, "bulk");
    }
    nodes.clear();
    for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) nodes.push_back(n);
    ASSERT_EQ(nodes.size(), tree.nodeCount());
    // Look-ups in a changing order, so that each finds a different part stale.
    size_t start = pick(nodes.size());
    for (size_t k = 0; k < nodes.size(); ++k) {
      size_t i = (start + k * 7) % nodes.size();
      ASSERT_EQ(tree.absoluteIndex(nodes[i]), i) << "step " << step;
      ASSERT_EQ(tree.nodeAt(i), nodes[i]) << "step " << step;
      TreeNode* parent = nodes[i]->parent();
      ASSERT_EQ(parent->child(nodes[i]->row()), nodes[i]);
      size_t size = 1;
      for (TreeNode* c : nodes[i]->children()) size += c->subtreeSize();
      ASSERT_EQ(nodes[i]->subtreeSize(), size);
    }
    if (step % 10 == 0) {
      // Only cheap checks between the full ones, so that changes pile up.
      for (int extra = 0; extra < 5 && tree.nodeCount() > 0; ++extra) {
        TreeNode* node = tree.nodeAt(pick(tree.nodeCount()));
        tree.moveNode(node, nullptr);
      }
    }
  }
}

TEST(Ttree, NameRecordsRenumbersFromScratchAndFreesStaleNames) {
  Ttree tree;
  TreeNode* first = addTask(tree, nullptr, "first");
  addTask(tree, nullptr, "second");
  // A record left unattached by a read holds a name the numbering reaches.
  Tinfo* stale = tree.createRecord();
  stale->setName("ID1");
  tree.deleteNode(first);
  addTask(tree, nullptr, "third");

  std::vector<std::string> written;
  tree.NameRecords([&](const Tinfo& r) { written.emplace_back(r.name()); });
  EXPECT_EQ(written, (std::vector<std::string>{"ID0", "ID1"}));
  EXPECT_EQ(stale->name(), "");
  EXPECT_EQ(tree.nodeAt(1)->record()->name(), "ID1");

  written.clear();
  tree.NameRecords([&](const Tinfo& r) { written.emplace_back(r.name()); });
  EXPECT_EQ(written, (std::vector<std::string>{"ID0", "ID1"}));
  EXPECT_TRUE(tree.recordNamesMatchNodes());

  // A moved task takes the name of its new place; the one it displaces too.
  tree.moveNode(tree.nodeAt(1), nullptr);
  EXPECT_FALSE(tree.recordNamesMatchNodes());
  Tinfo* movedRecord = tree.nodeAt(0)->record();
  tree.NameRecords([](const Tinfo&) {});
  EXPECT_EQ(movedRecord->name(), "ID0");
  EXPECT_EQ(tree.nodeAt(1)->record()->name(), "ID1");

  // A named record that no node holds must lose its name on the next save,
  // even when every record held bears its right name already.
  Tinfo* spare = tree.createRecord();
  spare->setName("spare");
  EXPECT_FALSE(tree.recordNamesMatchNodes());
  written.clear();
  tree.NameRecords([&](const Tinfo& r) { written.emplace_back(r.name()); });
  EXPECT_EQ(written, (std::vector<std::string>{"ID0", "ID1"}));
  EXPECT_EQ(spare->name(), "");
  EXPECT_EQ(tree.nodeAt(0)->record()->name(), "ID0");
  EXPECT_EQ(tree.nodeAt(1)->record()->name(), "ID1");
  EXPECT_TRUE(tree.recordNamesMatchNodes());

  // One record held by two nodes ends with the later node's name.
  TreeNode* bare = tree.appendNode(nullptr, "shares");
  tree.setRecord(bare, tree.nodeAt(0)->record());
  written.clear();
  tree.NameRecords([&](const Tinfo& r) { written.emplace_back(r.name()); });
  EXPECT_EQ(written, (std::vector<std::string>{"ID0", "ID1", "ID2"}));
  EXPECT_EQ(bare->record()->name(), "ID2");
}

TEST(Ttree, NameRecordsTakesRecordLikeNamesFromOtherComponents) {
  Ttree tree;
  addTask(tree, nullptr, "first");
  class Other : public Component {
   public:
    std::string_view className() const override { return "Other"; }
  };
  Component* other = tree.insertComponent(std::make_unique<Other>());
  other->setName("id0");
  Component* kept = tree.insertComponent(std::make_unique<Other>());
  kept->setName("keep");
  tree.NameRecords([](const Tinfo&) {});
  EXPECT_EQ(other->name(), "");
  EXPECT_EQ(kept->name(), "keep");
  EXPECT_EQ(tree.firstNode()->record()->name(), "ID0");
}

TEST(Ttree, NodeWithoutRecordIsWrittenAsStandIn) {
  Ttree tree;
  TreeNode* n = tree.appendNode(nullptr, "bare");
  tree.setImageIndex(n, 12);
  int calls = 0;
  tree.NameRecords([&](const Tinfo& r) {
    ++calls;
    EXPECT_EQ(r.name(), "ID0");
    EXPECT_EQ(r.icon, 12);
    EXPECT_EQ(r.note, "");
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(n->record(), nullptr);
  EXPECT_EQ(tree.componentCount(), 0u);
}

// A component of another class that a file may create.
class OtherComponent : public Component {
 public:
  std::string_view className() const override { return "Ttree"; }
};

TEST(Ttree, LinkRecordsTakesOnlyTaskRecordsByNameIgnoringCase) {
  Ttree tree;
  TreeNode* n0 = tree.appendNode(nullptr, "0");
  TreeNode* n1 = tree.appendNode(nullptr, "1");
  TreeNode* n2 = tree.appendNode(nullptr, "2");
  auto other = std::make_unique<OtherComponent>();
  other->setName("ID0");
  tree.insertComponent(std::move(other));
  Tinfo* r1 = tree.createRecord();
  r1->setName("id1");
  Tinfo* surplus = tree.createRecord();
  surplus->setName("ID7");
  tree.LinkRecords();
  EXPECT_EQ(n0->record(), nullptr);
  EXPECT_EQ(n1->record(), r1);
  EXPECT_EQ(n2->record(), nullptr);
  EXPECT_EQ(surplus->owner(), &tree);
}

// A record numbered far beyond the records named so far is indexed by its
// spelt name, not in the numbered table; linking must find it there too.
TEST(Ttree, LinkRecordsFindsRecordsNamedBeforeTheirTurn) {
  Ttree tree;
  constexpr size_t kCount = 1100;
  std::vector<TreeNode*> nodes;
  for (size_t i = 0; i < kCount; ++i) nodes.push_back(tree.appendNode(nullptr, std::to_string(i)));
  Tinfo* early = tree.createRecord();
  early->setName("Id1050");
  std::vector<Tinfo*> records(kCount);
  records[1050] = early;
  for (size_t i = 0; i < kCount; ++i)
    if (i != 1050) (records[i] = tree.createRecord())->setName("ID" + std::to_string(i));
  tree.LinkRecords();
  for (size_t i = 0; i < kCount; ++i) ASSERT_EQ(nodes[i]->record(), records[i]) << i;
}

TEST(Ttree, ClearTasksRemovesRecordsAndNodesButKeepsOtherComponents) {
  Ttree tree;
  addTask(tree, addTask(tree, nullptr, "parent"), "child");
  tree.createRecord()->setName("loose");
  auto other = std::make_unique<OtherComponent>();
  other->setName("keep");
  tree.insertComponent(std::move(other));
  tree.ClearTasks();
  EXPECT_EQ(tree.nodeCount(), 0u);
  EXPECT_EQ(tree.firstNode(), nullptr);
  ASSERT_EQ(tree.componentCount(), 1u);
  EXPECT_EQ(tree.firstComponent()->name(), "keep");
}

TEST(Ttree, MillionDeepChainBuildsMovesAndDiesWithoutRecursion) {
  auto tree = std::make_unique<Ttree>();
  TreeNode* top = nullptr;
  TreeNode* deepest = nullptr;
  {
    Ttree::BulkUpdate bulk(*tree);
    TreeNode* parent = nullptr;
    for (int i = 0; i < 1000000; ++i) {
      parent = tree->appendNode(parent, "x", tree->createRecord());
      if (i == 0) top = parent;
    }
    deepest = parent;
  }
  EXPECT_EQ(top->subtreeSize(), 1000000u);
  EXPECT_EQ(tree->absoluteIndex(deepest), 999999u);
  EXPECT_TRUE(tree->moveNode(deepest, nullptr));
  EXPECT_EQ(tree->absoluteIndex(deepest), 0u);
  tree->deleteNode(tree->nodeAt(1));  // the whole remaining chain
  EXPECT_EQ(tree->nodeCount(), 1u);
  EXPECT_EQ(tree->componentCount(), 1u);
  addTask(*tree, deepest, "again");
  tree.reset();
}

}  // namespace
}  // namespace qm
