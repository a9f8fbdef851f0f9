#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/ttree.h"

namespace qm::cli::testing {

// A list that uses every field of the JSON form: nesting three levels deep,
// a completed task, notes with line breaks and non-ASCII text, dates with a
// time of day, before 1899 and not finite, a record tag, a task without a
// record, and tree settings that differ from every default.
std::unique_ptr<Ttree> makeSampleList();

// Tasks "0", "1", ... each the only child of the one before.
std::unique_ptr<Ttree> makeChain(size_t depth);

std::string exportJson(const Ttree& tree);
std::unique_ptr<Ttree> importJson(std::string_view json);

// The message of the Error that importing the text raises ("" if none).
std::string importError(std::string_view json);

}  // namespace qm::cli::testing
