#pragma once
// BMP files and the device-independent bitmaps inside them (shared with the
// icon decoder). Private to src/imaging.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Colors.h"

namespace zelvora::imaging_detail {

inline constexpr std::uint32_t kDibRgb = 0, kDibRle8 = 1, kDibRle4 = 2, kDibBitFields = 3,
                               kDibAlphaBitFields = 6;

// A validated DIB header.
struct TDibHeader {
  int width = 0;
  int height = 0;  // always positive; topDown tells the row order
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kDibRgb;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (16 and 32 bits)
  std::vector<TColor> palette;
  std::size_t end = 0;  // offset just behind the header, its masks and its palette
};

// Reads the DIB header that starts at `offset`, its masks and its palette;
// the palette is cut where it would reach paletteLimit (the offset of the
// pixel data).
// nullopt when a field is out of range or lies outside the bytes.
std::optional<TDibHeader> ReadDibHeader(std::string_view bytes, std::size_t offset,
                                        std::size_t paletteLimit);

// Uncompressed pixel rows of `header` (height rows), read from `pixels`.
// For 32-bit pictures `alpha`, when given, receives each pixel's alpha
// (row-major from the top, 0 where the masks have none). nullptr when the
// data is too short or the picture too large.
std::unique_ptr<Bitmap> DecodeDibPixels(const TDibHeader& header, std::string_view pixels,
                                        std::vector<std::uint8_t>* alpha = nullptr);

// A whole BMP file.
std::unique_ptr<Bitmap> DecodeBmp(std::string_view bytes);

}  // namespace zelvora::imaging_detail
