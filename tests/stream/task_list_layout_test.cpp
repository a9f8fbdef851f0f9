#include <gtest/gtest.h>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using test::fromHex;
using test::toHex;

// The bytes that follow the property name "Items.Data" and its tag 10.
std::string nodeListOf(const std::string& file) {
  size_t at = file.find("Items.Data");
  EXPECT_NE(at, std::string::npos);
  return file.substr(at + 10 + 5);
}

TEST(TaskListLayout, AnEmptyTreeHasNoNodeListAndNoTaskObjects) {
  Ttree tree;
  tree.setSettings(TreeSettings::mainWindowInitial());
  tree.createRecord()->setName("Loose");  // attached to no node: not written
  std::string file = saveTaskListToBytes(tree);
  EXPECT_EQ(file.find("Items.Data"), std::string::npos);
  EXPECT_EQ(file.find("Tinfo"), std::string::npos);
  EXPECT_EQ(toHex(file.substr(file.size() - 13)), toHex(fromHex("08 54 61 62 4F 72 64 65 72 02 02 00 00")));
  // The size field counts the bytes after the 15-byte header.
  EXPECT_EQ(static_cast<uint8_t>(file[11]) | static_cast<uint8_t>(file[12]) << 8,
            static_cast<int>(file.size() - 15));
}

TEST(TaskListLayout, TitlesAreCutTo255BytesAtAWholeCharacter) {
  Ttree tree;
  tree.appendNode(nullptr, std::string(300, 'a'));
  std::string accents;
  for (int i = 0; i < 140; ++i) accents += "\xC3\xA9";
  tree.appendNode(nullptr, accents);
  std::string list = nodeListOf(saveTaskListToBytes(tree));
  EXPECT_EQ(toHex(list.substr(4, 4)), "18 01 00 00");  // 25 + 255 = 280
  EXPECT_EQ(static_cast<uint8_t>(list[4 + 28]), 255);
  std::string second = list.substr(4 + 284);
  EXPECT_EQ(toHex(second.substr(0, 4)), "17 01 00 00");  // 25 + 254: no half character
  EXPECT_EQ(static_cast<uint8_t>(second[28]), 254);
}

TEST(TaskListLayout, RecordPropertiesInTheirOrderOnlyWhenSet) {
  Ttree tree;
  Tinfo* r = tree.createRecord();
  r->setTag(3);
  r->note = "n";
  r->taskend = 1.5;
  r->status = "Complete";
  r->icon = 12;
  r->designTop = 5;
  tree.appendNode(nullptr, "t", r);
  std::string file = saveTaskListToBytes(tree);
  std::string record = file.substr(file.find("\x05Tinfo"));
  EXPECT_EQ(toHex(record),
            toHex("\x05Tinfo\x03ID0" + fromHex("03") + "Tag" + fromHex("02 03") + "\x04note" +
                  fromHex("06 01") + "n" + "\x07taskend" + fromHex("05 00 00 00 00 00 00 00 C0 FF 3F") +
                  "\x06status" + fromHex("06 08") + "Complete" + "\x04icon" + fromHex("02 0C") + "\x03Top" +
                  fromHex("02 05 00 00 00")));
}

}  // namespace
}  // namespace qm
