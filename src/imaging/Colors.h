#pragma once
// Colour values and their text and hue/saturation/lightness forms.
//
// A colour value is 0x00BBGGRR (red in the low byte). Bit 29 is the Default
// mark: set when the user chose no colour. Page writers leave such a colour
// out; ColorToHTML ignores the mark.

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvora {

using TColor = std::uint32_t;

inline constexpr TColor kDefaultColorMark = 0x20000000;
inline constexpr TColor kColorWhite = 0xFFFFFF;
inline constexpr TColor kColorBlack = 0x000000;

constexpr bool IsDefaultColor(TColor c) { return (c & kDefaultColorMark) != 0; }
constexpr TColor WithDefaultMark(TColor c) { return c | kDefaultColorMark; }
// The 24-bit RGB part, without the mark or any other high bit.
constexpr TColor ColorRGB(TColor c) { return c & 0xFFFFFF; }
constexpr TColor MakeColor(int r, int g, int b) {
  return static_cast<TColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 255); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 255); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 255); }

// "#RRGGBB", upper-case digits.
std::string ColorToHTML(TColor color);
// Every non-hexadecimal character is dropped; the low 24 bits of what is
// left are RRGGBB. The default when nothing is left.
TColor HTMLToColor(std::string_view text, TColor defaultColor);

// HSL packed as 0xSSLLHH00.
std::uint32_t ColorToHSL(TColor color);
TColor HSLToColor(std::uint32_t hsl);
int ColorLightness(TColor color);
TColor SetColorLightness(TColor color, int lightness);
// White for a dark colour (lightness below 128), else black.
TColor ContrastTextColor(TColor color);

}  // namespace zelvora
