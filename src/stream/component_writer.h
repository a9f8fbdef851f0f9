#pragma once

#include "model/component.h"
#include "stream/byte_writer.h"
#include "stream/class_registry.h"

namespace qm {

// Writes the signature "TPF0" and the root's object record: class name, name,
// properties, then the objects its class hands out as children.
void writeComponentStream(ByteWriter& out, Component& root, const ClassRegistry& classes);

}  // namespace qm
