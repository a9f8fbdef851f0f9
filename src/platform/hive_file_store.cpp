#include "platform/hive_file_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

std::optional<HiveDocument> HiveFileStore::load() const {
  QFileInfo info(filePath_);
  if (!info.exists()) return HiveDocument{};
  // Opening a named pipe would wait for a writer for good.
  if (!info.isFile()) return std::nullopt;
  QFile file(filePath_);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.read(kLargestHive + 1);
  if (bytes.size() > kLargestHive) {
    HiveDocument tooLarge;
    tooLarge.damaged = true;
    return tooLarge;
  }
  return parseHive(bytes);
}

bool HiveFileStore::keepDamagedCopy() const {
  if (!QFile::exists(filePath_)) return true;
  QString copy = filePath_ + QStringLiteral(".damaged");
  for (int n = 2; QFile::exists(copy); ++n) copy = filePath_ + QStringLiteral(".damaged-%1").arg(n);
  return QFile::copy(filePath_, copy);
}

bool HiveFileStore::save(const HiveDocument& document) const {
  if (document.damaged && !keepDamagedCopy()) return false;
  if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) return false;
  QSaveFile file(filePath_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QByteArray bytes = formatHive(document);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

std::optional<SettingsStore::Key> HiveFileStore::createKey(const QString& path) {
  QString full = fullKeyPath(path);
  if (full == kUserRoot) return std::nullopt;
  std::optional<HiveDocument> document = load();
  if (!document) return std::nullopt;
  if (document->findSection(full) == nullptr) {
    document->ensureSection(full);
    if (!save(*document)) return std::nullopt;
  }
  Key key = nextKey_++;
  openKeys_.insert(key, full);
  return key;
}

std::optional<StoredValue> HiveFileStore::queryValue(Key key, const QString& name) {
  auto open = openKeys_.constFind(key);
  if (open == openKeys_.cend()) return std::nullopt;
  std::optional<HiveDocument> document = load();
  if (!document) return std::nullopt;
  HiveSection* section = document->findSection(*open);
  HiveValue* value = section != nullptr ? section->findValue(name) : nullptr;
  if (value == nullptr) return std::nullopt;
  return decodeHiveValue(value->encoded);
}

bool HiveFileStore::setTextValue(Key key, const QString& name, const QString& text) {
  auto open = openKeys_.constFind(key);
  if (open == openKeys_.cend()) return false;
  std::optional<HiveDocument> document = load();
  if (!document) return false;
  document->ensureSection(*open).setValue(name, encodeHiveText(text));
  return save(*document);
}

void HiveFileStore::closeKey(Key key) { openKeys_.remove(key); }

}  // namespace qm::platform
