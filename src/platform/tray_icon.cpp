#include "platform/tray_icon.h"

#include <QCursor>
#include <QMenu>

namespace qm::platform {

NotifyIconData makeNotifyIconData(const QIcon& icon, const QString& title) {
  NotifyIconData record;
  record.hIcon = icon;
  record.szTip = title.left(NotifyIconData::kTipCapacity - 1);
  return record;
}

std::optional<int32_t> mouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      return kWmRButtonDown;
    case QSystemTrayIcon::DoubleClick:
      // A double click arrives as Trigger then DoubleClick; only the second counts.
      return kWmLButtonDblClk;
    default:
      return std::nullopt;
  }
}

QtTrayIcon::QtTrayIcon() {
  QObject::connect(&icon_, &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) { activate(reason); });
  QObject::connect(&icon_, &QSystemTrayIcon::messageClicked, [this] {
    if (onMessageClicked_) onMessageClicked_();
  });
}

bool QtTrayIcon::isAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayIcon::add(const NotifyIconData& record, MessageHandler handler) {
  record_ = record;
  handler_ = std::move(handler);
  // The icon must be set before the icon is shown.
  icon_.setIcon(record.hIcon);
  icon_.setToolTip(record.szTip);
  icon_.show();
  added_ = true;
}

void QtTrayIcon::remove() {
  icon_.hide();
  handler_ = nullptr;
  added_ = false;
}

void QtTrayIcon::popUpMenu(QMenu& menu) { menu.exec(QCursor::pos()); }

void QtTrayIcon::showMessage(const QString& title, const QString& text, std::function<void()> onClicked) {
  if (!added_) return;
  onMessageClicked_ = std::move(onClicked);
  icon_.showMessage(title, text, QSystemTrayIcon::Information);
}

void QtTrayIcon::activate(QSystemTrayIcon::ActivationReason reason) {
  const std::optional<int32_t> mouseMessage = mouseMessageFor(reason);
  if (!added_ || !handler_ || !mouseMessage) return;
  handler_(IconMessage{record_.uCallbackMessage, record_.uID, *mouseMessage});
}

namespace {
TrayIcon* installedTray = nullptr;
}  // namespace

TrayIcon* installedTrayIcon() { return installedTray; }
void installTrayIcon(TrayIcon* tray) { installedTray = tray; }

}  // namespace qm::platform
