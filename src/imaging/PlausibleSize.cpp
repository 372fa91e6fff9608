#include "imaging/PlausibleSize.h"

namespace zelvora::imaging_detail {

bool PlausibleSize(std::int64_t width, std::int64_t height, std::size_t fileBytes,
                   std::int64_t pixelsPerByte) {
  if (width <= 0 || height <= 0) return false;
  // Both sides fit 32 bits in every caller, so the product cannot wrap.
  const std::int64_t pixels = width * height;
  if (pixels <= kFreePixels) return true;
  return pixels / pixelsPerByte <= static_cast<std::int64_t>(fileBytes);
}

}  // namespace zelvora::imaging_detail
