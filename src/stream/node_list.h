#pragma once

#include <string_view>

#include "model/ttree.h"
#include "stream/encoding/byte_reader.h"
#include "stream/encoding/byte_writer.h"

namespace qm {

// The tree's nodes as one binary block ("Items.Data"): the top-level count,
// then one record per node in pre-order (size, image, selected image, state
// image, overlay image, record id, child count, title of at most 255 bytes).
void writeNodeList(const Ttree& tree, ByteWriter& out);

// Replaces all nodes of the tree with those of the block (all that `block`
// holds). The new nodes are built aside and put in place only once the whole
// block has been read, so a bad block ("Stream read error") leaves the nodes
// as they were. Nodes get no records: the data field is never trusted;
// LinkRecords attaches records afterwards.
void readNodeList(Ttree& tree, ByteReader& block);
void readNodeList(Ttree& tree, std::string_view block);

}  // namespace qm
