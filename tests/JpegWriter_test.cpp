#include "imaging/JpegWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "imaging/Colors.h"
#include "imaging/ImageLoader.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

// What the markers before the first scan say.
struct Header {
  int frameMarker = 0;  // 0xC0 baseline, 0xC2 progressive
  int components = 0;
  bool wideTables = false;  // a table with 16-bit entries: not baseline
};

Header ReadHeader(const std::string& bytes) {
  Header header;
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  std::size_t i = 2;
  while (i + 4 <= bytes.size() && at(i) == 0xFF && at(i + 1) != 0xDA) {
    const int marker = at(i + 1);
    const std::size_t length = at(i + 2) * 256u + at(i + 3);
    if (marker == 0xC0 || marker == 0xC2) {
      header.frameMarker = marker;
      header.components = at(i + 9);
    }
    // A DQT segment holds tables of 65 or 129 bytes, each led by precision and id.
    for (std::size_t t = i + 4; marker == 0xDB && t < i + 2 + length; t += (at(t) >> 4) ? 129 : 65) {
      header.wideTables = header.wideTables || (at(t) >> 4) != 0;
    }
    i += 2 + length;
  }
  return header;
}

// Smooth colour areas, so a good quality keeps every pixel close.
Bitmap Picture(int width, int height) {
  Bitmap bitmap;
  EXPECT_TRUE(bitmap.Resize(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      TColor c = MakeColor(x * 255 / width, y * 255 / height, 128);
      if (x < width / 4) c = MakeColor(230, 20, 20);  // a red band: channel order shows
      bitmap.SetPixelColor(x, y, c);
    }
  }
  return bitmap;
}

TEST(EncodeBitmapAsJPEG, RoundTripsInColour) {
  const Bitmap source = Picture(64, 48);
  for (bool progressive : {false, true}) {
    const auto bytes = EncodeBitmapAsJPEG(source, 95, progressive);
    ASSERT_TRUE(bytes.has_value());
    const Header header = ReadHeader(*bytes);
    EXPECT_EQ(header.components, 3);
    EXPECT_EQ(header.frameMarker, progressive ? 0xC2 : 0xC0);
    const auto decoded = LoadImageFromMemory(ImageKind::JPEG, *bytes);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->Width(), 64);
    ASSERT_EQ(decoded->Height(), 48);
    // The band's sharp edge blurs with the subsampled chroma; on average
    // the picture must come back close.
    double error = 0;
    for (std::size_t k = 0; k < source.Pixels().size(); ++k) {
      error += std::abs(source.Pixels()[k] - decoded->Pixels()[k]);
    }
    EXPECT_LT(error / static_cast<double>(source.Pixels().size()), 3.0);
    const TColor band = decoded->PixelColor(4, 20);
    EXPECT_GT(RedOf(band), 200);
    EXPECT_LT(BlueOf(band), 50);
  }
}

TEST(EncodeBitmapAsJPEG, GreyPicturesStayColourFiles) {
  Bitmap grey;
  ASSERT_TRUE(grey.Resize(16, 16));
  grey.Fill(0x808080);
  const auto bytes = EncodeBitmapAsJPEG(grey, 75, false);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(ReadHeader(*bytes).components, 3);
}

TEST(EncodeBitmapAsJPEG, QualityIsClampedAndTablesStayBaseline) {
  const Bitmap source = Picture(40, 30);
  const auto lowest = EncodeBitmapAsJPEG(source, 1, false);
  ASSERT_TRUE(lowest.has_value());
  // Quality 1 without forced baseline needs 16-bit table entries.
  EXPECT_FALSE(ReadHeader(*lowest).wideTables);
  EXPECT_EQ(ReadHeader(*lowest).frameMarker, 0xC0);
  EXPECT_EQ(EncodeBitmapAsJPEG(source, 0, false), lowest);
  EXPECT_EQ(EncodeBitmapAsJPEG(source, -50, false), lowest);
  EXPECT_EQ(EncodeBitmapAsJPEG(source, 150, false), EncodeBitmapAsJPEG(source, 100, false));
  EXPECT_LT(EncodeBitmapAsJPEG(source, 10, false)->size(),
            EncodeBitmapAsJPEG(source, 95, false)->size());
}

TEST(EncodeBitmapAsJPEG, EncoderErrorsComeBackAsNone) {
  const Bitmap empty;
  EXPECT_FALSE(EncodeBitmapAsJPEG(empty, 75, false).has_value());
  // Wider than JPEG allows: libjpeg raises an error, which must not end the process.
  Bitmap tooWide;
  ASSERT_TRUE(tooWide.Resize(70000, 1));
  EXPECT_FALSE(EncodeBitmapAsJPEG(tooWide, 75, false).has_value());
  // And the encoder works normally afterwards.
  EXPECT_TRUE(EncodeBitmapAsJPEG(Picture(8, 8), 75, true).has_value());
}

TEST(SaveBitmapAsJPEG, WritesReplacesAndFailsCleanly) {
  test::TempDir dir;
  const Bitmap source = Picture(32, 24);
  const std::string path = dir.Write("thumb.jpg", std::string(100000, 'x'));
  ASSERT_TRUE(SaveBitmapAsJPEG(&source, path, 80, true, false));
  EXPECT_EQ(test::ReadFileBytes(path), *EncodeBitmapAsJPEG(source, 80, false));

  EXPECT_FALSE(SaveBitmapAsJPEG(nullptr, dir.File("none.jpg"), 80, false, false));
  const std::string missingFolder = dir.File("no/such/folder/a.jpg");
  EXPECT_FALSE(SaveBitmapAsJPEG(&source, missingFolder, 80, false, false));
  EXPECT_FALSE(std::filesystem::exists(missingFolder));
  Bitmap tooWide;
  ASSERT_TRUE(tooWide.Resize(70000, 1));
  EXPECT_FALSE(SaveBitmapAsJPEG(&tooWide, dir.File("wide.jpg"), 80, false, false));
  EXPECT_FALSE(std::filesystem::exists(dir.File("wide.jpg")));
  // A path that names a folder cannot be written.
  EXPECT_FALSE(SaveBitmapAsJPEG(&source, dir.Path().string(), 80, false, false));
}

}  // namespace
}  // namespace zelvora
