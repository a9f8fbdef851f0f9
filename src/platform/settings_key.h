#pragma once

#include <QString>
#include <optional>

#include "platform/settings_store.h"

namespace qm::platform {

// One open settings key, released on every path out of the scope that opened
// it, with the program's rules for reading and writing text settings.
class SettingsKey {
 public:
  SettingsKey(SettingsStore& store, const QString& path);
  ~SettingsKey();
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;

  // False when the key could be neither opened nor created.
  bool isOpen() const { return key_.has_value(); }

  // A missing or zero-sized value reads as empty text; a text value reads up
  // to its first zero byte; any other type raises "Invalid data type for '%s'".
  QString readText(const QString& name);
  // Raises "Failed to set data for '%s'" when the store refuses the write.
  void writeText(const QString& name, const QString& text);

 private:
  SettingsStore& store_;
  std::optional<SettingsStore::Key> key_;
};

}  // namespace qm::platform
