#pragma once

#include <memory>
#include <string>

#include "stream/encoding/byte_reader.h"

namespace qm {

// The whole content of a regular file. Raises "Cannot open file %s" when it
// cannot be opened (or is not a regular file), "Stream read error" when
// reading fails.
std::string readWholeFile(const std::string& fileName);

// A regular file read as a ByteReader asks for its bytes, into memory that is
// given back as the reader releases what it has read, so that reading a large
// file does not hold all of it. Its size is the file's when it was opened.
// Raises as readWholeFile does.
std::unique_ptr<ByteSource> openFileSource(const std::string& fileName);

}  // namespace qm
