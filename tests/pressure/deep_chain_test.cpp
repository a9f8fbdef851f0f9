// A list nested a million levels deep, every task with its record: the
// writer, the reader, naming and linking a million records, ClearTasks and
// the destructors must all work without recursion.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sample_list.h"
#include "stream/task_list_file.h"

namespace qm {
namespace {

constexpr size_t kDepth = 1'000'000;

std::string savedChain() {
  Ttree tree;  // destroyed without clearing at the end
  tree.setSettings(TreeSettings::mainWindowInitial());
  sample::appendChain(tree, kDepth);
  return saveTaskListToBytes(tree);
}

std::unique_ptr<Ttree> loaded(const std::string& bytes) {
  auto tree = std::make_unique<Ttree>();
  loadTaskListFromBytes(bytes, *tree);
  return tree;
}

TEST(DeepChain, AMillionLevelsLoadSaveClearAndDestroy) {
  const std::string bytes = savedChain();

  auto tree = loaded(bytes);
  ASSERT_EQ(tree->nodeCount(), kDepth);
  ASSERT_EQ(tree->topLevelCount(), 1u);
  const TreeNode* deepest = tree->nodeAt(kDepth - 1);
  ASSERT_NE(deepest, nullptr);
  EXPECT_EQ(deepest->depth(), kDepth - 1);
  EXPECT_EQ(deepest->text(), "level 999999");
  ASSERT_NE(deepest->record(), nullptr);
  EXPECT_EQ(deepest->record()->name(), "ID999999");
  EXPECT_EQ(tree->absoluteIndex(deepest), kDepth - 1);

  // Saved again, it has the same bytes but for the records' data fields.
  EXPECT_EQ(saveTaskListToBytes(*tree).size(), bytes.size());

  tree->ClearTasks();
  EXPECT_EQ(tree->nodeCount(), 0u);
  EXPECT_EQ(tree->componentCount(), 0u);
}

}  // namespace
}  // namespace qm
