#include "model/day_count.h"

#include <cmath>
#include <cstdio>

namespace qm {
namespace {
// Days from 1970-01-01 to 1899-12-30.
constexpr int64_t kEpochOffset = -25569;
// Far beyond any calendar a user picks, and well inside int64 arithmetic.
constexpr double kMaxWholeDays = 1e12;
}  // namespace

int64_t daysFromCivil(const CivilDate& date) {
  int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t mp = (date.month + 9) % 12;
  int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 - kEpochOffset;
}

CivilDate civilFromDays(int64_t days) {
  int64_t z = days + kEpochOffset + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t d = doy - (153 * mp + 2) / 5 + 1;
  int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int32_t>(y + (m <= 2 ? 1 : 0)), static_cast<int32_t>(m), static_cast<int32_t>(d)};
}

bool hasCalendarDay(double dayCount) {
  return std::isfinite(dayCount) && std::fabs(dayCount) <= kMaxWholeDays;
}

std::optional<CivilDate> dateOfDayCount(double dayCount) {
  if (!hasCalendarDay(dayCount)) return std::nullopt;
  return civilFromDays(static_cast<int64_t>(std::trunc(dayCount)));
}

double timeOfDayFraction(double dayCount) {
  if (!std::isfinite(dayCount)) return 0;
  double whole = 0;
  return std::fabs(std::modf(dayCount, &whole));
}

double dayCountOf(const CivilDate& date, double timeFraction) {
  double days = static_cast<double>(daysFromCivil(date));
  return days < 0 ? days - timeFraction : days + timeFraction;
}

std::string isoDate(const CivilDate& date) {
  char buffer[32];
  if (date.year >= 0 && date.year <= 9999)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
  else
    std::snprintf(buffer, sizeof buffer, "%+05d-%02d-%02d", date.year, date.month, date.day);
  return buffer;
}

}  // namespace qm
