#pragma once

#include <QDate>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace qm::ui {

// The calendar day of a day as the due rules count them (from 1899-12-30).
inline QDate calendarDayOfDay(int64_t day) {
  constexpr int64_t kJulianDayOfDayZero = 2415019;
  return QDate::fromJulianDay(day + kJulianDayOfDayZero);
}

// Today's local date for the window's marks of what is due, read afresh at
// each call, and a signal when it moves on (at local midnight, or when the
// clock was changed). Tests give it a date source of their own.
class DayClock : public QObject {
  Q_OBJECT
 public:
  using Source = std::function<int64_t()>;

  explicit DayClock(QObject* parent = nullptr);

  int64_t today() const { return source_(); }
  // Another source of the date, as a test's; the date is read again.
  void setSource(Source source);
  // Reads the date; dayChanged when it is not the one last seen.
  void check();

 Q_SIGNALS:
  void dayChanged();

 private:
  void armTimer();

  Source source_;
  int64_t seen_;
  QTimer timer_;
};

}  // namespace qm::ui
