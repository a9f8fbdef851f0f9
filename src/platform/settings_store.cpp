#include "platform/settings_store.h"

#include <QDir>

#include "platform/hive_file_store.h"

namespace qm::platform {
namespace {
SettingsStore* installedStore = nullptr;
}

QString defaultHiveFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/quillmark/registry.reg");
}

SettingsStore& settingsStore() {
  if (installedStore != nullptr) return *installedStore;
  static HiveFileStore hiveFile(defaultHiveFilePath());
  return hiveFile;
}

void setSettingsStore(SettingsStore* store) { installedStore = store; }

}  // namespace qm::platform
