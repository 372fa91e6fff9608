#pragma once
// Telling image files apart by their extension alone; contents are never sniffed.

#include <string_view>

namespace zelvora {

enum class ImageKind { BMP, ICO, GIF, JPEG, PNG, PCX, TIFF, Other };

ImageKind ImageKindOfFile(std::string_view path);
// BMP, ICO, JPEG and GIF: the kinds this program decodes.
bool CanLoadImage(std::string_view path);
// The kinds an image list accepts: the loadable ones plus TIFF; never PNG.
bool IsImageFile(std::string_view path);
// What browsers show as they are: GIF, JPEG and PNG.
bool IsWebCompatibleImage(std::string_view path);

}  // namespace zelvora
