#pragma once
// JPEG files through libjpeg. Private to src/imaging.

#include <cstdint>
#include <memory>
#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora::imaging_detail {

// Greyscale, RGB, YCbCr, CMYK and YCCK pictures as 24-bit colour. When the
// data is damaged after the header gave a size, the result is a white
// picture of that size holding the rows decoded before the damage.
// nullptr when no header can be read or the picture is too large.
std::unique_ptr<Bitmap> DecodeJpeg(std::string_view bytes);

// The same into target, reusing its memory; false (target's contents
// undefined) when DecodeJpeg would give nullptr.
bool DecodeJpegInto(std::string_view bytes, Bitmap& target);

// About the memory decoding will take (the picture, and the coefficients of
// a progressive one), from the header alone; 0 when there is no header.
std::int64_t JpegDecodingBytes(std::string_view bytes);

}  // namespace zelvora::imaging_detail
