#include "ui/dialogs/date_conversion.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace qm::ui {
namespace {

TEST(DateConversion, ShortDatesShowTheYearInFull) {
  EXPECT_EQ(shortDateFormatWithFullYear(QLocale(QLocale::English, QLocale::UnitedStates)), "M/d/yyyy");
  EXPECT_EQ(shortDateFormatWithFullYear(QLocale(QLocale::German, QLocale::Germany)), "dd.MM.yyyy");
  EXPECT_TRUE(shortDateFormatWithFullYear(QLocale::c()).contains("yyyy"));
}

}  // namespace
}  // namespace qm::ui
