#pragma once

#include <string>
#include <string_view>

#include "model/ttree.h"

namespace qm {

// Writes the whole task list to the named file. The old file is replaced only
// once the new one is completely on disk; on failure it is left as it was.
// Raises "Cannot create file %s" or "Stream write error".
void SaveTaskList(const std::string& fileName, Ttree& tree);

// Reads the named file into the existing tree (empty it first with
// ClearTasks when it holds a list). Raises the reader's messages.
void LoadTaskList(const std::string& fileName, Ttree& tree);

// The same two operations on bytes in memory.
std::string saveTaskListToBytes(Ttree& tree);
void loadTaskListFromBytes(std::string_view bytes, Ttree& tree);

}  // namespace qm
