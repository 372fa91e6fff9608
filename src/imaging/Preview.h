#pragma once
// The picture a preview box shows: the bitmap scaled down to the box and
// centred on a background colour.

#include <memory>

#include "imaging/Bitmap.h"
#include "imaging/Colors.h"

namespace zelvora {

// How the preview scales: the plain stretch, ResampleFast or ResampleExact.
// Any other mode value stretches too.
inline constexpr int kPreviewStretch = 0;
inline constexpr int kPreviewFast = 1;
inline constexpr int kPreviewExact = 2;

// A viewWidth x viewHeight picture filled with backgroundColour, with the
// bitmap drawn centred on it. A bitmap larger than the view is scaled so
// that its longer side fits (the other side may still overflow and is then
// clipped). nullptr when there is no bitmap, a view side is negative or the
// memory cannot be had.
std::unique_ptr<Bitmap> FitImageForPreview(const Bitmap* bitmap, int viewWidth, int viewHeight,
                                           TColor backgroundColour, int mode);

}  // namespace zelvora
