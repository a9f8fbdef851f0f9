#pragma once

#include <string>

namespace qm {

// The whole content of a regular file. Raises "Cannot open file %s" when it
// cannot be opened (or is not a regular file), "Stream read error" when
// reading fails.
std::string readWholeFile(const std::string& fileName);

}  // namespace qm
