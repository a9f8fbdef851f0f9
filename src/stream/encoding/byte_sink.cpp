#include "stream/encoding/byte_sink.h"

#include "model/error.h"

namespace qm {

void MemorySink::writeAt(uint64_t offset, const char* data, size_t size) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) raise("Stream write error");
  bytes_.replace(static_cast<size_t>(offset), size, data, size);
}

}  // namespace qm
