#include "stream/files/atomic_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "model/error.h"
#include "stream/files/file_sink.h"
#include "stream/files/native_path.h"

#ifdef _WIN32

namespace qm {
namespace {

namespace fs = std::filesystem;

fs::path directoryOf(const fs::path& target) {
  return target.parent_path().empty() ? fs::path(L".") : target.parent_path();
}

// Temporary files are named ".<target>.saving-XXXXXX", a shape no one gives a
// file of their own. A shortened name keeps the temporary name within the
// file system's limit.
std::wstring temporaryPrefix(const fs::path& target) {
  std::wstring base = target.filename().wstring().substr(0, 200);
  if (!base.empty() && IS_HIGH_SURROGATE(base.back())) base.pop_back();
  return L"." + base + L".saving-";
}
constexpr size_t kUniqueLength = 6;

// A save holds its temporary file open without sharing until it is closed
// to be moved into place, so deleting one fails unless a killed save left it.
void removeLeftovers(const fs::path& target) {
  const std::wstring prefix = temporaryPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(directoryOf(target), error), end; !error && it != end; it.increment(error)) {
    const std::wstring name = it->path().filename().wstring();
    if (name.size() == prefix.size() + kUniqueLength && name.starts_with(prefix) &&
        it->is_regular_file(error))
      ::DeleteFileW(it->path().c_str());
  }
}

// A temporary file beside the target that deletes itself unless it was moved
// into place.
class WindowsTemporaryFile {
 public:
  explicit WindowsTemporaryFile(const fs::path& target) {
    const std::wstring prefix = temporaryPrefix(target);
    DWORD seed = ::GetCurrentProcessId() * 2654435761u ^ ::GetTickCount();
    for (int attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
      wchar_t suffix[kUniqueLength + 1];
      ::swprintf(suffix, kUniqueLength + 1, L"%06X", (seed + attempt * 40503u) & 0xFFFFFF);
      path_ = directoryOf(target) / (prefix + suffix);
      handle_ =
          ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    created_ = handle_ != INVALID_HANDLE_VALUE;
  }
  WindowsTemporaryFile(const WindowsTemporaryFile&) = delete;
  WindowsTemporaryFile& operator=(const WindowsTemporaryFile&) = delete;
  ~WindowsTemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    if (!committed_ && created_) ::DeleteFileW(path_.c_str());
  }

  bool created() const { return created_; }
  HANDLE handle() const { return handle_; }

  // Flushes and closes the file, then gives it the old file's attributes.
  void finish(DWORD attributes) {
    if (!::FlushFileBuffers(handle_)) raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
    if (attributes != FILE_ATTRIBUTE_NORMAL && !::SetFileAttributesW(path_.c_str(), attributes))
      raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
  }

  void moveOver(const fs::path& target, bool targetExists) {
    bool moved = targetExists && ::ReplaceFileW(target.c_str(), path_.c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    // The target may have gone since it was looked at: then it is a plain move.
    if (!moved && (!targetExists || ::GetLastError() == ERROR_FILE_NOT_FOUND))
      moved =
          ::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) raiseWin32FileError(FileAction::Saving, {}, "Stream write error");
    committed_ = true;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  fs::path path_;
  bool created_ = false;
  bool committed_ = false;
};

// What the new file takes over from the old one, and what refuses the save.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD kRefusingAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

}  // namespace

void replaceFileAtomically(const std::string& fileName, const std::function<void(ByteSink&)>& produce) {
  try {
    fs::path target = nativePath(fileName);
    if (target.empty()) {
      ::SetLastError(ERROR_INVALID_NAME);
      raiseWin32FileError(FileAction::Saving, fileName, "Cannot create file %s", {fileName});
    }
    DWORD old = ::GetFileAttributesW(target.c_str());
    bool exists = old != INVALID_FILE_ATTRIBUTES;
    if (exists && (old & kRefusingAttributes) != 0) {
      // Windows' own reason for a read-only file; a folder or device has none.
      ::SetLastError(old & FILE_ATTRIBUTE_READONLY ? ERROR_ACCESS_DENIED : ERROR_SUCCESS);
      raiseWin32FileError(FileAction::Saving, fileName, "Cannot create file %s", {fileName});
    }
    removeLeftovers(target);
    WindowsTemporaryFile temporary(target);
    if (!temporary.created())
      raiseWin32FileError(FileAction::Saving, fileName, "Cannot create file %s", {fileName});
    FileSink sink(temporary.handle());
    produce(sink);
    temporary.finish(exists && (old & kKeptAttributes) != 0 ? (old & kKeptAttributes)
                                                            : FILE_ATTRIBUTE_NORMAL);
    temporary.moveOver(target, exists);
  } catch (Error& error) {
    error.setFile(fileName, FileAction::Saving);
    throw;
  }
}

}  // namespace qm

#else

namespace qm {
namespace {

namespace fs = std::filesystem;

// The file a path names after following symbolic links (a missing target is
// fine: the save creates it).
fs::path followLinks(const fs::path& path) {
  fs::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
    fs::path target = fs::read_symlink(current, error);
    if (error) return current;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current;
}

fs::path directoryOf(const fs::path& target) {
  return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// Temporary files are named ".<target>.saving-XXXXXX", a shape no one gives a
// file of their own, so that leftovers can be told apart. A shortened name
// keeps the temporary name within the file system's limit.
std::string temporaryPrefix(const fs::path& target) {
  return "." + target.filename().string().substr(0, 200) + ".saving-";
}
constexpr size_t kUniqueLength = 6;  // the XXXXXX mkstemp fills in

// A save holds its temporary file locked (flock) until it is renamed into
// place, so one that nobody holds is what a killed save left behind.
void removeLeftovers(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(directoryOf(target), error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + kUniqueLength || name.compare(0, prefix.size(), prefix) != 0) continue;
    int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(it->path().c_str());
    ::close(fd);
  }
}

bool samePath(int fd, const std::string& path) {
  struct stat byFd, byPath;
  return ::fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byPath) == 0 && byFd.st_dev == byPath.st_dev &&
         byFd.st_ino == byPath.st_ino;
}

// A temporary file, locked while it is written, that removes itself unless
// it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    std::string pattern = (directoryOf(target) / (temporaryPrefix(target) + "XXXXXX")).string();
    // Another save's clean-up may take the new file before it is locked; then
    // it is gone or going, and a fresh one is made.
    for (int attempt = 0; attempt < 8 && fd_ < 0; ++attempt) {
      std::vector<char> name(pattern.begin(), pattern.end());
      name.push_back('\0');
      int fd = ::mkstemp(name.data());
      if (fd < 0) return;
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && samePath(fd, name.data())) {
        fd_ = fd;
        path_ = name.data();
      } else {
        ::close(fd);
      }
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
    if (fd_ >= 0) ::close(fd_);  // the lock goes with it
  }

  bool created() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  void finish(mode_t mode, std::optional<struct stat> old) {
    if (::fchmod(fd_, mode) != 0) raiseFileError(FileAction::Saving, {}, "Stream write error");
    if (old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid()))
      if (::fchown(fd_, old->st_uid, old->st_gid) != 0) {
        // Only a privileged user can give the file away; the mode is kept regardless.
      }
    if (::fsync(fd_) != 0) raiseFileError(FileAction::Saving, {}, "Stream write error");
  }

  // Still locked while renamed, so that no other save takes it for a leftover.
  void renameTo(const fs::path& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0)
      raiseFileError(FileAction::Saving, {}, "Stream write error");
    committed_ = true;
  }

 private:
  int fd_ = -1;
  std::string path_;
  bool committed_ = false;
};

mode_t newFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// So that the rename itself survives a crash; a failure here cannot undo it.
void syncDirectoryOf(const fs::path& target) {
  int fd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void replaceFileAtomically(const std::string& fileName, const std::function<void(ByteSink&)>& produce) {
  try {
    fs::path target = followLinks(fileName);
    std::optional<struct stat> old;
    if (struct stat info; ::stat(target.c_str(), &info) == 0) {
      if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : 0;
        raiseFileError(FileAction::Saving, fileName, "Cannot create file %s", {fileName});
      }
      old = info;
    }
    removeLeftovers(target);
    TemporaryFile temporary(target);
    if (!temporary.created())
      raiseFileError(FileAction::Saving, fileName, "Cannot create file %s", {fileName});
    FileSink sink(temporary.fd());
    produce(sink);
    temporary.finish(old ? (old->st_mode & 07777) : newFileMode(), old);
    temporary.renameTo(target);
    syncDirectoryOf(target);
  } catch (Error& error) {
    error.setFile(fileName, FileAction::Saving);
    throw;
  }
}

}  // namespace qm

#endif
