#include "imaging/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/Colors.h"
#include "imaging/PlausibleSize.h"

namespace zelvora::imaging_detail {
namespace {

struct TGifInput {
  const char* data;
  std::size_t size;
  std::size_t position;
};

int ReadInput(GifFileType* gif, GifByteType* buffer, int length) {
  auto* input = static_cast<TGifInput*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t count =
      std::min(static_cast<std::size_t>(length), input->size - input->position);
  std::memcpy(buffer, input->data + input->position, count);
  input->position += count;
  return static_cast<int>(count);
}

// Closes the file on every way out.
struct TGifCloser {
  GifFileType* gif;
  ~TGifCloser() {
    int error = 0;
    if (gif != nullptr) DGifCloseFile(gif, &error);
  }
};

// Row of the picture for the n-th row in the file.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

std::unique_ptr<Bitmap> DecodeFirstImage(GifFileType* gif, std::size_t fileBytes) {
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) != GIF_OK) return nullptr;
    if (type == TERMINATE_RECORD_TYPE) return nullptr;  // no image at all
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) != GIF_OK) return nullptr;
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        transparent = (block[1] & 1) ? block[4] : -1;
      }
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return nullptr;
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) return nullptr;
    if (DGifGetImageDesc(gif) != GIF_OK) return nullptr;
    break;
  }

  const GifImageDesc& image = gif->Image;
  const int width = image.Width;
  const int height = image.Height;
  if (width <= 0 || height <= 0 || image.Left < 0 || image.Top < 0) return nullptr;
  const std::int64_t right = static_cast<std::int64_t>(image.Left) + width;
  const std::int64_t bottom = static_cast<std::int64_t>(image.Top) + height;
  const std::int64_t screenWidth = std::max<std::int64_t>(gif->SWidth, right);
  const std::int64_t screenHeight = std::max<std::int64_t>(gif->SHeight, bottom);
  if (screenWidth * screenHeight > Bitmap::kMaxPixels) return nullptr;
  if (!PlausibleGifSize(screenWidth, screenHeight, fileBytes)) return nullptr;

  // The indices grow with the rows actually decoded, so a tiny file that
  // claims a huge image fails before it costs the memory it claims.
  std::vector<GifPixelType> indices;
  const std::size_t rowBytes = static_cast<std::size_t>(width);
  for (int row = 0; row < height; ++row) {
    indices.resize(rowBytes * (row + 1));
    if (DGifGetLine(gif, indices.data() + rowBytes * row, width) != GIF_OK) return nullptr;
  }

  const ColorMapObject* map = image.ColorMap != nullptr ? image.ColorMap : gif->SColorMap;
  TColor palette[256];
  for (int i = 0; i < 256; ++i) {
    // Without a colour table the indices are taken as grey levels.
    palette[i] = MakeColor(i, i, i);
    if (map != nullptr) {
      palette[i] = i < map->ColorCount
                       ? MakeColor(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue)
                       : kColorBlack;
    }
  }
  if (transparent >= 0) palette[transparent] = kColorWhite;

  auto bitmap = Bitmap::Create(static_cast<int>(screenWidth), static_cast<int>(screenHeight));
  if (!bitmap) return nullptr;
  std::memset(bitmap->Row(0), 0xFF, bitmap->Pixels().size());
  const std::vector<int> order = RowOrder(height, image.Interlace);
  for (int row = 0; row < height; ++row) {
    const GifPixelType* src = indices.data() + rowBytes * row;
    std::uint8_t* dst =
        bitmap->Row(image.Top + order[row]) + static_cast<std::size_t>(image.Left) * 3;
    for (int x = 0; x < width; ++x) {
      const TColor c = palette[src[x]];
      dst[3 * x] = static_cast<std::uint8_t>(BlueOf(c));
      dst[3 * x + 1] = static_cast<std::uint8_t>(GreenOf(c));
      dst[3 * x + 2] = static_cast<std::uint8_t>(RedOf(c));
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<Bitmap> DecodeGif(std::string_view bytes) {
  TGifInput input{bytes.data(), bytes.size(), 0};
  int error = 0;
  TGifCloser closer{DGifOpen(&input, ReadInput, &error)};
  if (closer.gif == nullptr) return nullptr;
  try {
    return DecodeFirstImage(closer.gif, bytes.size());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace zelvora::imaging_detail
