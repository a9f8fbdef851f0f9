#pragma once

#include "model/ttree.h"
#include "stream/encoding/byte_sink.h"

namespace qm {

// Writes a whole task list (header, then the tree's component stream) into
// the sink, and fills in the header's size at the end.
void writeTaskList(ByteSink& sink, Ttree& tree);

}  // namespace qm
