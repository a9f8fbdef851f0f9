#pragma once

#include <functional>
#include <string>

#include "stream/encoding/byte_sink.h"

namespace qm {

// Replaces the file `fileName` with the bytes that `produce` writes, without
// ever destroying the old file: they go to a temporary file in the target's
// directory, which is flushed to disk and then renamed over the target. A
// symbolic link is followed to the file it names (the link stays a link), and
// the old file's permissions are kept. The temporary file is locked while it
// is written; before writing, those of the same target that nobody holds (a
// killed save's) are removed. On any failure the temporary file is
// removed, the target is left as it was, and the error is raised: "Cannot
// create file %s" when the temporary file cannot be created, "Stream write
// error" when writing, syncing or renaming fails, or whatever `produce` raised,
// carrying the file name and the system's reason.
void replaceFileAtomically(const std::string& fileName, const std::function<void(ByteSink&)>& produce);

}  // namespace qm
