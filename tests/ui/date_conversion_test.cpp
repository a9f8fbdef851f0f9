#include "ui/date_conversion.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <limits>

namespace qm::ui {
namespace {

TEST(DateConversion, DayCountsAndCalendarDaysFollowTheSignRule) {
  EXPECT_EQ(calendarDayOf(0), QDate(1899, 12, 30));
  EXPECT_EQ(calendarDayOf(0.99), QDate(1899, 12, 30));
  EXPECT_EQ(calendarDayOf(-0.5), QDate(1899, 12, 30));
  EXPECT_EQ(calendarDayOf(-1.25), QDate(1899, 12, 29));
  EXPECT_EQ(calendarDayOf(2.9178593056), QDate(1900, 1, 1));
  EXPECT_FALSE(calendarDayOf(std::numeric_limits<double>::quiet_NaN()).isValid());
  EXPECT_FALSE(calendarDayOf(1e300).isValid());

  EXPECT_EQ(dayCountAt({1899, 12, 29}, 0.25), -1.25);
  EXPECT_EQ(dayCountAt({1899, 12, 30}, 0.8115169444), 0.8115169444);
  EXPECT_EQ(dayCountAt({1900, 1, 1}, 0.9178593056), 2 + 0.9178593056);
  for (QDate day : {QDate(100, 1, 1), QDate(1600, 2, 29), QDate(1899, 12, 31), QDate(9999, 12, 31)})
    EXPECT_EQ(calendarDayOf(dayCountAt(day, 0.9178593056)), day);
}

TEST(DateConversion, ShortDatesShowTheYearInFull) {
  EXPECT_EQ(shortDateFormatWithFullYear(QLocale(QLocale::English, QLocale::UnitedStates)), "M/d/yyyy");
  EXPECT_EQ(shortDateFormatWithFullYear(QLocale(QLocale::German, QLocale::Germany)), "dd.MM.yyyy");
  EXPECT_TRUE(shortDateFormatWithFullYear(QLocale::c()).contains("yyyy"));
}

}  // namespace
}  // namespace qm::ui
