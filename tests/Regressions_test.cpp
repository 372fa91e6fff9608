// Every file in tests/regressions/ (pictures that once cost too much,
// inputs the fuzz targets found) is read again the way the program reads
// it, in the normal and the sanitizer build. Pictures must be refused or
// come back small; other files must simply be survived.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "imaging/ImageKind.h"
#include "imaging/ImageLoader.h"
#include "imaging/PlausibleSize.h"
#include "settings/UsefulRegistry.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"
#include "util/FileUtils.h"

#ifndef ZELVORA_REGRESSIONS_DIR
#error "ZELVORA_REGRESSIONS_DIR must name tests/regressions"
#endif

namespace zelvora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> RegressionFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(ZELVORA_REGRESSIONS_DIR))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Regressions, EveryFileIsReadAgain) {
  const std::vector<fs::path> files = RegressionFiles();
  ASSERT_GE(files.size(), 4u);
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string path = file.string();
    if (IsImageFile(path)) {
      auto bitmap = LoadImageFile(path);
      if (bitmap) {
        EXPECT_LE(static_cast<std::int64_t>(bitmap->Width()) * bitmap->Height(),
                  imaging_detail::kFreePixels);
      }
    } else if (file.extension() == ".json") {
      test::TempDir dir;
      const std::string copy = dir.File("settings.json");
      ASSERT_TRUE(CopyFileWithDate(path, copy));
      TUsefulRegistry store(copy);
      store.ReadString("Software", "x", "");
      EXPECT_TRUE(store.WriteString("Software\\Zelvora", "x", "y"));
    }
  }
}

// The ratios refuse bombs, never real pictures: a blank picture, the
// easiest to compress, still loads in every format that checks.
TEST(PlausibleSize, BlankPicturesLoadAndRealPhotosPass) {
  Bitmap blank;
  ASSERT_TRUE(blank.Resize(2600, 2000));  // 5.2 megapixels, above the free size
  blank.Fill(kColorWhite);
  for (bool progressive : {false, true}) {
    for (test::JpegColor color : {test::JpegColor::Color, test::JpegColor::Grey}) {
      const std::string jpeg = test::MakeJpeg(blank, {75, progressive, color});
      auto loaded = LoadImageFromMemory(ImageKind::JPEG, jpeg);
      ASSERT_TRUE(loaded) << jpeg.size();
      EXPECT_EQ(loaded->Width(), 2600);
    }
  }
  test::BmpOptions rle;
  rle.bitsPerPixel = 8;
  rle.rle = true;
  Bitmap grey;
  ASSERT_TRUE(grey.Resize(2600, 2000));
  grey.Fill(MakeColor(128, 128, 128));
  EXPECT_TRUE(LoadImageFromMemory(ImageKind::BMP, test::MakeBmp(grey, rle)));
  EXPECT_TRUE(LoadImageFromMemory(ImageKind::GIF, test::MakeGif(test::GifFromBitmap(grey))));

  // A 100-megapixel photo of a few megabytes is nowhere near a limit.
  EXPECT_TRUE(imaging_detail::PlausibleJpegSize(12240, 8160, 4'000'000));
  EXPECT_TRUE(imaging_detail::PlausibleGifSize(12240, 8160, 4'000'000));
  EXPECT_TRUE(imaging_detail::PlausibleRleBmpSize(12240, 8160, 4'000'000));
  // The reproducers' claims.
  EXPECT_FALSE(imaging_detail::PlausibleJpegSize(17320, 17320, 518));
  EXPECT_FALSE(imaging_detail::PlausibleGifSize(65535, 4577, 35));
  EXPECT_FALSE(imaging_detail::PlausibleRleBmpSize(20000, 15000, 293000));
  EXPECT_TRUE(imaging_detail::PlausibleJpegSize(2000, 2000, 0));
}

// A progressive file that repeats its last scan: every scan costs a pass
// over the coefficients, so decoding stops after 100 scans and the picture
// counts as damaged (white), as a truncated one does.
TEST(PlausibleSize, ProgressiveScansStopAtOneHundred) {
  const std::string jpeg = test::MakeJpeg(test::MakePhotoLikePicture(64, 48), {80, true});
  const std::size_t lastScan = jpeg.rfind("\xFF\xDA");
  const std::size_t end = jpeg.rfind("\xFF\xD9");
  ASSERT_NE(lastScan, std::string::npos);
  ASSERT_EQ(end, jpeg.size() - 2);
  const std::string scan = jpeg.substr(lastScan, end - lastScan);
  auto whiteBytes = [](const Bitmap& bitmap) {
    return std::count(bitmap.Pixels().begin(), bitmap.Pixels().end(), 0xFF);
  };
  std::string repeated = jpeg.substr(0, end);
  for (int i = 0; i < 20; ++i) repeated += scan;
  auto fewScans = LoadImageFromMemory(ImageKind::JPEG, repeated + "\xFF\xD9");
  ASSERT_TRUE(fewScans);
  EXPECT_LT(whiteBytes(*fewScans), static_cast<long>(fewScans->Pixels().size()));
  for (int i = 0; i < 100; ++i) repeated += scan;
  auto manyScans = LoadImageFromMemory(ImageKind::JPEG, repeated + "\xFF\xD9");
  ASSERT_TRUE(manyScans);
  EXPECT_EQ(whiteBytes(*manyScans), static_cast<long>(manyScans->Pixels().size()));
}

}  // namespace
}  // namespace zelvora
