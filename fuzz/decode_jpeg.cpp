// JPEG decoding from memory: damaged, truncated and hostile files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "imaging/ImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zelvora::LoadImageFromMemory(zelvora::ImageKind::JPEG, bytes);
  return 0;
}
