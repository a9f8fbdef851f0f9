#pragma once

#include <string>
#include <string_view>

#include "model/ttree.h"
#include "stream/files/file_fingerprint.h"

namespace qm {

// Writes the whole task list to the named file. The old file is replaced only
// once the new one is completely on disk; on failure it is left as it was.
// Raises "Cannot create file %s" or "Stream write error".
void SaveTaskList(const std::string& fileName, Ttree& tree);

// Reads the named file into the existing tree (empty it first with
// ClearTasks when it holds a list). Raises the reader's messages.
void LoadTaskList(const std::string& fileName, Ttree& tree);

// As LoadTaskList, and gives the fingerprint of the file as read (its size
// and time before opening, the hash of the bytes the reader passed), so that
// remembering a large list's file does not read it a second time.
FileFingerprint loadTaskListWithFingerprint(const std::string& fileName, Ttree& tree);

// The same two operations on bytes in memory.
std::string saveTaskListToBytes(Ttree& tree);
// Into `out`, replacing what it held; memory it holds already is reused, so
// saving again and again touches no new memory. When the save fails, `out`
// holds part of a list.
void saveTaskListToBytes(Ttree& tree, std::string& out);
void loadTaskListFromBytes(std::string_view bytes, Ttree& tree);

// Whether the named file is big enough for its read to have memory made
// ready ahead of it (SlabPrefetch); a program may start that before it
// starts reading, to give it a head start.
bool isLargeTaskListFile(const std::string& fileName);

}  // namespace qm
