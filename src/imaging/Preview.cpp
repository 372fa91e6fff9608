#include "imaging/Preview.h"

#include <cstdint>
#include <exception>

#include "imaging/Resample.h"

namespace zelvora {

std::unique_ptr<Bitmap> FitImageForPreview(const Bitmap* bitmap, int viewWidth, int viewHeight,
                                           TColor backgroundColour, int mode) {
  if (bitmap == nullptr || viewWidth < 0 || viewHeight < 0) return nullptr;
  try {
    std::int64_t w = bitmap->Width();
    std::int64_t h = bitmap->Height();
    if (w > viewWidth || h > viewHeight) {
      if (w > h) {
        h = h * viewWidth / w;
        w = viewWidth;
      } else {
        w = w * viewHeight / h;
        h = viewHeight;
      }
      // A very thin picture would otherwise vanish (and the resamplers
      // refuse a side of 0).
      if (w == 0) w = 1;
      if (h == 0) h = 1;
    }
    auto view = Bitmap::Create(viewWidth, viewHeight);
    if (!view) return nullptr;
    view->Fill(ColorRGB(backgroundColour));
    if (bitmap->Empty()) return view;

    const int width = static_cast<int>(w);
    const int height = static_cast<int>(h);
    Bitmap copy;
    bool scaled = false;
    if (mode == kPreviewFast) {
      scaled = ResampleFast(bitmap, &copy, width, height, false);
    } else if (mode == kPreviewExact) {
      scaled = ResampleExact(bitmap, &copy, width, height);
    } else {
      scaled = StretchBitmap(bitmap, &copy, width, height, StretchMode::Bilinear);
    }
    if (!scaled) return nullptr;
    // Integer division truncates toward zero, so an overflowing side is
    // centred and clipped on both edges.
    view->Draw(copy, (viewWidth - width) / 2, (viewHeight - height) / 2);
    return view;
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace zelvora
