#include "ui/task_watch.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/ttree.h"

namespace qm::ui {
namespace {

TEST(TaskWatch, FollowsTheTaskUntilItOrItsTreeGoes) {
  auto tree = std::make_unique<Ttree>();
  TreeNode* parent = tree->appendNode(nullptr, "parent");
  TreeNode* task = tree->appendNode(parent, "task");
  TreeNode* sibling = tree->appendNode(parent, "sibling");
  TaskWatch watch(tree.get(), task);
  TaskWatch onSibling(tree.get(), sibling);

  tree->deleteNode(sibling);
  tree->moveNode(task, nullptr);
  EXPECT_EQ(watch.node(), task);
  EXPECT_EQ(onSibling.node(), nullptr);
  EXPECT_EQ(onSibling.tree(), nullptr);

  tree->clearNodes();
  EXPECT_EQ(watch.node(), nullptr);

  // Aimed anew, it follows the new task; the tree going away ends it, and the
  // watch may outlive the tree.
  TreeNode* again = tree->appendNode(nullptr, "again");
  watch.watch(tree.get(), again);
  EXPECT_EQ(watch.node(), again);
  tree.reset();
  EXPECT_EQ(watch.node(), nullptr);
  EXPECT_EQ(watch.tree(), nullptr);
}

TEST(TaskWatch, AWatchThatEndsStopsObserving) {
  Ttree tree;
  TreeNode* task = tree.appendNode(nullptr, "task");
  { TaskWatch shortLived(&tree, task); }
  TaskWatch nothing(&tree, nullptr);
  tree.deleteNode(task);  // would reach a freed observer if one were left
  EXPECT_EQ(nothing.node(), nullptr);
}

}  // namespace
}  // namespace qm::ui
