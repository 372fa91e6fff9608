#pragma once
// Writing bitmaps as JPEG: 24-bit colour, the library's default parameters,
// quality with baseline tables forced, optionally simple progressive scans.

#include <optional>
#include <string>
#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora {

// The JPEG file's bytes; nullopt when the bitmap is empty or the encoder
// fails (for example a side above 65500). Quality is clamped to 1..100.
std::optional<std::string> EncodeBitmapAsJPEG(const Bitmap& bitmap, int quality,
                                              bool progressive);

// Encodes in memory, then creates or replaces the file at path. False when
// there is no bitmap, encoding fails or the file cannot be written whole; a
// partly written file is removed. smoothing only matters when decoding and
// is accepted for the callers' sake.
bool SaveBitmapAsJPEG(const Bitmap* bitmap, std::string_view path, int quality, bool smoothing,
                      bool progressive);

}  // namespace zelvora
