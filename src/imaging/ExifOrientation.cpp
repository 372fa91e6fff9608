#include "imaging/ExifOrientation.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace zelvora {
namespace {

constexpr int kAsStored = 1;

// libexif reads the whole block (every IFD, maker notes) and checks every
// offset against its end; what it cannot make sense of it leaves out, so a
// damaged block simply has no tag.
int OrientationIn(ExifData* data, ExifIfd ifd) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], EXIF_TAG_ORIENTATION);
  if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components != 1 ||
      entry->data == nullptr || entry->size < 2)
    return 0;
  const int value = exif_get_short(entry->data, exif_data_get_byte_order(data));
  return value >= 1 && value <= 8 ? value : 0;
}

// Pixel (x, y) of source lands at (x', y') = (f(y), g(x)) in the turned
// bitmap: rows become columns, optionally counted from the other end. Tiles
// keep the rows read and the rows written in the cache.
void Transpose(const Bitmap& source, Bitmap& target, bool flipColumns, bool flipRows) {
  constexpr int kTile = 32;
  const int width = source.Width();
  const int height = source.Height();
  for (int y0 = 0; y0 < height; y0 += kTile) {
    const int y1 = std::min(y0 + kTile, height);
    for (int x0 = 0; x0 < width; x0 += kTile) {
      const int x1 = std::min(x0 + kTile, width);
      for (int x = x0; x < x1; ++x) {
        std::uint8_t* row = target.Row(flipRows ? width - 1 - x : x);
        for (int y = y0; y < y1; ++y) {
          const std::uint8_t* in = source.Row(y) + static_cast<std::size_t>(x) * 3;
          std::uint8_t* out = row + static_cast<std::size_t>(flipColumns ? height - 1 - y : y) * 3;
          out[0] = in[0];
          out[1] = in[1];
          out[2] = in[2];
        }
      }
    }
  }
}

void MirrorRow(std::uint8_t* row, int width) {
  for (int left = 0, right = width - 1; left < right; ++left, --right) {
    std::swap_ranges(row + static_cast<std::size_t>(left) * 3,
                     row + static_cast<std::size_t>(left) * 3 + 3,
                     row + static_cast<std::size_t>(right) * 3);
  }
}

void SwapRows(Bitmap& bitmap, int a, int b) {
  std::swap_ranges(bitmap.Row(a), bitmap.Row(a) + bitmap.Stride(), bitmap.Row(b));
}

}  // namespace

int ExifOrientationOf(std::string_view app1) {
  // libexif takes an unsigned int size; an APP1 marker holds at most 64 KB.
  if (app1.size() < 6 || app1.size() > 0xFFFF || std::memcmp(app1.data(), "Exif\0\0", 6) != 0)
    return kAsStored;
  ExifData* data = exif_data_new();
  if (data == nullptr) return kAsStored;
  // Read the block as it is: no tags made up to follow the standard.
  exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  // Keeps an Orientation where the standard has none (the Exif IFD), since
  // browsers honour it there too.
  exif_data_unset_option(data, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
  exif_data_load_data(data, reinterpret_cast<const unsigned char*>(app1.data()),
                      static_cast<unsigned int>(app1.size()));
  int orientation = OrientationIn(data, EXIF_IFD_0);
  if (orientation == 0) orientation = OrientationIn(data, EXIF_IFD_EXIF);
  exif_data_unref(data);
  return orientation == 0 ? kAsStored : orientation;
}

bool ApplyOrientation(Bitmap& bitmap, int orientation) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  switch (orientation) {
    case 2:
      for (int y = 0; y < height; ++y) MirrorRow(bitmap.Row(y), width);
      return true;
    case 3:
      for (int y = 0; y < height; ++y) MirrorRow(bitmap.Row(y), width);
      [[fallthrough]];
    case 4:
      for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        SwapRows(bitmap, top, bottom);
      return true;
    case 5:
    case 6:
    case 7:
    case 8: {
      auto turned = Bitmap::Create(height, width);
      if (!turned) return false;
      Transpose(bitmap, *turned, orientation == 6 || orientation == 7,
                orientation == 7 || orientation == 8);
      bitmap = std::move(*turned);
      return true;
    }
    default:
      return true;
  }
}

}  // namespace zelvora
