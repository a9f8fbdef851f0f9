#include "ui/dialogs/date_conversion.h"

#include <QLocale>
#include <QRegularExpression>

#include "model/day_count.h"

namespace qm::ui {
namespace {
// QDate's Julian day number of 30 December 1899, day 0 of the records.
constexpr qint64 kJulianDayOfDayZero = 2415019;
}  // namespace

QDate calendarDayOf(double dayCount) {
  std::optional<CivilDate> day = dateOfDayCount(dayCount);
  if (!day) return {};
  return QDate::fromJulianDay(kJulianDayOfDayZero + daysFromCivil(*day));
}

double dayCountAt(const QDate& day, double timeOfDay) {
  return dayCountOf(civilFromDays(day.toJulianDay() - kJulianDayOfDayZero), timeOfDay);
}

QString shortDateFormatWithFullYear(const QLocale& locale) {
  QString format = locale.dateFormat(QLocale::ShortFormat);
  if (format.contains(QLatin1String("yyyy"))) return format;
  static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
  return format.replace(twoDigitYear, QStringLiteral("yyyy"));
}

}  // namespace qm::ui
