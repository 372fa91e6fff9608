#pragma once
// JPEG files through libjpeg. Private to src/imaging.

#include <cstdint>
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

// The same into target, reusing its memory; false (target's contents
// undefined) when DecodeJpeg would give nullptr.
bool DecodeJpegInto(std::string_view bytes, Bitmap& target, std::string* exif = nullptr);

// About the memory decoding will take (the picture, and the coefficients of
// a progressive one), from the header alone; 0 when there is no header.
std::int64_t JpegDecodingBytes(std::string_view bytes);

}  // namespace zelvora::imaging_detail
