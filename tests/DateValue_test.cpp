#include "util/DateValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace zelvora {
namespace {

TEST(DateValueTest, KnownDayNumbers) {
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6), -1.25);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2004, 3, 5, 12), 38051.5);
}

TEST(DateValueTest, InvalidPartsAreRefused) {
  EXPECT_FALSE(TryEncodeDateTime(2023, 2, 29).has_value());
  EXPECT_FALSE(TryEncodeDateTime(1900, 2, 29).has_value());
  EXPECT_TRUE(TryEncodeDateTime(2000, 2, 29).has_value());
  EXPECT_FALSE(TryEncodeDateTime(2020, 1, 1, 24).has_value());
  EXPECT_FALSE(TryEncodeDateTime(10000, 1, 1).has_value());
  EXPECT_DOUBLE_EQ(EncodeDateTime(2020, 13, 1), 0.0);
}

TEST(DateValueTest, DecodeRoundTripsAcrossTheRange) {
  for (int year : {1, 100, 1600, 1899, 1900, 1970, 2004, 2038, 9999}) {
    for (int month : {1, 2, 12}) {
      const int day = DaysInMonth(year, month);
      const TDateTime value = EncodeDateTime(year, month, day, 23, 59, 58, 999);
      const TDateParts parts = DecodeDateTime(value);
      EXPECT_EQ(parts.year, year);
      EXPECT_EQ(parts.month, month);
      EXPECT_EQ(parts.day, day);
      EXPECT_EQ(parts.hour, 23);
      EXPECT_EQ(parts.minute, 59);
      EXPECT_EQ(parts.second, 58);
      EXPECT_EQ(parts.millisecond, 999) << year << "-" << month;
    }
  }
}

TEST(DateValueTest, DecodeRoundsToTheMillisecond) {
  // 14:07 is not exact in binary; truncating would give 14:06:59.999.
  const TDateParts parts = DecodeDateTime(EncodeDateTime(2004, 3, 5, 14, 7));
  EXPECT_EQ(parts.hour, 14);
  EXPECT_EQ(parts.minute, 7);
  EXPECT_EQ(parts.second, 0);
  // Just below midnight rounds into the next day.
  const TDateParts next = DecodeDateTime(1.0 - 1e-12);
  EXPECT_EQ(next.day, 31);
  EXPECT_EQ(next.hour, 0);
}

TEST(DateValueTest, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DecodeDateTime(0).dayOfWeek, 7);                             // a Saturday
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(2004, 3, 5)).dayOfWeek, 6);    // a Friday
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(1899, 12, 24)).dayOfWeek, 1);  // a Sunday
}

TEST(DateValueTest, OutOfRangeValuesGiveTheOrigin) {
  for (double bad : {1e300, -1e300, 3e6, -7e5, std::nan(""), std::numeric_limits<double>::infinity()}) {
    const TDateParts parts = DecodeDateTime(bad);
    EXPECT_EQ(parts.year, 1899);
    EXPECT_EQ(parts.month, 12);
    EXPECT_EQ(parts.day, 30);
  }
}

TEST(DateValueTest, UnixTimeGoesThroughTheLocalZone) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  setenv("TZ", "UTC-2", 1);  // two hours east of UTC
  tzset();
  EXPECT_DOUBLE_EQ(DateFromUnixTime(0), EncodeDateTime(1970, 1, 1, 2));
  EXPECT_EQ(UnixTimeFromDate(EncodeDateTime(1970, 1, 1, 2, 0, 10)), 10);
  EXPECT_EQ(UnixTimeFromDate(DateFromUnixTime(1'700'000'000)), 1'700'000'000);
  if (saved)
    setenv("TZ", previous.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace zelvora

// Formatting lives with the date value it formats.
#include "util/DateFormat.h"

namespace zelvora {
namespace {

const TDateTime kAfternoon = EncodeDateTime(2004, 3, 5, 14, 7, 9, 45);  // a Friday
const TDateTime kMorning = EncodeDateTime(2004, 11, 25, 0, 30, 5);

TEST(DateFormatTest, TheDescriptionFormats) {
  EXPECT_EQ(FormatDateTime("d mmm yyyy", kAfternoon), "5 Mar 2004");
  EXPECT_EQ(FormatDateTime("hh:nn:ss ampm", kAfternoon), "02:07:09 PM");
  EXPECT_EQ(FormatDateTime("hh:nn:ss ampm", kMorning), "12:30:05 AM");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", kAfternoon), "14:07:09");
}

TEST(DateFormatTest, DateCodes) {
  EXPECT_EQ(FormatDateTime("dd/mm/yy", kAfternoon), "05/03/04");
  EXPECT_EQ(FormatDateTime("ddd dddd", kAfternoon), "Fri Friday");
  EXPECT_EQ(FormatDateTime("m mmmm yyyy", kMorning), "11 November 2004");
  EXPECT_EQ(FormatDateTime("DD MMM YYYY", kAfternoon), "05 Mar 2004");
}

TEST(DateFormatTest, MonthCodeAfterAnHourMeansMinutes) {
  EXPECT_EQ(FormatDateTime("h:mm", kAfternoon), "14:07");
  EXPECT_EQ(FormatDateTime("hh:m", kAfternoon), "14:7");
  EXPECT_EQ(FormatDateTime("mm hh", kAfternoon), "03 14");
  EXPECT_EQ(FormatDateTime("hh mmm", kAfternoon), "14 Mar");
}

TEST(DateFormatTest, MorningAfternoonMarks) {
  EXPECT_EQ(FormatDateTime("h am/pm", kAfternoon), "2 pm");
  EXPECT_EQ(FormatDateTime("h AM/PM", kMorning), "12 AM");
  EXPECT_EQ(FormatDateTime("h a/P", kAfternoon), "2 P");
  // A mark far away still counts; an hour code in between stops the search.
  EXPECT_EQ(FormatDateTime("hh 'x' ampm", kAfternoon), "02 x PM");
  EXPECT_EQ(FormatDateTime("hh 'am/pm'", kAfternoon), "14 am/pm");
  EXPECT_EQ(FormatDateTime("h h ampm", kAfternoon), "14 2 PM");
  EXPECT_EQ(FormatDateTime("a", kAfternoon), "a");
}

TEST(DateFormatTest, LiteralsAndOtherCharacters) {
  EXPECT_EQ(FormatDateTime("\"day\" d 'of' mmmm", kAfternoon), "day 5 of March");
  EXPECT_EQ(FormatDateTime("'unclosed d", kAfternoon), "unclosed d");
  EXPECT_EQ(FormatDateTime("s.zzz [x]", kAfternoon), "9.045 [x]");
  EXPECT_EQ(FormatDateTime("d mmm yyyy", std::numeric_limits<double>::quiet_NaN()),
            "30 Dec 1899");
}

}  // namespace
}  // namespace zelvora
