#include "imaging/Colors.h"

#include <algorithm>
#include <cstdio>

#include "util/Rounding.h"

namespace zelvora {

namespace {

// There is no user-interface toolkit in the core, so a colour value is its
// RGB part; the Default mark and any other high bits are dropped.
TColor ResolveColor(TColor color) { return ColorRGB(color); }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int ChannelByte(double value) {
  return static_cast<int>(std::clamp<std::int64_t>(RoundHalfAway(value * 255.0), 0, 255));
}

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * (2.0 / 3.0 - t) * 6;
  return p;
}

}  // namespace

std::string ColorToHTML(TColor color) {
  const TColor rgb = ResolveColor(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
  return text;
}

TColor HTMLToColor(std::string_view text, TColor defaultColor) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  // Only the low 24 bits count, so shifting out the older digits keeps a
  // long run of digits from overflowing.
  std::uint32_t value = 0;
  bool anyDigit = false;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) continue;
    value = ((value << 4) | static_cast<std::uint32_t>(digit)) & 0xFFFFFF;
    anyDigit = true;
  }
  if (!anyDigit) return defaultColor;
  return MakeColor(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 255),
                   static_cast<int>(value & 255));
}

std::uint32_t ColorToHSL(TColor color) {
  const TColor rgb = ResolveColor(color);
  const double r = RedOf(rgb) / 255.0;
  const double g = GreenOf(rgb) / 255.0;
  const double b = BlueOf(rgb) / 255.0;
  const double maxValue = std::max({r, g, b});
  const double minValue = std::min({r, g, b});
  const double l = (maxValue + minValue) / 2;
  std::uint32_t hueByte = 0;
  std::uint32_t satByte = 0;
  const auto lightByte = static_cast<std::uint32_t>(ChannelByte(l));
  if (maxValue != minValue) {
    const double d = maxValue - minValue;
    const double s = l < 0.5 ? d / (maxValue + minValue) : d / (2 - maxValue - minValue);
    double hue = 0;
    if (r == maxValue) hue = (g - b) / d;
    if (g == maxValue) hue = (b - r) / d + 2;
    if (b == maxValue) hue = (r - g) / d + 4;
    hueByte = static_cast<std::uint32_t>(RoundHalfAway(hue * 42.6)) & 255;
    satByte = static_cast<std::uint32_t>(ChannelByte(s));
  }
  return (satByte << 24) | (lightByte << 16) | (hueByte << 8);
}

TColor HSLToColor(std::uint32_t hsl) {
  const int hueByte = static_cast<int>((hsl >> 8) & 255);
  const int lightByte = static_cast<int>((hsl >> 16) & 255);
  const int satByte = static_cast<int>((hsl >> 24) & 255);
  if (satByte == 0) return MakeColor(lightByte, lightByte, lightByte);
  const double h = hueByte / 255.0;
  const double l = lightByte / 255.0;
  const double s = satByte / 255.0;
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  return MakeColor(ChannelByte(HueToChannel(p, q, h + 1.0 / 3.0)),
                   ChannelByte(HueToChannel(p, q, h)),
                   ChannelByte(HueToChannel(p, q, h - 1.0 / 3.0)));
}

int ColorLightness(TColor color) { return static_cast<int>((ColorToHSL(color) >> 16) & 255); }

TColor SetColorLightness(TColor color, int lightness) {
  const std::uint32_t hsl = ColorToHSL(color) & ~0x00FF0000u;
  return HSLToColor(hsl | ((static_cast<std::uint32_t>(lightness) & 255) << 16));
}

TColor ContrastTextColor(TColor color) {
  return ColorLightness(color) < 128 ? kColorWhite : kColorBlack;
}

}  // namespace zelvora
