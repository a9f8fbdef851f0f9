#pragma once

#include "model/component.h"
#include "stream/components/class_registry.h"
#include "stream/encoding/byte_writer.h"

namespace qm {

// Writes the signature "TPF0" and the root's object record: class name, name,
// properties, then the objects its class hands out as children.
void writeComponentStream(ByteWriter& out, Component& root, const ClassRegistry& classes);

}  // namespace qm
