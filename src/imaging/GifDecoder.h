#pragma once
// GIF files through giflib. Private to src/imaging.

#include <memory>
#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora::imaging_detail {

// The first image only, read record by record (the frames after it are never
// read), de-interlaced and placed on the logical screen, which grows to hold
// an image that sticks out of it. Transparent pixels (from the graphics
// control extension) and the screen around the image are white. nullptr for
// a damaged or truncated file and for a picture larger than the limit.
std::unique_ptr<Bitmap> DecodeGif(std::string_view bytes);

}  // namespace zelvora::imaging_detail
