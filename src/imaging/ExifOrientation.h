#pragma once
// The EXIF Orientation of a JPEG picture and the turn or mirror that shows
// it as meant. Browsers honour the tag, so the gallery must too: thumbnails,
// sizes and written copies all follow the picture as visitors see it.

#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora {

// The Orientation tag (1..8) of an EXIF block as a JPEG's APP1 marker holds
// it ("Exif\0\0" and a TIFF structure), read as browsers read it: a SHORT
// of one value in IFD0, else in the Exif IFD. 1 ("as stored") when the
// block is empty, damaged, or holds no such tag.
int ExifOrientationOf(std::string_view app1);

// Turns or mirrors the bitmap so that a picture stored with this
// orientation shows upright: 2 mirrors left to right, 3 turns by 180
// degrees, 4 mirrors top to bottom, 5 transposes, 6 turns clockwise,
// 7 transposes the other way, 8 turns anticlockwise (5 to 8 swap width
// and height). Any other value leaves the bitmap alone. False, with the
// bitmap as it was, when the memory for a turned copy cannot be had.
bool ApplyOrientation(Bitmap& bitmap, int orientation);

}  // namespace zelvora
