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
// The same with an APP1 marker after the JFIF header holding exif: an EXIF
// block from "Exif\0\0" on (MakeExifBlock), or any damaged bytes.
std::string MakeJpegWithExif(const Bitmap& picture, std::string_view exif,
                             const JpegOptions& options = {});

// ---- EXIF ----

// One field of an IFD: tag, TIFF type (3 SHORT, 4 LONG, ...), count and the
// 4-byte value field. A single SHORT is left-justified in the field, as
// TIFF stores it.
struct ExifField {
  std::uint16_t tag = 0;
  std::uint16_t type = 3;
  std::uint32_t count = 1;
  std::uint32_t value = 0;
};

inline constexpr std::uint16_t kExifOrientationTag = 0x0112;
inline constexpr std::uint16_t kExifIfdPointerTag = 0x8769;
inline constexpr std::uint16_t kExifShort = 3, kExifLong = 4;

// Where things sit in a block made by MakeExifBlock: the TIFF header after
// "Exif\0\0" (offsets inside the block count from here), its IFD0 offset
// field, and IFD0 itself (at TIFF offset 8).
inline constexpr std::size_t kExifTiffStart = 6, kExifIfd0OffsetField = 10, kExifIfd0 = 14;
// The block offset of IFD0's next-IFD field when IFD0 holds n fields.
constexpr std::size_t ExifNextIfdField(std::size_t n) { return kExifIfd0 + 2 + 12 * n; }

// An EXIF block (what an APP1 marker holds, from "Exif\0\0" on) whose IFD0
// holds the fields in order and links to nextIfd (a TIFF offset; 0 ends the
// chain), in Intel or Motorola byte order.
std::string MakeExifBlock(const std::vector<ExifField>& ifd0, bool bigEndian = false,
                          std::uint32_t nextIfd = 0);
// A block whose IFD0 holds only the Orientation tag with this value.
std::string MakeExifOrientationBlock(int orientation, bool bigEndian = false);

// The colours of a quadrant picture as a viewer sees it: top left red, top
// right green, bottom left blue, bottom right yellow.
inline constexpr TColor kQuadrantColors[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

// The picture a camera stores for a shownWidth x shownHeight quadrant picture
// when it writes EXIF orientation o: for 5 to 8 it is shownHeight wide and
// shownWidth high. Laid out from the TIFF definition of each value (which
// side of the picture the stored row 0 and column 0 are shown on), not by
// turning a bitmap, so the loader's turns are checked against something of
// their own.
Bitmap MakeStoredQuadrants(int shownWidth, int shownHeight, int orientation);

}  // namespace zelvora::test
