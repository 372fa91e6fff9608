#pragma once
// Date values: days since 30 December 1899 in local time, the fraction
// being the time of day. File dates in the list, in descriptions and in
// name masks use them.

#include <cstdint>
#include <ctime>

namespace zelvora {

using TDateTime = double;

struct TDateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int millisecond = 0);
TDateParts DecodeDateTime(TDateTime value);
// Conversions to and from the platform's seconds since 1970 (UTC), through
// the local time zone.
TDateTime DateFromUnixTime(std::time_t seconds);
std::time_t UnixTimeFromDate(TDateTime value);
TDateTime Now();

}  // namespace zelvora
