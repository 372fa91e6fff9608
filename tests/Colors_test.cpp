#include "imaging/Colors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvora {
namespace {

int HueOf(std::uint32_t hsl) { return static_cast<int>((hsl >> 8) & 255); }
int LightOf(std::uint32_t hsl) { return static_cast<int>((hsl >> 16) & 255); }
int SatOf(std::uint32_t hsl) { return static_cast<int>((hsl >> 24) & 255); }
std::uint32_t PackHSL(int h, int l, int s) {
  return (static_cast<std::uint32_t>(s) << 24) | (static_cast<std::uint32_t>(l) << 16) |
         (static_cast<std::uint32_t>(h) << 8);
}

TEST(ColorText, WritesSixUpperCaseDigitsInRedGreenBlueOrder) {
  EXPECT_EQ(ColorToHTML(MakeColor(255, 0, 0)), "#FF0000");
  EXPECT_EQ(ColorToHTML(MakeColor(0x12, 0xAB, 0x0C)), "#12AB0C");
  EXPECT_EQ(ColorToHTML(kColorBlack), "#000000");
  // The Default mark and other high bits never reach the text.
  EXPECT_EQ(ColorToHTML(WithDefaultMark(kColorWhite)), "#FFFFFF");
  EXPECT_EQ(ColorToHTML(0xFF000080), "#800000");
}

TEST(ColorText, ReadsDigitsIgnoringEverythingElse) {
  EXPECT_EQ(HTMLToColor("  #ff8000  ", 7), MakeColor(255, 128, 0));
  EXPECT_EQ(HTMLToColor("#FF8000", 7), MakeColor(255, 128, 0));
  EXPECT_EQ(HTMLToColor("# 12 -34 zz 56", 7), MakeColor(0x12, 0x34, 0x56));
  // Fewer digits are a smaller number: blue only.
  EXPECT_EQ(HTMLToColor("#FF", 7), MakeColor(0, 0, 255));
  // More digits keep the low 24 bits, however many there are.
  EXPECT_EQ(HTMLToColor("#12345678", 7), MakeColor(0x34, 0x56, 0x78));
  EXPECT_EQ(HTMLToColor(std::string(5000, 'f') + "000001", 7), MakeColor(0, 0, 1));
}

TEST(ColorText, FallsBackToTheDefault) {
  const TColor fallback = WithDefaultMark(0x123456);
  EXPECT_EQ(HTMLToColor("", fallback), fallback);
  EXPECT_EQ(HTMLToColor("   \t ", fallback), fallback);
  EXPECT_EQ(HTMLToColor("#", fallback), fallback);
  EXPECT_EQ(HTMLToColor("#xyzw!", fallback), fallback);
}

TEST(ColorHSL, GreysHaveNoHueOrSaturation) {
  EXPECT_EQ(ColorToHSL(kColorWhite), PackHSL(0, 255, 0));
  EXPECT_EQ(ColorToHSL(kColorBlack), 0u);
  EXPECT_EQ(ColorToHSL(MakeColor(0x7F, 0x7F, 0x7F)), PackHSL(0, 127, 0));
  // Greys come back exactly from their lightness byte.
  for (int l : {0, 1, 127, 128, 200, 255}) {
    EXPECT_EQ(HSLToColor(PackHSL(77, l, 0)), MakeColor(l, l, l));
  }
}

TEST(ColorHSL, HueOfPrimariesAndTies) {
  // Pure red: hue 0, full saturation, lightness round(127.5) = 128.
  EXPECT_EQ(ColorToHSL(MakeColor(255, 0, 0)), PackHSL(0, 128, 255));
  EXPECT_EQ(HueOf(ColorToHSL(MakeColor(0, 255, 0))), 85);   // round(2 x 42.6)
  EXPECT_EQ(HueOf(ColorToHSL(MakeColor(0, 0, 255))), 170);  // round(4 x 42.6)
  // Red and blue tie for the maximum: the blue test comes last and wins.
  EXPECT_EQ(HueOf(ColorToHSL(MakeColor(255, 0, 255))), 213);  // round(5 x 42.6)
  // Red and green tie: green wins, hue 2 - 1 = 1.
  EXPECT_EQ(HueOf(ColorToHSL(MakeColor(255, 255, 0))), 43);
  // A negative hue wraps: (0 - 128/255) x 42.6 rounds to -21, which is 235.
  EXPECT_EQ(ColorToHSL(MakeColor(255, 0, 128)), PackHSL(235, 128, 255));
}

TEST(ColorHSL, SaturationUsesTheLightnessHalf) {
  // Dark: d / (max + min) = (100 - 50) / 150.
  const std::uint32_t dark = ColorToHSL(MakeColor(100, 50, 50));
  EXPECT_EQ(SatOf(dark), 85);
  EXPECT_EQ(LightOf(dark), 75);
  // Light: d / (2 - max - min) = (255 - 155) / (510 - 410) = 1.
  const std::uint32_t light = ColorToHSL(MakeColor(255, 155, 155));
  EXPECT_EQ(SatOf(light), 255);
  EXPECT_EQ(LightOf(light), 205);
}

TEST(ColorHSL, BackToColourKeepsChannelOrder) {
  // Red at lightness 128: q = 1, p = 2 x 128/255 - 1 = 1/255.
  EXPECT_EQ(HSLToColor(PackHSL(0, 128, 255)), MakeColor(255, 1, 1));
  // Hue 85 is a third of a turn: green.
  const TColor green = HSLToColor(PackHSL(85, 128, 255));
  EXPECT_EQ(GreenOf(green), 255);
  EXPECT_LE(RedOf(green), 2);
  EXPECT_LE(BlueOf(green), 2);
  // Hue 170: blue.
  const TColor blue = HSLToColor(PackHSL(170, 128, 255));
  EXPECT_EQ(BlueOf(blue), 255);
  EXPECT_LE(RedOf(blue), 2);
  EXPECT_LE(GreenOf(blue), 2);
}

TEST(ColorLightnessTest, SetLightnessAndContrast) {
  EXPECT_EQ(ColorLightness(kColorWhite), 255);
  EXPECT_EQ(ColorLightness(MakeColor(255, 0, 0)), 128);
  // The shadow preview: white with lightness 255 - 128.
  EXPECT_EQ(ColorToHTML(SetColorLightness(kColorWhite, 255 - 128)), "#7F7F7F");
  // Only the low 8 bits of the lightness count.
  EXPECT_EQ(ColorToHTML(SetColorLightness(kColorWhite, 0x1BF)), "#BFBFBF");
  EXPECT_EQ(SetColorLightness(MakeColor(255, 0, 0), 0), kColorBlack);

  EXPECT_EQ(ContrastTextColor(kColorBlack), kColorWhite);
  EXPECT_EQ(ContrastTextColor(kColorWhite), kColorBlack);
  EXPECT_EQ(ContrastTextColor(MakeColor(127, 127, 127)), kColorWhite);
  EXPECT_EQ(ContrastTextColor(MakeColor(128, 128, 128)), kColorBlack);
}

TEST(ColorLightnessTest, DisabledLinkAndShadowArithmetic) {
  // The option set derives these colours by editing the packed HSL value.
  auto derive = [](TColor background, double lightFactor) {
    const std::uint32_t hsl = ColorToHSL(background);
    const auto l = static_cast<int>(std::lround(LightOf(hsl) * lightFactor));
    return HSLToColor(PackHSL(HueOf(hsl), l, SatOf(hsl) / 3));
  };
  EXPECT_EQ(ColorToHTML(derive(kColorWhite, 0.75)), "#BFBFBF");
  EXPECT_EQ(ColorToHTML(derive(kColorWhite, 127.0 / 255.0)), "#7F7F7F");
  EXPECT_EQ(derive(kColorBlack, 1.25), kColorBlack);
  // A coloured background keeps a muted version of its hue.
  const TColor muted = derive(MakeColor(0, 0, 255), 127.0 / 255.0);
  // Blue: hue 170, L 128 -> 64, S 255 -> 85; q = 0.3346 and p = 0.1673 give 85 and 43.
  EXPECT_EQ(muted, MakeColor(43, 43, 85));
}

}  // namespace
}  // namespace zelvora
