#pragma once

#include <QMenu>
#include <vector>

#include "platform/tray_icon.h"

namespace qm::test {

// A notification area for tests: records what the program asks of it and lets
// a test deliver the icon's mouse messages.
class FakeTrayIcon : public platform::TrayIcon {
 public:
  bool isAvailable() const override { return available; }
  void add(const platform::NotifyIconData& data, MessageHandler onMessage) override {
    if (refuseAdd) return;  // as a notification area that turns the icon down
    record = data;
    handler = std::move(onMessage);
    added = true;
    ++addCount;
  }
  void remove() override {
    handler = nullptr;
    added = false;
    ++removeCount;
  }
  bool isAdded() const override { return added; }
  void popUpMenu(QMenu& menu) override {
    poppedUp.push_back(&menu);
    if (onPopUp) onPopUp(menu);
  }

  void showMessage(const QString& title, const QString& text, std::function<void()> onClicked) override {
    if (!added) return;
    messages.push_back({title, text});
    onMessageClicked = std::move(onClicked);
  }

  // Delivers a mouse message as the desktop would: only while the icon is added.
  void deliver(int32_t mouseMessage) {
    if (added && handler) handler(platform::IconMessage{record.uCallbackMessage, record.uID, mouseMessage});
  }

  bool available = true;
  bool refuseAdd = false;
  bool added = false;
  int addCount = 0;
  int removeCount = 0;
  platform::NotifyIconData record;
  MessageHandler handler;
  std::vector<QMenu*> poppedUp;
  struct Message {
    QString title;
    QString text;
  };
  std::vector<Message> messages;
  std::function<void()> onMessageClicked;
  std::function<void(QMenu&)> onPopUp;  // e.g. pick an item while the menu is up
};

}  // namespace qm::test
