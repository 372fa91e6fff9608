// Name masks: the first line is the mask, the rest the picture's path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "html/HtmlHelpers.h"
#include "html/NameMask.h"
#include "util/PathUtils.h"

using namespace zelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t split = text.find('\n');
  const std::string_view mask = text.substr(0, split);
  const std::string_view path = split == std::string_view::npos ? "" : text.substr(split + 1);
  for (PathStyle style : {PathStyle::Posix, PathStyle::Windows}) {
    TFileNameParams params;
    params.number = static_cast<std::int32_t>(size * 7919);
    params.fileName = FileNameOf(path, style);
    params.folder = FolderOf(path, style);
    params.fileDate = static_cast<double>(size) * 37.25;
    ExpandNameMask(mask, params, style);
    ExpandLinkMask(mask, params);
  }
  return 0;
}
