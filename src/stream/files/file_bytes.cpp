#include "stream/files/file_bytes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <vector>

#include "model/error.h"
#include "model/huge_pages.h"
#include "stream/files/native_path.h"

#ifdef _WIN32

namespace qm {
namespace {

// Opened for reading while other readers are let in but writers are kept
// out, so the bytes cannot change under the reader.
class WindowsFile {
 public:
  explicit WindowsFile(const std::string& name) : name_(name) {
    std::filesystem::path path = nativePath(name);
    ::SetLastError(ERROR_INVALID_NAME);  // the reason when the name is not UTF-8
    if (!path.empty())
      handle_ = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  }
  WindowsFile(const WindowsFile&) = delete;
  WindowsFile& operator=(const WindowsFile&) = delete;
  WindowsFile(WindowsFile&& other) noexcept : handle_(other.handle_), name_(std::move(other.name_)) {
    other.handle_ = INVALID_HANDLE_VALUE;
  }
  ~WindowsFile() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  HANDLE handle() const { return handle_; }

  // The bytes read, 0 at the end of the file.
  size_t read(char* into, size_t size) {
    DWORD got = 0;
    if (!::ReadFile(handle_, into, static_cast<DWORD>(std::min<size_t>(size, DWORD{1} << 30)), &got, nullptr))
      raiseWin32FileError(FileAction::Opening, name_, "Stream read error");
    return got;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string name_;
};

// A directory cannot be opened this way; a device or a pipe is refused here.
WindowsFile openRegularFile(const std::string& fileName, size_t& size) {
  WindowsFile file(fileName);
  LARGE_INTEGER bytes{};
  bool opened = file.handle() != INVALID_HANDLE_VALUE;
  bool regular = opened && ::GetFileType(file.handle()) == FILE_TYPE_DISK;
  if (opened && !regular) ::SetLastError(ERROR_SUCCESS);  // a device or a pipe: no reason of its own
  if (!regular || !::GetFileSizeEx(file.handle(), &bytes))
    raiseWin32FileError(FileAction::Opening, fileName, "Cannot open file %s", {fileName});
  size = static_cast<size_t>(bytes.QuadPart);
  return file;
}

// A plain read, as the reader asks for the bytes, into one block of the
// file's size that stays until the reader is done.
class WindowsFileSource : public ByteSource {
 public:
  WindowsFileSource(WindowsFile file, size_t size)
      : file_(std::move(file)), bytes_(new char[size]), size_(size) {}

  const char* data() const override { return bytes_.get(); }
  size_t size() const override { return size_; }
  size_t filled() const override { return filled_; }

  void fill(size_t end) override {
    constexpr size_t kReadAhead = size_t{1} << 20;
    end = std::min(std::max(end, filled_ + kReadAhead), size_);
    while (filled_ < end && !ended_) {
      size_t got = file_.read(bytes_.get() + filled_, end - filled_);
      ended_ = got == 0;  // shorter than when opened: the reader fails
      filled_ += got;
    }
  }

 private:
  WindowsFile file_;
  std::unique_ptr<char[]> bytes_;
  size_t size_;
  size_t filled_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& fileName) {
  size_t size = 0;
  WindowsFile file = openRegularFile(fileName, size);
  return std::make_unique<WindowsFileSource>(std::move(file), size);
}

std::string readWholeFile(const std::string& fileName) {
  size_t size = 0;
  WindowsFile file = openRegularFile(fileName, size);
  std::string bytes(size + 1, '\0');  // one more byte sees the end
  size_t used = 0;
  for (size_t got = 1; got > 0; used += got) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    got = file.read(bytes.data() + used, bytes.size() - used);
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace qm

#else

namespace qm {
namespace {

// Opened without blocking, so that a named pipe or a device is refused at
// once instead of waiting for a writer (see openRegularFile).
class OpenFile {
 public:
  explicit OpenFile(const std::string& name)
      : fd_(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  OpenFile(OpenFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

constexpr size_t kReadAhead = size_t{1} << 20;    // bytes read at once
constexpr size_t kReleaseStep = size_t{4} << 20;  // bytes given back at once
// Smaller files are read into ordinary memory, which the allocator hands out
// again warm for the next file; giving pages back would only cost faults.
// From here on, the pages moved ahead save more new pages than that.
constexpr size_t kMappedFrom = size_t{4} << 20;

[[noreturn]] void readFailed(const std::string& fileName) {
  raiseFileError(FileAction::Opening, fileName, "Stream read error");
}

// The bytes live in a private anonymous mapping of the file's size, so their
// addresses never change; pages before what the reader still needs are
// handed back to the system (they would read as zeros afterwards, and are
// never read again). The mapping asks for huge pages, and is given back in
// whole ones: a 150 MB file then costs some 75 page faults, not 37,000.
class FileSource : public ByteSource {
 public:
  FileSource(OpenFile file, size_t size, std::string name)
      : file_(std::move(file)), name_(std::move(name)), size_(size) {
    if (size_ == 0) return;
    if (size_ < kMappedFrom) {
      small_.reset(new char[size_]);  // not zeroed: read over at once
      data_ = small_.get();
      return;
    }
    data_ = static_cast<char*>(mapHugeAligned(size_, true));
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  ~FileSource() override {
    if (!small_) unmapHugeAligned(data_, size_);
  }

  const char* data() const override { return data_; }
  size_t size() const override { return size_; }
  size_t filled() const override { return filled_; }

  void fill(size_t end) override {
    end = std::min(std::max(end, filled_ + kReadAhead), size_);
    while (filled_ < end && !ended_) {
      ssize_t got = ::read(file_.fd(), data_ + filled_, end - filled_);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) readFailed(name_);
      if (got == 0) ended_ = true;  // shorter than when opened: the reader fails
      filled_ += static_cast<size_t>(got);
    }
  }

  void release(size_t from, size_t before) override {
    if (small_) return;
    // A reader of part of the file releases from the part's start on; the
    // bytes before it stay until the outer reader releases them.
    size_t& done = from <= released_ ? released_ : releasedFrom(from);
    size_t start = std::max(from, done);
    if (before < start + kReleaseStep) return;
    size_t first = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    size_t end = before / kHugePageBytes * kHugePageBytes;
    if (end > first) giveBack(first, end);
    // From the huge page that holds `before` on: its bytes go next time.
    done = std::max(end, start);
  }

 private:
  // The pages move on to where the file is still to be read, so that its
  // next bytes land in memory the system has cleared already; where they do
  // not fit, or the system cannot move them, they are simply given back.
  // Either way the range left behind reads as zeros. A part's reader and the
  // whole's both release the part's bytes: pages gone already are skipped,
  // or the empty range would be moved ahead in place of pages.
  // Buys a 1,000,000-task read 4 new huge pages for the file, not 34 (each cleared by the system first).
  void giveBack(size_t first, size_t end) {
    if (gone_.empty()) gone_.resize(mappedSize() / kHugePageBytes);
    for (size_t page = first / kHugePageBytes; page < end / kHugePageBytes;) {
      size_t run = page;
      while (run < end / kHugePageBytes && !gone_[run]) gone_[run++] = true;
      if (run > page) moveAhead(page * kHugePageBytes, (run - page) * kHugePageBytes);
      page = run + 1;
    }
  }
  void moveAhead(size_t first, size_t length) {
    const size_t to =
        std::max(recycledEnd_, (filled_ + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes);
#ifdef MREMAP_DONTUNMAP
    if (to + length <= mappedSize() &&
        ::mremap(data_ + first, length, length, MREMAP_MAYMOVE | MREMAP_FIXED | MREMAP_DONTUNMAP,
                 data_ + to) != MAP_FAILED) {
      recycledEnd_ = to + length;
      return;
    }
#endif
    ::madvise(data_ + first, length, MADV_DONTNEED);
  }
  size_t mappedSize() const { return (size_ + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }

  OpenFile file_;
  std::string name_;
  std::unique_ptr<char[]> small_;
  char* data_ = nullptr;
  size_t size_;
  size_t filled_ = 0;
  size_t released_ = 0;     // everything before it is given back
  size_t recycledEnd_ = 0;  // pages moved ahead lie before it
  std::vector<bool> gone_;  // per huge page: given back or moved ahead
  size_t& releasedFrom(size_t floor) {
    if (floor != floor_) floor_ = partReleased_ = floor;
    return partReleased_;
  }
  size_t floor_ = 0;         // the start of a part read on its own...
  size_t partReleased_ = 0;  // ...and what is given back from it on
  bool ended_ = false;
};

OpenFile openRegularFile(const std::string& fileName, struct stat& info) {
  OpenFile file(fileName);
  bool opened = file.fd() >= 0 && ::fstat(file.fd(), &info) == 0;
  if (!opened || !S_ISREG(info.st_mode)) {
    if (opened)
      errno = S_ISDIR(info.st_mode) ? EISDIR : 0;  // a pipe, a device or a socket: no reason of its own
    raiseFileError(FileAction::Opening, fileName, "Cannot open file %s", {fileName});
  }
  // A regular file: its reads may block as reads of files do.
  ::fcntl(file.fd(), F_SETFL, ::fcntl(file.fd(), F_GETFL) & ~O_NONBLOCK);
  return file;
}

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& fileName) {
  struct stat info;
  OpenFile file = openRegularFile(fileName, info);
  return std::make_unique<FileSource>(std::move(file), static_cast<size_t>(info.st_size), fileName);
}

std::string readWholeFile(const std::string& fileName) {
  struct stat info;
  OpenFile file = openRegularFile(fileName, info);
  std::string bytes;
  bytes.resize(static_cast<size_t>(info.st_size) + 1);  // one more byte sees the end
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    ssize_t got = ::read(file.fd(), bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) readFailed(fileName);
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace qm

#endif
