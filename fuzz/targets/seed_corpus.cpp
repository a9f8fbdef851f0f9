#include "seed_corpus.h"

#include <sstream>

#include "cli/formats/json_export.h"
#include "crafted_stream.h"
#include "sample_list.h"
#include "stream/task_list_file.h"

namespace qm::fuzz {
namespace {

using sample::CraftedStream;

Ttree& inMainWindow(Ttree& tree) {
  tree.setSettings(TreeSettings::mainWindowInitial());
  return tree;
}

std::string workedExample() {
  Ttree tree;
  inMainWindow(tree);
  TreeNode* plan = tree.appendNode(nullptr, "Plan", tree.createRecord());
  Tinfo* call = tree.createRecord();
  call->taskstart = 46363;
  call->priority = "2";
  tree.appendNode(plan, "Call", call);
  return saveTaskListToBytes(tree);
}

std::string noteModeList() {
  Ttree tree;
  TreeSettings settings = TreeSettings::mainWindowInitial();
  settings.color = clYellow;
  settings.borderStyle = BorderStyle::bsNone;
  tree.setSettings(settings);
  tree.appendNode(nullptr, "Note", tree.createRecord());
  return saveTaskListToBytes(tree);
}

// A 300-byte title, a 300-byte ASCII note (tag 12), "é" alone (tag 18),
// "aé" (tag 20), a completed task, both dates, and test1 set.
std::string longAndForeignTexts() {
  Ttree tree;
  TreeSettings settings = TreeSettings::mainWindowInitial();
  settings.test1 = "set by a file";
  tree.setSettings(settings);
  Tinfo* first = tree.createRecord();
  first->note = std::string(300, 'n');
  first->taskstart = 45000.5;
  first->taskend = -1.25;
  TreeNode* parent = tree.appendNode(nullptr, std::string(300, 't'), first);
  Tinfo* second = tree.createRecord();
  second->note = "\xC3\xA9";
  second->priority = "a\xC3\xA9";
  second->status = "Complete";
  second->icon = 12;
  TreeNode* done = tree.appendNode(parent, "caf\xC3\xA9", second);
  tree.setImageIndex(done, 12);
  return saveTaskListToBytes(tree);
}

std::string generatedList(size_t tasks) {
  Ttree tree;
  sample::appendSampleTasks(inMainWindow(tree), tasks);
  return saveTaskListToBytes(tree);
}

std::string chain(size_t depth) {
  Ttree tree;
  sample::appendChain(inMainWindow(tree), depth);
  return saveTaskListToBytes(tree);
}

// The root's start with two nodes, a parent and its child, ready for task
// objects.
CraftedStream& twoNodeTree(CraftedStream& s) {
  std::string nodes;
  nodes +=
      std::string("\x01\x00\x00\x00", 4) + sample::nodeRecord("parent", 1) + sample::nodeRecord("child", 0);
  return s.fileStart().object("Ttree", "").propertyName("Items.Data").binary(nodes).end();
}

// Every value tag that a known property accepts, and object prefixes.
std::string everyAcceptedTag() {
  CraftedStream s;
  s.fileStart().object("Ttree", "");
  s.propertyName("Left").byte(4).int32(100000);
  s.propertyName("top").byte(3).int16(-300);
  s.propertyName("WIDTH").byte(2).byte(0x80);
  s.propertyName("Align").identifier("alclient");
  s.propertyName("BorderStyle").byte(8);
  s.propertyName("DragMode").byte(9);
  s.propertyName("Color").byte(4).int32(0x123456);
  s.propertyName("Color").identifier("clYellow");
  s.propertyName("Images").byte(13);
  s.propertyName("Images").identifier("frmMain.ImageList1");
  s.propertyName("IsControl").byte(9);
  s.propertyName("test1").shortText("short");
  s.propertyName("test1").longText(std::string(300, 'L'));
  s.propertyName("test1").wideText(std::string("\xE9\x00\x3D\xD8\x42\xDE", 6));  // é, then a surrogate pair
  s.propertyName("test1").utf8Text("a\xC3\xA9");
  s.propertyName("Items.Data")
      .binary(std::string("\x02\x00\x00\x00", 4) + sample::nodeRecord("one", 1) +
              sample::nodeRecord("one.one", 0, 12) + sample::nodeRecord("two", 0));
  s.end();
  s.byte(0xF2).integer(0).object("Tinfo", "ID0");
  s.propertyName("Tag").integer(-5);
  s.propertyName("note").wideText(std::string("\x41\x00\x00\xD8", 4));  // an unpaired surrogate
  s.propertyName("taskstart").extended(46363);
  s.propertyName("taskend").integer(40000);
  s.propertyName("priority").utf8Text("\xE2\x82\xAC");
  s.propertyName("status").longText(std::string(256, 's'));
  s.propertyName("icon").byte(3).int16(12);
  s.propertyName("Left").integer(3);
  s.propertyName("Top").integer(4);
  s.end().end();
  s.byte(0xF0).object("Tinfo", "id1").propertyName("ICON").integer(1).end().end();
  s.object("Tinfo", "Id2").propertyName("taskstart").byte(3).int16(-700).end().end();
  s.object("Tinfo", "spare").end().end();
  s.end();
  return s.bytes();
}

// An unknown property whose value of the given kind must be skipped first.
std::string skippedValue(std::string_view value) {
  CraftedStream s;
  s.fileStart().object("Ttree", "").propertyName("Foo").raw(value).end().end();
  return s.bytes();
}

std::vector<Seed> skippedValues() {
  using namespace std::string_literals;
  return {
      {"skip_list", skippedValue("\x01\x02\x05\x06\x01x\x00"s)},
      {"skip_int8", skippedValue("\x02\x05"s)},
      {"skip_int16", skippedValue("\x03\x05\x00"s)},
      {"skip_int32", skippedValue("\x04\x05\x00\x00\x00"s)},
      {"skip_extended", skippedValue("\x05"s + std::string(10, '\x01'))},
      {"skip_short_text", skippedValue("\x06\x02hi"s)},
      {"skip_identifier", skippedValue("\x07\x03"
                                       "abc"s)},
      {"skip_false_true", skippedValue("\x08"s)},
      {"skip_binary", skippedValue("\x0A\x03\x00\x00\x00xyz"s)},
      {"skip_set", skippedValue("\x0B\x01"
                                "a\x02"
                                "bc\x00"s)},
      {"skip_long_text", skippedValue("\x0C\x02\x00\x00\x00hi"s)},
      {"skip_nil", skippedValue("\x0D"s)},
      {"skip_collection", skippedValue("\x0E\x02\x01\x01\x03"
                                       "Abc\x02\x07\x00\x01\x00\x00"s)},
      {"skip_single", skippedValue("\x0F\x00\x00\x80\x3F"s)},
      {"skip_currency", skippedValue("\x10"s + std::string(8, '\x02'))},
      {"skip_date", skippedValue("\x11"s + std::string(8, '\x03'))},
      {"skip_wide_text", skippedValue("\x12\x02\x00\x00\x00h\x00i\x00"s)},
      {"skip_int64", skippedValue("\x13"s + std::string(8, '\x04'))},
      {"skip_utf8_text", skippedValue("\x14\x02\x00\x00\x00hi"s)},
      {"skip_null", skippedValue("\x00"s)},
  };
}

// Inputs that each end in one of the reader's failures.
std::vector<Seed> refusedFiles() {
  CraftedStream unknownClass, duplicate, badName, badPath, badValue, unknownEnum;
  twoNodeTree(unknownClass).object("Tfoo", "ID0").end().end().end();
  twoNodeTree(duplicate).object("Tinfo", "ID0").end().end().object("Tinfo", "id0").end().end().end();
  twoNodeTree(badName).object("Tinfo", "1st").end().end().end();
  badPath.fileStart().object("Ttree", "").propertyName("Left.Top").integer(1).end().end();
  badValue.fileStart().object("Ttree", "").propertyName("Left").shortText("x").end().end();
  unknownEnum.fileStart().object("Ttree", "").propertyName("Align").identifier("alSideways").end().end();
  std::string truncated = workedExample();
  truncated.resize(200);
  return {{"class_not_found", unknownClass.bytes()},
          {"duplicate_name", duplicate.bytes()},
          {"invalid_name", badName.bytes()},
          {"invalid_path", badPath.bytes()},
          {"invalid_value", badValue.bytes()},
          {"unknown_enumeration", unknownEnum.bytes()},
          {"cut_in_node_list", truncated},
          {"no_signature", std::string("\xFF\x0A\x00X\x00\x30\x10\0\0\0\0XPF0", 15)}};
}

std::string exportedJson(const std::string& bytes) {
  Ttree tree;
  loadTaskListFromBytes(bytes, tree);
  std::ostringstream out;
  cli::writeTaskListJson(tree, out);
  return out.str();
}

}  // namespace

std::vector<Seed> taskListSeeds() {
  std::vector<Seed> seeds = {{"worked_example", workedExample()},
                             {"empty_list", generatedList(0)},
                             {"note_mode", noteModeList()},
                             {"long_and_foreign_texts", longAndForeignTexts()},
                             {"generated_30", generatedList(30)},
                             {"chain_100", chain(100)},
                             {"every_accepted_tag", everyAcceptedTag()}};
  for (auto list : {skippedValues(), refusedFiles()}) seeds.insert(seeds.end(), list.begin(), list.end());
  return seeds;
}

std::vector<Seed> taskListJsonSeeds() {
  std::vector<Seed> seeds = {
      {"worked_example", exportedJson(workedExample())},
      {"empty_list", exportedJson(generatedList(0))},
      {"note_mode", exportedJson(noteModeList())},
      {"long_and_foreign_texts", exportedJson(longAndForeignTexts())},
      {"generated_30", exportedJson(generatedList(30))},
      {"chain_40", exportedJson(chain(40))},
      {"defaults", R"({"tasks": [{"title": "a", "record": null, "children": [{}]}, {}]})"},
      {"odd_values",
       R"({"tree": {"Color": 1234, "Images": "", "Align": "alnone", "test1": "x"},
           "tasks": [{"record": {"taskstart": "nan", "taskend": 1e308, "icon": -1, "tag": 2147483647}}]})"},
  };
  return seeds;
}

}  // namespace qm::fuzz
