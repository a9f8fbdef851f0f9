#include "platform/settings_key.h"

#include "platform/setting_text.h"

namespace qm::platform {

SettingsKey::SettingsKey(SettingsStore& store, const QString& path)
    : store_(store), key_(store.createKey(path)) {}

SettingsKey::~SettingsKey() {
  if (key_) store_.closeKey(*key_);
}

QString SettingsKey::readText(const QString& name) {
  std::optional<StoredValue> value = store_.queryValue(*key_, name);
  if (!value) return {};
  return QString::fromStdString(settingText(name.toStdString(), value->type, value->data.toStdString()));
}

void SettingsKey::writeText(const QString& name, const QString& text) {
  if (!store_.setTextValue(*key_, name, text)) settingWriteFailed(name.toStdString());
}

}  // namespace qm::platform
