#include "imaging/Preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "imaging/Resample.h"

namespace zelvora {
namespace {

constexpr TColor kBackground = 0x00C08040;

Bitmap Make(int width, int height, const std::function<TColor(int, int)>& color) {
  Bitmap bitmap;
  EXPECT_TRUE(bitmap.Resize(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixelColor(x, y, color(x, y));
  }
  return bitmap;
}

Bitmap Solid(int width, int height, TColor colour) {
  return Make(width, height, [&](int, int) { return colour; });
}

// The rectangle of the view that is not background.
struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;
  bool operator==(const Box&) const = default;
};

Box PictureBox(const Bitmap& view) {
  Box box;
  for (int y = 0; y < view.Height(); ++y) {
    for (int x = 0; x < view.Width(); ++x) {
      if (view.PixelColor(x, y) == kBackground) continue;
      if (box.left < 0 || x < box.left) box.left = x;
      if (box.top < 0) box.top = y;
      box.right = std::max(box.right, x + 1);
      box.bottom = y + 1;
    }
  }
  return box;
}

struct PreviewCase {
  int width, height, viewWidth, viewHeight;
  Box box;
};

TEST(FitImageForPreview, CentresAndFitsTheLongerSide) {
  const PreviewCase cases[] = {
      {4, 2, 10, 6, {3, 2, 7, 4}},      // fits: centred as it is
      {3, 3, 10, 6, {3, 1, 6, 4}},      // odd margins round down
      {40, 20, 10, 10, {0, 2, 10, 7}},  // landscape: 10 x trunc(20 x 10 / 40)
      {20, 40, 10, 10, {2, 0, 7, 10}},  // portrait
      {30, 30, 20, 10, {5, 0, 15, 10}}, // square: the height is fitted
      {1000, 1, 10, 10, {0, 4, 10, 5}}, // too thin to keep a row: one is kept
  };
  for (const PreviewCase& c : cases) {
    const Bitmap picture = Solid(c.width, c.height, 0x000000FF);
    for (int mode : {kPreviewStretch, kPreviewFast, kPreviewExact, 9}) {
      const auto view = FitImageForPreview(&picture, c.viewWidth, c.viewHeight, kBackground, mode);
      ASSERT_NE(view, nullptr);
      ASSERT_EQ(view->Width(), c.viewWidth);
      ASSERT_EQ(view->Height(), c.viewHeight);
      const Box box = PictureBox(*view);
      EXPECT_EQ(box, c.box) << c.width << "x" << c.height << " mode " << mode << ": " << box.left
                            << "," << box.top << "," << box.right << "," << box.bottom;
    }
  }
}

TEST(FitImageForPreview, OverflowingSideIsCentredWithTruncation) {
  // 100 x 90 into 50 x 20: the width is fitted (50 x 45) and the height is
  // left to overflow. The copy is drawn at y = (20 - 45) / 2 = -12.
  const Bitmap picture = Make(100, 90, [](int, int y) { return MakeColor(y, y, y); });
  const auto view = FitImageForPreview(&picture, 50, 20, kBackground, kPreviewFast);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(PictureBox(*view), (Box{0, 0, 50, 20}));
  // ResampleFast halves the rows: copy row k is grey 2k, so view row 0 shows copy row 12.
  EXPECT_EQ(RedOf(view->PixelColor(0, 0)), 24);
  EXPECT_EQ(RedOf(view->PixelColor(0, 19)), 62);
}

TEST(FitImageForPreview, ModesPickTheirScaler) {
  const Bitmap picture = Make(37, 23, [](int x, int y) { return MakeColor(x * 6, y * 11, x ^ y); });
  Bitmap expected;
  const auto fast = FitImageForPreview(&picture, 10, 10, kBackground, kPreviewFast);
  ASSERT_TRUE(ResampleFast(&picture, &expected, 10, 6, false));
  ASSERT_NE(fast, nullptr);
  EXPECT_EQ(fast->PixelColor(3, 4), expected.PixelColor(3, 2));

  const auto exact = FitImageForPreview(&picture, 10, 10, kBackground, kPreviewExact);
  ASSERT_TRUE(ResampleExact(&picture, &expected, 10, 6));
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(exact->PixelColor(3, 4), expected.PixelColor(3, 2));

  const auto stretched = FitImageForPreview(&picture, 10, 10, kBackground, kPreviewStretch);
  const auto other = FitImageForPreview(&picture, 10, 10, kBackground, -4);
  ASSERT_NE(stretched, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(stretched->Pixels(), other->Pixels());
}

TEST(FitImageForPreview, EdgeInputs) {
  EXPECT_EQ(FitImageForPreview(nullptr, 10, 10, kBackground, 0), nullptr);
  const Bitmap picture = Solid(5, 5, 0x00FFFFFF);
  EXPECT_EQ(FitImageForPreview(&picture, -1, 10, kBackground, 0), nullptr);
  // The Default mark is not part of the colour.
  const auto marked = FitImageForPreview(&picture, 9, 9, WithDefaultMark(kBackground), 0);
  ASSERT_NE(marked, nullptr);
  EXPECT_EQ(marked->PixelColor(0, 0), kBackground);
  // An empty picture leaves the background; an empty view is an empty picture.
  const Bitmap empty;
  const auto blank = FitImageForPreview(&empty, 4, 3, kBackground, 1);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(PictureBox(*blank), Box{});
  const auto none = FitImageForPreview(&picture, 0, 0, kBackground, 2);
  ASSERT_NE(none, nullptr);
  EXPECT_TRUE(none->Empty());
}

}  // namespace
}  // namespace zelvora
