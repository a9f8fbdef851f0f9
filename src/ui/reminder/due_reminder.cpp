#include "ui/reminder/due_reminder.h"

#include <QDate>
#include <QPointer>
#include <QStringList>

#include "model/ttree.h"
#include "platform/tray_icon.h"
#include "ui/due/day_clock.h"

namespace qm::ui {
namespace {

constexpr std::chrono::milliseconds kSlice{3};
constexpr size_t kTitlesNamed = 3;

}  // namespace

DueReminder::DueReminder(DayClock& clock, platform::TrayIcon& tray, ReminderLog log, QObject* parent)
    : QObject(parent), clock_(clock), tray_(tray), log_(std::move(log)) {
  sliceTimer_.setInterval(0);
  connect(&sliceTimer_, &QTimer::timeout, this, &DueReminder::countSome);
  connect(&clock_, &DayClock::dayChanged, this, &DueReminder::start);
}

DueReminder::~DueReminder() {
  if (tree_ != nullptr) tree_->removeObserver(this);
}

void DueReminder::follow(Ttree* tree, const QString& path, bool opened) {
  if (tree != tree_) {
    if (tree_ != nullptr) tree_->removeObserver(this);
    tree_ = tree;
    if (tree_ != nullptr) tree_->addObserver(this);
  }
  path_ = path;
  counter_.reset();
  sliceTimer_.stop();
  if (opened) start();
}

void DueReminder::treeDestroyed() {
  tree_ = nullptr;
  counter_.reset();
  sliceTimer_.stop();
}

void DueReminder::start() {
  if (tree_ == nullptr || path_.isEmpty()) return;
  if (isEnabled && !isEnabled()) return;
  // Counting a big list is worth it only when a message may follow.
  if (!tray_.isAdded() || log_.remindedOn(path_, calendarDayOfDay(clock_.today()))) return;
  counter_.emplace(clock_.today(), 0, kTitlesNamed);
  sliceTimer_.start();
}

void DueReminder::recount() {
  if (counter_) start();
}

void DueReminder::countSome() {
  if (!counter_ || tree_ == nullptr) {
    sliceTimer_.stop();
    return;
  }
  if (counter_->collectSome(*tree_, kSlice)) finish();
}

void DueReminder::finish() {
  sliceTimer_.stop();
  AgendaCollector counted = std::move(*counter_);
  counter_.reset();
  if (counted.overdue() + counted.dueToday() == 0) return;
  const QDate today = calendarDayOfDay(clock_.today());
  if (log_.remindedOn(path_, today) || !tray_.isAdded()) return;
  QStringList titles;
  for (const AgendaEntry& entry : counted.takeEntries())
    titles << QString::fromUtf8(entry.task->text().data(), static_cast<qsizetype>(entry.task->text().size()));
  // The icon may outlive this reminder, and the message with it.
  tray_.showMessage(QString::fromLatin1(kTitle), messageText(counted.overdue(), counted.dueToday(), titles),
                    [reminder = QPointer<DueReminder>(this)] {
                      if (reminder && reminder->onMessageClicked) reminder->onMessageClicked();
                    });
  log_.record(path_, today);
}

QString DueReminder::messageText(size_t overdue, size_t dueToday, const QStringList& firstTitles) {
  QStringList counts;
  if (overdue > 0) counts << QStringLiteral("%1 overdue").arg(overdue);
  if (dueToday > 0) counts << QStringLiteral("%1 due today").arg(dueToday);
  QString text = counts.join(QStringLiteral(", "));
  if (firstTitles.isEmpty()) return text;
  QString named = firstTitles.join(QStringLiteral(", "));
  if (static_cast<size_t>(firstTitles.size()) < overdue + dueToday) named += QStringLiteral(", \u2026");
  return text + QStringLiteral(": ") + named;
}

}  // namespace qm::ui
