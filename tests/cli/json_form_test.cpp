// The JSON form: layout, defaults, names, dates and text, and that export and
// import are exact inverses, at any depth.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/formats/json_values.h"
#include "model/tinfo.h"
#include "sample_lists.h"

namespace qm::cli {
namespace {

using testing::exportJson;
using testing::importJson;

constexpr std::string_view kDefaultRecord =
    R"({"note": "", "taskstart": 0, "taskend": 0, "priority": "", "status": "", "icon": 0, "tag": 0})";

TEST(JsonExport, WritesEveryKeyOneTaskALineIndentedByDepth) {
  Ttree tree;
  tree.setSettings(TreeSettings::mainWindowInitial());
  TreeNode* plan = tree.appendNode(nullptr, "Plan", tree.createRecord());
  Tinfo* call = tree.createRecord();
  call->taskstart = 46363;
  call->priority = "2";
  tree.appendNode(plan, "Call", call);

  std::string expected =
      R"({"tree": {"Left": 0, "Top": 22, "Width": 348, "Height": 293, "Align": "alClient", )"
      R"("BorderStyle": "bsSingle", "Color": "clSkyBlue", "DragMode": "dmAutomatic", )"
      R"("Images": "frmMain.ImageList1", "Indent": 19, "TabOrder": 2, "test1": ""},)"
      "\n"
      R"( "tasks": [)"
      "\n"
      R"(  {"title": "Plan", "image": 0, "selectedImage": 0, "stateImage": -1, "overlayImage": -1, )"
      R"("record": )" +
      std::string(kDefaultRecord) +
      R"(, "children": [)"
      "\n"
      R"(    {"title": "Call", "image": 0, "selectedImage": 0, "stateImage": -1, "overlayImage": -1, )"
      R"("record": {"note": "", "taskstart": 46363, "taskend": 0, "priority": "2", "status": "", )"
      R"("icon": 0, "tag": 0}, "children": []}]}]})"
      "\n";
  EXPECT_EQ(exportJson(tree), expected);
}

TEST(JsonExport, IsValidJsonWhateverTheText) {
  auto tree = testing::makeSampleList();
  // Bytes that are not UTF-8 never come from a file, but must not break
  // the export when a tree is built otherwise.
  tree->setText(tree->firstNode(), "bad \xff\xfe byte \x01");
  nlohmann::json parsed = nlohmann::json::parse(exportJson(*tree));
  const auto& first = parsed["tasks"][0];
  EXPECT_EQ(first["title"], "bad \xEF\xBF\xBD\xEF\xBF\xBD byte \x01");
  EXPECT_EQ(first["record"]["note"], "first line\r\nsecond line");
  EXPECT_EQ(first["children"][0]["title"], "Call Zoë \"the agent\"");
  EXPECT_EQ(first["children"][0]["children"][0]["record"]["taskstart"], "nan");
  EXPECT_EQ(first["children"][0]["children"][0]["record"]["taskend"], "-inf");
  EXPECT_EQ(parsed["tree"]["Color"], 0x123456);
  EXPECT_TRUE(parsed["tasks"][1]["record"].is_null());
}

TEST(JsonRoundTrip, ExportImportExportIsIdentical) {
  auto original = testing::makeSampleList();
  std::string json = exportJson(*original);
  auto imported = importJson(json);
  EXPECT_EQ(exportJson(*imported), json);
  EXPECT_EQ(imported->settings(), original->settings());
  EXPECT_EQ(imported->nodeCount(), original->nodeCount());
  EXPECT_EQ(imported->firstNode()->record()->tag(), 7);
  EXPECT_EQ(imported->nodeAt(3)->record(), nullptr);

  Ttree empty;
  std::string emptyJson = exportJson(empty);
  EXPECT_TRUE(emptyJson.ends_with("\"tasks\": []}\n"));
  EXPECT_EQ(exportJson(*importJson(emptyJson)), emptyJson);
}

TEST(JsonRoundTrip, DatesComeBackAsTheSameDouble) {
  const double dates[] = {46363.520833333336,
                          0.1,
                          -1.25,
                          1e300,
                          -2.5e-8,
                          std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::max(),
                          std::nextafter(46363.0, 50000.0),
                          9007199254740993.0,
                          -0.0,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
  Ttree tree;
  for (double date : dates) {
    Tinfo* record = tree.createRecord();
    record->taskstart = date;
    tree.appendNode(nullptr, "t", record);
  }
  auto imported = importJson(exportJson(tree));
  for (size_t i = 0; i < std::size(dates); ++i)
    EXPECT_EQ(std::bit_cast<uint64_t>(imported->nodeAt(i)->record()->taskstart),
              std::bit_cast<uint64_t>(dates[i]))
        << "date " << dates[i];
  EXPECT_EQ(dayCountJson(46363), "46363");
  EXPECT_EQ(dayCountJson(-0.0), "-0.0");
}

TEST(JsonImport, FillsMissingKeysWithDefaults) {
  auto empty = importJson("{}");
  EXPECT_EQ(empty->settings(), TreeSettings::mainWindowInitial());
  EXPECT_EQ(empty->nodeCount(), 0u);

  auto tree = importJson(R"({"tree": {"Width": 500}, "tasks": [{}, {"record": {"note": "n"}}]})");
  TreeSettings expected = TreeSettings::mainWindowInitial();
  expected.width = 500;
  EXPECT_EQ(tree->settings(), expected);
  const TreeNode* task = tree->firstNode();
  EXPECT_EQ(task->text(), " ");
  EXPECT_EQ(task->imageIndex(), 0);
  EXPECT_EQ(task->selectedIndex(), 0);
  EXPECT_EQ(task->stateIndex(), -1);
  EXPECT_EQ(task->overlayIndex(), -1);
  ASSERT_NE(task->record(), nullptr);
  EXPECT_EQ(task->record()->taskstart, 0);
  EXPECT_EQ(task->record()->icon, 0);
  EXPECT_EQ(task->record()->tag(), 0);
  EXPECT_EQ(tree->nodeAt(1)->record()->note, "n");
  EXPECT_EQ(tree->nodeAt(1)->record()->priority, "");
}

TEST(JsonImport, NullRecordMeansATaskWithoutOne) {
  auto tree = importJson(R"({"tasks": [{"record": null, "image": 5}]})");
  EXPECT_EQ(tree->firstNode()->record(), nullptr);
  EXPECT_EQ(tree->firstNode()->imageIndex(), 5);
}

TEST(JsonImport, NamesAndColours) {
  auto tree = importJson(
      R"({"tree": {"Align": "ALTOP", "BorderStyle": "bsNone", "DragMode": "dmManual", "Color": "clyellow",)"
      R"( "Images": ""}})");
  EXPECT_EQ(tree->settings().align, Align::alTop);
  EXPECT_EQ(tree->settings().borderStyle, BorderStyle::bsNone);
  EXPECT_EQ(tree->settings().dragMode, DragMode::dmManual);
  EXPECT_EQ(tree->settings().color, clYellow);
  EXPECT_EQ(tree->settings().images, "");
  EXPECT_EQ(importJson(R"({"tree": {"Color": "clWindow"}})")->settings().color, clWindow);
  EXPECT_EQ(importJson(R"({"tree": {"Color": -16777201}})")->settings().color, -16777201);
  EXPECT_EQ(importJson(R"({"tree": {"Color": 255.0}})")->settings().color, 255);
}

TEST(JsonImport, ChildrenKeepTheirOrderWhereverChildrenAndRecordStand) {
  auto tree = importJson(
      R"({"tasks": [{"children": [{"title": "a"}, {"title": "b"}], "title": "p", "record": {"icon": 12}},)"
      R"( {"title": "q"}]})");
  ASSERT_EQ(tree->nodeCount(), 4u);
  EXPECT_EQ(tree->nodeAt(0)->text(), "p");
  EXPECT_EQ(tree->nodeAt(0)->record()->icon, 12);
  EXPECT_EQ(tree->nodeAt(1)->text(), "a");
  EXPECT_EQ(tree->nodeAt(2)->text(), "b");
  EXPECT_EQ(tree->nodeAt(3)->text(), "q");
  EXPECT_EQ(tree->nodeAt(3)->subtreeSize(), 1u);
  EXPECT_EQ(tree->nodeAt(0)->subtreeSize(), 3u);
}

TEST(JsonDeepList, AMillionNestedTasksImportAndExport) {
  constexpr size_t kDepth = 1'000'000;
  std::string json = R"({"tasks": [)";
  for (size_t i = 0; i < kDepth; ++i) json += R"({"title": "t", "children": [)";
  for (size_t i = 0; i < kDepth; ++i) json += "]}";
  json += "]}";
  auto imported = importJson(json);
  ASSERT_EQ(imported->nodeCount(), kDepth);
  EXPECT_EQ(imported->firstNode()->subtreeSize(), kDepth);
  EXPECT_NE(imported->nodeAt(kDepth - 1)->record(), nullptr);

  std::string exported = exportJson(*imported);
  EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), static_cast<std::ptrdiff_t>(kDepth + 2));
  std::string lastTaskEnd = R"("icon": 0, "tag": 0}, "children": []})";
  std::string closing = lastTaskEnd;
  for (size_t i = 0; i < kDepth; ++i) closing += "]}";
  EXPECT_TRUE(exported.ends_with(closing + "\n"));
}

}  // namespace
}  // namespace qm::cli
