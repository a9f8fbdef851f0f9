#pragma once

#include <QDate>
#include <QString>

class QLocale;

namespace qm::ui {

// Qt's side of the day counts of the records (days from 30 December 1899,
// the fraction being the time of day; negative counts as model/day_count.h).

// The calendar day of a day count; an invalid QDate when the count names no
// day (not finite, or beyond any calendar).
QDate calendarDayOf(double dayCount);

// The day count of a calendar day at a time of day given as a fraction.
double dayCountAt(const QDate& day, double timeOfDay);

// The locale's short date format, with the year in full: two digits cannot
// tell 30 December 1899, the day an unset end date shows, from 1999.
QString shortDateFormatWithFullYear(const QLocale& locale);

}  // namespace qm::ui
