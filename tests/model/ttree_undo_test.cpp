// Taking subtrees out and putting them back, and moving to a given place:
// what undo is built on.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/ttree.h"

namespace qm {
namespace {

std::string outline(const Ttree& tree) {
  std::string out;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n))
    out += std::string(n->depth() * 2, ' ') + std::string(n->text()) + (n->expanded() ? "+" : "") + "\n";
  return out;
}

struct Events : TreeObserver {
  std::vector<std::string> seen;
  static std::string label(TreeNode* n) { return n->text().empty() ? "<root>" : std::string(n->text()); }
  void nodeAboutToBeRemoved(TreeNode* n) override { seen.push_back("remove? " + label(n)); }
  void nodeRemoved(TreeNode* p, size_t row) override {
    seen.push_back("remove " + label(p) + " " + std::to_string(row));
  }
  void nodeAboutToBeInserted(TreeNode* p, size_t row) override {
    seen.push_back("insert? " + label(p) + " " + std::to_string(row));
  }
  void nodeInserted(TreeNode* n) override { seen.push_back("insert " + label(n)); }
  void nodeAboutToBeMoved(TreeNode* n, TreeNode* p, size_t row) override {
    seen.push_back("move? " + label(n) + " " + label(p) + " " + std::to_string(row));
  }
  void expandedChanged(TreeNode* n) override { seen.push_back("expanded " + label(n)); }
  void selectionChanged(TreeNode* n) override { seen.push_back(n ? "select " + label(n) : "select none"); }
  void takenSubtreeDestroyed(TreeNode* n) override { seen.push_back("destroyed " + label(n)); }
};

class TakeAndPutBack : public ::testing::Test {
 protected:
  // A+ (A1, A2+ (A21)), B, C
  void SetUp() override {
    a = add(nullptr, "A");
    add(a, "A1");
    a2 = add(a, "A2");
    add(a2, "A21");
    b = add(nullptr, "B");
    c = add(nullptr, "C");
    tree.setExpanded(a, true);
    tree.setExpanded(a2, true);
    tree.addObserver(&events);
  }
  TreeNode* add(TreeNode* parent, const char* title) {
    return tree.appendNode(parent, title, tree.createRecord());
  }

  Events events;  // outlives the tree, which tells it of its end
  Ttree tree;
  TreeNode *a, *a2, *b, *c;
};

TEST_F(TakeAndPutBack, SubtreeComesBackWholeWithItsRecordsAndExpandedStates) {
  const std::string before = outline(tree);
  Tinfo* record = a2->record();
  tree.select(a2->child(0));
  Ttree::TakenSubtree taken = tree.takeSubtree(a2);
  EXPECT_EQ(outline(tree), "A+\n  A1\nB\nC\n");
  EXPECT_EQ(tree.nodeCount(), 4u);
  EXPECT_EQ(tree.selected(), nullptr);
  EXPECT_EQ(tree.componentCount(), 6u);  // records stay, unattached
  tree.putBack(taken, a, 1);
  EXPECT_FALSE(taken);
  EXPECT_EQ(outline(tree), before);
  EXPECT_EQ(a2->record(), record);
  EXPECT_EQ(tree.nodeCount(), 6u);
  EXPECT_EQ(tree.absoluteIndex(c), 5u);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"select A21", "remove? A2", "remove A 1", "select none",
                                                   "insert? A 1", "insert A2", "expanded A2"}));
}

TEST_F(TakeAndPutBack, DroppedSubtreeDestroysItsNodesAndRecords) {
  {
    Ttree::TakenSubtree taken = tree.takeSubtree(a);
    Ttree::TakenSubtree moved = std::move(taken);
    EXPECT_EQ(events.seen.back(), "remove <root> 0");
  }
  EXPECT_EQ(events.seen.back(), "destroyed A");
  EXPECT_EQ(tree.componentCount(), 2u);
  EXPECT_EQ(outline(tree), "B\nC\n");
}

TEST(TtreeUndo, MoveToAPlaceAnnouncesTheRowBeforeTheNodeLeaves) {
  struct Case {
    size_t node;  // absolute index
    int parent;   // absolute index, -1: the top level
    size_t row;
    const char* announced;
    const char* result;
  };
  // A (A1, A2 (A21)), B, C
  const Case cases[] = {
      {0, -1, 2, "move? A <root> 3", "B\nC\nA\n  A1\n  A2\n    A21\n"},
      {5, -1, 0, "move? C <root> 0", "C\nA\n  A1\n  A2\n    A21\nB\n"},
      {4, 2, 1, "move? B A2 1", "A\n  A1\n  A2\n    A21\n    B\nC\n"},
      {1, 0, 1, "move? A1 A 2", "A\n  A2\n    A21\n  A1\nB\nC\n"},
  };
  for (const Case& k : cases) {
    Ttree tree;
    TreeNode* a = tree.appendNode(nullptr, "A");
    tree.appendNode(a, "A1");
    tree.appendNode(tree.appendNode(a, "A2"), "A21");
    tree.appendNode(nullptr, "B");
    tree.appendNode(nullptr, "C");
    Events events;
    tree.addObserver(&events);
    TreeNode* parent = k.parent < 0 ? nullptr : tree.nodeAt(static_cast<size_t>(k.parent));
    EXPECT_TRUE(tree.moveNodeTo(tree.nodeAt(k.node), parent, k.row));
    EXPECT_EQ(events.seen.front(), k.announced);
    EXPECT_EQ(outline(tree), k.result);
    EXPECT_FALSE(tree.moveNodeTo(a, tree.nodeAt(2), 0)) << "into its own subtree";
    tree.removeObserver(&events);
  }
}

// Moves among many siblings and inserts at a row shift pointers and leave
// positions to be recounted: rows, absolute indexes and subtree sizes must
// agree with a plain count after each, whichever look-up comes first.
TEST(TtreeUndo, PlacesAmongManySiblingsKeepPositionsRight) {
  Ttree tree;
  for (int i = 0; i < 400; ++i) {
    TreeNode* n = tree.appendNode(nullptr, "n" + std::to_string(i));
    if (i % 3 == 0) tree.appendNode(n, "c");
  }
  std::mt19937 random(5);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  for (int step = 0; step < 300; ++step) {
    const size_t count = tree.topLevelCount();
    const size_t from = pick(count);
    TreeNode* node = tree.root()->child(from);
    switch (pick(4)) {
      case 0:  // to a neighbour's place
        tree.moveNodeTo(node, nullptr, from == 0 ? 1 : from - 1);
        break;
      case 1:
        tree.moveNodeTo(node, nullptr, pick(count));
        break;
      case 2:
        tree.insertNode(pick(2) == 0 ? nullptr : node, pick(count + 1), "new");
        break;
      default:  // out of a parent, to right after it
        if (node->hasChildren()) tree.moveNodeTo(node->child(0), nullptr, from + 1);
    }
    std::vector<TreeNode*> order;
    for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) order.push_back(n);
    ASSERT_EQ(order.size(), tree.nodeCount());
    const size_t start = pick(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
      const size_t i = (start + k * 13) % order.size();
      ASSERT_EQ(order[i]->parent()->child(order[i]->row()), order[i]) << "step " << step;
      ASSERT_EQ(tree.absoluteIndex(order[i]), i) << "step " << step;
      ASSERT_EQ(tree.nodeAt(i), order[i]) << "step " << step;
    }
    ASSERT_EQ(tree.root()->subtreeSize(), tree.nodeCount());
  }
}

// Random edits, each with its inverse, then every inverse in reverse order:
// the tree comes back exactly, and positions stay right on the way, at both
// ends and in the middle of long sibling lists.
TEST(TtreeUndo, RandomEditsUndoneInReverseRestoreTheTree) {
  Ttree tree;
  std::mt19937 random(11);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  for (int i = 0; i < 300; ++i)
    tree.appendNode(i % 5 == 0 || tree.nodeCount() == 0 ? nullptr : tree.nodeAt(pick(tree.nodeCount())),
                    "n" + std::to_string(i), tree.createRecord());
  const std::string original = outline(tree);

  struct Inverse {
    TreeNode* node;
    TreeNode* parent;
    size_t row;
    Ttree::TakenSubtree taken;
  };
  std::vector<Inverse> inverses;
  for (int step = 0; step < 400; ++step) {
    TreeNode* node = tree.nodeAt(pick(tree.nodeCount()));
    Inverse inverse{node, node->parent(), node->row(), {}};
    if (pick(3) == 0 && tree.nodeCount() > node->subtreeSize()) {
      inverse.taken = tree.takeSubtree(node);
    } else {
      TreeNode* target = pick(4) == 0 ? tree.root() : tree.nodeAt(pick(tree.nodeCount()));
      if (tree.isInSubtree(target, node)) continue;
      tree.moveNodeTo(node, target, pick(target->childCount() + (target == node->parent() ? 0 : 1)));
    }
    inverses.push_back(std::move(inverse));
    for (size_t i = 0; i < tree.nodeCount(); i += 1 + pick(7))
      ASSERT_EQ(tree.absoluteIndex(tree.nodeAt(i)), i);
  }
  for (size_t i = inverses.size(); i-- > 0;) {
    Inverse& inverse = inverses[i];
    if (inverse.taken)
      tree.putBack(inverse.taken, inverse.parent, inverse.row);
    else
      tree.moveNodeTo(inverse.node, inverse.parent, inverse.row);
  }
  EXPECT_EQ(outline(tree), original);
  size_t i = 0;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n), ++i)
    ASSERT_EQ(tree.nodeAt(i), n);
}

}  // namespace
}  // namespace qm
