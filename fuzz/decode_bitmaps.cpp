// BMP, ICO and GIF decoding from memory. The file's first bytes choose the
// decoder, so one corpus serves all three; anything else goes to each.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "imaging/ImageLoader.h"

using zelvora::ImageKind;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.starts_with("BM")) {
    zelvora::LoadImageFromMemory(ImageKind::BMP, bytes);
  } else if (bytes.starts_with("GIF")) {
    zelvora::LoadImageFromMemory(ImageKind::GIF, bytes);
  } else if (bytes.starts_with(std::string_view("\0\0", 2))) {
    zelvora::LoadImageFromMemory(ImageKind::ICO, bytes);
  } else {
    for (ImageKind kind : {ImageKind::BMP, ImageKind::ICO, ImageKind::GIF})
      zelvora::LoadImageFromMemory(kind, bytes);
  }
  return 0;
}
