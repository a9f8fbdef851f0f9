#include <gtest/gtest.h>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using test::fromHex;
using test::toHex;

// One task "Plan" (icon 0) with one child "Call" (start 7 December 2026,
// priority "2"), saved from a tree at the main window's initial size.
const std::string kExample = fromHex(
    "FF / 0A 00 / 54 54 52 45 45 00 / 30 10 / 30 01 00 00 / 54 50 46 30 / 05 54 74 72 65 65 / 00"
    "04 4C 65 66 74 / 02 00"
    "03 54 6F 70 / 02 16"
    "05 57 69 64 74 68 / 03 5C 01"
    "06 48 65 69 67 68 74 / 03 25 01"
    "05 41 6C 69 67 6E / 07 08 61 6C 43 6C 69 65 6E 74"
    "05 43 6F 6C 6F 72 / 07 09 63 6C 53 6B 79 42 6C 75 65"
    "08 44 72 61 67 4D 6F 64 65 / 07 0B 64 6D 41 75 74 6F 6D 61 74 69 63"
    "06 49 6D 61 67 65 73 / 07 12 66 72 6D 4D 61 69 6E 2E 49 6D 61 67 65 4C 69 73 74 31"
    "06 49 6E 64 65 6E 74 / 02 13"
    "08 54 61 62 4F 72 64 65 72 / 02 02"
    "0A 49 74 65 6D 73 2E 44 61 74 61 / 0A 46 00 00 00 / 01 00 00 00"
    "1D 00 00 00 / 00 00 00 00 / 00 00 00 00 / FF FF FF FF / FF FF FF FF / 00 00 00 00 / 01 00 00 00"
    "04 50 6C 61 6E"
    "1D 00 00 00 / 00 00 00 00 / 00 00 00 00 / FF FF FF FF / FF FF FF FF / 00 00 00 00 / 00 00 00 00"
    "04 43 61 6C 6C"
    "00"
    "05 54 69 6E 66 6F / 03 49 44 30 / 04 69 63 6F 6E / 02 00 / 00 00"
    "05 54 69 6E 66 6F / 03 49 44 31"
    "09 74 61 73 6B 73 74 61 72 74 / 05 00 00 00 00 00 00 1B B5 0E 40"
    "08 70 72 69 6F 72 69 74 79 / 06 01 32"
    "04 69 63 6F 6E / 02 00 / 00 00"
    "00");
constexpr size_t kPlanDataField = 200;
constexpr size_t kCallDataField = 233;

void buildExample(Ttree& tree) {
  tree.setSettings(TreeSettings::mainWindowInitial());
  Tinfo* plan = tree.createRecord();
  Tinfo* call = tree.createRecord();
  call->taskstart = 46363;
  call->priority = "2";
  tree.appendNode(tree.appendNode(nullptr, "Plan", plan), "Call", call);
}

uint32_t dataFieldAt(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{static_cast<uint8_t>(bytes[offset + i])} << (8 * i);
  return v;
}

std::string withDataFieldsZeroed(std::string bytes) {
  for (size_t offset : {kPlanDataField, kCallDataField}) bytes.replace(offset, 4, 4, '\0');
  return bytes;
}

TEST(WorkedExample, IsWrittenByteForByteWithRecordIdsInTheDataFields) {
  ASSERT_EQ(kExample.size(), 319u);
  Ttree tree;
  buildExample(tree);
  std::string saved = saveTaskListToBytes(tree);
  ASSERT_EQ(saved.size(), 319u);
  EXPECT_EQ(toHex(withDataFieldsZeroed(saved)), toHex(kExample));
  EXPECT_EQ(dataFieldAt(saved, kPlanDataField), tree.nodeAt(0)->record()->id());
  EXPECT_EQ(dataFieldAt(saved, kCallDataField), tree.nodeAt(1)->record()->id());
  EXPECT_NE(tree.nodeAt(0)->record()->id(), 0u);
  EXPECT_EQ(tree.nodeAt(0)->record()->name(), "ID0");
  EXPECT_EQ(tree.nodeAt(1)->record()->name(), "ID1");
}

TEST(WorkedExample, SavingAnUnchangedListTwiceGivesIdenticalBytes) {
  Ttree tree;
  buildExample(tree);
  EXPECT_EQ(saveTaskListToBytes(tree), saveTaskListToBytes(tree));
}

TEST(WorkedExample, ReadsBackIntoAClassDefaultTree) {
  Ttree tree;
  loadTaskListFromBytes(kExample, tree);
  EXPECT_EQ(tree.settings(), TreeSettings::mainWindowInitial());
  EXPECT_EQ(test::describe(tree),
            "Plan [0,0,-1,-1] {ID0||0x0p+0/0x0p+0|||0|0}\n"
            "  Call [0,0,-1,-1] {ID1||0x1.6a36p+15/0x0p+0|2||0|0}\n");
  EXPECT_EQ(tree.componentCount(), 2u);
  // Saved again, it is the same file.
  EXPECT_EQ(toHex(withDataFieldsZeroed(saveTaskListToBytes(tree))), toHex(kExample));
}

}  // namespace
}  // namespace qm
