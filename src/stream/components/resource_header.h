#pragma once

#include <cstdint>
#include <string_view>

#include "stream/encoding/byte_writer.h"

namespace qm {

// The header in front of a task list's stream: 0xFF, type 10, the resource
// name and its 0 byte, flags 0x1030, and the size of what follows.

// The most bytes of a file that reading its header looks at.
inline constexpr size_t kResourceHeaderWindow = 79;

// Writes the header with the size 0; returns the offset of the size field.
uint64_t writeResourceHeader(ByteWriter& out, std::string_view resourceName);

// Offset just past the header of `file`. Raises "Invalid stream format" when
// the file does not start with 0xFF and type 10, "Stream read error" when it
// ends inside the header. The name, flags and size are not used.
size_t resourceHeaderLength(std::string_view file);
// The same from the first bytes of a file of `fileSize` bytes (at least the
// first 79, or the whole file when it is shorter).
size_t resourceHeaderLength(std::string_view start, size_t fileSize);

}  // namespace qm
