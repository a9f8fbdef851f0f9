#include <gtest/gtest.h>

#include <string>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using namespace test;

std::string count(int32_t n) { return int32Value(n).substr(1); }

// Every node can be reached in pre-order and the counts agree: the tree is
// one that the program can keep working with.
void expectConsistent(const Ttree& tree) {
  size_t seen = 0;
  for (const TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) ++seen;
  EXPECT_EQ(seen, tree.nodeCount());
}

std::string richFile() {
  Ttree tree;
  tree.setSettings(TreeSettings::mainWindowInitial());
  Tinfo* r = tree.createRecord();
  r->note = "line one\r\nline two \xC3\xA9";
  r->taskstart = 46363.5;
  r->priority = "1";
  r->status = "In Progress";
  TreeNode* parent = tree.appendNode(nullptr, "Parent", r);
  Tinfo* c = tree.createRecord();
  c->note = "\xE4\xB8\xAD";
  c->icon = 12;
  tree.appendNode(parent, "Child \xE2\x82\xAC", c);
  tree.appendNode(nullptr, "Second", tree.createRecord());
  return saveTaskListToBytes(tree);
}

TEST(HostileInput, EveryTruncationOfAValidFileFailsCleanly) {
  std::string file = richFile();
  for (size_t length = 0; length < file.size(); ++length) {
    Ttree tree;
    std::string message = errorOf([&] { loadTaskListFromBytes(file.substr(0, length), tree); });
    EXPECT_FALSE(message.empty()) << "length " << length;
    expectConsistent(tree);
  }
  Ttree whole;
  loadTaskListFromBytes(file, whole);
  EXPECT_EQ(whole.nodeCount(), 3u);
}

TEST(HostileInput, AChainOfAMillionNestedNodesLoads) {
  constexpr int32_t kDepth = 1'000'000;
  std::string list = count(1);
  list.reserve(kDepth * 30 + 8);
  for (int32_t i = 0; i < kDepth; ++i) list += nodeRecord("n", i + 1 < kDepth ? 1 : 0);
  Ttree tree;
  loadTaskListFromBytes(taskFile(property("Items.Data", binaryValue(list))), tree);
  ASSERT_EQ(tree.nodeCount(), static_cast<size_t>(kDepth));
  EXPECT_EQ(tree.firstNode()->subtreeSize(), static_cast<size_t>(kDepth));
  const TreeNode* deepest = tree.firstNode();
  while (deepest->hasChildren()) deepest = deepest->child(0);
  EXPECT_EQ(deepest->depth(), static_cast<size_t>(kDepth - 1));
  // And back out: the writer does not recurse either, and the nodes (which
  // have no records, so their data fields are 0) come out as they went in.
  std::string saved = saveTaskListToBytes(tree);
  EXPECT_NE(saved.find(list), std::string::npos);
}

TEST(HostileInput, DeeplyNestedObjectsListsAndCollectionsCostNoStack) {
  constexpr size_t kDepth = 1'000'000;
  // Objects inside objects: all owned by the root.
  std::string nested;
  nested.reserve(kDepth * 12);
  for (size_t i = 0; i < kDepth; ++i) nested += shortString("Tinfo") + shortString("") + std::string(1, '\0');
  nested += std::string(kDepth, '\0');
  Ttree tree;
  loadTaskListFromBytes(taskFile({}, nested), tree);
  EXPECT_EQ(tree.componentCount(), kDepth);

  // Lists inside lists, collections inside collection items: skipped.
  std::string lists = std::string(kDepth, '\x01') + std::string(kDepth, '\0');
  EXPECT_EQ(loadError(taskFile(property("Foo", lists))),
            "Error reading Ttree.Foo: Property Foo does not exist");
  std::string items;
  for (size_t i = 0; i < kDepth / 10; ++i) items += "\x0E\x01" + shortString("P");
  items += "\x0D";
  for (size_t i = 0; i < kDepth / 10; ++i) items += std::string(2, '\0');
  EXPECT_EQ(loadError(taskFile(property("Foo", items))),
            "Error reading Ttree.Foo: Property Foo does not exist");
  std::string file = taskFile(property("Foo", items));
  EXPECT_EQ(loadError(file.substr(0, file.size() - 3)), "Error reading Ttree.Foo: Stream read error");
}

TEST(HostileInput, ANodeListClaimingMillionsOfNodesFailsAtOnce) {
  // Counts that the bytes cannot hold are refused before any node is made,
  // and the tree keeps the nodes it had.
  Ttree tree;
  TreeNode* kept = tree.appendNode(nullptr, "kept");
  std::string list = count(1) + nodeRecord("a", 0x7FFFFFFF);
  EXPECT_EQ(
      errorOf([&] { loadTaskListFromBytes(taskFile(property("Items.Data", binaryValue(list))), tree); }),
      "Error reading Ttree.Items.Data: Stream read error");
  EXPECT_EQ(tree.nodeCount(), 1u);
  EXPECT_EQ(tree.firstNode(), kept);
  // A well-formed list that ends too early inside a deep subtree likewise.
  std::string cut = count(1);
  for (int i = 0; i < 1000; ++i) cut += nodeRecord("n", 1);
  EXPECT_FALSE(errorOf([&] {
                 loadTaskListFromBytes(taskFile(property("Items.Data", binaryValue(cut))), tree);
               }).empty());
  EXPECT_EQ(tree.nodeCount(), 1u);
}

TEST(HostileInput, RandomByteFlipsNeverCrash) {
  std::string file = richFile();
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 20000; ++round) {
    std::string damaged = file;
    for (int flips = 1 + next() % 3; flips > 0; --flips)
      damaged[next() % damaged.size()] = static_cast<char>(next() >> 24);
    Ttree tree;
    errorOf([&] { loadTaskListFromBytes(damaged, tree); });
    expectConsistent(tree);
  }
}

}  // namespace
}  // namespace qm
