#include "stream/file_sink.h"

#include <unistd.h>

#include <cerrno>

#include "model/error.h"

namespace qm {

void FileSink::write(const char* data, size_t size) {
  while (size > 0) {
    ssize_t done = ::write(fd_, data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done == 0) errno = ENOSPC;  // nothing taken and no reason given: the disk is full
    if (done <= 0) raiseFileError(FileAction::Saving, {}, "Stream write error");
    data += done;
    size -= static_cast<size_t>(done);
  }
}

void FileSink::writeAt(uint64_t offset, const char* data, size_t size) {
  while (size > 0) {
    ssize_t done = ::pwrite(fd_, data, size, static_cast<off_t>(offset));
    if (done < 0 && errno == EINTR) continue;
    if (done == 0) errno = ENOSPC;  // nothing taken and no reason given: the disk is full
    if (done <= 0) raiseFileError(FileAction::Saving, {}, "Stream write error");
    data += done;
    size -= static_cast<size_t>(done);
    offset += static_cast<uint64_t>(done);
  }
}

}  // namespace qm
