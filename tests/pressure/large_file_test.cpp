// Reading a file large enough that its bytes are read in pieces and given
// back as the reader goes: the result, and every failure, must be what the
// same bytes give from memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_finding.h"
#include "model/error.h"
#include "sample_list.h"
#include "stream/task_list_file.h"
#include "task_list_comparison.h"

namespace qm {
namespace {

// Files from 16 MiB on are read in pieces; this one is 18 MB.
constexpr size_t kTasks = 120'000;

class LargeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmark-large-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    Ttree tree;
    sample::appendSampleTasks(tree, kTasks);
    bytes_ = saveTaskListToBytes(tree);
    ASSERT_GT(bytes_.size(), size_t{17} << 20);  // read in pieces and given back as it goes
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string write(const std::string& bytes) {
    std::string path = (directory_ / "list.jjp").string();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // The error of loading into a tree that holds one task, which a failed
  // read of the node list must leave in place.
  template <class Load>
  std::string failureOf(Load&& load) {
    Ttree tree;
    tree.appendNode(nullptr, "kept");
    try {
      load(tree);
    } catch (const Error& e) {
      EXPECT_EQ(tree.nodeCount(), 1u);
      EXPECT_EQ(tree.firstNode()->text(), "kept");
      return e.what();
    }
    return "(loaded)";
  }

  // Offset of the size field of the node record at about `fraction` of the
  // node list.
  size_t nodeRecordAt(double fraction) const {
    size_t name = bytes_.find("Items.Data");
    size_t blockStart = name + 10 + 1 + 4;  // the name, tag 10, the length
    auto blockLength =
        static_cast<size_t>(static_cast<uint32_t>(static_cast<unsigned char>(bytes_[blockStart - 4])) |
                            static_cast<uint32_t>(static_cast<unsigned char>(bytes_[blockStart - 3])) << 8 |
                            static_cast<uint32_t>(static_cast<unsigned char>(bytes_[blockStart - 2])) << 16 |
                            static_cast<uint32_t>(static_cast<unsigned char>(bytes_[blockStart - 1])) << 24);
    size_t at = blockStart + 4;
    while (at < blockStart + static_cast<size_t>(static_cast<double>(blockLength) * fraction))
      at += 4 + static_cast<unsigned char>(bytes_[at]) + (static_cast<unsigned char>(bytes_[at + 1]) << 8);
    return at;
  }

  std::filesystem::path directory_;
  std::string bytes_;
};

TEST_F(LargeFile, ReadsTheSameListAsFromMemory) {
  Ttree fromFile, fromBytes;
  LoadTaskList(write(bytes_), fromFile);
  loadTaskListFromBytes(bytes_, fromBytes);
  EXPECT_EQ(fromFile.nodeCount(), kTasks);
  try {
    fuzz::expectSameTaskList(fromBytes, fromFile);
  } catch (const fuzz::FuzzFinding& finding) {
    ADD_FAILURE() << finding.what();
  }
}

TEST_F(LargeFile, LateFailuresReadAsFromMemory) {
  std::string badNode = bytes_;
  badNode[nodeRecordAt(0.9)] = 3;  // a node record shorter than its fixed part
  std::string fromMemory = failureOf([&](Ttree& t) { loadTaskListFromBytes(badNode, t); });
  EXPECT_EQ(fromMemory, "Error reading Ttree.Items.Data: Stream read error");
  std::string path = write(badNode);
  EXPECT_EQ(failureOf([&](Ttree& t) { LoadTaskList(path, t); }), fromMemory);

  // Cut among the task records, long after the node list was read.
  std::string cut = bytes_.substr(0, bytes_.size() - 1000);
  path = write(cut);
  Ttree fromFile, fromBytes;
  std::string fileMessage, memoryMessage;
  try {
    LoadTaskList(path, fromFile);
  } catch (const Error& e) {
    fileMessage = e.what();
  }
  try {
    loadTaskListFromBytes(cut, fromBytes);
  } catch (const Error& e) {
    memoryMessage = e.what();
  }
  EXPECT_FALSE(fileMessage.empty());
  EXPECT_EQ(fileMessage, memoryMessage);
  EXPECT_EQ(fromFile.componentCount(), fromBytes.componentCount());
}

}  // namespace
}  // namespace qm
