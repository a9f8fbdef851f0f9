#include "ui/reminder/reminder_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "ui/safety/recovery.h"

namespace qm::ui {
namespace {

// At most this much is read: a few lists a day take a few hundred bytes.
constexpr qint64 kMaxLogBytes = 1 << 20;

QJsonObject readLog(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLogBytes) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

QString keyOf(const QString& listPath) { return QFileInfo(listPath).absoluteFilePath(); }

}  // namespace

ReminderLog::ReminderLog(QString path) : path_(std::move(path)) {}

QString ReminderLog::defaultPath() {
  // The state folder is the recovery folder's parent.
  return QFileInfo(RecoveryFiles::directory()).path() + QStringLiteral("/reminders.json");
}

bool ReminderLog::remindedOn(const QString& listPath, const QDate& day) const {
  return readLog(path_).value(keyOf(listPath)).toString() == day.toString(Qt::ISODate);
}

void ReminderLog::record(const QString& listPath, const QDate& day) {
  const QString today = day.toString(Qt::ISODate);
  QJsonObject kept;
  const QJsonObject old = readLog(path_);
  for (auto i = old.begin(); i != old.end(); ++i)
    if (i.value().toString() == today) kept.insert(i.key(), i.value());
  kept.insert(keyOf(listPath), today);
  QDir().mkpath(QFileInfo(path_).path());
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(QJsonDocument(kept).toJson(QJsonDocument::Compact));
  if (file.commit()) QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace qm::ui
