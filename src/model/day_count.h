#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

// Dates are day counts from 30 December 1899; the fraction is the time of
// day. For negative counts the whole part counts days toward zero and the
// time of day is the fraction's magnitude (-1.25 is 29 December 1899, 06:00).
struct CivilDate {
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31
  bool operator==(const CivilDate&) const = default;
};

// Whole days from 1899-12-30 to the given date.
int64_t daysFromCivil(const CivilDate& date);
CivilDate civilFromDays(int64_t days);

// Whether a day count is finite and in range: one that has a calendar day.
bool hasCalendarDay(double dayCount);
// The calendar day of a day count; nullopt when not finite or out of range.
std::optional<CivilDate> dateOfDayCount(double dayCount);
// The time of day of a day count as a fraction of a day, in [0, 1).
double timeOfDayFraction(double dayCount);
// A day count from a calendar day and a time-of-day fraction, following the
// sign rule above.
double dayCountOf(const CivilDate& date, double timeFraction);

// "YYYY-MM-DD" (ISO 8601; years outside 0..9999 carry a sign).
std::string isoDate(const CivilDate& date);

}  // namespace qm
