#include "generation/Thumbnail.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>

#include "gallery/GallerySet.h"
#include "imaging/Resample.h"
#include "util/Rounding.h"

namespace zelvora {

std::unique_ptr<Bitmap> MakeThumbnail(const Bitmap& picture, const TGallerySet& options) {
  try {
    if (picture.Empty()) return nullptr;
    Bitmap scaled;
    if (!ScaleImageToFit(&picture, &scaled, options.Thumb_MaxWidth, options.Thumb_MaxHeight,
                         /*force=*/false, /*fast=*/true)) {
      return nullptr;
    }
    return DecorateThumbnail(scaled, options);
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::unique_ptr<Bitmap> DecorateThumbnail(const Bitmap& scaled, const TGallerySet& options) {
  try {
    if (scaled.Empty()) return nullptr;
    const int w = scaled.Width();
    const int h = scaled.Height();
    const int f = options.Thumb_Effects_ContrastFrame ? kThumbFrameWidth : 0;
    const int s = options.Thumb_Effects_Shadow ? kThumbShadowOffset : 0;

    const std::int64_t width = std::int64_t{2} * f + w + s;
    const std::int64_t height = std::int64_t{2} * f + h + s;
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max()) {
      return nullptr;
    }
    auto result = Bitmap::Create(static_cast<int>(width), static_cast<int>(height));
    if (!result) return nullptr;

    // Layers: background, shadow, picture, frame. The shadow rectangle is
    // not moved by the frame, so it shows only right of and below the
    // picture.
    result->Fill(ColorRGB(options.HTMLPage_BGColor));
    if (s > 0) {
      // Columns s + 1 .. w + s - 1 and rows s + 1 .. h + s - 1, inclusive.
      result->FillRect(s + 1, s + 1, w + s, h + s, ColorRGB(options.GetShadowColor()));
    }
    result->Draw(scaled, f, f);
    if (f > 0) {
      const int right = 2 * f + w;  // exclusive
      const int bottom = 2 * f + h;
      result->FillRect(0, 0, right, 1, kThumbFrameColor);
      result->FillRect(0, bottom - 1, right, bottom, kThumbFrameColor);
      result->FillRect(0, 0, 1, bottom, kThumbFrameColor);
      result->FillRect(right - 1, 0, right, bottom, kThumbFrameColor);
    }
    return result;
  } catch (const std::exception&) {
    return nullptr;
  }
}

TPixelSize FitSize(int width, int height, int maxWidth, int maxHeight) {
  const int mw = maxWidth <= 0 ? width : maxWidth;
  const int mh = maxHeight <= 0 ? height : maxHeight;

  TPixelSize byWidth{width, height};
  if (mw < width) {
    byWidth = {mw, static_cast<int>(RoundHalfAway(static_cast<double>(mw) / width * height))};
  }
  TPixelSize byHeight{width, height};
  if (mh < height) {
    byHeight = {static_cast<int>(RoundHalfAway(static_cast<double>(mh) / height * width)), mh};
  }

  TPixelSize result =
      (byWidth.Width >= byHeight.Width && byWidth.Height >= byHeight.Height) ? byHeight : byWidth;
  result.Width = std::max(result.Width, 1);
  result.Height = std::max(result.Height, 1);
  return result;
}

TThumbPreview ComputeThumbPreview(int width, int height, bool frame, bool shadow, int shadowValue,
                                  int outerWidth, int outerHeight) {
  TThumbPreview preview;
  std::int64_t w = std::max(width, 0);
  std::int64_t h = std::max(height, 0);
  const std::int64_t m = std::max(w, h);
  if (m > outerWidth) {
    preview.Caption = std::to_string(w) + " x " + std::to_string(h);
    // Integer form of trunc(outer / m * side): exact, so the larger side
    // fills the panel without a floating-point shortfall.
    w = outerWidth * w / m;
    h = outerWidth * h / m;
  }
  preview.Width = static_cast<int>(w);
  preview.Height = static_cast<int>(h);
  preview.Left = (outerWidth - preview.Width) / 2;
  preview.Top = (outerHeight - preview.Height) / 2;
  preview.Border = frame;
  preview.UseButtonShadowColor = !shadow;
  if (shadow) {
    preview.PanelColor = SetColorLightness(kColorWhite, 255 - std::clamp(shadowValue, 0, 255));
    preview.CaptionColor = ContrastTextColor(preview.PanelColor);
  }
  return preview;
}

}  // namespace zelvora
