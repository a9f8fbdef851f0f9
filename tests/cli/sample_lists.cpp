#include "sample_lists.h"

#include <limits>
#include <sstream>

#include "cli/formats/json_export.h"
#include "cli/formats/json_import.h"
#include "model/error.h"
#include "model/tinfo.h"

namespace qm::cli::testing {

std::unique_ptr<Ttree> makeSampleList() {
  auto tree = std::make_unique<Ttree>();
  TreeSettings settings = TreeSettings::mainWindowInitial();
  settings.borderStyle = BorderStyle::bsNone;
  settings.color = 0x123456;
  settings.test1 = "x";
  tree->setSettings(settings);

  Tinfo* plan = tree->createRecord();
  plan->note = "first line\r\nsecond line";
  plan->priority = "1";
  plan->setTag(7);
  TreeNode* planNode = tree->appendNode(nullptr, "Plan the trip", plan);

  Tinfo* call = tree->createRecord();
  call->taskstart = 46363.5208333333;  // 7 December 2026, 12:30
  call->taskend = -1.25;               // before the epoch
  call->status = "Complete";
  call->icon = 12;
  TreeNode* callNode = tree->appendNode(planNode, "Call Zoë \"the agent\"", call);
  tree->setPictures(callNode, 12, 3, 2, 1);

  Tinfo* odd = tree->createRecord();
  odd->taskstart = std::numeric_limits<double>::quiet_NaN();
  odd->taskend = -std::numeric_limits<double>::infinity();
  odd->note = "日本語のメモ";
  tree->appendNode(callNode, "Tab\tand back\\slash", odd);

  TreeNode* bare = tree->appendNode(nullptr, "No record");
  tree->setImageIndex(bare, 5);
  tree->appendNode(nullptr, " ", tree->createRecord());
  return tree;
}

std::unique_ptr<Ttree> makeChain(size_t depth) {
  auto tree = std::make_unique<Ttree>();
  Ttree::BulkUpdate bulk(*tree);
  TreeNode* parent = nullptr;
  for (size_t i = 0; i < depth; ++i) parent = tree->appendNode(parent, std::to_string(i));
  return tree;
}

std::string exportJson(const Ttree& tree) {
  std::ostringstream out;
  writeTaskListJson(tree, out);
  return out.str();
}

std::unique_ptr<Ttree> importJson(std::string_view json) {
  auto tree = std::make_unique<Ttree>();
  readTaskListJson(json, *tree);
  return tree;
}

std::string importError(std::string_view json) {
  try {
    importJson(json);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

}  // namespace qm::cli::testing
