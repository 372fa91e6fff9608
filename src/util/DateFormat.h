#pragma once
// Formats date values with the Pascal-style format letters:
//   d dd ddd dddd   day, two-digit day, short and long day name
//   m mm mmm mmmm   month, two-digit month, short and long month name
//                   (m and mm right after an hour code mean minutes)
//   yy yyyy         two- and four-digit year
//   h hh            hour; n nn minutes; s ss seconds; z zzz milliseconds
//   am/pm a/p ampm  morning/afternoon mark; any of them after an hour code
//                   switches that hour to the 12-hour clock
//   "..." '...'     literal text; every other character is copied
// Names and marks are English (January, Sun, AM, PM).

#include <string>
#include <string_view>

#include "util/DateValue.h"

namespace zelvora {

std::string FormatDateTime(std::string_view format, TDateTime value);

}  // namespace zelvora
