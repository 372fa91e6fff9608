#include "html/NameMask.h"

#include <cstdio>

#include "util/TextUtils.h"

namespace zelvora {

namespace {

// Widths beyond this would only build huge texts.
constexpr std::size_t kMaxWidth = 255;

std::string PaddedNumber(std::int32_t number, std::size_t width) {
  const std::int64_t wide = number;
  std::string digits = std::to_string(wide < 0 ? -wide : wide);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return wide < 0 ? "-" + digits : digits;
}

std::string Digits(int value, int count) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", count, value);
  return buffer;
}

std::string TwoDigits(int value) { return Digits(value, 2); }

std::string InnermostFolder(std::string_view folder, PathStyle style) {
  std::string text = style == PathStyle::Windows ? RemoveChars(folder, ":") : std::string(folder);
  text = ExcludeTrailingDelimiters(text, style);
  return FileNameOf(text, style);
}

}  // namespace

std::string ExpandNameMask(std::string_view mask, const TFileNameParams& params,
                           PathStyle style) {
  std::string result;
  try {
    std::size_t i = 0;
    while (i < mask.size()) {
      if (mask[i] != '%') {
        result += mask[i++];
        continue;
      }
      std::size_t p = i + 1;
      std::size_t width = 0;
      bool hasDigits = false;
      while (p < mask.size() && mask[p] >= '0' && mask[p] <= '9') {
        hasDigits = true;
        if (width <= kMaxWidth) width = width * 10 + static_cast<std::size_t>(mask[p] - '0');
        ++p;
      }
      if (!hasDigits) width = 1;
      if (width > kMaxWidth) width = kMaxWidth;
      const char letter = p < mask.size() ? UpperCase(mask.substr(p, 1))[0] : '\0';
      const TDateParts date = DecodeDateTime(params.fileDate);
      const std::string& name = params.fileName;
      const std::size_t dot = name.rfind('.');
      switch (letter) {
        case '%':
          result.append(width, '%');
          break;
        case 'C':
          result += PaddedNumber(params.number, width);
          break;
        case 'D':
          result += Digits(date.year, 4) + "-" + TwoDigits(date.month) + "-" +
                    TwoDigits(date.day);
          break;
        case 'E':
          if (dot != std::string::npos) result += name.substr(dot + 1);
          break;
        case 'F':
          result += InnermostFolder(params.folder, style);
          break;
        case 'N':
          result += name.substr(0, dot);
          break;
        case 'T':
          result += TwoDigits(date.hour) + "-" + TwoDigits(date.minute);
          break;
        default:
          // No code: the "%" stands for itself and what followed is text.
          result += '%';
          i += 1;
          continue;
      }
      i = p + 1;
    }
  } catch (...) {
    return std::string();
  }
  return result;
}

}  // namespace zelvora
