#include "generation/Thumbnail.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gallery/GallerySet.h"

namespace zelvora {
namespace {

// Every pixel differs, so a picture drawn one pixel off is caught.
std::unique_ptr<Bitmap> Pattern(int w, int h) {
  auto b = Bitmap::Create(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      b->SetPixelColor(x, y, MakeColor(x & 255, y & 255, 0x80 | (x >> 8)));
  }
  return b;
}

// Empty when every pixel of [left, right] x [top, bottom] (inclusive) has
// the colour; otherwise the first that does not.
std::string CheckArea(const Bitmap& b, int left, int top, int right, int bottom, TColor color) {
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (b.PixelColor(x, y) != color) {
        std::ostringstream out;
        out << "pixel (" << x << ", " << y << ") is " << ColorToHTML(b.PixelColor(x, y))
            << ", wanted " << ColorToHTML(color);
        return out.str();
      }
    }
  }
  return {};
}

// Empty when the picture lies unchanged at (dx, dy).
std::string CheckPicture(const Bitmap& thumb, const Bitmap& picture, int dx, int dy) {
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (thumb.PixelColor(x + dx, y + dy) != picture.PixelColor(x, y)) {
        std::ostringstream out;
        out << "picture pixel (" << x << ", " << y << ") differs";
        return out.str();
      }
    }
  }
  return {};
}

TGallerySet Effects(bool frame, bool shadow) {
  TGallerySet set;
  set.Thumb_Effects_ContrastFrame = frame;
  set.Thumb_Effects_Shadow = shadow;
  return set;
}

const TColor kGrey7F = MakeColor(0x7F, 0x7F, 0x7F);

TEST(DecorateThumbnail, FrameAndShadowAroundA100By75Picture) {
  const auto picture = Pattern(100, 75);
  const auto thumb = DecorateThumbnail(*picture, Effects(true, true));
  ASSERT_TRUE(thumb);
  ASSERT_EQ(thumb->Width(), 109);
  ASSERT_EQ(thumb->Height(), 84);

  EXPECT_EQ(CheckPicture(*thumb, *picture, 1, 1), "");
  // Frame: columns 0 and 101, rows 0 and 76.
  EXPECT_EQ(CheckArea(*thumb, 0, 0, 0, 76, kColorBlack), "");
  EXPECT_EQ(CheckArea(*thumb, 101, 0, 101, 76, kColorBlack), "");
  EXPECT_EQ(CheckArea(*thumb, 0, 0, 101, 0, kColorBlack), "");
  EXPECT_EQ(CheckArea(*thumb, 0, 76, 101, 76, kColorBlack), "");
  // Visible shadow band: right of the frame from row 8, below it from column 8.
  EXPECT_EQ(CheckArea(*thumb, 102, 8, 106, 81, kGrey7F), "");
  EXPECT_EQ(CheckArea(*thumb, 8, 77, 106, 81, kGrey7F), "");
  // Background above and left of the band, and the two outer strips.
  EXPECT_EQ(CheckArea(*thumb, 102, 0, 108, 7, kColorWhite), "");
  EXPECT_EQ(CheckArea(*thumb, 0, 77, 7, 83, kColorWhite), "");
  EXPECT_EQ(CheckArea(*thumb, 107, 0, 108, 83, kColorWhite), "");
  EXPECT_EQ(CheckArea(*thumb, 0, 82, 108, 83, kColorWhite), "");
}

TEST(DecorateThumbnail, EachCombinationOfFrameAndShadow) {
  const auto picture = Pattern(20, 10);

  const auto plain = DecorateThumbnail(*picture, Effects(false, false));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->Width(), 20);
  EXPECT_EQ(plain->Height(), 10);
  EXPECT_EQ(plain->Pixels(), picture->Pixels());

  const auto framed = DecorateThumbnail(*picture, Effects(true, false));
  ASSERT_TRUE(framed);
  EXPECT_EQ(framed->Width(), 22);
  EXPECT_EQ(framed->Height(), 12);
  EXPECT_EQ(CheckPicture(*framed, *picture, 1, 1), "");
  EXPECT_EQ(CheckArea(*framed, 0, 0, 21, 0, kColorBlack), "");
  EXPECT_EQ(CheckArea(*framed, 0, 11, 21, 11, kColorBlack), "");
  EXPECT_EQ(CheckArea(*framed, 0, 0, 0, 11, kColorBlack), "");
  EXPECT_EQ(CheckArea(*framed, 21, 0, 21, 11, kColorBlack), "");

  // Shadow alone reaches the right and bottom edges.
  const auto shadowed = DecorateThumbnail(*picture, Effects(false, true));
  ASSERT_TRUE(shadowed);
  EXPECT_EQ(shadowed->Width(), 27);
  EXPECT_EQ(shadowed->Height(), 17);
  EXPECT_EQ(CheckPicture(*shadowed, *picture, 0, 0), "");
  EXPECT_EQ(CheckArea(*shadowed, 20, 8, 26, 16, kGrey7F), "");
  EXPECT_EQ(CheckArea(*shadowed, 8, 10, 26, 16, kGrey7F), "");
  EXPECT_EQ(CheckArea(*shadowed, 20, 0, 26, 7, kColorWhite), "");
  EXPECT_EQ(CheckArea(*shadowed, 0, 10, 7, 16, kColorWhite), "");
}

TEST(DecorateThumbnail, UsesBackgroundAndShadowColourOfTheOptions) {
  TGallerySet set = Effects(false, true);
  set.HTMLPage_BGColor = WithDefaultMark(MakeColor(0x20, 0x60, 0xC0));
  set.Thumb_Effects_ShadowDensity = 200;
  const auto thumb = DecorateThumbnail(*Pattern(30, 30), set);
  ASSERT_TRUE(thumb);
  EXPECT_EQ(thumb->PixelColor(36, 0), MakeColor(0x20, 0x60, 0xC0));
  EXPECT_EQ(thumb->PixelColor(36, 36), set.GetShadowColor());
  EXPECT_NE(set.GetShadowColor(), MakeColor(0x20, 0x60, 0xC0));
}

TEST(DecorateThumbnail, EmptyPictureGivesNothing) {
  EXPECT_EQ(DecorateThumbnail(Bitmap(), TGallerySet()), nullptr);
}

TEST(MakeThumbnail, SmallPictureKeepsItsSize) {
  const auto picture = Pattern(40, 30);
  const auto thumb = MakeThumbnail(*picture, TGallerySet());
  ASSERT_TRUE(thumb);
  EXPECT_EQ(thumb->Width(), 49);
  EXPECT_EQ(thumb->Height(), 39);
  EXPECT_EQ(CheckPicture(*thumb, *picture, 1, 1), "");
}

TEST(MakeThumbnail, LargePictureIsReducedIntoTheBox) {
  auto wide = Bitmap::Create(1000, 10);
  wide->Fill(MakeColor(10, 200, 30));
  const auto thumb = MakeThumbnail(*wide, Effects(false, false));
  ASSERT_TRUE(thumb);
  EXPECT_EQ(thumb->Width(), 100);
  EXPECT_EQ(thumb->Height(), 1);
  EXPECT_EQ(CheckArea(*thumb, 0, 0, 99, 0, MakeColor(10, 200, 30)), "");

  TGallerySet box = Effects(false, false);
  box.Thumb_MaxWidth = 200;
  box.Thumb_MaxHeight = 200;
  const auto scaled = MakeThumbnail(*Pattern(400, 300), box);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->Width(), 200);
  EXPECT_EQ(scaled->Height(), 150);
}

TEST(MakeThumbnail, ZeroBoxMakesOnePixelPicturesThatAreStillDecorated) {
  TGallerySet set = Effects(true, false);
  set.Thumb_MaxWidth = 0;
  set.Thumb_MaxHeight = 0;
  auto red = Bitmap::Create(50, 40);
  red->Fill(MakeColor(255, 0, 0));
  const auto framed = MakeThumbnail(*red, set);
  ASSERT_TRUE(framed);
  EXPECT_EQ(framed->Width(), 3);
  EXPECT_EQ(framed->Height(), 3);
  EXPECT_EQ(framed->PixelColor(1, 1), MakeColor(255, 0, 0));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(framed->PixelColor(i, 0), kColorBlack);
    EXPECT_EQ(framed->PixelColor(i, 2), kColorBlack);
    EXPECT_EQ(framed->PixelColor(0, i), kColorBlack);
    EXPECT_EQ(framed->PixelColor(2, i), kColorBlack);
  }

  set.Thumb_Effects_Shadow = true;
  const auto both = MakeThumbnail(*red, set);
  ASSERT_TRUE(both);
  EXPECT_EQ(both->Width(), 10);
  EXPECT_EQ(both->Height(), 10);
  EXPECT_EQ(both->PixelColor(1, 1), MakeColor(255, 0, 0));
  EXPECT_EQ(both->PixelColor(9, 9), kColorWhite);

  set.Thumb_MaxWidth = -5;  // negative limits count as 0
  EXPECT_EQ(MakeThumbnail(*red, set)->Width(), 10);
}

TEST(MakeThumbnail, EmptyPictureGivesNothing) {
  EXPECT_EQ(MakeThumbnail(Bitmap(), TGallerySet()), nullptr);
}

TEST(FitSize, PicksTheBindingLimit) {
  EXPECT_EQ(FitSize(800, 600, 640, 600), (TPixelSize{640, 480}));
  EXPECT_EQ(FitSize(800, 600, 1000, 300), (TPixelSize{400, 300}));
  EXPECT_EQ(FitSize(800, 600, 640, 300), (TPixelSize{400, 300}));
  EXPECT_EQ(FitSize(600, 800, 300, 640), (TPixelSize{300, 400}));
  EXPECT_EQ(FitSize(800, 600, 1000, 1000), (TPixelSize{800, 600}));  // never enlarged
}

TEST(FitSize, LimitsOfZeroOrLessMeanNone) {
  EXPECT_EQ(FitSize(800, 600, 0, 0), (TPixelSize{800, 600}));
  EXPECT_EQ(FitSize(800, 600, -1, 300), (TPixelSize{400, 300}));
  EXPECT_EQ(FitSize(800, 600, 400, 0), (TPixelSize{400, 300}));
}

TEST(FitSize, RoundsHalvesAwayAndKeepsOnePixel) {
  EXPECT_EQ(FitSize(4, 5, 2, 0), (TPixelSize{2, 3}));  // 2.5 rounds up
  EXPECT_EQ(FitSize(5, 4, 0, 2), (TPixelSize{3, 2}));
  EXPECT_EQ(FitSize(3, 7, 0, 3), (TPixelSize{1, 3}));  // 1.29 rounds down
  EXPECT_EQ(FitSize(1000, 10, 100, 100), (TPixelSize{100, 1}));
  EXPECT_EQ(FitSize(10000, 1, 10, 0), (TPixelSize{10, 1}));  // 0.001 raised to 1
  EXPECT_EQ(FitSize(0, 0, 10, 10), (TPixelSize{1, 1}));
}

// Left, top, width, height and caption of the inner panel.
std::string Box(const TThumbPreview& p) {
  std::ostringstream out;
  out << p.Left << "," << p.Top << " " << p.Width << "x" << p.Height << " '" << p.Caption << "'";
  return out.str();
}

TEST(ThumbPreview, SizeFitsThePanel) {
  EXPECT_EQ(Box(ComputeThumbPreview(100, 50, true, false, 128)), "30,55 100x50 ''");
  EXPECT_EQ(Box(ComputeThumbPreview(160, 160, true, false, 128)), "0,0 160x160 ''");
  EXPECT_EQ(Box(ComputeThumbPreview(200, 200, true, true, 128)), "0,0 160x160 '200 x 200'");
  // trunc(160 / 481 * 150) = trunc(49.9)
  EXPECT_EQ(Box(ComputeThumbPreview(481, 150, false, true, 0)), "0,55 160x49 '481 x 150'");
}

TEST(ThumbPreview, FrameAndShadowColours) {
  const TThumbPreview framed = ComputeThumbPreview(100, 100, true, false, 40);
  EXPECT_TRUE(framed.Border);
  EXPECT_TRUE(framed.UseButtonShadowColor);

  const TThumbPreview grey = ComputeThumbPreview(100, 100, false, true, 128);
  EXPECT_FALSE(grey.Border || grey.UseButtonShadowColor);
  EXPECT_EQ(grey.PanelColor, kGrey7F);
  EXPECT_EQ(grey.CaptionColor, kColorWhite);

  const TThumbPreview light = ComputeThumbPreview(100, 100, false, true, 0);
  EXPECT_EQ(light.PanelColor, kColorWhite);
  EXPECT_EQ(light.CaptionColor, kColorBlack);
}

}  // namespace
}  // namespace zelvora
