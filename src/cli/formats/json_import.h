#pragma once

#include <string_view>

#include "model/ttree.h"

namespace qm::cli {

// Builds the list that a text in the JSON form describes into an empty tree
// (see json_export.h for the form). A missing tree key takes the main
// window's initial value, a missing task key its default: title " ", images
// 0, 0, -1, -1, an empty record, no children; "record": null leaves the task
// without a record. The text is read as it streams by, without recursion and
// without building a document, so any depth and size is fine.
//
// Raises Error "line L, column C: <what is wrong>" when the text is not JSON
// or not the JSON form (unknown or repeated key, value of the wrong type,
// unknown name). The tree then holds what was read before.
void readTaskListJson(std::string_view text, Ttree& tree);

}  // namespace qm::cli
