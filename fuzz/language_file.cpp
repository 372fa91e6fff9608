// Language files: parsed and applied to the interface texts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "texts/InterfaceTexts.h"
#include "texts/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zelvora::TLanguageFile file = zelvora::ParseLanguageText(text);
  zelvora::ApplyInterfaceTexts(file);
  zelvora::ResetInterfaceTexts();
  return 0;
}
