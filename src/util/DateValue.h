#pragma once
// Date values: days since 30 December 1899 in local time, the fraction
// being the time of day. File dates in the list, in descriptions and in
// name masks use them.

#include <cstdint>
#include <ctime>
#include <optional>

namespace zelvora {

using TDateTime = double;

struct TDateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

// Years 1 to 9999, the usual ranges for the other parts. An invalid
// combination (31 April, hour 24) gives nullopt from TryEncodeDateTime and
// 0 from EncodeDateTime.
std::optional<TDateTime> TryEncodeDateTime(int year, int month, int day, int hour = 0,
                                           int minute = 0, int second = 0, int millisecond = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int millisecond = 0);
// Rounded to the nearest millisecond. A negative value counts days before
// 30 December 1899 with its fraction still the time of day (-1.25 is
// 29 December 1899, 06:00). A value outside years 1 to 9999, or not a
// number, gives the default parts (30 December 1899, 00:00).
TDateParts DecodeDateTime(TDateTime value);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Conversions to and from the platform's seconds since 1970 (UTC), through
// the local time zone.
TDateTime DateFromUnixTime(std::time_t seconds);
std::time_t UnixTimeFromDate(TDateTime value);
TDateTime Now();

}  // namespace zelvora
