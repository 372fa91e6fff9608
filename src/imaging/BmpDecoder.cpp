#include "imaging/BmpDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "imaging/ByteReader.h"
#include "imaging/PlausibleSize.h"

namespace zelvora::imaging_detail {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

bool IsKnownHeaderSize(std::uint32_t size) {
  // core, info, info with RGB masks, with RGBA masks, OS/2 2.x, V4, V5
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
         size == 124;
}

std::size_t RowStride(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32) * 4;
}

// A mask turned into a shift and the largest value it holds.
struct TChannel {
  int shift = 0;
  std::uint32_t max = 0;

  explicit TChannel(std::uint32_t mask) {
    if (mask == 0) return;
    while ((mask & 1) == 0) {
      mask >>= 1;
      ++shift;
    }
    max = mask;
  }
  std::uint8_t Scale(std::uint32_t value) const {
    if (max == 0) return 0;
    // A mask with holes still gives a value within 0..max, so no overflow.
    const std::uint64_t v = (value >> shift) & max;
    if (max == 255) return static_cast<std::uint8_t>(v);
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

TColor PaletteColor(const std::vector<TColor>& palette, unsigned index) {
  // An index past the palette is a damaged file, not a reason to read beyond it.
  return index < palette.size() ? palette[index] : kColorBlack;
}

void PutColor(std::uint8_t* pixel, TColor c) {
  pixel[0] = static_cast<std::uint8_t>(BlueOf(c));
  pixel[1] = static_cast<std::uint8_t>(GreenOf(c));
  pixel[2] = static_cast<std::uint8_t>(RedOf(c));
}

void DecodeRow(const TDibHeader& header, const std::uint8_t* src, std::uint8_t* dst,
               std::uint8_t* alphaRow, const TChannel* channels) {
  const int width = header.width;
  switch (header.bitCount) {
    case 1:
    case 4:
    case 8: {
      const int bits = header.bitCount;
      const unsigned mask = (1u << bits) - 1;
      for (int x = 0; x < width; ++x) {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        const unsigned index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
        PutColor(dst + 3 * x, PaletteColor(header.palette, index));
      }
      break;
    }
    case 24:
      std::memcpy(dst, src, static_cast<std::size_t>(width) * 3);
      break;
    case 16:
    case 32: {
      const int bytes = header.bitCount / 8;
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = src + static_cast<std::size_t>(x) * bytes;
        const std::uint32_t v = bytes == 2
                                    ? static_cast<std::uint32_t>(p[0] | (p[1] << 8))
                                    : static_cast<std::uint32_t>(p[0]) | (p[1] << 8) |
                                          (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        dst[3 * x] = channels[2].Scale(v);
        dst[3 * x + 1] = channels[1].Scale(v);
        dst[3 * x + 2] = channels[0].Scale(v);
        if (alphaRow != nullptr) alphaRow[x] = channels[3].Scale(v);
      }
      break;
    }
    default:
      break;
  }
}

void FillFast(Bitmap& bitmap, TColor color) {
  if (bitmap.Empty()) return;
  std::uint8_t* first = bitmap.Row(0);
  for (int x = 0; x < bitmap.Width(); ++x) PutColor(first + 3 * x, color);
  for (int y = 1; y < bitmap.Height(); ++y) std::memcpy(bitmap.Row(y), first, bitmap.Stride());
}

// RLE8 and RLE4. Damage ends the stream: what was decoded so far stays, the
// rest keeps palette entry 0, as in a freshly cleared bitmap.
std::unique_ptr<Bitmap> DecodeRle(const TDibHeader& header, std::string_view data) {
  // A run or a skip covers at most 255 pixels per code, yet an early end of
  // bitmap lets a few bytes declare any size; beyond a generous ratio the
  // file is a bomb, not a picture.
  if (!PlausibleRleBmpSize(header.width, header.height, data.size())) return nullptr;
  auto bitmap = Bitmap::Create(header.width, header.height);
  if (!bitmap) return nullptr;
  const TColor background = PaletteColor(header.palette, 0);
  if (background != kColorBlack) FillFast(*bitmap, background);
  const bool fourBits = header.compression == kDibRle4;
  const std::int64_t width = header.width;
  const std::int64_t height = header.height;
  const TByteReader in(data);
  std::int64_t x = 0;
  std::int64_t row = 0;  // in file order
  std::size_t pos = 0;
  auto put = [&](unsigned index) {
    if (x < width && row < height) {
      const int y = static_cast<int>(header.topDown ? row : height - 1 - row);
      PutColor(bitmap->Row(y) + x * 3, PaletteColor(header.palette, index));
    }
    ++x;
  };
  while (row < height && in.Has(pos, 2)) {
    const unsigned count = in.U8(pos);
    const unsigned value = in.U8(pos + 1);
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count && x < width; ++i) {
        put(fourBits ? ((i % 2 == 0) ? value >> 4 : value & 15) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (!in.Has(pos, 2)) break;
      x = std::min<std::int64_t>(x + in.U8(pos), width);
      row += in.U8(pos + 1);
      pos += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const std::size_t bytes = fourBits ? (value + 1) / 2 : value;
      const bool complete = in.Has(pos, bytes);
      const unsigned available = complete ? value
                                          : static_cast<unsigned>(std::min<std::size_t>(
                                                value, (in.Size() - pos) * (fourBits ? 2 : 1)));
      for (unsigned i = 0; i < available && x < width; ++i) {
        const unsigned b = in.U8(pos + (fourBits ? i / 2 : i));
        put(fourBits ? ((i % 2 == 0) ? b >> 4 : b & 15) : b);
      }
      if (!complete) break;
      pos += bytes + (bytes % 2);
    }
  }
  return bitmap;
}

}  // namespace

std::optional<TDibHeader> ReadDibHeader(std::string_view bytes, std::size_t offset,
                                        std::size_t paletteLimit) {
  const TByteReader in(bytes);
  if (!in.Has(offset, 4)) return std::nullopt;
  const std::uint32_t size = in.U32(offset);
  if (!IsKnownHeaderSize(size) || !in.Has(offset, size)) return std::nullopt;
  TDibHeader header;
  std::size_t paletteEntrySize = 4;
  std::uint32_t coloursUsed = 0;
  std::size_t masksEnd = offset + size;
  if (size == 12) {
    header.width = in.U16(offset + 4);
    header.height = in.U16(offset + 6);
    header.bitCount = in.U16(offset + 10);
    paletteEntrySize = 3;
    if (header.width == 0 || header.height == 0) return std::nullopt;
    if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8 &&
        header.bitCount != 24) {
      return std::nullopt;
    }
  } else {
    const std::int32_t width = in.I32(offset + 4);
    const std::int64_t height = in.I32(offset + 8);
    if (width <= 0 || height == 0) return std::nullopt;
    header.width = width;
    header.topDown = height < 0;
    const std::int64_t rows = height < 0 ? -height : height;
    if (rows > 0x7FFFFFFF) return std::nullopt;
    header.height = static_cast<int>(rows);
    header.bitCount = in.U16(offset + 14);
    header.compression = in.U32(offset + 16);
    coloursUsed = in.U32(offset + 32);
    switch (header.bitCount) {
      case 1:
      case 4:
      case 8:
      case 16:
      case 24:
      case 32:
        break;
      default:
        return std::nullopt;
    }
    const std::uint32_t c = header.compression;
    const bool masked = c == kDibBitFields || c == kDibAlphaBitFields;
    // OS/2 2.x uses codes 3 and 4 for Huffman and RLE24, which no one writes.
    if (size == 64 && c > kDibRle4) return std::nullopt;
    if (c == kDibRle8 && header.bitCount != 8) return std::nullopt;
    if (c == kDibRle4 && header.bitCount != 4) return std::nullopt;
    if (masked && header.bitCount != 16 && header.bitCount != 32) return std::nullopt;
    if (c != kDibRgb && c != kDibRle8 && c != kDibRle4 && !masked) return std::nullopt;
    if (masked) {
      const std::size_t maskCount = (c == kDibAlphaBitFields) ? 4 : 3;
      std::size_t at = offset + 40;
      if (size == 40) {
        // Plain info headers keep their masks just behind the header.
        if (!in.Has(at, 4 * maskCount)) return std::nullopt;
        masksEnd = at + 4 * maskCount;
      }
      for (std::size_t i = 0; i < maskCount && (size > 40 ? 40 + 4 * (i + 1) <= size : true); ++i) {
        header.masks[i] = in.U32(at + 4 * i);
      }
      if (header.bitCount == 16) {
        for (auto& m : header.masks) m &= 0xFFFF;
      }
    } else if (header.bitCount == 16) {
      header.masks[0] = 0x7C00, header.masks[1] = 0x03E0, header.masks[2] = 0x001F;
    } else if (header.bitCount == 32) {
      // The fourth byte is unused in files; icons keep their alpha there.
      header.masks[0] = 0xFF0000, header.masks[1] = 0xFF00, header.masks[2] = 0xFF,
      header.masks[3] = 0xFF000000;
    }
  }
  if (static_cast<std::int64_t>(header.width) * header.height > Bitmap::kMaxPixels) {
    return std::nullopt;
  }

  std::size_t paletteCount = 0;
  if (header.bitCount <= 8) {
    const std::size_t full = std::size_t{1} << header.bitCount;
    paletteCount = (coloursUsed == 0 || coloursUsed > full) ? full : coloursUsed;
  }
  // A palette that runs into the pixel data (or off the file) is cut: many
  // writers declare a full palette and store fewer entries.
  const std::size_t limit = std::min(paletteLimit, in.Size());
  const std::size_t room = limit > masksEnd ? (limit - masksEnd) / paletteEntrySize : 0;
  paletteCount = std::min(paletteCount, room);
  header.palette.reserve(paletteCount);
  for (std::size_t i = 0; i < paletteCount; ++i) {
    const std::size_t at = masksEnd + i * paletteEntrySize;
    header.palette.push_back(MakeColor(in.U8(at + 2), in.U8(at + 1), in.U8(at)));
  }
  header.end = masksEnd + paletteCount * paletteEntrySize;
  return header;
}

std::unique_ptr<Bitmap> DecodeDibPixels(const TDibHeader& header, std::string_view pixels,
                                        std::vector<std::uint8_t>* alpha) {
  const std::size_t stride = RowStride(header.width, header.bitCount);
  const std::size_t lastRow = (static_cast<std::size_t>(header.width) * header.bitCount + 7) / 8;
  const std::size_t rows = static_cast<std::size_t>(header.height);
  // The last row may lack its padding; everything else must be there.
  if (rows == 0 || pixels.size() / stride < rows - 1 ||
      pixels.size() - (rows - 1) * stride < lastRow) {
    return nullptr;
  }
  auto bitmap = Bitmap::Create(header.width, header.height);
  if (!bitmap) return nullptr;
  const bool wantAlpha = alpha != nullptr && header.bitCount == 32;
  if (alpha != nullptr) {
    try {
      alpha->assign(wantAlpha ? rows * header.width : 0, 0);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }
  const TChannel channels[4] = {TChannel(header.masks[0]), TChannel(header.masks[1]),
                                TChannel(header.masks[2]), TChannel(header.masks[3])};
  const auto* data = reinterpret_cast<const std::uint8_t*>(pixels.data());
  for (std::size_t r = 0; r < rows; ++r) {
    const int y = static_cast<int>(header.topDown ? r : rows - 1 - r);
    std::uint8_t* alphaRow =
        wantAlpha ? alpha->data() + static_cast<std::size_t>(y) * header.width : nullptr;
    DecodeRow(header, data + r * stride, bitmap->Row(y), alphaRow, channels);
  }
  return bitmap;
}

std::unique_ptr<Bitmap> DecodeBmp(std::string_view bytes) {
  const TByteReader in(bytes);
  if (!in.Has(0, kFileHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
  const std::size_t offBits = in.U32(10);
  const bool offBitsUsable = offBits >= kFileHeaderSize + 12 && offBits <= in.Size();
  auto header = ReadDibHeader(bytes, kFileHeaderSize, offBitsUsable ? offBits : in.Size());
  if (!header) return nullptr;
  // An offset that points into the headers is a writer's mistake; the
  // pixels then follow the palette, where every such writer put them.
  const std::size_t start = (offBitsUsable && offBits >= header->end) ? offBits : header->end;
  const std::string_view pixels = bytes.substr(start);
  if (header->compression == kDibRle8 || header->compression == kDibRle4) {
    return DecodeRle(*header, pixels);
  }
  return DecodeDibPixels(*header, pixels);
}

}  // namespace zelvora::imaging_detail
