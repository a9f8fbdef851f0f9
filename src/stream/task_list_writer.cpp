#include "stream/task_list_writer.h"

#include <limits>

#include "model/error.h"
#include "stream/components/class_registry.h"
#include "stream/components/component_writer.h"
#include "stream/components/resource_header.h"
#include "stream/encoding/byte_writer.h"

namespace qm {

void writeTaskList(ByteSink& sink, Ttree& tree) {
  ByteWriter out(sink);
  uint64_t sizeField = writeResourceHeader(out, tree.className());
  uint64_t streamStart = out.position();
  writeComponentStream(out, tree, taskListClasses());
  uint64_t size = out.position() - streamStart;
  if (size > std::numeric_limits<uint32_t>::max()) raise("Stream write error");
  out.patchInt32(sizeField, static_cast<int32_t>(static_cast<uint32_t>(size)));
  out.flush();
}

}  // namespace qm
