// The HTML and URL helpers on any text: escaping, encoding, decoding,
// relative folder URLs and picture URLs in both path styles. A name may
// never come out as a link with a scheme.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "html/HtmlHelpers.h"

using namespace zelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Two texts: before and after the first line break.
  const std::size_t split = text.find('\n');
  const std::string_view a = text.substr(0, split);
  const std::string_view b = split == std::string_view::npos ? "" : text.substr(split + 1);

  HTMLEscape(text);
  for (std::string_view set : {URLPathChars(), URLNameChars(), URLAddressChars()}) {
    const std::string encoded = URLEncode(text, set);
    if (URLDecode(encoded) != text) std::abort();  // encoding must round-trip
  }
  URLDecode(text);
  KeepRelative(std::string(text));
  for (PathStyle style : {PathStyle::Posix, PathStyle::Windows}) {
    RelativeFolderURL(a, b, style);
    TGallerySet options;
    options.OutputFolder = std::string(a);
    TImageGalleryItem entry;
    entry.FileName = std::string(b);
    entry.ImageName = FileNameOf(b, style);
    entry.Number = 1;
    for (bool keep : {false, true}) {
      options.KeepLocationOfImages = keep;
      const std::string url = URLEncode(PictureURL(entry, options, style), URLPathChars());
      const std::string first = url.substr(0, url.find('/'));
      if (first.find(':') != std::string::npos && !url.starts_with("file:///")) std::abort();
      PictureLink(entry, options, style);
    }
  }
  MakeCustomBlock(text, false, "Verdana");
  FileSizeText(static_cast<std::int64_t>(size) * 1021);
  return 0;
}
