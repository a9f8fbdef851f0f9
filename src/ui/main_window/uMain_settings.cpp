// The settings store of the main window: two text values under the per-user
// key \Software\zmx\QMK, opened, used and released by every read and write.
#include "platform/settings_key.h"
#include "ui/main_window/uMain.h"

namespace qm::ui {
namespace {

const QString kSettingsKeyPath = QStringLiteral("\\Software\\zmx\\QMK");
const QString kDefaultDirValue = QStringLiteral("DefaultDir");
const QString kColorSchemeValue = QStringLiteral("ColorScheme");
const QString kFallbackOpenDirectory = QStringLiteral("c:\\");

}  // namespace

void TfrmMain::GetR(QObject* /*sender*/, QString& directory, QString& scheme) {
  platform::SettingsKey key(platform::settingsStore(), kSettingsKeyPath);
  if (!key.isOpen()) return;
  QString storedDirectory = key.readText(kDefaultDirValue);
  QString storedScheme = key.readText(kColorSchemeValue);
  if (storedDirectory.isEmpty()) {
    openDialog1_.initialDirectory = kFallbackOpenDirectory;
    return;
  }
  openDialog1_.initialDirectory = storedDirectory;
  directory = storedDirectory;
  scheme = storedScheme;
}

void TfrmMain::SetR(QObject* /*sender*/, const QString& directory, const QString& scheme) {
  platform::SettingsKey key(platform::settingsStore(), kSettingsKeyPath);
  if (!key.isOpen()) return;
  key.writeText(kDefaultDirValue, directory);
  key.writeText(kColorSchemeValue, scheme);
}

void TfrmMain::SetColor() {
  // Nothing depends on the scheme yet: every window keeps its fixed colours.
  platform::SettingsKey key(platform::settingsStore(), kSettingsKeyPath);
  if (key.isOpen()) key.readText(kColorSchemeValue);
}

// Values of the window's own, beside the two above, under the same key.
QString TfrmMain::readSetting(const QString& name) { return readSettings({name}).value(0); }

QStringList TfrmMain::readSettings(const QStringList& names) {
  platform::SettingsKey key(platform::settingsStore(), kSettingsKeyPath);
  QStringList texts;
  for (const QString& name : names) texts << (key.isOpen() ? key.readText(name) : QString());
  return texts;
}

void TfrmMain::writeSetting(const QString& name, const QString& text) {
  platform::SettingsKey key(platform::settingsStore(), kSettingsKeyPath);
  if (key.isOpen()) key.writeText(name, text);
}

}  // namespace qm::ui
