#include "ui/due/day_clock.h"

#include <QDateTime>
#include <algorithm>

#include "model/task_dates.h"

namespace qm::ui {
namespace {

// Woken again at least this often, so that a clock set forward or a
// machine waking from sleep is noticed within the hour.
constexpr qint64 kLongestWaitMs = 3'600'000;
constexpr qint64 kPastMidnightMs = 200;

}  // namespace

DayClock::DayClock(QObject* parent) : QObject(parent), source_(localToday), seen_(source_()) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &DayClock::check);
  armTimer();
}

void DayClock::setSource(Source source) {
  source_ = std::move(source);
  seen_ = source_();
}

void DayClock::check() {
  const int64_t now = source_();
  armTimer();
  if (now == seen_) return;
  seen_ = now;
  Q_EMIT dayChanged();
}

void DayClock::armTimer() {
  const QDateTime now = QDateTime::currentDateTime();
  const qint64 toMidnight = now.msecsTo(now.date().addDays(1).startOfDay());
  timer_.start(static_cast<int>(std::clamp<qint64>(toMidnight + kPastMidnightMs, 0, kLongestWaitMs)));
}

}  // namespace qm::ui
