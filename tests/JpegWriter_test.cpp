#include "imaging/JpegWriter.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <jpeglib.h>

#include "imaging/Colors.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

// What the test learns from decoding with libjpeg itself.
struct Decoded {
  bool ok = false;
  int width = 0, height = 0, components = 0;
  bool progressive = false;
  int largestQuantValue = 0;
  Bitmap pixels;
};

struct TestErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void TestJump(j_common_ptr info) { std::longjmp(reinterpret_cast<TestErrors*>(info->err)->jump, 1); }

struct DecodeState {
  jpeg_decompress_struct info;
  TestErrors errors;
};

bool DecodeInto(DecodeState* state, const std::string& bytes, Decoded* out) {
  state->info.err = jpeg_std_error(&state->errors.base);
  state->errors.base.error_exit = TestJump;
  if (setjmp(state->errors.jump) != 0) {
    jpeg_destroy_decompress(&state->info);
    return false;
  }
  jpeg_create_decompress(&state->info);
  jpeg_mem_src(&state->info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&state->info, TRUE);
  out->components = state->info.num_components;
  out->progressive = state->info.progressive_mode;
  for (auto* table : state->info.quant_tbl_ptrs) {
    if (table == nullptr) continue;
    for (auto value : table->quantval) out->largestQuantValue = std::max<int>(out->largestQuantValue, value);
  }
  state->info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&state->info);
  out->width = static_cast<int>(state->info.output_width);
  out->height = static_cast<int>(state->info.output_height);
  if (!out->pixels.Resize(out->width, out->height)) longjmp(state->errors.jump, 1);
  while (state->info.output_scanline < state->info.output_height) {
    JSAMPROW row = out->pixels.Row(static_cast<int>(state->info.output_scanline));
    jpeg_read_scanlines(&state->info, &row, 1);
  }
  jpeg_finish_decompress(&state->info);
  jpeg_destroy_decompress(&state->info);
  return true;
}

Decoded Decode(const std::string& bytes) {
  Decoded decoded;
  auto state = std::make_unique<DecodeState>();
  decoded.ok = DecodeInto(state.get(), bytes, &decoded);
  return decoded;
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
    const Decoded decoded = Decode(*bytes);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 48);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_EQ(decoded.progressive, progressive);
    // The band's sharp edge blurs with the subsampled chroma; on average
    // the picture must come back close.
    double error = 0;
    for (std::size_t k = 0; k < source.Pixels().size(); ++k) {
      error += std::abs(source.Pixels()[k] - decoded.pixels.Pixels()[k]);
    }
    EXPECT_LT(error / static_cast<double>(source.Pixels().size()), 3.0);
    const TColor band = decoded.pixels.PixelColor(4, 20);
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
  EXPECT_EQ(Decode(*bytes).components, 3);
}

TEST(EncodeBitmapAsJPEG, QualityIsClampedAndTablesStayBaseline) {
  const Bitmap source = Picture(40, 30);
  const auto lowest = EncodeBitmapAsJPEG(source, 1, false);
  ASSERT_TRUE(lowest.has_value());
  // Quality 1 without forced baseline would give table entries up to 32767.
  EXPECT_LE(Decode(*lowest).largestQuantValue, 255);
  // Baseline frames start with the SOF0 marker.
  EXPECT_NE(lowest->find("\xFF\xC0"), std::string::npos);
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
