#include "model/day_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qm {
namespace {

TEST(DayCount, KnownDays) {
  EXPECT_EQ(civilFromDays(0), (CivilDate{1899, 12, 30}));
  EXPECT_EQ(civilFromDays(46363), (CivilDate{2026, 12, 7}));
  EXPECT_EQ(civilFromDays(2), (CivilDate{1900, 1, 1}));
  EXPECT_EQ(civilFromDays(-1), (CivilDate{1899, 12, 29}));
  EXPECT_EQ(daysFromCivil({2026, 12, 7}), 46363);
  EXPECT_EQ(daysFromCivil({1600, 3, 1}), daysFromCivil({1600, 2, 29}) + 1);
  for (int64_t d = -800000; d <= 800000; d += 997) EXPECT_EQ(daysFromCivil(civilFromDays(d)), d);
}

TEST(DayCount, NegativeCountsTakeTheWholePartTowardZeroAndTheFractionsMagnitude) {
  EXPECT_EQ(*dateOfDayCount(-1.25), (CivilDate{1899, 12, 29}));
  EXPECT_DOUBLE_EQ(timeOfDayFraction(-1.25), 0.25);
  EXPECT_DOUBLE_EQ(dayCountOf({1899, 12, 29}, 0.25), -1.25);
  EXPECT_DOUBLE_EQ(dayCountOf({2026, 12, 7}, 0.9178593056), 46363.9178593056);
  EXPECT_EQ(*dateOfDayCount(46363.9178593056), (CivilDate{2026, 12, 7}));
}

TEST(DayCount, NonFiniteAndHugeCountsHaveNoDate) {
  EXPECT_FALSE(dateOfDayCount(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(dateOfDayCount(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(dateOfDayCount(1e300));
  EXPECT_EQ(isoDate({2026, 12, 7}), "2026-12-07");
  EXPECT_EQ(isoDate({-3, 1, 2}), "-0003-01-02");
}

}  // namespace
}  // namespace qm
