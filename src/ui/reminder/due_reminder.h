#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "model/tree_observer.h"
#include "ui/agenda/agenda_collector.h"
#include "ui/reminder/reminder_log.h"

namespace qm {
class Ttree;
}
namespace qm::platform {
class TrayIcon;
}

namespace qm::ui {

class DayClock;

// The daily reminder: when a list is opened, and when local midnight passes
// with it open, its overdue and due-today tasks are counted (in slices) and,
// if there are any, the notification icon says so, at most once per list
// and day.
class DueReminder : public QObject, public TreeObserver {
  Q_OBJECT
 public:
  static constexpr const char* kTitle = "Quillmark";

  DueReminder(DayClock& clock, platform::TrayIcon& tray, ReminderLog log = ReminderLog(),
              QObject* parent = nullptr);
  ~DueReminder() override;

  // Whether reminders are on; read at each reminder.
  std::function<bool()> isEnabled;
  // The user clicked the message.
  std::function<void()> onMessageClicked;

  // The list shown now, opened from `path` (empty: a list without a file,
  // never reminded of); counts it when `opened`.
  void follow(Ttree* tree, const QString& path, bool opened);
  bool isCounting() const { return counter_.has_value(); }

  // "2 overdue, 3 due today: Pay hosting invoice, Call the bank, …"
  static QString messageText(size_t overdue, size_t dueToday, const QStringList& firstTitles);

  // TreeObserver: a count under way starts again after a change of shape.
  void nodeInserted(TreeNode*) override { recount(); }
  void nodeRemoved(TreeNode*, size_t) override { recount(); }
  void nodeMoved(TreeNode*) override { recount(); }
  void nodeTaken(TreeNode*, size_t) override { recount(); }
  void treeReset() override { recount(); }
  void treeDestroyed() override;

 private:
  void start();
  void recount();
  void countSome();
  void finish();

  DayClock& clock_;
  platform::TrayIcon& tray_;
  ReminderLog log_;
  Ttree* tree_ = nullptr;
  QString path_;
  std::optional<AgendaCollector> counter_;
  QTimer sliceTimer_;
};

}  // namespace qm::ui
