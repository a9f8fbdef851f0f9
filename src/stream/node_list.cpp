#include "stream/node_list.h"

#include <cstdint>
#include <string>
#include <vector>

#include "stream/encoding/byte_reader.h"
#include "stream/encoding/text_codec.h"

namespace qm {
namespace {

constexpr size_t kMaxTitleBytes = 255;
constexpr size_t kFixedRecordBytes = 25;  // six 4-byte fields and the title length
constexpr size_t kMinimalRecordBytes = 4 + kFixedRecordBytes;

struct NodeRecord {
  int32_t image;
  int32_t selected;
  int32_t state;
  int32_t overlay;
  std::string_view title;
};

int32_t fieldAt(std::string_view record, size_t offset) {
  return static_cast<int32_t>(loadLittleEndian(record.data() + offset, 4));
}

// Walks the records in pre-order without recursion, calling
// visit(record, depth) with depth 0 for top-level nodes. Every count is
// checked against the bytes left before it is believed: all the nodes still
// owed must fit, at their smallest, into what remains.
template <class Visit>
void walkNodeList(ByteReader& in, Visit&& visit) {
  int32_t topLevel = in.readInt32();
  uint64_t owed = topLevel < 0 ? UINT64_MAX : static_cast<uint64_t>(topLevel);
  if (owed > in.remaining() / kMinimalRecordBytes) ByteReader::fail();
  std::vector<uint32_t> unread{static_cast<uint32_t>(owed)};  // per open level
  while (!unread.empty()) {
    if (unread.back() == 0) {
      unread.pop_back();
      continue;
    }
    in.release();  // the records before this one are built
    --unread.back();
    --owed;
    int32_t size = in.readInt32();
    if (size < static_cast<int32_t>(kFixedRecordBytes)) ByteReader::fail();
    std::string_view record = in.readBytes(static_cast<size_t>(size));
    auto titleLength = static_cast<uint8_t>(record[24]);
    if (kFixedRecordBytes + titleLength > record.size()) ByteReader::fail();  // longer: the rest is skipped
    int32_t children = fieldAt(record, 20);
    if (children < 0) ByteReader::fail();
    owed += static_cast<uint64_t>(children);
    if (owed > in.remaining() / kMinimalRecordBytes) ByteReader::fail();
    visit(NodeRecord{fieldAt(record, 0), fieldAt(record, 4), fieldAt(record, 8), fieldAt(record, 12),
                     record.substr(kFixedRecordBytes, titleLength)},
          unread.size() - 1);
    unread.push_back(static_cast<uint32_t>(children));
  }
}

}  // namespace

void writeNodeList(const Ttree& tree, ByteWriter& out) {
  out.int32(static_cast<int32_t>(tree.topLevelCount()));
  for (const TreeNode* node = tree.firstNode(); node != nullptr; node = tree.nextInPreorder(node)) {
    std::string_view title = cutAtCharacter(node->text(), kMaxTitleBytes);
    out.int32(static_cast<int32_t>(kFixedRecordBytes + title.size()));
    out.int32(node->imageIndex());
    out.int32(node->selectedIndex());
    out.int32(node->stateIndex());
    out.int32(node->overlayIndex());
    out.int32(static_cast<int32_t>(node->record() != nullptr ? node->record()->id() : 0));
    out.int32(static_cast<int32_t>(node->childCount()));
    out.byte(static_cast<uint8_t>(title.size()));
    out.bytes(title);
  }
}

void readNodeList(Ttree& tree, ByteReader& block) {
  Ttree::NodeBuilder nodes(tree);
  std::string decoded;
  walkNodeList(block, [&](const NodeRecord& record, size_t depth) {
    std::string_view title = record.title;
    if (!isValidUtf8(title)) {
      decodeEightBitText(title, decoded);
      title = decoded;
    }
    nodes.append(depth, title, record.image, record.selected, record.state, record.overlay);
  });
  nodes.commit();
}

void readNodeList(Ttree& tree, std::string_view block) {
  ByteReader in(block);
  readNodeList(tree, in);
}

}  // namespace qm
