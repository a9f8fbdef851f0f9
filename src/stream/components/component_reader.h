#pragma once

#include <string_view>

#include "model/component.h"
#include "stream/components/class_registry.h"
#include "stream/encoding/byte_reader.h"

namespace qm {

// Reads a component stream (from its signature "TPF0") into an existing root:
// the root's properties, then its child objects, created from the class
// registry with the root as their owner. When the whole stream is read, the
// post-read step of every object read runs (the root's first), then object
// references are resolved. Any failure raises with the reader's message and
// leaves what was read so far in place, with no post-read step run.
void readComponentStream(std::string_view stream, Component& root, const ClassRegistry& classes);
// The same from a reader placed at the signature; the bytes before each
// object read are released as it goes.
void readComponentStream(ByteReader& stream, Component& root, const ClassRegistry& classes);

}  // namespace qm
