#include "task_list_json_target.h"

#include <sstream>
#include <string>

#include "cli/formats/json_export.h"
#include "cli/formats/json_import.h"
#include "fuzz_finding.h"
#include "model/error.h"
#include "round_trip.h"

namespace qm::fuzz {
namespace {

std::string exported(const Ttree& tree) {
  std::ostringstream out;
  cli::writeTaskListJson(tree, out);
  return out.str();
}

}  // namespace

void exerciseTaskListJson(std::string_view text) {
  Ttree tree;
  try {
    cli::readTaskListJson(text, tree);
  } catch (const Error&) {
    expectStableRoundTrip(tree);
    return;
  }
  std::string json = exported(tree);
  Ttree again;
  try {
    cli::readTaskListJson(json, again);
  } catch (const Error& e) {
    throw FuzzFinding(std::string("an exported list does not import: ") + e.what());
  }
  if (exported(again) != json) throw FuzzFinding("export, import and export again changes the text");
  expectStableRoundTrip(tree);
}

}  // namespace qm::fuzz
