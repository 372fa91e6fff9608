#include "util/DateValue.h"

#include <cmath>

namespace zelvora {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// Day number of 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kUnixEpochOffset = 25'569;
// Day numbers (our origin) of 1 January 0001 and 31 December 9999.
constexpr std::int64_t kFirstDay = -693'593;
constexpr std::int64_t kLastDay = 2'958'465;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// algorithm), valid for every year we accept.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

std::optional<TDateTime> TryEncodeDateTime(int year, int month, int day, int hour, int minute,
                                           int second, int millisecond) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || millisecond < 0 || millisecond > 999)
    return std::nullopt;
  const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month),
                                          static_cast<unsigned>(day)) +
                            kUnixEpochOffset;
  const double time =
      static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
      static_cast<double>(kMillisecondsPerDay);
  // Before the origin the fraction still counts forward from midnight.
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  return TryEncodeDateTime(year, month, day, hour, minute, second, millisecond).value_or(0.0);
}

TDateParts DecodeDateTime(TDateTime value) {
  TDateParts parts;
  if (!std::isfinite(value) || value < static_cast<double>(kFirstDay - 1) ||
      value > static_cast<double>(kLastDay + 1))
    return parts;
  auto days = static_cast<std::int64_t>(std::trunc(value));
  auto milliseconds =
      static_cast<std::int64_t>(std::llround(std::fabs(value - std::trunc(value)) *
                                             static_cast<double>(kMillisecondsPerDay)));
  if (milliseconds >= kMillisecondsPerDay) {
    milliseconds -= kMillisecondsPerDay;
    days += value < 0 ? -1 : 1;
  }
  if (days < kFirstDay || days > kLastDay) return parts;
  CivilFromDays(days - kUnixEpochOffset, parts.year, parts.month, parts.day);
  parts.millisecond = static_cast<int>(milliseconds % 1000);
  parts.second = static_cast<int>(milliseconds / 1000 % 60);
  parts.minute = static_cast<int>(milliseconds / 60000 % 60);
  parts.hour = static_cast<int>(milliseconds / 3600000);
  // Day 0 was a Saturday.
  parts.dayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
  return parts;
}

TDateTime DateFromUnixTime(std::time_t seconds) {
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return 0.0;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

std::time_t UnixTimeFromDate(TDateTime value) {
  const TDateParts parts = DecodeDateTime(value);
  std::tm local{};
  local.tm_year = parts.year - 1900;
  local.tm_mon = parts.month - 1;
  local.tm_mday = parts.day;
  local.tm_hour = parts.hour;
  local.tm_min = parts.minute;
  local.tm_sec = parts.second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

TDateTime Now() {
  std::timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return 0.0;
  std::tm local{};
  if (localtime_r(&now.tv_sec, &local) == nullptr) return 0.0;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                        static_cast<int>(now.tv_nsec / 1'000'000));
}

}  // namespace zelvora
