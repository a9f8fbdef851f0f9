#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using namespace test;

const std::string kIcon0 = property("icon", int8Value(0));

std::string count(int32_t n) { return int32Value(n).substr(1); }

Ttree& load(Ttree& tree, const std::string& file) {
  loadTaskListFromBytes(file, tree);
  return tree;
}

TEST(ReaderAcceptance, PrefixesAreReadAndChildPositionsSkipped) {
  Ttree tree;
  std::string list = count(2) + nodeRecord("a", 0) + nodeRecord("b", 0);
  load(tree, fromHex("FF 0A 00 54 00 30 10 00 00 00 00") + "TPF0" + "\xF0" +
                 object("Ttree", "", property("Items.Data", binaryValue(list)),
                        "\xF2" + int8Value(5) + object("Tinfo", "ID0", kIcon0) + "\xF6" +
                            fromHex("03 01 00") + object("Tinfo", "ID1", property("icon", int8Value(3)))));
  ASSERT_EQ(tree.nodeCount(), 2u);
  ASSERT_NE(tree.nodeAt(1)->record(), nullptr);
  EXPECT_EQ(tree.nodeAt(1)->record()->icon, 3);
  EXPECT_NE(tree.nodeAt(0)->record(), nullptr);
}

TEST(ReaderAcceptance, AnInheritedObjectIsReadIntoTheExistingOne) {
  Ttree tree;
  load(tree, taskFile({}, object("Tinfo", "Keep", property("note", textValue("first"))) + "\xF1" +
                              object("Tinfo", "keep", property("status", textValue("second")))));
  ASSERT_EQ(tree.componentCount(), 1u);
  auto* record = static_cast<Tinfo*>(tree.firstComponent());
  EXPECT_EQ(record->note, "first");
  EXPECT_EQ(record->status, "second");
}

TEST(ReaderAcceptance, PropertyNamesAndIdentifiersIgnoreAsciiCase) {
  Ttree tree;
  std::string list = count(1) + nodeRecord("n", 0);
  load(tree,
       taskFile(property("ALIGN", identValue("ALCLIENT")) + property("color", identValue("CLYELLOW")) +
                    property("dragmode", identValue("dmautomatic")) +
                    property("borderSTYLE", identValue("bsnone")) +
                    property("images", identValue("FRMMAIN.IMAGELIST1")) +
                    property("items.DATA", binaryValue(list)),
                object("Tinfo", "id0", property("ICON", int8Value(12)) + property("NOTE", textValue("x")))));
  EXPECT_EQ(tree.settings().align, Align::alClient);
  EXPECT_EQ(tree.settings().color, clYellow);
  EXPECT_EQ(tree.settings().dragMode, DragMode::dmAutomatic);
  EXPECT_EQ(tree.settings().borderStyle, BorderStyle::bsNone);
  EXPECT_EQ(tree.settings().images, "frmMain.ImageList1");
  ASSERT_NE(tree.firstNode()->record(), nullptr);
  EXPECT_EQ(tree.firstNode()->record()->icon, 12);
  EXPECT_EQ(tree.firstNode()->record()->note, "x");
}

TEST(ReaderAcceptance, EnumerationNamesTheTypeLacksLeaveThePropertyUnchanged) {
  Ttree tree;
  load(tree, taskFile(property("Align", identValue("alClient")) + property("Align", identValue("alNowhere")) +
                      property("DragMode", fromHex("09")) + property("BorderStyle", fromHex("0D")) +
                      property("BorderStyle", fromHex("00")) + property("BorderStyle", fromHex("08"))));
  EXPECT_EQ(tree.settings().align, Align::alClient);
  EXPECT_EQ(tree.settings().dragMode, DragMode::dmManual);
  EXPECT_EQ(tree.settings().borderStyle, BorderStyle::bsSingle);
  EXPECT_EQ(loadError(taskFile(property("Align", int8Value(5)))),
            "Error reading Ttree.Align: Invalid property value");
}

TEST(ReaderAcceptance, ColoursByNameOrNumber) {
  const std::pair<std::string, int32_t> cases[] = {{identValue("clSkyBlue"), 0xF0CAA6},
                                                   {identValue("clYellow"), 0x00FFFF},
                                                   {identValue("clWindow"), clWindow},
                                                   {int32Value(0x123456), 0x123456},
                                                   {int8Value(-1), -1}};
  for (const auto& [value, expected] : cases) {
    Ttree tree;
    tree.setSettings(TreeSettings::mainWindowInitial());
    load(tree, taskFile(property("Color", value)));
    EXPECT_EQ(tree.settings().color, expected) << toHex(value);
  }
}

TEST(ReaderAcceptance, ImageReferencesResolveOnlyToTheMainImageList) {
  auto imagesAfter = [](std::string_view start, const std::string& value) {
    Ttree tree;
    TreeSettings s;
    s.images = start;
    tree.setSettings(s);
    load(tree, taskFile(property("Images", value)));
    return tree.settings().images;
  };
  EXPECT_EQ(imagesAfter("", identValue("frmMain.ImageList1")), "frmMain.ImageList1");
  EXPECT_EQ(imagesAfter("", identValue("frmOther.ImageList1")), "");
  EXPECT_EQ(imagesAfter("frmMain.ImageList1", identValue("ImageList1")), "frmMain.ImageList1");
  EXPECT_EQ(imagesAfter("frmMain.ImageList1", fromHex("0D")), "");
  EXPECT_EQ(loadError(taskFile(property("Images", textValue("x")))),
            "Error reading Ttree.Images: Invalid property value");
}

TEST(ReaderAcceptance, NameAndTagAreTheTreesToo) {
  Ttree tree;
  load(tree, taskFile(property("Name", textValue("tvTasks")) + property("Tag", int32Value(70000))));
  EXPECT_EQ(tree.name(), "tvTasks");
  EXPECT_EQ(tree.tag(), 70000);
  EXPECT_EQ(loadError(taskFile(property("Name", textValue("9lives")))),
            "Error reading Ttree.Name: ''9lives'' is not a valid component name");
  EXPECT_EQ(loadError(taskFile(property("Caption", textValue("x")))),
            "Error reading Ttree.Caption: Property Caption does not exist");
}

TEST(ReaderAcceptance, DefinedPropertiesOfTheControlAndTheRecord) {
  Ttree tree;
  load(tree,
       taskFile(
           property("IsControl", fromHex("09")) + property("DesignSize", fromHex("01 03 5C 01 03 25 01 00")) +
               property("Items.Data", binaryValue(count(1) + nodeRecord("n", 0))),
           object("Tinfo", "ID0", property("Left", fromHex("03 10 27")) + property("top", int8Value(-3)))));
  auto* record = static_cast<Tinfo*>(tree.firstComponent());
  EXPECT_EQ(record->designLeft, 10000);
  EXPECT_EQ(record->designTop, -3);
  EXPECT_EQ(loadError(taskFile(property("DesignSize", int8Value(1)))),
            "Error reading Ttree.DesignSize: Invalid property value");
  // Written back only because they are set.
  std::string saved = saveTaskListToBytes(tree);
  EXPECT_NE(saved.find(fromHex("04 4C 65 66 74 03 10 27 03 54 6F 70 02 FD 00 00")), std::string::npos);
}

TEST(ReaderAcceptance, FloatsAcceptIntegersAndNonFiniteDatesAreKept) {
  Ttree tree;
  std::string list = count(1) + nodeRecord("n", 0);
  load(tree, taskFile(property("Items.Data", binaryValue(list)),
                      object("Tinfo", "ID0",
                             property("taskstart", int8Value(5)) +
                                 property("taskend", fromHex("05 00 00 00 00 00 00 00 C0 FF 7F")))));
  const Tinfo* r = tree.firstNode()->record();
  EXPECT_EQ(r->taskstart, 5.0);
  EXPECT_TRUE(std::isnan(r->taskend));

  Tinfo* infinite = tree.firstNode()->record();
  infinite->taskstart = -std::numeric_limits<double>::infinity();
  Ttree back;
  load(back, saveTaskListToBytes(tree));
  EXPECT_EQ(back.firstNode()->record()->taskstart, -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(back.firstNode()->record()->taskend));
}

TEST(ReaderAcceptance, TextsFromOtherSystemsAreDecoded) {
  Ttree tree;
  std::string list = count(1) + nodeRecord("caf\xE9 \x81", 0);
  load(tree, taskFile(property("Items.Data", binaryValue(list)),
                      object("Tinfo", "ID0",
                             property("note", fromHex("14 03 00 00 00 61 E2 82")) +
                                 property("priority", fromHex("12 02 00 00 00 00 D8 41 00")) +
                                 property("status", fromHex("0C 02 00 00 00 93 94")))));
  EXPECT_EQ(tree.firstNode()->text(), "caf\xC3\xA9 \xC2\x81");
  const Tinfo* r = tree.firstNode()->record();
  EXPECT_EQ(r->note, "a\xEF\xBF\xBD");
  EXPECT_EQ(r->priority,
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(r->status, "\xE2\x80\x9C\xE2\x80\x9D");
}

TEST(ReaderAcceptance, OnlyTaskRecordsAreLinked) {
  // A file may make a child of class Ttree named like a record.
  Ttree tree;
  std::string list = count(2) + nodeRecord("a", 0) + nodeRecord("b", 0);
  load(tree,
       taskFile(property("Items.Data", binaryValue(list)),
                object("Ttree", "ID0", property("Left", int8Value(1))) + object("Tinfo", "ID1", kIcon0)));
  EXPECT_EQ(tree.nodeAt(0)->record(), nullptr);
  ASSERT_NE(tree.nodeAt(1)->record(), nullptr);
  EXPECT_EQ(tree.nodeAt(1)->record()->name(), "ID1");

  // Saving it neither fails on the other object's name nor writes it.
  std::string saved = saveTaskListToBytes(tree);
  EXPECT_EQ(saved.find("Ttree", 30), std::string::npos);
  Ttree back;
  load(back, saved);
  EXPECT_EQ(describe(back),
            "a [0,0,-1,-1] {ID0||0x0p+0/0x0p+0|||0|0}\nb [0,0,-1,-1] {ID1||0x0p+0/0x0p+0|||0|0}\n");
}

TEST(ReaderAcceptance, RecordsAndNodesNeedNotMatch) {
  std::string list = count(3) + nodeRecord("a", 0) + nodeRecord("b", 0) + nodeRecord("c", 0, 12);
  Ttree fewer;
  load(fewer, taskFile(property("Items.Data", binaryValue(list)), object("Tinfo", "ID0", kIcon0)));
  EXPECT_NE(fewer.nodeAt(0)->record(), nullptr);
  EXPECT_EQ(fewer.nodeAt(2)->record(), nullptr);
  // A node without a record is saved with a stand-in holding its picture, so
  // the next load links every node.
  Ttree again;
  load(again, saveTaskListToBytes(fewer));
  ASSERT_NE(again.nodeAt(2)->record(), nullptr);
  EXPECT_EQ(again.nodeAt(2)->record()->icon, 12);

  Ttree more;
  load(more,
       taskFile(property("Items.Data", binaryValue(count(1) + nodeRecord("a", 0))),
                object("Tinfo", "ID0", kIcon0) + object("Tinfo", "ID1", kIcon0) + object("Tinfo", "Extra")));
  EXPECT_EQ(more.componentCount(), 3u);
  // The surplus records are not written and their names do not block the numbering.
  Ttree saved;
  load(saved, saveTaskListToBytes(more));
  EXPECT_EQ(saved.componentCount(), 1u);
}

TEST(ReaderAcceptance, AFileWithoutNodesLeavesTheTreesNodesAndRelinksThem) {
  Ttree tree;
  TreeNode* kept = tree.appendNode(nullptr, "kept");
  load(tree, taskFile({}, object("Tinfo", "ID0", property("icon", int8Value(4)))));
  EXPECT_EQ(tree.firstNode(), kept);
  ASSERT_NE(kept->record(), nullptr);
  EXPECT_EQ(kept->record()->icon, 4);
}

TEST(ReaderAcceptance, NodeRecordsLongerThanTheirTitleAreSkippedPastAndDataIsIgnored) {
  std::string record = nodeRecord("ab", 1, 7);
  record[0] = 25 + 2 + 5;
  record += "12345";
  std::string child = nodeRecord("c", 0);
  child.replace(20, 4, fromHex("EF BE AD DE"));  // a data field that is no reference
  Ttree tree;
  load(tree, taskFile(property("Items.Data", binaryValue(count(1) + record + child))));
  EXPECT_EQ(describe(tree), "ab [7,0,-1,-1] {}\n  c [0,0,-1,-1] {}\n");
}

TEST(ReaderAcceptance, SkipsEveryKindOfValueExactly) {
  // Each value complete, then cut by one byte: the first is skipped whole and
  // reported as unknown, the second ends inside the value.
  const char* values[] = {"00",
                          "01 02 05 06 01 41 01 00 00",
                          "02 01",
                          "03 01 02",
                          "04 01 02 03 04",
                          "05 00 00 00 00 00 00 00 80 FF 3F",
                          "06 02 41 42",
                          "07 01 41",
                          "08",
                          "09",
                          "0A 02 00 00 00 01 02",
                          "0B 01 41 02 42 43 00",
                          "0C 01 00 00 00 41",
                          "0D",
                          "0E 02 00 01 04 4C 65 66 74 02 01 00 01 00 00",
                          "0F 00 00 80 3F",
                          "10 01 02 03 04 05 06 07 08",
                          "11 00 00 00 00 00 00 F0 3F",
                          "12 01 00 00 00 41 00",
                          "13 01 02 03 04 05 06 07 08",
                          "14 01 00 00 00 41"};
  for (const char* hex : values) {
    std::string file = taskFile(property("Foo", fromHex(hex)));
    std::string whole = file.substr(0, file.find("Foo") + 3 + fromHex(hex).size());
    EXPECT_EQ(loadError(whole), "Error reading Ttree.Foo: Property Foo does not exist") << hex;
    if (fromHex(hex).size() > 1) {
      EXPECT_EQ(loadError(whole.substr(0, whole.size() - 1)), "Error reading Ttree.Foo: Stream read error")
          << hex;
    }
  }
}

}  // namespace
}  // namespace qm
