// Files crafted to make a careless reader allocate, wrap or read past the
// end: each must be refused with the reader's own error, quickly and without
// allocating what the file claims.
#include <gtest/gtest.h>

#include <string>

#include "crafted_stream.h"
#include "model/error.h"
#include "stream/task_list_file.h"

namespace qm {
namespace {

using sample::CraftedStream;
using sample::nodeRecord;

constexpr uint32_t kHugeLength = 0xFFFFFFFF;

std::string messageOfLoading(const std::string& bytes) {
  Ttree tree;
  try {
    loadTaskListFromBytes(bytes, tree);
  } catch (const Error& e) {
    return e.what();
  }
  return "(loaded)";
}

std::string nodeList(int32_t topLevelCount, const std::string& records) {
  return CraftedStream().int32(topLevelCount).bytes() + records;
}

// A tree whose only property is the given node list, then one task object.
std::string treeWithNodes(const std::string& nodes) {
  CraftedStream s;
  s.fileStart().object("Ttree", "").propertyName("Items.Data").binary(nodes).end();
  s.object("Tinfo", "ID0").propertyName("icon").integer(0).end().end().end();
  return s.bytes();
}

// The root's property `name`, whose value starts with `valueStart`, followed
// by enough well-formed bytes that a reader which wraps the length around
// could carry on.
std::string treeProperty(std::string_view name, const std::string& valueStart) {
  CraftedStream s;
  s.fileStart().object("Ttree", "").propertyName(name).raw(valueStart).raw("xyzw");
  s.propertyName("Left").integer(1).end().end();
  return s.bytes();
}

std::string recordProperty(std::string_view name, const std::string& valueStart) {
  CraftedStream s;
  s.fileStart().object("Ttree", "").propertyName("Items.Data").binary(nodeList(1, nodeRecord("a", 0))).end();
  s.object("Tinfo", "ID0").propertyName(name).raw(valueStart).raw("xyzw");
  s.propertyName("icon").integer(0).end().end().end();
  return s.bytes();
}

std::string tagAndLength(uint8_t tag, uint32_t length) {
  return CraftedStream().byte(tag).uint32(length).bytes();
}

TEST(HostileFile, NodeCountNearTwoToThe31IsRefusedAtOnce) {
  const std::string expected = "Error reading Ttree.Items.Data: Stream read error";
  EXPECT_EQ(messageOfLoading(treeWithNodes(nodeList(0x7FFFFFFF, nodeRecord("a", 0)))), expected);
  EXPECT_EQ(messageOfLoading(treeWithNodes(nodeList(-1, nodeRecord("a", 0)))), expected);
  EXPECT_EQ(messageOfLoading(treeWithNodes(nodeList(1, nodeRecord("a", -1)))), expected);
}

TEST(HostileFile, NodeRecordSizeOfAllOnesIsRefused) {
  std::string record = nodeRecord("a", 0);
  record.replace(0, 4, CraftedStream().uint32(kHugeLength).bytes());
  EXPECT_EQ(messageOfLoading(treeWithNodes(nodeList(1, record))),
            "Error reading Ttree.Items.Data: Stream read error");
}

// Tags 10, 12 and 20 carry a 4-byte length in bytes, tag 18 a count of
// 2-byte units: in a value that is read and in one that is skipped.
TEST(HostileFile, LengthOfAllOnesInEveryLengthCarryingTagIsRefused) {
  struct Case {
    std::string file;
    std::string message;
  };
  const std::string readError = "Stream read error";
  const Case cases[] = {
      {treeProperty("Items.Data", tagAndLength(10, kHugeLength)),
       "Error reading Ttree.Items.Data: " + readError},
      {treeProperty("test1", tagAndLength(12, kHugeLength)), "Error reading Ttree.test1: " + readError},
      {treeProperty("test1", tagAndLength(18, kHugeLength)), "Error reading Ttree.test1: " + readError},
      {treeProperty("test1", tagAndLength(20, kHugeLength)), "Error reading Ttree.test1: " + readError},
      {recordProperty("note", tagAndLength(12, kHugeLength)), "Error reading ID0.note: " + readError},
      {recordProperty("note", tagAndLength(18, kHugeLength)), "Error reading ID0.note: " + readError},
      {recordProperty("note", tagAndLength(20, kHugeLength)), "Error reading ID0.note: " + readError},
  };
  for (const Case& c : cases) EXPECT_EQ(messageOfLoading(c.file), c.message);
  for (uint8_t tag : {10, 12, 18, 20}) {
    SCOPED_TRACE("skipped tag " + std::to_string(tag));
    EXPECT_EQ(messageOfLoading(treeProperty("Foo", tagAndLength(tag, kHugeLength))),
              "Error reading Ttree.Foo: " + readError);
    EXPECT_EQ(messageOfLoading(recordProperty("Foo", tagAndLength(tag, kHugeLength))),
              "Error reading ID0.Foo: " + readError);
  }
}

// 0x80000002 units are 2^32 + 4 bytes: a reader that multiplies in 32 bits
// reads four bytes ("xyzw") and goes on through a well-formed rest.
TEST(HostileFile, WideTextCountWhoseByteSizeOverflows32BitsIsRefused) {
  for (uint32_t count : {0x80000000u, 0x80000002u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(count);
    std::string value = tagAndLength(18, count);
    EXPECT_EQ(messageOfLoading(treeProperty("test1", value)), "Error reading Ttree.test1: Stream read error");
    EXPECT_EQ(messageOfLoading(recordProperty("note", value)), "Error reading ID0.note: Stream read error");
    EXPECT_EQ(messageOfLoading(treeProperty("Foo", value)), "Error reading Ttree.Foo: Stream read error");
  }
}

// The same files with honest lengths load, so the refusals above come from
// the lengths and nothing else.
TEST(HostileFile, TheCraftedFilesLoadWithHonestLengths) {
  EXPECT_EQ(messageOfLoading(treeWithNodes(nodeList(1, nodeRecord("a", 0)))), "(loaded)");
  for (uint8_t tag : {12, 20}) {
    EXPECT_EQ(messageOfLoading(treeProperty("test1", tagAndLength(tag, 4))), "(loaded)");
    EXPECT_EQ(messageOfLoading(recordProperty("note", tagAndLength(tag, 4))), "(loaded)");
  }
  EXPECT_EQ(messageOfLoading(treeProperty("test1", tagAndLength(18, 2))), "(loaded)");
  EXPECT_EQ(messageOfLoading(recordProperty("note", tagAndLength(18, 2))), "(loaded)");
}

}  // namespace
}  // namespace qm
