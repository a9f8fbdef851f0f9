#pragma once

#include "stream/encoding/byte_sink.h"

namespace qm {

// Writes to an open file (not owned), retrying short writes.
class FileSink : public ByteSink {
 public:
#ifdef _WIN32
  explicit FileSink(void* handle) : handle_(handle) {}  // a Win32 HANDLE
#else
  explicit FileSink(int fd) : fd_(fd) {}
#endif
  void write(const char* data, size_t size) override;
  void writeAt(uint64_t offset, const char* data, size_t size) override;

 private:
#ifdef _WIN32
  void* handle_;
#else
  int fd_;
#endif
};

}  // namespace qm
