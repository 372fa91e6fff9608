#pragma once
// JPEG files through libjpeg. Private to src/imaging.

#include <memory>
#include <string>
#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora::imaging_detail {

// Greyscale, RGB, YCbCr, CMYK and YCCK pictures as 24-bit colour. When the
// data is damaged after the header gave a size, the result is a white
// picture of that size holding the rows decoded before the damage.
// nullptr when no header can be read or the picture is too large.
// With exif given, it receives the first EXIF block (the APP1 marker's
// bytes from "Exif\0\0" on), or stays empty when there is none. The
// picture itself comes out as stored, never turned.
std::unique_ptr<Bitmap> DecodeJpeg(std::string_view bytes, std::string* exif = nullptr);

}  // namespace zelvora::imaging_detail
