// Gallery options files: read, written back, read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gallery/GallerySet.h"
#include "util/TextUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zelvora::TGallerySet options;
  options.LoadFromStrings(zelvora::SplitLines(text), "/gallery/");
  options.GetDisabledLinkColor();
  options.GetShadowColor();
  std::string saved;
  if (options.SaveToText(saved)) {
    zelvora::TGallerySet again;
    again.LoadFromStrings(zelvora::SplitLines(saved), "/gallery/");
  }
  return 0;
}
