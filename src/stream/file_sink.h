#pragma once

#include "stream/byte_sink.h"

namespace qm {

// Writes to an open file descriptor (not owned), retrying short writes.
class FileSink : public ByteSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  void write(const char* data, size_t size) override;
  void writeAt(uint64_t offset, const char* data, size_t size) override;

 private:
  int fd_;
};

}  // namespace qm
