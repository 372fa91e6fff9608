#include "imaging/ExifOrientation.h"

#include <gtest/gtest.h>

#include "support/PictureWriters.h"

namespace zelvora {
namespace {

using test::kExifLong;
using test::kExifOrientationTag;
using test::kExifShort;
using test::MakeExifBlock;
using test::MakeExifOrientationBlock;

// ---- reading the tag ----

TEST(ExifOrientationOf, EveryValueInEitherByteOrderAmongOtherTags) {
  for (int orientation = 1; orientation <= 8; ++orientation) {
    EXPECT_EQ(ExifOrientationOf(MakeExifOrientationBlock(orientation)), orientation);
    EXPECT_EQ(ExifOrientationOf(MakeExifOrientationBlock(orientation, true)), orientation);
  }
  const std::string block = MakeExifBlock({{0x010F, 2, 4, 0x00414141},  // Make "AAA"
                                           {kExifOrientationTag, kExifShort, 1, 6},
                                           {0x0128, kExifShort, 1, 2}},  // ResolutionUnit
                                          true);
  EXPECT_EQ(ExifOrientationOf(block), 6);
}

// As browsers read it: only a single SHORT from 1 to 8 counts; anything
// else, a damaged block included, shows the picture as stored. (Damage
// inside a JPEG is tried through the loader.)
TEST(ExifOrientationOf, WhatIsNoOrientationMeansAsStored) {
  EXPECT_EQ(ExifOrientationOf(""), 1);
  EXPECT_EQ(ExifOrientationOf("Exif"), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifBlock({})), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifOrientationBlock(0)), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifOrientationBlock(9)), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifBlock({{kExifOrientationTag, kExifLong, 1, 6}})), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifBlock({{kExifOrientationTag, kExifShort, 2, 0x00060006}})),
            1);
  // Not an EXIF block: an XMP packet, a bare TIFF structure.
  EXPECT_EQ(ExifOrientationOf("http://ns.adobe.com/xap/1.0/"), 1);
  EXPECT_EQ(ExifOrientationOf(MakeExifOrientationBlock(6).substr(test::kExifTiffStart)), 1);
  // Cut anywhere before the tag's value is whole.
  const std::string good = MakeExifOrientationBlock(6);
  for (std::size_t cut = 0; cut < test::kExifIfd0 + 2 + 10; ++cut) {
    EXPECT_EQ(ExifOrientationOf(good.substr(0, cut)), 1) << cut;
  }
}

// ---- turning the bitmap ----

// 3 x 2 pixels, each its own colour: row 0 is A B C, row 1 is D E F.
Bitmap SixPixels() {
  Bitmap bitmap;
  bitmap.Resize(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) bitmap.SetPixelColor(x, y, 'A' + 3 * y + x);
  return bitmap;
}

std::string Rows(const Bitmap& bitmap) {
  std::string text;
  for (int y = 0; y < bitmap.Height(); ++y) {
    if (y > 0) text += '/';
    for (int x = 0; x < bitmap.Width(); ++x) text += static_cast<char>(bitmap.PixelColor(x, y));
  }
  return text;
}

TEST(ApplyOrientation, EachValueTurnsOrMirrorsAsTiffDefinesIt) {
  // Stored ABC/DEF; how it is shown for each value.
  const char* const shown[9] = {"",        "ABC/DEF", "CBA/FED", "FED/CBA", "DEF/ABC",
                                "AD/BE/CF", "DA/EB/FC", "FC/EB/DA", "CF/BE/AD"};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    Bitmap bitmap = SixPixels();
    EXPECT_TRUE(ApplyOrientation(bitmap, orientation));
    EXPECT_EQ(Rows(bitmap), shown[orientation]) << orientation;
  }
  for (int other : {0, 9, -1}) {
    Bitmap bitmap = SixPixels();
    EXPECT_TRUE(ApplyOrientation(bitmap, other));
    EXPECT_EQ(Rows(bitmap), "ABC/DEF");
  }
}

TEST(ApplyOrientation, LargerThanOneTileAndEmpty) {
  // 70 x 45 crosses the copy's tiles unevenly; turning four times clockwise
  // (or mirroring twice) gives the picture back.
  const Bitmap original = test::MakeTestPattern(70, 45);
  Bitmap bitmap = original;
  ASSERT_TRUE(ApplyOrientation(bitmap, 6));
  EXPECT_EQ(bitmap.Width(), 45);
  EXPECT_EQ(bitmap.Height(), 70);
  EXPECT_EQ(bitmap.PixelColor(44, 0), original.PixelColor(0, 0));
  EXPECT_EQ(bitmap.PixelColor(0, 69), original.PixelColor(69, 44));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(ApplyOrientation(bitmap, 6));
  EXPECT_TRUE(test::SamePixels(bitmap, original));
  for (int orientation : {2, 3, 4, 5, 7}) {
    ASSERT_TRUE(ApplyOrientation(bitmap, orientation));
    ASSERT_TRUE(ApplyOrientation(bitmap, orientation));
    EXPECT_TRUE(test::SamePixels(bitmap, original)) << orientation;
  }
  Bitmap empty;
  EXPECT_TRUE(ApplyOrientation(empty, 6));
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace zelvora
