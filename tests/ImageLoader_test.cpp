#include "imaging/ImageLoader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/PictureWriters.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

using test::BmpHeader;
using test::BmpOptions;
using test::MakeBmp;
using test::SamePixels;

std::unique_ptr<Bitmap> Load(ImageKind kind, const std::string& bytes) {
  return LoadImageFromMemory(kind, bytes);
}

// Every prefix and a run of byte flips must decode or fail cleanly; the
// sanitizer build turns any stray access into a failure.
void ExpectSurvivesDamage(ImageKind kind, const std::string& bytes, std::size_t flipLimit) {
  const std::size_t step = std::max<std::size_t>(1, bytes.size() / 400);
  for (std::size_t cut = 0; cut < bytes.size(); cut += step) Load(kind, bytes.substr(0, cut));
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = bytes;
    for (int i = 0; i < 3; ++i) {
      damaged[random() % std::min(flipLimit, bytes.size())] = static_cast<char>(random());
    }
    Load(kind, damaged);
  }
}

// A picture with only pure channel values, exact at 16 bits too.
Bitmap EightColourPattern(int width, int height) {
  Bitmap picture = test::MakeTestPattern(width, height, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int i = static_cast<int>(picture.PixelColor(x, y) & 7);
      picture.SetPixelColor(x, y, MakeColor(i & 1 ? 255 : 0, i & 2 ? 255 : 0, i & 4 ? 255 : 0));
    }
  }
  return picture;
}

// ---- BMP ----

struct BmpCase {
  int bits;
  BmpHeader header;
  bool topDown;
  bool rle;
  bool bitFields;
};

class BmpRoundTrip : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpRoundTrip, DecodesWhatWasWritten) {
  const BmpCase c = GetParam();
  // Odd widths exercise row padding and partly used bytes.
  for (int width : {1, 7, 33}) {
    const Bitmap picture = c.bits == 16  ? EightColourPattern(width, 9)
                           : c.bits <= 8 ? test::MakeTestPattern(width, 9, 1 << c.bits)
                                         : test::MakeTestPattern(width, 9);
    BmpOptions options{c.bits, c.rle, c.topDown, c.header, c.bitFields};
    auto decoded = Load(ImageKind::BMP, MakeBmp(picture, options));
    ASSERT_NE(decoded, nullptr) << width;
    EXPECT_TRUE(SamePixels(*decoded, picture)) << width;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         testing::Values(BmpCase{1, BmpHeader::Info, false, false, false},
                                         BmpCase{4, BmpHeader::Info, false, false, false},
                                         BmpCase{8, BmpHeader::Info, true, false, false},
                                         BmpCase{16, BmpHeader::Info, false, false, false},
                                         BmpCase{16, BmpHeader::Info, false, false, true},
                                         BmpCase{24, BmpHeader::Info, false, false, false},
                                         BmpCase{24, BmpHeader::Info, true, false, false},
                                         BmpCase{32, BmpHeader::Info, false, false, false},
                                         BmpCase{32, BmpHeader::V5, true, false, true},
                                         BmpCase{16, BmpHeader::V4, false, false, true},
                                         BmpCase{1, BmpHeader::Core, false, false, false},
                                         BmpCase{8, BmpHeader::Core, false, false, false},
                                         BmpCase{24, BmpHeader::Core, false, false, false},
                                         BmpCase{8, BmpHeader::Info, false, true, false},
                                         BmpCase{4, BmpHeader::Info, false, true, false},
                                         BmpCase{8, BmpHeader::V5, false, true, false}));

TEST(BmpDecoder, BitFieldMasksOfAnyWidthAreScaledToEightBits) {
  const Bitmap picture = test::MakeTestPattern(5, 4);
  BmpOptions options{32, false, false, BmpHeader::Info, true, 0x3FF00000, 0x000FFC00, 0x3FF};
  auto decoded = Load(ImageKind::BMP, MakeBmp(picture, options));
  ASSERT_NE(decoded, nullptr);
  EXPECT_TRUE(SamePixels(*decoded, picture));
  // 5-bit 16 is just above half of 31.
  auto grey = Load(ImageKind::BMP, test::MakeBmpWithData(1, 1, 16, test::kBmpRgb, {},
                                                         std::string("\x10\x42\0\0", 4)));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->PixelColor(0, 0), MakeColor(132, 132, 132));
}

TEST(BmpDecoder, RleEscapesAndDamagedRuns) {
  const std::vector<TColor> palette = {0x0000FF, 0x00FF00, 0xFF0000};
  // Bottom-up 4 x 3: row 0 "1 1 2", end of line, delta (+1, +1), four
  // absolute "2" (one past the width), end of bitmap.
  const std::string stream(
      "\x02\x01\x01\x02\x00\x00\x00\x02\x01\x01\x00\x04\x02\x02\x02\x02"
      "\x00\x01",
      18);
  auto bitmap =
      Load(ImageKind::BMP, test::MakeBmpWithData(4, 3, 8, test::kBmpRle8, palette, stream));
  ASSERT_NE(bitmap, nullptr);
  const TColor red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
  EXPECT_EQ(bitmap->PixelColor(0, 2), green);
  EXPECT_EQ(bitmap->PixelColor(2, 2), blue);
  EXPECT_EQ(bitmap->PixelColor(3, 2), red);  // never drawn: entry 0
  EXPECT_EQ(bitmap->PixelColor(0, 1), red);  // skipped by the end of line
  EXPECT_EQ(bitmap->PixelColor(0, 0), red);  // skipped by the delta
  EXPECT_EQ(bitmap->PixelColor(1, 0), blue);
  EXPECT_EQ(bitmap->PixelColor(3, 0), blue);
  // A stream cut short keeps what it drew.
  auto cut = Load(ImageKind::BMP,
                  test::MakeBmpWithData(4, 3, 8, test::kBmpRle8, palette, stream.substr(0, 3)));
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->PixelColor(1, 2), green);
  EXPECT_EQ(cut->PixelColor(2, 2), red);
  // An index past the palette is black, not a read past it.
  auto stray = Load(ImageKind::BMP, test::MakeBmpWithData(2, 1, 8, test::kBmpRle8, palette,
                                                          std::string("\x02\xC8\x00\x01", 4)));
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(stray->PixelColor(1, 0), kColorBlack);
}

TEST(BmpDecoder, RefusesBrokenHeadersAndMissingPixels) {
  const std::string good = MakeBmp(test::MakeTestPattern(6, 5, 16), {8});
  ASSERT_NE(Load(ImageKind::BMP, good), nullptr);
  auto patched = [&](std::size_t offset, std::uint32_t value) {
    std::string bytes = good;
    test::PutUint32(bytes, offset, value);
    return Load(ImageKind::BMP, bytes);
  };
  EXPECT_EQ(patched(test::kBmpWidthOffset, 0), nullptr);
  EXPECT_EQ(patched(test::kBmpHeightOffset, 0), nullptr);
  EXPECT_EQ(patched(test::kBmpWidthOffset, 0x80000000u), nullptr);
  EXPECT_EQ(patched(test::kBmpHeaderSizeOffset, 99), nullptr);
  EXPECT_EQ(patched(test::kBmpCompressionOffset, 4), nullptr);               // JPEG inside
  EXPECT_EQ(patched(test::kBmpCompressionOffset, test::kBmpRle4), nullptr);  // wrong depth
  std::string depth = good;
  test::PutUint16(depth, test::kBmpBitCountOffset, 7);
  EXPECT_EQ(Load(ImageKind::BMP, depth), nullptr);
  // Sizes beyond the limit are refused before any allocation, even when the
  // product overflows 32 bits.
  EXPECT_EQ(patched(test::kBmpHeightOffset, 20000), nullptr);
  std::string huge = good;
  test::PutUint32(huge, test::kBmpWidthOffset, 20000);
  test::PutUint32(huge, test::kBmpHeightOffset, 20000);
  EXPECT_EQ(Load(ImageKind::BMP, huge), nullptr);
  test::PutUint32(huge, test::kBmpCompressionOffset, test::kBmpRle8);
  EXPECT_EQ(Load(ImageKind::BMP, huge), nullptr);
  // Within the limit, a few RLE bytes claiming a huge picture are a bomb too,
  // while a sparse one of ordinary size still loads.
  const std::string endOfBitmap("\x00\x01", 2);
  EXPECT_EQ(Load(ImageKind::BMP,
                 test::MakeBmpWithData(15000, 15000, 8, test::kBmpRle8, {0xFF}, endOfBitmap)),
            nullptr);
  auto sparse = Load(ImageKind::BMP,
                     test::MakeBmpWithData(1000, 1000, 8, test::kBmpRle8, {0xFF}, endOfBitmap));
  ASSERT_NE(sparse, nullptr);
  EXPECT_EQ(sparse->PixelColor(999, 999), 0xFFu);
  // A palette count past the file is cut, not read.
  EXPECT_NE(patched(test::kBmpColorsUsedOffset, 0xFFFFFFFF), nullptr);
  // Uncompressed rows missing: none.
  EXPECT_EQ(Load(ImageKind::BMP, good.substr(0, good.size() - 9)), nullptr);
}

TEST(BmpDecoder, SurvivesTruncationAndCorruption) {
  for (const BmpOptions& options :
       {BmpOptions{1}, BmpOptions{4, true}, BmpOptions{8, true}, BmpOptions{16, false, true},
        BmpOptions{32, false, false, BmpHeader::V5, true},
        BmpOptions{8, false, false, BmpHeader::Core}}) {
    const std::string bytes = MakeBmp(test::MakeTestPattern(19, 7, 2), options);
    ExpectSurvivesDamage(ImageKind::BMP, bytes, 140);
  }
}

// ---- ICO ----

TEST(IcoDecoder, TakesTheLargestBitmapEntryAndDrawsItsMaskOverWhite) {
  test::IcoImage small{test::MakeTestPattern(16, 16), {}, 24};
  test::IcoImage large{test::MakeTestPattern(32, 32, 200), {}, 8};
  large.transparent.assign(32 * 32, false);
  for (int i = 0; i < 32; ++i) large.transparent[i * 32 + i] = true;  // the diagonal
  auto icon = Load(ImageKind::ICO, test::MakeIco({small, large}));
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->Width(), 32);
  ASSERT_EQ(icon->Height(), 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const TColor expected = x == y ? kColorWhite : large.picture.PixelColor(x, y);
      ASSERT_EQ(icon->PixelColor(x, y), expected) << x << "," << y;
    }
  }
}

TEST(IcoDecoder, EveryDepthAndTheAlphaChannel) {
  for (int bits : {1, 4, 8, 24, 32}) {
    test::IcoImage image{test::MakeTestPattern(9, 5, bits <= 8 ? (1 << bits) - 1 : 256), {}, bits};
    image.transparent.assign(45, false);
    image.transparent[3] = image.transparent[44] = true;
    Bitmap expected = image.picture;
    expected.SetPixelColor(3, 0, kColorWhite);
    expected.SetPixelColor(8, 4, kColorWhite);
    auto icon = Load(ImageKind::ICO, test::MakeIco({image}));
    ASSERT_NE(icon, nullptr) << bits;
    EXPECT_TRUE(SamePixels(*icon, expected)) << bits;
  }
}

TEST(IcoDecoder, BlendsPartialAlphaAndInvertsWhereMaskAndColourMeet) {
  // One pixel; its colour bytes follow the 6 + 16 byte directory and the
  // 40-byte header, the mask follows the colour row.
  const std::size_t pixel = 6 + 16 + 40;
  std::string alpha = test::MakeIco({test::IcoImage{test::MakeTestPattern(1, 1), {}, 32}});
  alpha.replace(pixel, 4, std::string("\x00\x00\xFF\x80", 4));  // red at alpha 128
  auto blended = Load(ImageKind::ICO, alpha);
  ASSERT_NE(blended, nullptr);
  EXPECT_EQ(blended->PixelColor(0, 0), MakeColor(255, 127, 127));
  std::string inverted = test::MakeIco({test::IcoImage{test::MakeTestPattern(1, 1), {}, 24}});
  inverted.replace(pixel, 3, std::string("\x10\x20\x30", 3));
  inverted[pixel + 4] = '\x80';
  auto drawn = Load(ImageKind::ICO, inverted);
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->PixelColor(0, 0), MakeColor(0xCF, 0xDF, 0xEF));
}

TEST(IcoDecoder, SkipsPngEntries) {
  test::IcoImage png{test::MakeTestPattern(64, 64), {}, 32, true};
  test::IcoImage bitmap{test::MakeTestPattern(16, 16), {}, 24};
  auto icon = Load(ImageKind::ICO, test::MakeIco({png, bitmap}));
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(SamePixels(*icon, bitmap.picture));
  EXPECT_EQ(Load(ImageKind::ICO, test::MakeIco({png})), nullptr);
  EXPECT_EQ(Load(ImageKind::ICO, test::MakeIco({})), nullptr);
}

TEST(IcoDecoder, ADamagedEntryGivesWayToTheNextAndDamageNeverCrashes) {
  test::IcoImage small{test::MakeTestPattern(8, 8), {}, 24};
  test::IcoImage large{test::MakeTestPattern(16, 16), {}, 24};
  std::string bytes = test::MakeIco({small, large});
  test::PutUint32(bytes, 6 + 16 + 12, 0x7FFFFFF0);  // the large entry's offset
  auto icon = Load(ImageKind::ICO, bytes);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(SamePixels(*icon, small.picture));
  test::IcoImage masked{test::MakeTestPattern(13, 6, 15), std::vector<bool>(78, true), 4};
  ExpectSurvivesDamage(ImageKind::ICO, test::MakeIco({small, masked}), 120);
}

// ---- GIF ----

test::GifFrame Frame(int left, int top, int width, int height, std::vector<std::uint8_t> indices,
                     std::vector<TColor> palette = {}) {
  test::GifFrame frame;
  frame.left = left, frame.top = top, frame.width = width, frame.height = height;
  frame.indices = std::move(indices);
  frame.palette = std::move(palette);
  return frame;
}

TEST(GifDecoder, InterlacedRowsComeBackInPlace) {
  for (int height : {1, 2, 3, 4, 5, 8, 9, 13, 17}) {
    const Bitmap picture = test::MakeTestPattern(7, height, 64);
    for (bool interlaced : {false, true}) {
      auto decoded = Load(ImageKind::GIF, test::MakeGif(test::GifFromBitmap(picture, interlaced)));
      ASSERT_NE(decoded, nullptr) << height;
      EXPECT_TRUE(SamePixels(*decoded, picture)) << height << " " << interlaced;
    }
  }
}

TEST(GifDecoder, FirstFrameOnTheScreenWithTransparencyWhite) {
  test::GifPicture gif;
  gif.screenWidth = 10, gif.screenHeight = 6;
  gif.palette = {0x0000FF, 0x00FF00, 0xFF0000};
  test::GifFrame first = Frame(3, 2, 3, 2, {0, 1, 2, 2, 1, 0});
  first.transparentIndex = 1;
  test::GifFrame second = Frame(0, 0, 10, 6, std::vector<std::uint8_t>(60, 2));
  gif.frames = {first, second};
  auto decoded = Load(ImageKind::GIF, test::MakeGif(gif));
  ASSERT_NE(decoded, nullptr);
  ASSERT_EQ(decoded->Width(), 10);
  ASSERT_EQ(decoded->Height(), 6);
  EXPECT_EQ(decoded->PixelColor(3, 2), 0x0000FFu);
  EXPECT_EQ(decoded->PixelColor(4, 2), kColorWhite);  // transparent
  EXPECT_EQ(decoded->PixelColor(5, 3), 0x0000FFu);
  EXPECT_EQ(decoded->PixelColor(3, 3), 0xFF0000u);
  EXPECT_EQ(decoded->PixelColor(0, 0), kColorWhite);  // outside the frame
  EXPECT_EQ(decoded->PixelColor(9, 5), kColorWhite);
}

TEST(GifDecoder, LocalPaletteAndAFrameLargerThanTheScreen) {
  test::GifPicture gif;
  gif.screenWidth = 2, gif.screenHeight = 2;
  gif.palette = {kColorBlack, kColorBlack};
  test::GifFrame frame = Frame(1, 0, 3, 1, {0, 1, 0}, {0x123456, 0x654321});
  gif.frames = {frame};
  auto decoded = Load(ImageKind::GIF, test::MakeGif(gif));
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(decoded->Width(), 4);
  EXPECT_EQ(decoded->PixelColor(2, 0), 0x654321u);
  EXPECT_EQ(decoded->PixelColor(3, 0), 0x123456u);
}

TEST(GifDecoder, LaterFramesAreNeverRead) {
  test::GifPicture gif = test::GifFromBitmap(test::MakeTestPattern(6, 4, 4));
  std::string bytes = test::MakeGif(gif);
  bytes.pop_back();  // the trailer
  // Garbage where the next record would be: reading on would fail.
  auto decoded = Load(ImageKind::GIF, bytes + std::string(50, '\x55'));
  ASSERT_NE(decoded, nullptr);
  EXPECT_TRUE(SamePixels(*decoded, test::MakeTestPattern(6, 4, 4)));
}

TEST(GifDecoder, RefusesHugeAndDamagedFiles) {
  test::GifPicture gif;
  gif.screenWidth = 65535, gif.screenHeight = 65535;
  gif.palette = {kColorBlack, kColorWhite};
  gif.frames = {Frame(0, 0, 2, 1, {0, 1})};
  EXPECT_EQ(Load(ImageKind::GIF, test::MakeGif(gif)), nullptr);
  // A small file claiming a large image fails on its missing rows.
  std::string bytes = test::MakeGif(test::GifFromBitmap(test::MakeTestPattern(8, 8, 4)));
  const std::size_t desc = bytes.find('\x2C');
  ASSERT_NE(desc, std::string::npos);
  test::PutUint16(bytes, desc + 5, 16000);
  test::PutUint16(bytes, desc + 7, 16000);
  EXPECT_EQ(Load(ImageKind::GIF, bytes), nullptr);
  test::GifPicture masked = test::GifFromBitmap(test::MakeTestPattern(11, 9, 30), true);
  masked.frames[0].transparentIndex = 3;
  ExpectSurvivesDamage(ImageKind::GIF, test::MakeGif(masked), 200);
}

// ---- JPEG ----

TEST(JpegDecoder, ColourSpacesComeOutAsColour) {
  const Bitmap photo = test::MakePhotoLikePicture(40, 24);
  auto baseline = Load(ImageKind::JPEG, test::MakeJpeg(photo, {95}));
  ASSERT_NE(baseline, nullptr);
  EXPECT_LE(test::MaxChannelDifference(*baseline, photo), 40);
  // Progressive scans carry the same coefficients.
  auto progressive = Load(ImageKind::JPEG, test::MakeJpeg(photo, {95, true}));
  ASSERT_NE(progressive, nullptr);
  EXPECT_TRUE(SamePixels(*progressive, *baseline));
  for (auto color : {test::JpegColor::Cmyk, test::JpegColor::Ycck}) {
    auto decoded = Load(ImageKind::JPEG, test::MakeJpeg(photo, {95, false, color}));
    ASSERT_NE(decoded, nullptr);
    EXPECT_LE(test::MaxChannelDifference(*decoded, photo), 48);
  }
  auto grey = Load(ImageKind::JPEG, test::MakeJpeg(photo, {95, false, test::JpegColor::Grey}));
  ASSERT_NE(grey, nullptr);
  for (int y = 0; y < grey->Height(); ++y) {
    for (int x = 0; x < grey->Width(); ++x) {
      const TColor c = grey->PixelColor(x, y);
      ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c));
    }
  }
}

TEST(JpegDecoder, ATruncatedFileKeepsItsSizeAndTheRowsDecodedBeforeTheCut) {
  const Bitmap photo = test::MakePhotoLikePicture(32, 160);
  const std::string bytes = test::MakeJpeg(photo, {90});
  auto full = Load(ImageKind::JPEG, bytes);
  ASSERT_NE(full, nullptr);
  auto cut = Load(ImageKind::JPEG, bytes.substr(0, bytes.size() * 6 / 10));
  ASSERT_NE(cut, nullptr);
  ASSERT_EQ(cut->Width(), 32);
  ASSERT_EQ(cut->Height(), 160);
  // Rows are either as in the whole file or white, and the white ones follow.
  const std::size_t stride = cut->Stride();
  int firstWhite = -1;
  for (int y = 0; y < 160; ++y) {
    const bool same = std::equal(cut->Row(y), cut->Row(y) + stride, full->Row(y));
    const bool white =
        std::all_of(cut->Row(y), cut->Row(y) + stride, [](auto v) { return v == 255; });
    ASSERT_TRUE(same || white) << y;
    if (white && firstWhite < 0) firstWhite = y;
    if (firstWhite >= 0) {
      ASSERT_TRUE(white) << y;
    }
  }
  EXPECT_GT(firstWhite, 8);
  EXPECT_LT(firstWhite, 150);
}

TEST(JpegDecoder, RefusesHugeSizesAndSurvivesDamage) {
  const Bitmap photo = test::MakePhotoLikePicture(24, 16);
  std::string bytes = test::MakeJpeg(photo);
  const std::size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  bytes[sof + 5] = bytes[sof + 6] = bytes[sof + 7] = bytes[sof + 8] = '\xFE';  // 65278 x 65278
  EXPECT_EQ(Load(ImageKind::JPEG, bytes), nullptr);
  EXPECT_EQ(Load(ImageKind::JPEG, ""), nullptr);
  EXPECT_EQ(Load(ImageKind::JPEG, "not a jpeg"), nullptr);
  ExpectSurvivesDamage(ImageKind::JPEG, test::MakeJpeg(photo, {80, true}), 1000);
  ExpectSurvivesDamage(ImageKind::JPEG, test::MakeJpeg(photo, {80, false, test::JpegColor::Ycck}),
                       1000);
}

// ---- JPEG orientation ----

// Which quadrant colour each quadrant of a loaded picture holds, read at the
// quadrant centres (JPEG blurs only the edges between them).
std::vector<TColor> QuadrantsOf(const Bitmap& picture) {
  std::vector<TColor> found;
  for (int q = 0; q < 4; ++q) {
    const TColor c =
        picture.PixelColor(picture.Width() * (q % 2 == 0 ? 1 : 3) / 4,
                           picture.Height() * (q < 2 ? 1 : 3) / 4);
    TColor nearest = 0;
    int best = 1 << 30;
    for (TColor candidate : test::kQuadrantColors) {
      const int d = std::abs(RedOf(c) - RedOf(candidate)) +
                    std::abs(GreenOf(c) - GreenOf(candidate)) +
                    std::abs(BlueOf(c) - BlueOf(candidate));
      if (d < best) best = d, nearest = candidate;
    }
    found.push_back(best < 60 ? nearest : c);
  }
  return found;
}

const std::vector<TColor> kUpright(std::begin(test::kQuadrantColors),
                                   std::end(test::kQuadrantColors));

TEST(JpegOrientation, EachOfTheEightValuesComesOutUpright) {
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (bool bigEndian : {false, true}) {
      const Bitmap stored = test::MakeStoredQuadrants(48, 64, orientation);
      auto loaded = Load(ImageKind::JPEG,
                         test::MakeJpegWithExif(
                             stored, test::MakeExifOrientationBlock(orientation, bigEndian)));
      ASSERT_NE(loaded, nullptr) << orientation;
      EXPECT_EQ(loaded->Width(), 48) << orientation;
      EXPECT_EQ(loaded->Height(), 64) << orientation;
      EXPECT_EQ(QuadrantsOf(*loaded), kUpright) << orientation << (bigEndian ? " MM" : " II");
    }
  }
}

TEST(JpegOrientation, OrientationOneAndNoExifGiveTheStoredPixels) {
  const Bitmap photo = test::MakePhotoLikePicture(40, 24);
  auto plain = Load(ImageKind::JPEG, test::MakeJpeg(photo));
  auto tagged =
      Load(ImageKind::JPEG, test::MakeJpegWithExif(photo, test::MakeExifOrientationBlock(1)));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(tagged, nullptr);
  EXPECT_TRUE(SamePixels(*plain, *tagged));
  EXPECT_EQ(QuadrantsOf(*Load(ImageKind::JPEG,
                              test::MakeJpeg(test::MakeStoredQuadrants(32, 32, 1)))),
            kUpright);
}

// A block that gives no orientation never fails the picture: it shows as
// stored, and the sanitizer build sees no stray access in libexif's reading.
TEST(JpegOrientation, DamagedExifLoadsAsStored) {
  const Bitmap stored = test::MakeStoredQuadrants(40, 56, 6);  // 56 x 40 as stored
  const std::string good = test::MakeExifOrientationBlock(6);
  std::vector<std::string> damaged;
  for (std::size_t cut : {6, 10, 14, 16, 24}) damaged.push_back(good.substr(0, cut));
  // IFD0, or the tag's value, past the end of the block.
  std::string far = good;
  test::PutUint32(far, test::kExifIfd0OffsetField, 0x7FFFFFF0);
  damaged.push_back(far);
  damaged.push_back(
      test::MakeExifBlock({{test::kExifOrientationTag, test::kExifShort, 2, 0xFFFFFF00}}));
  // IFD0 naming itself as the next IFD and as its own Exif IFD.
  damaged.push_back(test::MakeExifBlock({{test::kExifIfdPointerTag, test::kExifLong, 1, 8}},
                                        false, 8));
  for (const std::string& block : damaged) {
    auto loaded = Load(ImageKind::JPEG, test::MakeJpegWithExif(stored, block));
    ASSERT_NE(loaded, nullptr) << block.size();
    EXPECT_EQ(loaded->Width(), 56) << block.size();
    EXPECT_EQ(loaded->Height(), 40) << block.size();
  }
  // An IFD0 that loops back to itself but holds the tag is read once.
  auto looped = Load(ImageKind::JPEG,
                     test::MakeJpegWithExif(stored, test::MakeExifBlock(
                         {{test::kExifOrientationTag, test::kExifShort, 1, 6},
                          {test::kExifIfdPointerTag, test::kExifLong, 1, 8}}, true, 8)));
  ASSERT_NE(looped, nullptr);
  EXPECT_EQ(QuadrantsOf(*looped), kUpright);
  // Random bytes in the JPEG header and the EXIF block behind it.
  ExpectSurvivesDamage(ImageKind::JPEG, test::MakeJpegWithExif(stored, good), 80);
}

TEST(JpegOrientation, ADamagedPictureIsTurnedWithTheRowsItHas) {
  const Bitmap stored = test::MakePhotoLikePicture(160, 32);
  const std::string bytes = test::MakeJpegWithExif(stored, test::MakeExifOrientationBlock(8));
  auto cut = Load(ImageKind::JPEG, bytes.substr(0, bytes.size() * 7 / 10));
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->Width(), 32);
  EXPECT_EQ(cut->Height(), 160);
}

// ---- files ----

TEST(LoadImageFile, KindComesFromTheExtensionAndMissingFilesGiveNone) {
  test::TempDir dir;
  const Bitmap picture = test::MakeTestPattern(5, 3);
  const std::string bmp = MakeBmp(picture);
  auto loaded = LoadImageFile(dir.Write("A.BMP", bmp));
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(SamePixels(*loaded, picture));
  EXPECT_NE(LoadImageFile(dir.Write("photo.JPE", test::MakeJpeg(picture))), nullptr);
  EXPECT_NE(LoadImageFile(dir.Write("a.gif", test::MakeGif(test::GifFromBitmap(picture)))),
            nullptr);
  // Contents are never sniffed: a BMP named otherwise is not read as one.
  EXPECT_EQ(LoadImageFile(dir.Write("photo.PNG", bmp)), nullptr);
  EXPECT_EQ(LoadImageFile(dir.Write("scan.tif", bmp)), nullptr);
  EXPECT_EQ(LoadImageFile(dir.Write("wrong.gif", bmp)), nullptr);
  EXPECT_EQ(LoadImageFile(dir.Write("empty.jpg", "")), nullptr);
  EXPECT_EQ(LoadImageFile(dir.File("missing.bmp")), nullptr);
  std::filesystem::create_directory(dir.File("folder.bmp"));
  EXPECT_EQ(LoadImageFile(dir.File("folder.bmp")), nullptr);
}

// Loading one picture after another into the same buffers gives each
// picture as LoadImageFile does, whatever was loaded before, and a JPEG no
// larger than the last one takes no new memory.
TEST(LoadImageFileInto, ReusesItsMemoryAndGivesWhatLoadImageFileGives) {
  test::TempDir dir;
  const Bitmap photo = test::MakePhotoLikePicture(160, 120, 3);
  test::JpegOptions grey;
  grey.color = test::JpegColor::Grey;
  test::JpegOptions cmyk;
  cmyk.color = test::JpegColor::Cmyk;
  std::string truncated = test::MakeJpeg(test::MakePhotoLikePicture(200, 160, 4));
  truncated.resize(truncated.size() / 2);
  const std::vector<std::string> paths = {
      dir.Write("big.jpg", test::MakeJpeg(test::MakePhotoLikePicture(200, 160, 5))),
      dir.Write("photo.jpg", test::MakeJpeg(photo)),
      dir.Write("grey.jpg", test::MakeJpeg(photo, grey)),
      dir.Write("cmyk.jpg", test::MakeJpeg(photo, cmyk)),
      dir.Write("cut.jpg", truncated),
      dir.Write("scan.bmp", test::MakeBmp(test::MakeTestPattern(30, 20))),
      dir.Write("tiles.gif", test::MakeGif(test::GifFromBitmap(test::MakeTestPattern(12, 9, 16)))),
      dir.Write("photo2.jpg", test::MakeJpeg(photo)),
  };
  TLoadBuffers buffers;
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const std::uint8_t* before = buffers.Picture.Pixels().data();
    const bool reusable = path.ends_with("photo2.jpg");
    ASSERT_TRUE(LoadImageFileInto(path, buffers));
    const auto alone = LoadImageFile(path);
    ASSERT_TRUE(alone);
    EXPECT_TRUE(test::SamePixels(buffers.Picture, *alone));
    if (reusable) {
      EXPECT_EQ(buffers.Picture.Pixels().data(), before);
    }
  }
  EXPECT_FALSE(LoadImageFileInto(dir.Write("broken.jpg", "not a picture"), buffers));
  EXPECT_FALSE(LoadImageFileInto(dir.File("missing.jpg"), buffers));
}

TEST(DecodingBytes, ComesFromTheHeader) {
  const std::string jpeg = test::MakeJpeg(test::MakePhotoLikePicture(64, 48));
  EXPECT_EQ(DecodingBytes(ImageKind::JPEG, jpeg), 64 * 48 * 3);
  test::JpegOptions progressive;
  progressive.progressive = true;
  EXPECT_GT(DecodingBytes(ImageKind::JPEG, test::MakeJpeg(test::MakePhotoLikePicture(64, 48),
                                                          progressive)),
            64 * 48 * 3);
  EXPECT_EQ(DecodingBytes(ImageKind::BMP, test::MakeBmp(test::MakeTestPattern(30, 20))),
            30 * 20 * 3);
  EXPECT_EQ(DecodingBytes(ImageKind::JPEG, "no header"), 0);
  EXPECT_EQ(DecodingBytes(ImageKind::GIF, "GIF"), 0);
}

}  // namespace
}  // namespace zelvora
