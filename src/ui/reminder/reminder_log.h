#pragma once

#include <QDate>
#include <QString>

namespace qm::ui {

// The day each list was last reminded of, one file in the user's state
// folder (beside the recovery files): {"<list's path>": "2026-12-09"}. Only
// today's entries are kept, which are the only ones that matter.
class ReminderLog {
 public:
  // $XDG_STATE_HOME/quillmark/reminders.json, or the given file.
  explicit ReminderLog(QString path = defaultPath());
  static QString defaultPath();

  bool remindedOn(const QString& listPath, const QDate& day) const;
  // Records it; a log that cannot be written costs a second reminder, no more.
  void record(const QString& listPath, const QDate& day);

 private:
  QString path_;
};

}  // namespace qm::ui
