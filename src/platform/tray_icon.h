#pragma once

#include <QIcon>
#include <QString>
#include <QSystemTrayIcon>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace qm::platform {

// The icon's events keep the window-message numbering the program has always used.
inline constexpr uint32_t kIconCallbackMessage = 1025;  // WM_USER + 1
inline constexpr int32_t kWmLButtonDblClk = 515;
inline constexpr int32_t kWmRButtonDown = 516;
inline constexpr uint32_t kIconId = 100;

// The notification icon's record (NOTIFYICONDATA), filled once at start-up and
// never changed afterwards.
struct NotifyIconData {
  static constexpr int kTipCapacity = 64;  // characters, the terminating zero included

  uint32_t cbSize = 88;
  uint32_t uID = kIconId;
  uint32_t uFlags = 7;  // NIF_MESSAGE (1) + NIF_ICON (2) + NIF_TIP (4)
  uint32_t uCallbackMessage = kIconCallbackMessage;
  QIcon hIcon;
  QString szTip;
};

// The record for the application's icon and title; the tip is cut to fit its field.
NotifyIconData makeNotifyIconData(const QIcon& icon, const QString& title);

// One mouse event on the icon as the main window receives it: the callback
// message, the icon's identifier and the mouse message (WM_RBUTTONDOWN ...).
struct IconMessage {
  uint32_t message = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

// The notification-area icon. The desktop may have no notification area; the
// program then runs without the icon.
class TrayIcon {
 public:
  using MessageHandler = std::function<void(const IconMessage&)>;

  virtual ~TrayIcon() = default;
  // Whether the desktop currently has a notification area to show the icon in.
  virtual bool isAvailable() const = 0;
  // NIM_ADD: shows the icon; its mouse events reach `handler`.
  virtual void add(const NotifyIconData& record, MessageHandler handler) = 0;
  // NIM_DELETE: takes the icon away; no more events arrive.
  virtual void remove() = 0;
  virtual bool isAdded() const = 0;
  // Shows `menu` with its top-left corner at the mouse position and returns
  // when the user has picked an item or dismissed it.
  virtual void popUpMenu(QMenu& menu) = 0;
  // A message beside the icon while it is added; onClicked runs when the
  // user clicks it. Nothing where the desktop has no notification area.
  virtual void showMessage(const QString& /*title*/, const QString& /*text*/,
                           std::function<void()> /*onClicked*/) {}
};

// The mouse message a QSystemTrayIcon activation stands for; none for the
// activations the program ignores (a single click, the middle button).
std::optional<int32_t> mouseMessageFor(QSystemTrayIcon::ActivationReason reason);

// The icon through QSystemTrayIcon.
class QtTrayIcon final : public TrayIcon {
 public:
  QtTrayIcon();
  bool isAvailable() const override;
  void add(const NotifyIconData& record, MessageHandler handler) override;
  void remove() override;
  bool isAdded() const override { return added_; }
  void popUpMenu(QMenu& menu) override;
  void showMessage(const QString& title, const QString& text, std::function<void()> onClicked) override;

  // For tests, which emit activated() on it.
  QSystemTrayIcon& systemTrayIcon() { return icon_; }

 private:
  void activate(QSystemTrayIcon::ActivationReason reason);

  QSystemTrayIcon icon_;
  NotifyIconData record_;
  MessageHandler handler_;
  std::function<void()> onMessageClicked_;
  bool added_ = false;
};

// The notification area a test installed in place of the desktop's, or
// nullptr; a main window created without one makes its own QtTrayIcon.
TrayIcon* installedTrayIcon();
void installTrayIcon(TrayIcon* tray);

}  // namespace qm::platform
