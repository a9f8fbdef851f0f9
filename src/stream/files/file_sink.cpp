#include "stream/files/file_sink.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

#include "model/error.h"

namespace qm {

#ifdef _WIN32

namespace {

// One WriteFile call takes at most a DWORD of bytes.
void writeAll(HANDLE file, const char* data, size_t size, OVERLAPPED* at) {
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, DWORD{1} << 30));
    DWORD done = 0;
    if (!::WriteFile(file, data, chunk, &done, at) || done == 0)
      raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
    data += done;
    size -= done;
    if (at != nullptr) {
      uint64_t next = (uint64_t{at->OffsetHigh} << 32 | at->Offset) + done;
      at->Offset = static_cast<DWORD>(next);
      at->OffsetHigh = static_cast<DWORD>(next >> 32);
    }
  }
}

}  // namespace

void FileSink::write(const char* data, size_t size) { writeAll(handle_, data, size, nullptr); }

// A positioned WriteFile moves the file pointer as well: it is put back, so
// that writing goes on at the end.
void FileSink::writeAt(uint64_t offset, const char* data, size_t size) {
  LARGE_INTEGER here{};
  if (!::SetFilePointerEx(handle_, LARGE_INTEGER{}, &here, FILE_CURRENT))
    raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  writeAll(handle_, data, size, &at);
  if (!::SetFilePointerEx(handle_, here, nullptr, FILE_BEGIN))
    raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
}

#else

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

#endif

}  // namespace qm
