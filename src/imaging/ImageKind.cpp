#include "imaging/ImageKind.h"

#include <string>

#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

// The extension of the name only: a "." in a folder name is no extension.
std::string LowerExtension(std::string_view path) { return LowerCase(ExtensionOf(path)); }

}  // namespace

ImageKind ImageKindOfFile(std::string_view path) {
  const std::string ext = LowerExtension(path);
  if (ext == ".bmp") return ImageKind::BMP;
  if (ext == ".ico") return ImageKind::ICO;
  if (ext == ".gif") return ImageKind::GIF;
  if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") return ImageKind::JPEG;
  if (ext == ".png") return ImageKind::PNG;
  if (ext == ".pcx") return ImageKind::PCX;
  if (ext == ".tif" || ext == ".tiff") return ImageKind::TIFF;
  return ImageKind::Other;
}

bool CanLoadImage(std::string_view path) {
  switch (ImageKindOfFile(path)) {
    case ImageKind::BMP:
    case ImageKind::ICO:
    case ImageKind::GIF:
    case ImageKind::JPEG:
      return true;
    default:
      return false;
  }
}

bool IsImageFile(std::string_view path) {
  return CanLoadImage(path) || ImageKindOfFile(path) == ImageKind::TIFF;
}

bool IsWebCompatibleImage(std::string_view path) {
  switch (ImageKindOfFile(path)) {
    case ImageKind::GIF:
    case ImageKind::JPEG:
    case ImageKind::PNG:
      return true;
    default:
      return false;
  }
}

}  // namespace zelvora
