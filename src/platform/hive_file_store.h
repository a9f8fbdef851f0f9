#pragma once

#include <QHash>
#include <QString>

#include "platform/hive_document.h"
#include "platform/settings_store.h"

namespace qm::platform {

// The per-user hive kept as a registry-export text file. Every call reads
// the file afresh; every change replaces it atomically, keeping each key and
// value it does not touch. A file that cannot be fully understood, or is
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

 private:
  // nullopt when the file exists but cannot be read; an empty document when
  // there is no file yet.
  std::optional<HiveDocument> load() const;
  bool save(const HiveDocument& document) const;
  bool keepDamagedCopy() const;

  QString filePath_;
  QHash<Key, QString> openKeys_;  // handle -> full key path
  Key nextKey_ = 1;
};

}  // namespace qm::platform
