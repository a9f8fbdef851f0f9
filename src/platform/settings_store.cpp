#include "platform/settings_store.h"

#include <QDir>

#include "platform/hive_file_store.h"
#ifdef _WIN32
#include "platform/registry_store.h"
#endif

namespace qm::platform {
namespace {
SettingsStore* installedStore = nullptr;

#ifdef _WIN32
// The real per-user registry, in Qt's types.
class RegistrySettingsStore : public SettingsStore {
 public:
  std::optional<Key> createKey(const QString& path) override {
    return registry_.createKey(path.toStdString());
  }
  std::optional<StoredValue> queryValue(Key key, const QString& name) override {
    std::optional<RegistryValue> value = registry_.queryValue(key, name.toStdString());
    if (!value) return std::nullopt;
    return StoredValue{value->type, QByteArray::fromStdString(value->data)};
  }
  bool setTextValue(Key key, const QString& name, const QString& text) override {
    return registry_.setTextValue(key, name.toStdString(), text.toStdString());
  }
  void closeKey(Key key) override { registry_.closeKey(key); }

 private:
  RegistryStore registry_;
};
#endif
}  // namespace

QString defaultHiveFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/quillmark/registry.reg");
}

SettingsStore& settingsStore() {
  if (installedStore != nullptr) return *installedStore;
#ifdef _WIN32
  static RegistrySettingsStore registry;
  return registry;
#else
  static HiveFileStore hiveFile(defaultHiveFilePath());
  return hiveFile;
#endif
}

void setSettingsStore(SettingsStore* store) { installedStore = store; }

}  // namespace qm::platform
