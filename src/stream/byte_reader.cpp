#include "stream/byte_reader.h"

#include "model/error.h"

namespace qm {

void ByteReader::fail() { raise("Stream read error"); }

uint64_t ByteReader::readUnsigned(size_t size) {
  need(size);
  uint64_t value = loadLittleEndian(bytes_.data() + pos_, size);
  pos_ += size;
  return value;
}

size_t ByteReader::readCount(size_t unitSize) {
  int32_t count = readInt32();
  if (count < 0 || static_cast<uint64_t>(count) * unitSize > remaining()) fail();
  return static_cast<size_t>(count);
}

}  // namespace qm
