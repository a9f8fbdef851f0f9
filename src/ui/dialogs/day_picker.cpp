#include "ui/dialogs/day_picker.h"

#include "ui/dialogs/date_conversion.h"

namespace qm::ui {
namespace {
// The widest range QDateTimeEdit takes, so that dates before 1899-12-30 (and
// day 0 itself) show as they are instead of being moved into range.
const QDate kEarliestDay(100, 1, 1);
const QDate kLatestDay(9999, 12, 31);
}  // namespace

DayPicker::DayPicker(double timeOfDay, QWidget* parent) : QDateTimeEdit(parent), timeOfDay_(timeOfDay) {
  // UTC: no daylight-saving gap can shift the day behind the time part.
  setTimeSpec(Qt::UTC);
  setDateRange(kEarliestDay, kLatestDay);
  setDisplayFormat(shortDateFormatWithFullYear(locale()));
  setCalendarPopup(true);
}

void DayPicker::setDayOf(double dayCount) {
  QDate day = calendarDayOf(dayCount);
  if (day.isValid()) setDate(day);
}

double DayPicker::dayCount() const { return dayCountAt(date(), timeOfDay_); }

}  // namespace qm::ui
