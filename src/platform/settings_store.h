#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/setting_text.h"

namespace qm::platform {

// A value as the byte-oriented registry calls hand it out: text types come
// as their characters in the program's code page (UTF-8 here) followed by a
// zero byte.
struct StoredValue {
  uint32_t type = value_type::kNone;
  QByteArray data;
};

// The per-user settings hive, reduced to the four calls the program makes.
// Keys are paths below the user's root, separated by backslashes; a leading
// backslash is allowed. No state is kept between calls beyond open keys.
class SettingsStore {
 public:
  using Key = int;

  virtual ~SettingsStore() = default;

  // Opens the key with full access, creating it and any missing parent keys.
  // nullopt when the key can be neither opened nor created.
  virtual std::optional<Key> createKey(const QString& path) = 0;
  // The value's type and data; nullopt when the key has no such value.
  virtual std::optional<StoredValue> queryValue(Key key, const QString& name) = 0;
  // Sets a text (REG_SZ) value, replacing what was there. False on failure.
  virtual bool setTextValue(Key key, const QString& name, const QString& text) = 0;
  virtual void closeKey(Key key) = 0;
};

// The store in use: the per-user registry on Windows, elsewhere the hive
// file, unless a test installed another.
SettingsStore& settingsStore();
void setSettingsStore(SettingsStore* store);  // nullptr restores the hive file

// Where the per-user hive file lives: $XDG_CONFIG_HOME/quillmark/registry.reg,
// with ~/.config when XDG_CONFIG_HOME is unset or not absolute.
QString defaultHiveFilePath();

}  // namespace qm::platform
