#include "imaging/IcoDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/BmpDecoder.h"
#include "imaging/ByteReader.h"

namespace zelvora::imaging_detail {
namespace {

struct TCandidate {
  std::int64_t area;
  int bitCount;
  std::size_t offset;
  std::size_t size;
};

bool IsPng(std::string_view entry) {
  return entry.size() >= 8 && std::memcmp(entry.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

std::unique_ptr<Bitmap> DecodeEntry(std::string_view entry) {
  auto header = ReadDibHeader(entry, 0, entry.size());
  if (!header) return nullptr;
  if (header->compression != kDibRgb && header->compression != kDibBitFields &&
      header->compression != kDibAlphaBitFields) {
    return nullptr;
  }
  // The stored height covers the colour rows and the mask rows.
  TDibHeader colours = *header;
  colours.height = header->height / 2;
  if (colours.height == 0) return nullptr;
  const std::string_view pixels = entry.substr(header->end);
  std::vector<std::uint8_t> alpha;
  auto bitmap = DecodeDibPixels(colours, pixels, &alpha);
  if (!bitmap) return nullptr;

  const int width = colours.width;
  const int height = colours.height;
  const bool useAlpha = std::any_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a != 0; });
  if (useAlpha) {
    for (int y = 0; y < height; ++y) {
      std::uint8_t* row = bitmap->Row(y);
      const std::uint8_t* a = alpha.data() + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t& v = row[3 * x + c];
          v = static_cast<std::uint8_t>((v * a[x] + 255 * (255 - a[x]) + 127) / 255);
        }
      }
    }
    return bitmap;
  }

  const std::size_t colourStride =
      ((static_cast<std::size_t>(width) * colours.bitCount + 31) / 32) * 4;
  const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t colourBytes = colourStride * height;
  const std::size_t rows = static_cast<std::size_t>(height);
  // Some writers leave the mask out; the icon is then opaque.
  if (pixels.size() < colourBytes || (pixels.size() - colourBytes) / maskStride < rows) {
    return bitmap;
  }
  const auto* mask = reinterpret_cast<const std::uint8_t*>(pixels.data()) + colourBytes;
  for (std::size_t r = 0; r < rows; ++r) {
    const int y = static_cast<int>(colours.topDown ? r : rows - 1 - r);
    const std::uint8_t* bits = mask + r * maskStride;
    std::uint8_t* row = bitmap->Row(y);
    for (int x = 0; x < width; ++x) {
      if ((bits[x / 8] >> (7 - x % 8)) & 1) {
        for (int c = 0; c < 3; ++c) row[3 * x + c] ^= 0xFF;
      }
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<Bitmap> DecodeIco(std::string_view bytes) {
  const TByteReader in(bytes);
  if (!in.Has(0, 6) || in.U16(0) != 0) return nullptr;
  const unsigned type = in.U16(2);
  if (type != 1 && type != 2) return nullptr;  // icons and cursors share the layout
  const unsigned count = in.U16(4);
  std::vector<TCandidate> candidates;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * static_cast<std::size_t>(i);
    if (!in.Has(at, 16)) break;
    const std::size_t offset = in.U32(at + 12);
    if (offset >= in.Size()) continue;
    // A declared size past the end is cut to what the file holds.
    const std::size_t size = std::min<std::size_t>(in.U32(at + 8), in.Size() - offset);
    if (IsPng(in.View(offset, size))) continue;
    const int width = in.U8(at) == 0 ? 256 : in.U8(at);
    const int height = in.U8(at + 1) == 0 ? 256 : in.U8(at + 1);
    candidates.push_back({static_cast<std::int64_t>(width) * height, in.U16(at + 6), offset, size});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const TCandidate& a, const TCandidate& b) {
                     if (a.area != b.area) return a.area > b.area;
                     return a.bitCount > b.bitCount;
                   });
  for (const TCandidate& candidate : candidates) {
    if (auto bitmap = DecodeEntry(in.View(candidate.offset, candidate.size))) return bitmap;
  }
  return nullptr;
}

}  // namespace zelvora::imaging_detail
