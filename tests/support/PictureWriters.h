#pragma once
// Picture files made at run time, so tests never depend on committed samples.
// Every maker returns the file's bytes; write them with TempDir::Write.
// The makers throw std::runtime_error when asked for something they cannot
// write (too many colours for a palette, a library error).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Colors.h"

namespace zelvora::test {

// ---- patterns ----

// A picture of at most `colours` distinct colours (1..256) in which most
// neighbouring pixels differ, so a misplaced row or column shows up.
Bitmap MakeTestPattern(int width, int height, int colours = 256);
// The colours MakeTestPattern draws from, in the order it uses them.
TColor TestPatternColor(int index);
// Smooth gradients with some fine detail and a little noise, like a photo;
// for benchmarks and lossy round trips.
Bitmap MakePhotoLikePicture(int width, int height, unsigned seed = 1);
// True when every pixel of a and b is equal (and the sizes are).
bool SamePixels(const Bitmap& a, const Bitmap& b);
// The largest difference of one channel between two pictures of one size;
// 256 when the sizes differ.
int MaxChannelDifference(const Bitmap& a, const Bitmap& b);

// ---- BMP ----

enum class BmpHeader { Core, Info, V4, V5 };

struct BmpOptions {
  int bitsPerPixel = 24;  // 1, 4, 8, 16, 24 or 32
  bool rle = false;       // RLE8 at 8 bits, RLE4 at 4 bits
  bool topDown = false;   // a negative height (not with the core header)
  BmpHeader header = BmpHeader::Info;
  bool bitFields = false;  // BI_BITFIELDS at 16 and 32 bits
  // Masks used with bitFields; all 0 means 5-6-5 at 16 bits, 8-8-8 at 32.
  std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

// The picture as a BMP. Paletted depths take their palette from the
// picture's own colours (too many throws); 16 bits keeps the top bits of
// each channel.
std::string MakeBmp(const Bitmap& picture, const BmpOptions& options = {});

// A BMP with an info header around hand-made pixel data, for RLE streams
// and damaged runs. A negative height is top-down.
std::string MakeBmpWithData(int width, int height, int bitsPerPixel, std::uint32_t compression,
                            const std::vector<TColor>& palette, std::string_view pixelData);

// BMP compression codes.
inline constexpr std::uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3;

// Offsets of header fields in a BMP with an info (or larger) header, for
// corrupting them.
inline constexpr std::size_t kBmpOffBitsOffset = 10, kBmpHeaderSizeOffset = 14,
                             kBmpWidthOffset = 18, kBmpHeightOffset = 22,
                             kBmpBitCountOffset = 28, kBmpCompressionOffset = 30,
                             kBmpColorsUsedOffset = 46;

// Little-endian field patching for damaged variants.
void PutUint16(std::string& bytes, std::size_t offset, std::uint16_t value);
void PutUint32(std::string& bytes, std::size_t offset, std::uint32_t value);

// ---- ICO ----

struct IcoImage {
  Bitmap picture;
  // The AND mask, row by row from the top: true where the desktop shows
  // through. Empty means opaque.
  std::vector<bool> transparent;
  int bitsPerPixel = 24;  // 1, 4, 8, 24 or 32; 32 also writes alpha (0 where transparent)
  // Stored as PNG: only the signature and an IHDR chunk, since such entries
  // are skipped rather than decoded.
  bool png = false;
};

std::string MakeIco(const std::vector<IcoImage>& images);

// ---- GIF (written with giflib's encoder) ----

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> indices;  // width * height, rows top to bottom
  std::vector<TColor> palette;        // local colour table; empty uses the global one
  bool interlaced = false;            // rows are stored in interlaced order
  int transparentIndex = -1;          // >= 0 writes a graphics control extension
  int delayCentiseconds = 0;
};

struct GifPicture {
  int screenWidth = 0, screenHeight = 0;
  std::vector<TColor> palette;  // global colour table; may be empty
  int backgroundIndex = 0;
  std::vector<GifFrame> frames;
};

std::string MakeGif(const GifPicture& picture);
// One frame covering the screen with a global palette made of the picture's
// colours (more than 256 throws).
GifPicture GifFromBitmap(const Bitmap& picture, bool interlaced = false);

// ---- JPEG (written with libjpeg) ----

enum class JpegColor { Color, Grey, Cmyk, Ycck };

struct JpegOptions {
  int quality = 90;
  bool progressive = false;
  JpegColor color = JpegColor::Color;
  int restartInterval = 0;  // in MCUs; 0 writes no restart markers
};

// Cmyk and Ycck are written the way Adobe's programs write them: inverted
// values with an Adobe marker, K = the darkness shared by all channels.
std::string MakeJpeg(const Bitmap& picture, const JpegOptions& options = {});

}  // namespace zelvora::test
