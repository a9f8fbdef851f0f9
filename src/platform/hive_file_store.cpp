#include "platform/hive_file_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qm::platform {
namespace {

const QString kUserRoot = QStringLiteral("HKEY_CURRENT_USER");
// The program's own settings take a few hundred bytes; a hive beyond this is
// not one it wrote, and is read (on every start and Open) as damaged.
constexpr qint64 kLargestHive = qint64{16} << 20;

QString fullKeyPath(const QString& path) {
  QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
  parts.prepend(kUserRoot);
  return parts.join(u'\\');
}

}  // namespace

HiveFileStore::HiveFileStore(QString filePath) : filePath_(std::move(filePath)) {}

std::optional<HiveFileStore::FileStamp> HiveFileStore::stampNow() const {
#ifdef _WIN32
  QFileInfo info(filePath_);
  if (!info.exists()) return std::nullopt;
  return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000,
                   info.metadataChangeTime().toMSecsSinceEpoch() * 1000000, 0};
#else
  struct stat status {};
  if (::stat(QFile::encodeName(filePath_).constData(), &status) != 0) return std::nullopt;
  auto nanoseconds = [](const timespec& t) { return qint64{t.tv_sec} * 1000000000 + t.tv_nsec; };
  return FileStamp{status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
                   static_cast<quint64>(status.st_ino)};
#endif
}

const HiveDocument* HiveFileStore::load() {
  QFileInfo info(filePath_);
  if (!info.exists()) {
    loadedStamp_.reset();
    loaded_ = HiveDocument{};
    return &loaded_;
  }
  // Opening a named pipe would wait for a writer for good.
  if (!info.isFile()) return nullptr;
  // Taken before reading: a change made while the file is read shows as a
  // new stamp next time.
  std::optional<FileStamp> stamp = stampNow();
  if (stamp && stamp == loadedStamp_) return &loaded_;
  QFile file(filePath_);
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  QByteArray bytes = file.read(kLargestHive + 1);
  ++timesRead_;
  if (bytes.size() > kLargestHive) {
    loaded_ = HiveDocument{};
    loaded_.damaged = true;
  } else {
    loaded_ = parseHive(bytes);
  }
  loadedStamp_ = stamp;
  return &loaded_;
}

bool HiveFileStore::keepDamagedCopy() const {
  if (!QFile::exists(filePath_)) return true;
  QString copy = filePath_ + QStringLiteral(".damaged");
  for (int n = 2; QFile::exists(copy); ++n) copy = filePath_ + QStringLiteral(".damaged-%1").arg(n);
  return QFile::copy(filePath_, copy);
}

bool HiveFileStore::save(const HiveDocument& document) {
  if (document.damaged && !keepDamagedCopy()) return false;
  if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) return false;
  QSaveFile file(filePath_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QByteArray bytes = formatHive(document);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  // What was written is what the file now holds, all of it understood.
  loaded_ = document;
  loaded_.damaged = false;
  loadedStamp_ = stampNow();
  return true;
}

std::optional<SettingsStore::Key> HiveFileStore::createKey(const QString& path) {
  QString full = fullKeyPath(path);
  if (full == kUserRoot) return std::nullopt;
  const HiveDocument* loaded = load();
  if (loaded == nullptr) return std::nullopt;
  if (loaded->findSection(full) == nullptr) {
    HiveDocument document = *loaded;
    document.ensureSection(full);
    if (!save(document)) return std::nullopt;
  }
  Key key = nextKey_++;
  openKeys_.insert(key, full);
  return key;
}

std::optional<StoredValue> HiveFileStore::queryValue(Key key, const QString& name) {
  auto open = openKeys_.constFind(key);
  if (open == openKeys_.cend()) return std::nullopt;
  const HiveDocument* document = load();
  if (document == nullptr) return std::nullopt;
  const HiveSection* section = document->findSection(*open);
  const HiveValue* value = section != nullptr ? section->findValue(name) : nullptr;
  if (value == nullptr) return std::nullopt;
  return decodeHiveValue(value->encoded);
}

bool HiveFileStore::setTextValue(Key key, const QString& name, const QString& text) {
  auto open = openKeys_.constFind(key);
  if (open == openKeys_.cend()) return false;
  const HiveDocument* loaded = load();
  if (loaded == nullptr) return false;
  HiveDocument document = *loaded;
  document.ensureSection(*open).setValue(name, encodeHiveText(text));
  return save(document);
}

void HiveFileStore::closeKey(Key key) { openKeys_.remove(key); }

}  // namespace qm::platform
