#include "stream/encoding/byte_writer.h"

#include <algorithm>

namespace qm {

ByteWriter::ByteWriter(ByteSink& sink) : sink_(sink), buffer_(new char[kCapacity]) {}

void ByteWriter::flush() {
  if (used_ == 0) return;
  sink_.write(buffer_.get(), used_);
  flushed_ += used_;
  used_ = 0;
}

void ByteWriter::writeLarge(std::string_view data) {
  sink_.write(data.data(), data.size());
  flushed_ += data.size();
}

void ByteWriter::patchInt32(uint64_t offset, int32_t value) {
  char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  if (offset >= flushed_) {
    std::memcpy(buffer_.get() + (offset - flushed_), bytes, 4);
  } else {
    // Straddling the flushed part and the buffer cannot happen for the
    // fields patched here, but costs nothing to handle.
    size_t inSink = static_cast<size_t>(std::min<uint64_t>(4, flushed_ - offset));
    sink_.writeAt(offset, bytes, inSink);
    if (inSink < 4) std::memcpy(buffer_.get(), bytes + inSink, 4 - inSink);
  }
}

}  // namespace qm
