#pragma once
// The thumbnail maker: a picture scaled into the thumbnail box, laid on the
// page background with an optional black frame and flat drop shadow; the
// size rule for large pictures; and the layout of the step-3 size preview.

#include <memory>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/Colors.h"

namespace zelvora {

class TGallerySet;

// Fixed geometry of the decoration.
inline constexpr int kThumbFrameWidth = 1;
inline constexpr int kThumbShadowOffset = 7;
inline constexpr TColor kThumbFrameColor = kColorBlack;

struct TPixelSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TPixelSize&, const TPixelSize&) = default;
};

// Scales picture into Thumb_MaxWidth x Thumb_MaxHeight (never enlarging) and
// decorates it. nullptr for an empty picture or when memory runs out.
std::unique_ptr<Bitmap> MakeThumbnail(const Bitmap& picture, const TGallerySet& options);

// Lays an already scaled w x h picture out as the thumbnail:
// (2f + w + s) x (2f + h + s), with f = 1 when the frame is on and s = 7
// when the shadow is on. nullptr for an empty picture.
std::unique_ptr<Bitmap> DecorateThumbnail(const Bitmap& scaled, const TGallerySet& options);

// The largest size of the picture's proportions within maxWidth x maxHeight
// (a limit of 0 or less is no limit); never larger than the input, each side
// at least 1.
TPixelSize FitSize(int width, int height, int maxWidth, int maxHeight);

// What the step-3 preview draws: an outer panel holding one inner panel
// that stands for a thumbnail of the chosen size, shrunk to fit.
inline constexpr int kThumbPreviewSize = 160;

struct TThumbPreview {
  // The inner panel, relative to the outer one.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  // "200 x 150" when the size had to be shrunk to fit, else empty.
  std::string Caption;
  // A single-line border stands for the black frame.
  bool Border = false;
  // Without the shadow the panel takes the platform's button-shadow colour
  // and PanelColor and CaptionColor mean nothing.
  bool UseButtonShadowColor = true;
  TColor PanelColor = 0;
  TColor CaptionColor = 0;
};

TThumbPreview ComputeThumbPreview(int width, int height, bool frame, bool shadow, int shadowValue,
                                  int outerWidth = kThumbPreviewSize,
                                  int outerHeight = kThumbPreviewSize);

}  // namespace zelvora
