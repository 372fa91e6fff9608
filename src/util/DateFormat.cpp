#include "util/DateFormat.h"

#include <cstdio>

#include "util/TextUtils.h"

namespace zelvora {

namespace {

constexpr const char* kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kLongMonths[] = {"January", "February", "March",     "April",
                                       "May",     "June",     "July",      "August",
                                       "September", "October", "November", "December"};
constexpr const char* kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

bool StartsWithIgnoreCase(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.size() - at >= prefix.size() && SameText(text.substr(at, prefix.size()), prefix);
}

void AppendNumber(std::string& out, int value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
  out += buffer;
}

class TDateFormatter {
 public:
  explicit TDateFormatter(TDateTime value) : parts_(DecodeDateTime(value)) {}

  void Append(std::string_view format, std::string& out, int depth = 0) {
    // Only the short combined formats nest, and only once.
    if (depth > 1) return;
    char lastToken = ' ';
    std::size_t i = 0;
    while (i < format.size()) {
      const char starter = format[i];
      char token = starter;
      if (token >= 'a' && token <= 'z') token = static_cast<char>(token - 32);
      std::size_t count = 1;
      const auto countRun = [&] {
        while (i + count < format.size() && (format[i + count] == starter)) ++count;
      };
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') {
          countRun();
          if (count <= 2) token = 'N';
          count = 1;
        }
        lastToken = token;
      }
      switch (token) {
        case 'Y':
          countRun();
          if (count <= 2)
            AppendNumber(out, parts_.year % 100, 2);
          else
            AppendNumber(out, parts_.year, 4);
          break;
        case 'M':
          countRun();
          if (count <= 2)
            AppendNumber(out, parts_.month, static_cast<int>(count));
          else if (count == 3)
            out += kShortMonths[parts_.month - 1];
          else
            out += kLongMonths[parts_.month - 1];
          break;
        case 'D':
          countRun();
          if (count <= 2)
            AppendNumber(out, parts_.day, static_cast<int>(count));
          else if (count == 3)
            out += kShortDays[parts_.dayOfWeek - 1];
          else if (count == 4)
            out += kLongDays[parts_.dayOfWeek - 1];
          else if (count == 5)
            Append("m/d/yyyy", out, depth + 1);
          else
            Append("dddd, mmmm d, yyyy", out, depth + 1);
          break;
        case 'H': {
          countRun();
          const bool use12Hour = FindsMarkAhead(format, i + count);
          int hour = parts_.hour;
          if (use12Hour) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
          AppendNumber(out, hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N':
          countRun();
          AppendNumber(out, parts_.minute, count >= 2 ? 2 : 1);
          break;
        case 'S':
          countRun();
          AppendNumber(out, parts_.second, count >= 2 ? 2 : 1);
          break;
        case 'Z':
          countRun();
          AppendNumber(out, parts_.millisecond, count >= 3 ? 3 : 1);
          break;
        case 'T':
          countRun();
          Append(count == 1 ? "h:nn AM/PM" : "h:nn:ss AM/PM", out, depth + 1);
          break;
        case 'C':
          Append("m/d/yyyy h:nn:ss AM/PM", out, depth + 1);
          break;
        case 'A':
          count = AppendMark(format, i, out);
          break;
        case '"':
        case '\'': {
          const std::size_t close = format.find(starter, i + 1);
          const std::size_t end = close == std::string_view::npos ? format.size() : close;
          out.append(format.substr(i + 1, end - i - 1));
          count = (close == std::string_view::npos ? end : end + 1) - i;
          break;
        }
        default:
          out += starter;
          break;
      }
      i += count;
    }
  }

 private:
  // After an hour code: does a morning/afternoon mark follow before the
  // next hour code? Quoted text is skipped.
  static bool FindsMarkAhead(std::string_view format, std::size_t from) {
    char quote = 0;
    for (std::size_t p = from; p < format.size(); ++p) {
      const char c = format[p];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == 'a' || c == 'A') {
        return StartsWithIgnoreCase(format, p, "am/pm") || StartsWithIgnoreCase(format, p, "a/p") ||
               StartsWithIgnoreCase(format, p, "ampm");
      } else if (c == 'h' || c == 'H') {
        return false;
      }
    }
    return false;
  }

  // Appends the mark that starts at i, or a plain "a"; returns the length used.
  std::size_t AppendMark(std::string_view format, std::size_t i, std::string& out) const {
    const bool afternoon = parts_.hour >= 12;
    if (StartsWithIgnoreCase(format, i, "am/pm")) {
      // Written in the case the format uses.
      out.append(format.substr(afternoon ? i + 3 : i, 2));
      return 5;
    }
    if (StartsWithIgnoreCase(format, i, "a/p")) {
      out += format[afternoon ? i + 2 : i];
      return 3;
    }
    if (StartsWithIgnoreCase(format, i, "ampm")) {
      out += afternoon ? "PM" : "AM";
      return 4;
    }
    out += format[i];
    return 1;
  }

  TDateParts parts_;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value) {
  std::string out;
  try {
    TDateFormatter(value).Append(format, out);
  } catch (...) {
    return std::string();
  }
  return out;
}

}  // namespace zelvora
