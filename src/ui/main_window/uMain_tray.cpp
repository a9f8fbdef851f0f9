// The main window's notification icon, Show and Hide, and note mode.
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "model/ttree.h"
#include "platform/desktop.h"
#include "platform/skip_taskbar.h"
#include "ui/edits/command.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/uMain.h"
#include "ui/tray/icon_message_dispatch.h"
#include "ui/tray/note_mode_geometry.h"

namespace qm::ui {
namespace {

const QString kNoTrayNotice = QStringLiteral(
    "This desktop has no notification area to bring Quillmark back from, so its window stays shown.");

constexpr Qt::WindowFlags kNoteModeFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

}  // namespace

void TfrmMain::addTrayIcon() {
  iconData_ = platform::makeNotifyIconData(programIcon(), QString::fromLatin1(kApplicationTitle));
  tray_->add(iconData_, [this](const platform::IconMessage& message) { WndProc(message); });
}

void TfrmMain::removeTrayIcon() {
  if (tray_->isAdded()) tray_->remove();
}

bool TfrmMain::WndProc(const platform::IconMessage& Message) {
  const IconCommands commands{
      [this] {
        activateWindow();  // so that the menu closes when the user clicks elsewhere
        tray_->popUpMenu(*PopupMenu2);
      },
      [this] { runCommand(this, [this] { Show1Click(this); }); },
  };
  return dispatchIconMessage(Message, commands);
}

void TfrmMain::Show1Click(QObject* /*Sender*/) {
  show();
  raise();
  activateWindow();
  // The window keeps no taskbar entry of its own once shown from the icon.
  platform::setSkipTaskbar(this, true);
}

// Hiding a window that nothing could bring back would strand the user: where
// the icon is missing (no notification area, or it was never added), the
// window stays shown and the user is told why, once.
void TfrmMain::Hide1Click(QObject* /*Sender*/) {
  if (!tray_->isAdded() || !tray_->isAvailable()) {
    if (!toldNoTray_) platform::desktop().inform(this, kNoTrayNotice);
    toldNoTray_ = true;
    return;
  }
  // The entry comes back with the next showing, as it does for any window.
  platform::setSkipTaskbar(this, false);
  hide();
}

void TfrmMain::showMode(QObject* /*Sender*/) {
  if (!modeWindow_) return;
  modeWindow_->show();
  modeWindow_->raise();
  modeWindow_->activateWindow();
}

void TfrmMain::SetMode() {
  const bool wasVisible = isVisible();
  QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  const QRect area = where != nullptr ? where->availableGeometry() : QRect(QPoint(), frameGeometry().size());
  // Once frameless the window is its own outer size; its frame geometry may
  // still count the frame it had.
  const bool frameless = windowFlags().testFlag(Qt::FramelessWindowHint);
  const QRect strip = noteModeGeometry(frameless ? width() : frameGeometry().width(), area);
  // Changing the flags hides the window; a shown window is shown again.
  setWindowFlags(kNoteModeFlags);
  // The status bar's panels and the menu bar would otherwise hold the window
  // at their width; the strip is narrower and the bars are clipped instead.
  setMinimumWidth(std::min(minimumWidth(), strip.width()));
  setGeometry(strip);
  if (wasVisible) show();
  paintBackground(this, kYellow);
  if (!tree_) cmdCreateTreeClick(this);
  TreeSettings settings = tree_->settings();
  settings.color = clYellow;
  settings.borderStyle = BorderStyle::bsNone;
  tree_->setSettings(settings);
  applyTreeLooks();
  update();
}

}  // namespace qm::ui
