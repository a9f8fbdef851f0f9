#pragma once

#include <QHash>
#include <QString>
#include <optional>

#include "platform/hive_document.h"
#include "platform/settings_store.h"

namespace qm::platform {

// The per-user hive kept as a registry-export text file. It is parsed once
// and kept while the file stays as it was (same size, times and file), so a
// start that asks for several values reads a large hive once; a file changed
// by another instance is read again. Every change replaces it atomically,
// keeping each key and value it does not touch. A file that cannot be fully understood, or is
// larger than 16 MiB, is copied aside ("<file>.damaged", ".damaged-2", ...)
// before it is first replaced. One that is not a regular file (a pipe, a
// device) is as a key that cannot be opened: reads change nothing and writes
// are dropped.
class HiveFileStore : public SettingsStore {
 public:
  explicit HiveFileStore(QString filePath);

  std::optional<Key> createKey(const QString& path) override;
  std::optional<StoredValue> queryValue(Key key, const QString& name) override;
  bool setTextValue(Key key, const QString& name, const QString& text) override;
  void closeKey(Key key) override;

  const QString& filePath() const { return filePath_; }
  // How many times the file has been read and parsed.
  int timesRead() const { return timesRead_; }

 private:
  // What tells one version of the file from another without reading it.
  struct FileStamp {
    qint64 size = -1;
    qint64 modified = 0;  // nanoseconds
    qint64 changed = 0;   // nanoseconds; a replaced file is a new one
    quint64 file = 0;     // the file's number on its device
    bool operator==(const FileStamp&) const = default;
  };
  std::optional<FileStamp> stampNow() const;

  // nullptr when the file exists but cannot be read; an empty document when
  // there is no file yet. Valid until the next load or save.
  const HiveDocument* load();
  bool save(const HiveDocument& document);
  bool keepDamagedCopy() const;

  QString filePath_;
  std::optional<FileStamp> loadedStamp_;  // of the file `loaded_` was read from
  HiveDocument loaded_;
  int timesRead_ = 0;
  QHash<Key, QString> openKeys_;  // handle -> full key path
  Key nextKey_ = 1;
};

}  // namespace qm::platform
