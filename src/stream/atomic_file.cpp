#include "stream/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "model/error.h"
#include "stream/file_sink.h"

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

// A temporary file that removes itself unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    // A shortened name keeps the temporary name within the file system's limit.
    std::string base = target.filename().string().substr(0, 200);
    std::string pattern = (directory / ("." + base + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ >= 0) path_ = name.data();
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
  }

  bool created() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  void finish(mode_t mode, std::optional<struct stat> old) {
    if (::fchmod(fd_, mode) != 0) raise("Stream write error");
    if (old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid()))
      if (::fchown(fd_, old->st_uid, old->st_gid) != 0) {
        // Only a privileged user can give the file away; the mode is kept regardless.
      }
    if (::fsync(fd_) != 0) raise("Stream write error");
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) raise("Stream write error");
  }

  void renameTo(const fs::path& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0) raise("Stream write error");
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
  fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void replaceFileAtomically(const std::string& fileName, const std::function<void(ByteSink&)>& produce) {
  fs::path target = followLinks(fileName);
  std::optional<struct stat> old;
  if (struct stat info; ::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) raise("Cannot create file %s", {fileName});
    old = info;
  }
  TemporaryFile temporary(target);
  if (!temporary.created()) raise("Cannot create file %s", {fileName});
  FileSink sink(temporary.fd());
  produce(sink);
  temporary.finish(old ? (old->st_mode & 07777) : newFileMode(), old);
  temporary.renameTo(target);
  syncDirectoryOf(target);
}

}  // namespace qm
