#include "support/PictureWriters.h"

#include <gif_lib.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace zelvora::test {
namespace {

int Clamp255(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

void AppendUint16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 255));
  out.push_back(static_cast<char>((v >> 8) & 255));
}

void AppendUint32(std::string& out, std::uint32_t v) {
  AppendUint16(out, v & 0xFFFF);
  AppendUint16(out, v >> 16);
}

void AppendBigEndian32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 255));
}

// Colours in order of first appearance, and each pixel's index among them.
struct TPaletted {
  std::vector<TColor> palette;
  std::vector<std::uint8_t> indices;
};

TPaletted ToPaletted(const Bitmap& picture, std::size_t capacity) {
  TPaletted result;
  std::map<TColor, std::uint8_t> known;
  result.indices.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.PixelColor(x, y);
      auto it = known.find(c);
      if (it == known.end()) {
        if (result.palette.size() >= capacity) {
          throw std::runtime_error("picture has too many colours for the palette");
        }
        it = known.emplace(c, static_cast<std::uint8_t>(result.palette.size())).first;
        result.palette.push_back(c);
      }
      result.indices.push_back(it->second);
    }
  }
  if (result.palette.empty()) result.palette.push_back(kColorBlack);
  return result;
}

std::size_t RowStride(int width, int bitsPerPixel) {
  return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// One row of packed indices (1, 4 or 8 bits), padded to 4 bytes.
std::string PackIndexRow(const std::uint8_t* indices, int width, int bitsPerPixel) {
  std::string row(RowStride(width, bitsPerPixel), '\0');
  for (int x = 0; x < width; ++x) {
    const int bit = x * bitsPerPixel;
    const int shift = 8 - bitsPerPixel - bit % 8;
    row[bit / 8] =
        static_cast<char>(static_cast<std::uint8_t>(row[bit / 8]) | (indices[x] << shift));
  }
  return row;
}

int MaskShift(std::uint32_t mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

std::uint32_t PackChannel(int value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = MaskShift(mask);
  const std::uint32_t max = mask >> shift;
  const std::uint32_t scaled =
      static_cast<std::uint32_t>((value * static_cast<std::uint64_t>(max) + 127) / 255);
  return (scaled << shift) & mask;
}

// Greedy run-length coding of one row: runs of equal indices, absolute
// stretches of at least three differing ones.
void AppendRleRow(std::string& out, const std::uint8_t* indices, int width, bool fourBits) {
  int x = 0;
  while (x < width) {
    int run = 1;
    while (x + run < width && run < 255 && indices[x + run] == indices[x]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<char>(run));
      const std::uint8_t v = indices[x];
      out.push_back(static_cast<char>(fourBits ? (v << 4) | v : v));
      x += run;
      continue;
    }
    int literal = 1;
    while (x + literal < width && literal < 255 &&
           !(x + literal + 1 < width && indices[x + literal] == indices[x + literal + 1])) {
      ++literal;
    }
    if (literal < 3) {
      for (int i = 0; i < literal; ++i) {
        out.push_back(1);
        const std::uint8_t v = indices[x + i];
        out.push_back(static_cast<char>(fourBits ? v << 4 : v));
      }
    } else {
      out.push_back(0);
      out.push_back(static_cast<char>(literal));
      std::string data;
      if (fourBits) {
        for (int i = 0; i < literal; i += 2) {
          const int hi = indices[x + i];
          const int lo = i + 1 < literal ? indices[x + i + 1] : 0;
          data.push_back(static_cast<char>((hi << 4) | lo));
        }
      } else {
        data.assign(reinterpret_cast<const char*>(indices + x), literal);
      }
      if (data.size() % 2 != 0) data.push_back(0);
      out += data;
    }
    x += literal;
  }
}

void AppendInfoHeader(std::string& out, int width, int height, int bitsPerPixel,
                      std::uint32_t compression, std::uint32_t imageSize, std::uint32_t coloursUsed,
                      std::uint32_t headerSize = 40) {
  AppendUint32(out, headerSize);
  AppendUint32(out, static_cast<std::uint32_t>(width));
  AppendUint32(out, static_cast<std::uint32_t>(height));
  AppendUint16(out, 1);
  AppendUint16(out, static_cast<std::uint32_t>(bitsPerPixel));
  AppendUint32(out, compression);
  AppendUint32(out, imageSize);
  AppendUint32(out, 2835);
  AppendUint32(out, 2835);
  AppendUint32(out, coloursUsed);
  AppendUint32(out, 0);
}

void AppendPaletteQuad(std::string& out, TColor c) {
  out.push_back(static_cast<char>(BlueOf(c)));
  out.push_back(static_cast<char>(GreenOf(c)));
  out.push_back(static_cast<char>(RedOf(c)));
  out.push_back(0);
}

std::string FileHeader(std::size_t fileSize, std::size_t offBits) {
  std::string out = "BM";
  AppendUint32(out, static_cast<std::uint32_t>(fileSize));
  AppendUint32(out, 0);
  AppendUint32(out, static_cast<std::uint32_t>(offBits));
  return out;
}

std::uint32_t Mix(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352d;
  v ^= v >> 15;
  v *= 0x846ca68b;
  v ^= v >> 16;
  return v;
}

}  // namespace

// ---- patterns ----

TColor TestPatternColor(int index) {
  const int i = index & 255;
  // Red alone keeps the 256 colours distinct; the others spread them out.
  return MakeColor(i, (i * 97 + 13) & 255, (i * 59 + 101) & 255);
}

Bitmap MakeTestPattern(int width, int height, int colours) {
  colours = std::clamp(colours, 1, 256);
  Bitmap picture;
  if (!picture.Resize(width, height)) throw std::runtime_error("bad pattern size");
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t h = Mix(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                                  Mix(static_cast<std::uint32_t>(y) + 0x1234567u));
      picture.SetPixelColor(x, y, TestPatternColor(static_cast<int>(h % colours)));
    }
  }
  return picture;
}

Bitmap MakePhotoLikePicture(int width, int height, unsigned seed) {
  Bitmap picture;
  if (!picture.Resize(width, height)) throw std::runtime_error("bad picture size");
  std::vector<double> waveX(width), waveY(height),
      diagonal(static_cast<std::size_t>(width) + height);
  for (int x = 0; x < width; ++x) waveX[x] = std::sin(x * 0.31) * 18.0;
  for (int y = 0; y < height; ++y) waveY[y] = std::cos(y * 0.23) * 14.0;
  for (std::size_t i = 0; i < diagonal.size(); ++i) diagonal[i] = std::sin(i * 0.004) * 90.0;
  std::uint32_t noise = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = picture.Row(y);
    const double fy = height > 1 ? static_cast<double>(y) / (height - 1) : 0.0;
    for (int x = 0; x < width; ++x) {
      const double fx = width > 1 ? static_cast<double>(x) / (width - 1) : 0.0;
      noise = noise * 1664525u + 1013904223u;
      const double grain = static_cast<double>((noise >> 24) & 15) - 7.5;
      const double detail = waveX[x] * waveY[y] / 14.0;
      row[3 * x + 2] = static_cast<std::uint8_t>(Clamp255(40 + 180 * fx + detail + grain));
      row[3 * x + 1] = static_cast<std::uint8_t>(Clamp255(60 + 150 * fy - detail + grain));
      row[3 * x + 0] = static_cast<std::uint8_t>(Clamp255(128 + diagonal[x + y] + grain));
    }
  }
  return picture;
}

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 256;
  int worst = 0;
  for (std::size_t i = 0; i < a.Pixels().size(); ++i) {
    worst = std::max(worst, std::abs(static_cast<int>(a.Pixels()[i]) - b.Pixels()[i]));
  }
  return worst;
}

// ---- BMP ----

void PutUint16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<char>(value & 255);
  bytes.at(offset + 1) = static_cast<char>(value >> 8);
}

void PutUint32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  PutUint16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  PutUint16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string MakeBmp(const Bitmap& picture, const BmpOptions& options) {
  const int bpp = options.bitsPerPixel;
  const int width = picture.Width();
  const int height = picture.Height();
  const bool core = options.header == BmpHeader::Core;
  const bool paletted = bpp <= 8;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    throw std::runtime_error("unsupported BMP depth");
  }
  if (core && (bpp == 16 || bpp == 32 || options.rle || options.topDown || options.bitFields)) {
    throw std::runtime_error("the core header cannot hold that");
  }
  if (options.rle && bpp != 4 && bpp != 8) throw std::runtime_error("RLE needs 4 or 8 bits");

  TPaletted indexed;
  if (paletted) indexed = ToPaletted(picture, std::size_t{1} << bpp);

  std::uint32_t redMask = options.redMask, greenMask = options.greenMask,
                blueMask = options.blueMask;
  if (redMask == 0 && greenMask == 0 && blueMask == 0) {
    if (bpp == 16) {
      if (options.bitFields) {
        redMask = 0xF800, greenMask = 0x07E0, blueMask = 0x001F;
      } else {
        redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
      }
    } else {
      redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
    }
  }

  // Pixel data in file order.
  std::string data;
  auto fileRowToY = [&](int r) { return options.topDown ? r : height - 1 - r; };
  if (options.rle) {
    for (int r = 0; r < height; ++r) {
      const int y = fileRowToY(r);
      AppendRleRow(data, indexed.indices.data() + static_cast<std::size_t>(y) * width, width,
                   bpp == 4);
      data.push_back(0);
      data.push_back(r + 1 == height ? 1 : 0);
    }
  } else {
    for (int r = 0; r < height; ++r) {
      const int y = fileRowToY(r);
      std::string row;
      if (paletted) {
        row =
            PackIndexRow(indexed.indices.data() + static_cast<std::size_t>(y) * width, width, bpp);
      } else {
        row.assign(RowStride(width, bpp), '\0');
        const std::uint8_t* src = picture.Row(y);
        for (int x = 0; x < width; ++x) {
          const int b = src[3 * x], g = src[3 * x + 1], red = src[3 * x + 2];
          if (bpp == 24) {
            row[3 * x] = static_cast<char>(b);
            row[3 * x + 1] = static_cast<char>(g);
            row[3 * x + 2] = static_cast<char>(red);
          } else {
            const std::uint32_t v =
                PackChannel(red, redMask) | PackChannel(g, greenMask) | PackChannel(b, blueMask);
            for (int i = 0; i < bpp / 8; ++i)
              row[bpp / 8 * x + i] = static_cast<char>(v >> (8 * i));
          }
        }
      }
      data += row;
    }
  }

  std::string header;
  std::string palette;
  const std::uint32_t compression = options.rle ? (bpp == 8 ? kBmpRle8 : kBmpRle4)
                                                : (options.bitFields ? kBmpBitFields : kBmpRgb);
  const int storedHeight = options.topDown ? -height : height;
  if (core) {
    AppendUint32(header, 12);
    AppendUint16(header, static_cast<std::uint32_t>(width));
    AppendUint16(header, static_cast<std::uint32_t>(height));
    AppendUint16(header, 1);
    AppendUint16(header, static_cast<std::uint32_t>(bpp));
    if (paletted) {
      // The core header has no colour count: the palette is always full.
      for (std::size_t i = 0; i < (std::size_t{1} << bpp); ++i) {
        const TColor c = i < indexed.palette.size() ? indexed.palette[i] : kColorBlack;
        palette.push_back(static_cast<char>(BlueOf(c)));
        palette.push_back(static_cast<char>(GreenOf(c)));
        palette.push_back(static_cast<char>(RedOf(c)));
      }
    }
  } else {
    const std::uint32_t headerSize = options.header == BmpHeader::Info ? 40
                                     : options.header == BmpHeader::V4 ? 108
                                                                       : 124;
    AppendInfoHeader(header, width, storedHeight, bpp, compression,
                     static_cast<std::uint32_t>(data.size()),
                     paletted ? static_cast<std::uint32_t>(indexed.palette.size()) : 0, headerSize);
    if (headerSize > 40) {
      AppendUint32(header, redMask);
      AppendUint32(header, greenMask);
      AppendUint32(header, blueMask);
      AppendUint32(header, 0);           // alpha mask
      AppendUint32(header, 0x73524742);  // 'sRGB'
      header.append(headerSize - 60, '\0');
    } else if (options.bitFields) {
      AppendUint32(header, redMask);
      AppendUint32(header, greenMask);
      AppendUint32(header, blueMask);
    }
    if (paletted) {
      for (TColor c : indexed.palette) AppendPaletteQuad(palette, c);
    }
  }
  const std::size_t offBits = 14 + header.size() + palette.size();
  return FileHeader(offBits + data.size(), offBits) + header + palette + data;
}

std::string MakeBmpWithData(int width, int height, int bitsPerPixel, std::uint32_t compression,
                            const std::vector<TColor>& palette, std::string_view pixelData) {
  std::string header;
  AppendInfoHeader(header, width, height, bitsPerPixel, compression,
                   static_cast<std::uint32_t>(pixelData.size()),
                   static_cast<std::uint32_t>(palette.size()));
  for (TColor c : palette) AppendPaletteQuad(header, c);
  const std::size_t offBits = 14 + header.size();
  return FileHeader(offBits + pixelData.size(), offBits) + header + std::string(pixelData);
}

// ---- ICO ----

namespace {

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::string PngChunk(std::string_view type, std::string_view payload) {
  std::string out;
  AppendBigEndian32(out, static_cast<std::uint32_t>(payload.size()));
  std::string body(type);
  body += payload;
  out += body;
  AppendBigEndian32(out, Crc32(body));
  return out;
}

std::string IcoPngEntry(const Bitmap& picture) {
  std::string ihdr;
  AppendBigEndian32(ihdr, static_cast<std::uint32_t>(picture.Width()));
  AppendBigEndian32(ihdr, static_cast<std::uint32_t>(picture.Height()));
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IEND", "");
}

std::string IcoBitmapEntry(const IcoImage& image) {
  const Bitmap& picture = image.picture;
  const int width = picture.Width();
  const int height = picture.Height();
  const int bpp = image.bitsPerPixel;
  auto isTransparent = [&](int x, int y) {
    return !image.transparent.empty() &&
           image.transparent.at(static_cast<std::size_t>(y) * width + x);
  };
  // Transparent pixels carry black, so that drawing them leaves the background.
  Bitmap colours = picture;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (isTransparent(x, y)) colours.SetPixelColor(x, y, kColorBlack);
    }
  }
  std::string palette, xorData, andData;
  TPaletted indexed;
  if (bpp <= 8) {
    indexed = ToPaletted(colours, std::size_t{1} << bpp);
    for (std::size_t i = 0; i < (std::size_t{1} << bpp); ++i) {
      AppendPaletteQuad(palette, i < indexed.palette.size() ? indexed.palette[i] : kColorBlack);
    }
  }
  for (int y = height - 1; y >= 0; --y) {
    if (bpp <= 8) {
      xorData +=
          PackIndexRow(indexed.indices.data() + static_cast<std::size_t>(y) * width, width, bpp);
    } else {
      std::string row(RowStride(width, bpp), '\0');
      const std::uint8_t* src = colours.Row(y);
      const int step = bpp / 8;
      for (int x = 0; x < width; ++x) {
        row[step * x] = static_cast<char>(src[3 * x]);
        row[step * x + 1] = static_cast<char>(src[3 * x + 1]);
        row[step * x + 2] = static_cast<char>(src[3 * x + 2]);
        if (step == 4) row[step * x + 3] = static_cast<char>(isTransparent(x, y) ? 0 : 255);
      }
      xorData += row;
    }
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) maskBits[x] = isTransparent(x, y) ? 1 : 0;
    andData += PackIndexRow(maskBits.data(), width, 1);
  }
  std::string out;
  AppendInfoHeader(out, width, height * 2, bpp, kBmpRgb,
                   static_cast<std::uint32_t>(xorData.size() + andData.size()), 0);
  return out + palette + xorData + andData;
}

}  // namespace

std::string MakeIco(const std::vector<IcoImage>& images) {
  std::string header;
  AppendUint16(header, 0);
  AppendUint16(header, 1);
  AppendUint16(header, static_cast<std::uint32_t>(images.size()));
  std::vector<std::string> entries;
  for (const IcoImage& image : images) {
    entries.push_back(image.png ? IcoPngEntry(image.picture) : IcoBitmapEntry(image));
  }
  std::size_t offset = 6 + 16 * images.size();
  std::string directory;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const IcoImage& image = images[i];
    directory.push_back(
        static_cast<char>(image.picture.Width() >= 256 ? 0 : image.picture.Width()));
    directory.push_back(
        static_cast<char>(image.picture.Height() >= 256 ? 0 : image.picture.Height()));
    directory.push_back(
        static_cast<char>(image.bitsPerPixel <= 4 && !image.png ? 1 << image.bitsPerPixel : 0));
    directory.push_back(0);
    AppendUint16(directory, 1);
    AppendUint16(directory, static_cast<std::uint32_t>(image.png ? 32 : image.bitsPerPixel));
    AppendUint32(directory, static_cast<std::uint32_t>(entries[i].size()));
    AppendUint32(directory, static_cast<std::uint32_t>(offset));
    offset += entries[i].size();
  }
  std::string out = header + directory;
  for (const std::string& entry : entries) out += entry;
  return out;
}

// ---- GIF ----

namespace {

int GifWriteToString(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

// giflib wants a power-of-two colour count.
ColorMapObject* MakeColorMap(const std::vector<TColor>& colours) {
  if (colours.empty()) return nullptr;
  int count = 2;
  while (count < static_cast<int>(colours.size())) count *= 2;
  if (count > 256) throw std::runtime_error("GIF palette too large");
  std::vector<GifColorType> entries(count, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < colours.size(); ++i) {
    entries[i].Red = static_cast<GifByteType>(RedOf(colours[i]));
    entries[i].Green = static_cast<GifByteType>(GreenOf(colours[i]));
    entries[i].Blue = static_cast<GifByteType>(BlueOf(colours[i]));
  }
  return GifMakeMapObject(count, entries.data());
}

// Rows in the order an interlaced GIF stores them.
std::vector<int> InterlacedRowOrder(int height) {
  std::vector<int> order;
  const int starts[] = {0, 4, 2, 1};
  const int steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = starts[pass]; y < height; y += steps[pass]) order.push_back(y);
  }
  return order;
}

}  // namespace

std::string MakeGif(const GifPicture& picture) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifWriteToString, &error);
  if (gif == nullptr) throw std::runtime_error("EGifOpen failed");
  ColorMapObject* global = MakeColorMap(picture.palette);
  bool ok = true;
  EGifSetGifVersion(gif, true);
  ok = EGifPutScreenDesc(gif, picture.screenWidth, picture.screenHeight, 8, picture.backgroundIndex,
                         global) == GIF_OK;
  for (const GifFrame& frame : picture.frames) {
    if (!ok) break;
    if (frame.transparentIndex >= 0 || frame.delayCentiseconds > 0) {
      const unsigned char control[4] = {
          static_cast<unsigned char>(frame.transparentIndex >= 0 ? 1 : 0),
          static_cast<unsigned char>(frame.delayCentiseconds & 255),
          static_cast<unsigned char>((frame.delayCentiseconds >> 8) & 255),
          static_cast<unsigned char>(std::max(frame.transparentIndex, 0))};
      ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK;
    }
    ColorMapObject* local = MakeColorMap(frame.palette);
    ok = ok && EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height,
                                frame.interlaced, local) == GIF_OK;
    GifFreeMapObject(local);
    std::vector<int> order;
    if (frame.interlaced) {
      order = InterlacedRowOrder(frame.height);
    } else {
      for (int y = 0; y < frame.height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(frame.width, 1)));
    for (int y : order) {
      if (!ok) break;
      std::copy_n(frame.indices.begin() + static_cast<std::ptrdiff_t>(y) * frame.width, frame.width,
                  line.begin());
      ok = EGifPutLine(gif, line.data(), frame.width) == GIF_OK;
    }
  }
  GifFreeMapObject(global);
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  if (!ok) throw std::runtime_error("giflib could not write the picture");
  return out;
}

GifPicture GifFromBitmap(const Bitmap& picture, bool interlaced) {
  TPaletted indexed = ToPaletted(picture, 256);
  GifPicture gif;
  gif.screenWidth = picture.Width();
  gif.screenHeight = picture.Height();
  gif.palette = indexed.palette;
  GifFrame frame;
  frame.width = picture.Width();
  frame.height = picture.Height();
  frame.indices = std::move(indexed.indices);
  frame.interlaced = interlaced;
  gif.frames.push_back(std::move(frame));
  return gif;
}

// ---- JPEG ----

namespace {

struct TWriterError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void WriterErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TWriterError*>(cinfo->err)->jump, 1);
}

// Returns false on a libjpeg error; no C++ object lives in this frame.
bool CompressJpeg(const std::vector<JSAMPLE>& samples, int width, int height, int components,
                  J_COLOR_SPACE inSpace, const JpegOptions& options, std::string_view exif,
                  unsigned char** buffer, unsigned long* size) {
  jpeg_compress_struct cinfo;
  TWriterError error;
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = WriterErrorExit;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = inSpace;
  jpeg_set_defaults(&cinfo);
  if (options.color == JpegColor::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&cinfo);
  cinfo.restart_interval = static_cast<unsigned int>(options.restartInterval);
  jpeg_start_compress(&cinfo, TRUE);
  if (!exif.empty()) {
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                      static_cast<unsigned int>(exif.size()));
  }
  const std::size_t stride = static_cast<std::size_t>(width) * components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + stride * cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::string MakeJpeg(const Bitmap& picture, const JpegOptions& options) {
  return MakeJpegWithExif(picture, {}, options);
}

std::string MakeJpegWithExif(const Bitmap& picture, std::string_view exif,
                             const JpegOptions& options) {
  const int width = picture.Width();
  const int height = picture.Height();
  int components = 3;
  J_COLOR_SPACE space = JCS_RGB;
  if (options.color == JpegColor::Grey) components = 1, space = JCS_GRAYSCALE;
  if (options.color == JpegColor::Cmyk || options.color == JpegColor::Ycck) {
    components = 4, space = JCS_CMYK;
  }
  std::vector<JSAMPLE> samples(static_cast<std::size_t>(width) * height * components);
  std::size_t i = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < width; ++x) {
      const int b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
      if (components == 1) {
        samples[i++] = static_cast<JSAMPLE>((299 * r + 587 * g + 114 * b + 500) / 1000);
      } else if (components == 3) {
        samples[i++] = static_cast<JSAMPLE>(r);
        samples[i++] = static_cast<JSAMPLE>(g);
        samples[i++] = static_cast<JSAMPLE>(b);
      } else {
        // Inverted CMYK: a channel is its colour's share of the brightest one.
        const int k = std::max({r, g, b});
        auto share = [k](int v) { return k == 0 ? 255 : (v * 255 + k / 2) / k; };
        samples[i++] = static_cast<JSAMPLE>(share(r));
        samples[i++] = static_cast<JSAMPLE>(share(g));
        samples[i++] = static_cast<JSAMPLE>(share(b));
        samples[i++] = static_cast<JSAMPLE>(k);
      }
    }
  }
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok =
      CompressJpeg(samples, width, height, components, space, options, exif, &buffer, &size);
  std::string out;
  if (ok && buffer != nullptr) out.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  if (!ok) throw std::runtime_error("libjpeg could not write the picture");
  return out;
}

namespace {

void AppendExif16(std::string& out, std::uint32_t v, bool bigEndian) {
  if (bigEndian) {
    out.push_back(static_cast<char>((v >> 8) & 255));
    out.push_back(static_cast<char>(v & 255));
  } else {
    AppendUint16(out, v);
  }
}

void AppendExif32(std::string& out, std::uint32_t v, bool bigEndian) {
  if (bigEndian) {
    AppendBigEndian32(out, v);
  } else {
    AppendUint32(out, v);
  }
}

}  // namespace

std::string MakeExifBlock(const std::vector<ExifField>& ifd0, bool bigEndian,
                          std::uint32_t nextIfd) {
  std::string out("Exif\0\0", 6);
  out += bigEndian ? "MM" : "II";
  AppendExif16(out, 42, bigEndian);
  AppendExif32(out, 8, bigEndian);
  AppendExif16(out, static_cast<std::uint32_t>(ifd0.size()), bigEndian);
  for (const ExifField& field : ifd0) {
    AppendExif16(out, field.tag, bigEndian);
    AppendExif16(out, field.type, bigEndian);
    AppendExif32(out, field.count, bigEndian);
    if (field.type == kExifShort && field.count == 1) {
      AppendExif16(out, field.value, bigEndian);
      AppendExif16(out, 0, bigEndian);
    } else {
      AppendExif32(out, field.value, bigEndian);
    }
  }
  AppendExif32(out, nextIfd, bigEndian);
  return out;
}

std::string MakeExifOrientationBlock(int orientation, bool bigEndian) {
  return MakeExifBlock(
      {{kExifOrientationTag, kExifShort, 1, static_cast<std::uint32_t>(orientation)}}, bigEndian);
}

Bitmap MakeStoredQuadrants(int shownWidth, int shownHeight, int orientation) {
  // TIFF 6.0, Orientation: the shown side of stored row 0 and of stored
  // column 0 for each value.
  enum Side { Top, Bottom, Left, Right };
  struct Layout {
    Side row0, column0;
  };
  static constexpr Layout kLayouts[9] = {
      {Top, Left},                                     // (0 is no value: as 1)
      {Top, Left},     {Top, Right},    {Bottom, Right}, {Bottom, Left},
      {Left, Top},     {Right, Top},    {Right, Bottom}, {Left, Bottom}};
  const Layout layout = kLayouts[orientation >= 1 && orientation <= 8 ? orientation : 0];
  const bool sideways = layout.row0 == Left || layout.row0 == Right;
  const int width = sideways ? shownHeight : shownWidth;
  const int height = sideways ? shownWidth : shownHeight;
  Bitmap stored;
  if (!stored.Resize(width, height)) throw std::runtime_error("no memory for the picture");
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Where the centre of stored pixel (x, y) is shown, as fractions of
      // the shown width and height.
      const double across = (x + 0.5) / width;  // along stored row 0
      const double down = (y + 0.5) / height;   // along stored column 0
      double shownX, shownY;
      if (sideways) {
        shownX = layout.row0 == Left ? down : 1 - down;
        shownY = layout.column0 == Top ? across : 1 - across;
      } else {
        shownY = layout.row0 == Top ? down : 1 - down;
        shownX = layout.column0 == Left ? across : 1 - across;
      }
      const int quadrant = (shownY >= 0.5 ? 2 : 0) + (shownX >= 0.5 ? 1 : 0);
      stored.SetPixelColor(x, y, kQuadrantColors[quadrant]);
    }
  }
  return stored;
}

}  // namespace zelvora::test
