#include "imaging/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "imaging/Colors.h"

namespace zelvora {
namespace {

Bitmap Make(int width, int height, const std::function<TColor(int, int)>& color) {
  Bitmap bitmap;
  EXPECT_TRUE(bitmap.Resize(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixelColor(x, y, color(x, y));
  }
  return bitmap;
}

TColor Grey(int v) { return MakeColor(v, v, v); }

// A picture of greys along one row.
Bitmap GreyRow(std::initializer_list<int> values) {
  const std::vector<int> v(values);
  return Make(static_cast<int>(v.size()), 1, [&](int x, int) { return Grey(v[x]); });
}

std::vector<int> RedRow(const Bitmap& bitmap, int y = 0) {
  std::vector<int> reds;
  for (int x = 0; x < bitmap.Width(); ++x) reds.push_back(RedOf(bitmap.PixelColor(x, y)));
  return reds;
}

// Distinct channels everywhere, so swapped or shifted bytes show.
TColor Pattern(int x, int y) { return MakeColor(x * 7 + y, 255 - y * 5, (x * y) & 255); }

TEST(ResampleFast, SameSizeCopiesEveryPixel) {
  const Bitmap source = Make(13, 9, Pattern);
  Bitmap target;
  ASSERT_TRUE(ResampleFast(&source, &target, 13, 9, false));
  EXPECT_EQ(target.Pixels(), source.Pixels());
}

TEST(ResampleFast, ShrinkingAveragesCellsMoreThanHalfCovered) {
  Bitmap target;
  // Step 2: pairs, with truncating means (15.5 -> 15, 35.5 -> 35).
  const Bitmap four = GreyRow({10, 21, 30, 41});
  ASSERT_TRUE(ResampleFast(&four, &target, 2, 1, false));
  EXPECT_EQ(RedRow(target), (std::vector<int>{15, 35}));
  // Step 1.5: the middle cell is covered half by each side, so neither takes it.
  const Bitmap three = GreyRow({0, 90, 200});
  ASSERT_TRUE(ResampleFast(&three, &target, 2, 1, false));
  EXPECT_EQ(RedRow(target), (std::vector<int>{0, 200}));
  // Step 2.5: cells 0-1 and 3-4; cell 2 is exactly half covered and dropped.
  const Bitmap five = GreyRow({0, 10, 200, 30, 41});
  ASSERT_TRUE(ResampleFast(&five, &target, 2, 1, false));
  EXPECT_EQ(RedRow(target), (std::vector<int>{5, 35}));
}

TEST(ResampleFast, EnlargingRepeatsPixels) {
  const Bitmap source = GreyRow({10, 200});
  Bitmap target;
  ASSERT_TRUE(ResampleFast(&source, &target, 4, 3, false));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(RedRow(target, y), (std::vector<int>{10, 10, 200, 200}));
}

TEST(ResampleFast, BlocksInTwoDimensionsPerChannel) {
  const Bitmap source = Make(4, 4, [](int x, int y) {
    return MakeColor(x < 2 ? 10 : 20, y < 2 ? 30 : 41, x + y * 4);
  });
  Bitmap target;
  ASSERT_TRUE(ResampleFast(&source, &target, 2, 2, false));
  EXPECT_EQ(target.PixelColor(0, 0), MakeColor(10, 30, 2));   // (0+1+4+5)/4 = 2.5
  EXPECT_EQ(target.PixelColor(1, 0), MakeColor(20, 30, 4));   // (2+3+6+7)/4 = 4.5
  EXPECT_EQ(target.PixelColor(0, 1), MakeColor(10, 41, 10));  // (8+9+12+13)/4 = 10.5
  EXPECT_EQ(target.PixelColor(1, 1), MakeColor(20, 41, 12));
  ASSERT_TRUE(ResampleFast(&source, &target, 1, 1, false));
  EXPECT_EQ(target.PixelColor(0, 0), MakeColor(15, 35, 7));  // 120 / 16 = 7.5
}

TEST(ResampleFast, SizesAndFailures) {
  const Bitmap source = Make(6, 4, Pattern);
  Bitmap target;
  ASSERT_TRUE(ResampleFast(&source, &target, 0, -3, false));
  EXPECT_EQ(target.Width(), 1);
  EXPECT_EQ(target.Height(), 1);
  // With allowZero the target is sized 0 wide, and nothing is drawn.
  EXPECT_FALSE(ResampleFast(&source, &target, 0, 2, true));
  EXPECT_EQ(target.Width(), 0);
  EXPECT_EQ(target.Height(), 2);
}

// The box resampler as written down, pixel by pixel, to hold the row-wise
// one to.
Bitmap ReferenceFast(const Bitmap& source, int newWidth, int newHeight) {
  auto ranges = [](int size, int newSize) {
    std::vector<std::pair<int, int>> result;
    const double step = static_cast<double>(size) / newSize;
    double start = 0;
    for (int i = 0; i < newSize; ++i) {
      const double end = start + step;
      const int a = static_cast<int>(start), b = static_cast<int>(end);
      int first, last;
      if (step > 1) {
        first = (a + 1 - start) > 0.5 ? a : a + 1;
        last = (end - b) > 0.5 ? b : b - 1;
      } else {
        first = last = step * 0.5 > (end - b) ? a : b;
      }
      first = std::max(first, 0);
      last = std::min(last, size - 1);
      if (step <= 1) first = last = std::clamp(first, 0, size - 1);
      result.emplace_back(first, last);
      start = end;
    }
    return result;
  };
  const auto rows = ranges(source.Height(), newHeight);
  const auto columns = ranges(source.Width(), newWidth);
  Bitmap target;
  EXPECT_TRUE(target.Resize(newWidth, newHeight));
  for (int i = 0; i < newHeight; ++i) {
    for (int j = 0; j < newWidth; ++j) {
      std::uint64_t sum[3] = {0, 0, 0}, count = 0;
      for (int y = rows[i].first; y <= rows[i].second; ++y) {
        for (int x = columns[j].first; x <= columns[j].second; ++x) {
          for (int k = 0; k < 3; ++k) sum[k] += source.Row(y)[3 * x + k];
          ++count;
        }
      }
      for (int k = 0; k < 3; ++k)
        target.Row(i)[3 * j + k] = count ? static_cast<std::uint8_t>(sum[k] / count) : 0;
    }
  }
  return target;
}

// Row sums are kept in 16 bits for up to 257 source rows per target row and
// in wider ones above; bright pictures at both sides of that line, odd row
// lengths and both directions must match the pixel-by-pixel mean.
TEST(ResampleFast, RowWiseSumsMatchThePixelByPixelMean) {
  struct Case {
    int width, height, newWidth, newHeight;
  };
  for (const Case& c : {Case{1000, 771, 100, 3}, Case{7, 1030, 3, 4}, Case{257, 257, 1, 1},
                        Case{258, 258, 1, 1}, Case{333, 250, 100, 75}, Case{50, 40, 77, 61},
                        Case{129, 3, 64, 2}}) {
    const Bitmap source = Make(c.width, c.height, [](int x, int y) {
      return MakeColor(255 - (x * y) % 7, 250 + (x + y) % 6, (x * 31 + y * 17) & 255);
    });
    Bitmap target;
    ASSERT_TRUE(ResampleFast(&source, &target, c.newWidth, c.newHeight, false));
    EXPECT_EQ(target.Pixels(), ReferenceFast(source, c.newWidth, c.newHeight).Pixels())
        << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight;
  }
}

TEST(Resample, MissingEmptyOrTooLargeFails) {
  const Bitmap source = Make(4, 4, Pattern);
  const Bitmap empty;
  Bitmap target;
  for (const Bitmap* from : {static_cast<const Bitmap*>(nullptr), &empty}) {
    EXPECT_FALSE(ResampleFast(from, &target, 2, 2, false));
    EXPECT_FALSE(ResampleExact(from, &target, 2, 2));
    EXPECT_FALSE(StretchBitmap(from, &target, 2, 2));
  }
  EXPECT_FALSE(ResampleFast(&source, nullptr, 2, 2, false));
  EXPECT_FALSE(ResampleExact(&source, nullptr, 2, 2));
  EXPECT_FALSE(ResampleExact(&source, &target, 0, 2));
  EXPECT_FALSE(StretchBitmap(&source, &target, -1, 3));
  // A target that cannot be allocated is a failure, not a crash.
  EXPECT_FALSE(ResampleFast(&source, &target, 100000, 100000, false));
  EXPECT_FALSE(ResampleExact(&source, &target, 100000, 100000));
}

TEST(ResampleExact, UniformColourStaysAtAnySize) {
  const TColor colour = MakeColor(12, 200, 99);
  const Bitmap source = Make(7, 5, [&](int, int) { return colour; });
  for (auto [w, h] : {std::pair{3, 2}, {10, 9}, {1, 1}, {7, 5}, {6, 1}, {1, 13}}) {
    Bitmap target;
    ASSERT_TRUE(ResampleExact(&source, &target, w, h));
    ASSERT_EQ(target.Width(), w);
    ASSERT_EQ(target.Height(), h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) ASSERT_EQ(target.PixelColor(x, y), colour) << w << "x" << h;
    }
  }
}

TEST(ResampleExact, WeightsPartialCellsAndPullsTheEndInside) {
  Bitmap target;
  // Step 1.5: (0 + 90 / 2) / 1.5 = 30; (90 / 2 + 200 x 0.9999) / 1.4999 = 163.33.
  const Bitmap three = GreyRow({0, 90, 200});
  ASSERT_TRUE(ResampleExact(&three, &target, 2, 1));
  EXPECT_EQ(RedRow(target), (std::vector<int>{30, 163}));
  // Step 2 into one pixel: the end is 1.9999, so the second cell weighs a
  // hair less and a half-way mean rounds towards the first.
  const Bitmap up = GreyRow({0, 1});
  ASSERT_TRUE(ResampleExact(&up, &target, 1, 1));
  EXPECT_EQ(RedRow(target), (std::vector<int>{0}));
  const Bitmap down = GreyRow({1, 0});
  ASSERT_TRUE(ResampleExact(&down, &target, 1, 1));
  EXPECT_EQ(RedRow(target), (std::vector<int>{1}));
  // Enlarging takes the single cell under each target pixel.
  const Bitmap two = GreyRow({10, 200});
  ASSERT_TRUE(ResampleExact(&two, &target, 4, 1));
  EXPECT_EQ(RedRow(target), (std::vector<int>{10, 10, 200, 200}));
}

TEST(ResampleExact, TwoDimensionalGradient) {
  const Bitmap source = Make(3, 3, [](int x, int y) { return Grey(30 * (3 * y + x)); });
  Bitmap target;
  ASSERT_TRUE(ResampleExact(&source, &target, 2, 2));
  EXPECT_EQ(RedRow(target, 0), (std::vector<int>{40, 80}));
  EXPECT_EQ(RedRow(target, 1), (std::vector<int>{160, 200}));
}

TEST(ResampleExact, RowMeansAreRoundedBeforeTheyAreCombined) {
  // Rows (0, 1) and (1, 0) have means 0.49997 -> 0 and 0.50002 -> 1. The
  // vertical mean of the rounded values depends on which row comes first;
  // a plain two-dimensional mean would give 0.5 for both pictures.
  const Bitmap firstDark = Make(2, 2, [](int x, int y) { return Grey(x == y ? 0 : 1); });
  const Bitmap firstLight = Make(2, 2, [](int x, int y) { return Grey(x == y ? 1 : 0); });
  Bitmap target;
  ASSERT_TRUE(ResampleExact(&firstDark, &target, 1, 1));
  EXPECT_EQ(target.PixelColor(0, 0), Grey(0));
  ASSERT_TRUE(ResampleExact(&firstLight, &target, 1, 1));
  EXPECT_EQ(target.PixelColor(0, 0), Grey(1));
}

TEST(Resample, SourceMayBeTheTarget) {
  Bitmap same = Make(4, 4, [](int x, int) { return Grey(x < 2 ? 10 : 20); });
  ASSERT_TRUE(ResampleFast(&same, &same, 2, 1, false));
  EXPECT_EQ(RedRow(same), (std::vector<int>{10, 20}));
  ASSERT_TRUE(ResampleExact(&same, &same, 4, 1));
  EXPECT_EQ(RedRow(same), (std::vector<int>{10, 10, 20, 20}));
  ASSERT_TRUE(StretchBitmap(&same, &same, 2, 2, StretchMode::Nearest));
  EXPECT_EQ(RedRow(same, 1), (std::vector<int>{10, 20}));
  ASSERT_TRUE(ScaleImageToFit(&same, &same, 1, 1, true, true));
  EXPECT_EQ(same.PixelColor(0, 0), Grey(15));
}

TEST(StretchBitmap, NearestAndBilinear) {
  const Bitmap source = GreyRow({0, 200});
  Bitmap target;
  ASSERT_TRUE(StretchBitmap(&source, &target, 4, 1, StretchMode::Nearest));
  EXPECT_EQ(RedRow(target), (std::vector<int>{0, 0, 200, 200}));
  // Centres at -0.25 (edge), 0.25, 0.75 and 1.25 (edge).
  ASSERT_TRUE(StretchBitmap(&source, &target, 4, 1, StretchMode::Bilinear));
  EXPECT_EQ(RedRow(target), (std::vector<int>{0, 50, 150, 200}));

  const Bitmap pattern = Make(9, 5, Pattern);
  for (StretchMode mode : {StretchMode::Nearest, StretchMode::Bilinear}) {
    ASSERT_TRUE(StretchBitmap(&pattern, &target, 9, 5, mode));
    EXPECT_EQ(target.Pixels(), pattern.Pixels());
  }
}

struct FitCase {
  int sourceWidth, sourceHeight, maxWidth, maxHeight;
  bool force;
  int width, height;
};

TEST(ScaleImageToFit, KeepsTheAspectAndRounds) {
  const FitCase cases[] = {
      {400, 300, 200, 200, false, 200, 150},
      {400, 300, 100, 300, false, 100, 75},
      {150, 100, 200, 200, false, 150, 100},
      {150, 100, 200, 200, true, 200, 133},  // 200 / 1.5 = 133.3
      {1000, 10, 20, 20, false, 20, 1},      // 0.2 rounds to 0 and is raised to 1
      {300, 400, 200, 200, false, 150, 200},
      {3, 2, 5, 3, true, 5, 3},              // 5 / 1.5 = 3.33
      {7, 2, 4, 4, true, 4, 1},              // 4 / 3.5 = 1.14
      {2, 7, 4, 4, true, 1, 4},
      {400, 300, 0, 200, false, 1, 200},     // one limit 0: no aspect fix
      {40, 30, -5, -5, false, 1, 1},
  };
  for (const FitCase& c : cases) {
    const Bitmap source = Make(c.sourceWidth, c.sourceHeight, Pattern);
    for (bool fast : {true, false}) {
      Bitmap target;
      ASSERT_TRUE(ScaleImageToFit(&source, &target, c.maxWidth, c.maxHeight, c.force, fast));
      EXPECT_EQ(target.Width(), c.width) << c.sourceWidth << "x" << c.sourceHeight;
      EXPECT_EQ(target.Height(), c.height) << c.sourceWidth << "x" << c.sourceHeight;
    }
  }
}

TEST(ScaleImageToFit, CopiesWhatFitsAndUsesTheFastResampler) {
  const Bitmap source = Make(150, 100, Pattern);
  Bitmap target;
  ASSERT_TRUE(ScaleImageToFit(&source, &target, 200, 200, false, true));
  EXPECT_EQ(target.Pixels(), source.Pixels());

  Bitmap viaFit;
  Bitmap direct;
  ASSERT_TRUE(ScaleImageToFit(&source, &viaFit, 60, 60, false, true));
  ASSERT_TRUE(ResampleFast(&source, &direct, 60, 40, false));
  EXPECT_EQ(viaFit.Pixels(), direct.Pixels());
  EXPECT_FALSE(ScaleImageToFit(&source, nullptr, 10, 10, false, true));
}

}  // namespace
}  // namespace zelvora
