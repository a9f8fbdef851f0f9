#include "stream/encoding/byte_reader.h"

#include <algorithm>

#include "model/error.h"

namespace qm {

void ByteReader::fail() { raise("Stream read error"); }

void ByteReader::fillFor(size_t size) {
  if (size > end_ - pos_ || source_ == nullptr) fail();
  source_->fill(pos_ + size);
  filled_ = std::min(source_->filled(), end_);
  if (size > filled_ - pos_) fail();  // the file ended early
}

uint64_t ByteReader::readUnsigned(size_t size) {
  need(size);
  uint64_t value = loadLittleEndian(data_ + pos_, size);
  pos_ += size;
  return value;
}

size_t ByteReader::readCount(size_t unitSize) {
  int32_t count = readInt32();
  if (count < 0 || static_cast<uint64_t>(count) * unitSize > remaining()) fail();
  return static_cast<size_t>(count);
}

}  // namespace qm
