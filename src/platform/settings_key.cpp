#include "platform/settings_key.h"

#include "model/error.h"

namespace qm::platform {

SettingsKey::SettingsKey(SettingsStore& store, const QString& path)
    : store_(store), key_(store.createKey(path)) {}

SettingsKey::~SettingsKey() {
  if (key_) store_.closeKey(*key_);
}

QString SettingsKey::readText(const QString& name) {
  std::optional<StoredValue> value = store_.queryValue(*key_, name);
  if (!value || value->data.isEmpty()) return {};
  if (value->type != value_type::kText && value->type != value_type::kExpandableText)
    raise("Invalid data type for '%s'", {name.toStdString()});
  qsizetype end = value->data.indexOf('\0');
  return QString::fromUtf8(end < 0 ? value->data : value->data.left(end));
}

void SettingsKey::writeText(const QString& name, const QString& text) {
  if (!store_.setTextValue(*key_, name, text)) raise("Failed to set data for '%s'", {name.toStdString()});
}

}  // namespace qm::platform
