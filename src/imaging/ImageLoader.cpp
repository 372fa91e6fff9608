#include "imaging/ImageLoader.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "imaging/BmpDecoder.h"
#include "imaging/ExifOrientation.h"
#include "imaging/GifDecoder.h"
#include "imaging/IcoDecoder.h"
#include "imaging/JpegDecoder.h"

namespace zelvora {
namespace {

// No picture within the pixel limit needs a larger file (a 32-bit BMP of
// kMaxPixels, with room for headers); larger files are refused unread.
constexpr std::uintmax_t kMaxFileBytes =
    static_cast<std::uintmax_t>(Bitmap::kMaxPixels) * 4 + 64 * 1024 * 1024;

std::optional<std::string> ReadWholeFile(std::string_view path) {
  const std::filesystem::path file{std::string(path)};
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size > kMaxFileBytes) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  // A file that shrank while being read is decoded as far as it goes.
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// A JPEG as it is meant to be seen: turned or mirrored by its EXIF
// Orientation, as browsers show it. A block that gives no orientation, or
// no memory for the turned copy, leaves the picture as stored.
std::unique_ptr<Bitmap> DecodeJpegUpright(std::string_view bytes) {
  std::string exif;
  std::unique_ptr<Bitmap> bitmap = imaging_detail::DecodeJpeg(bytes, &exif);
  if (bitmap && !exif.empty()) ApplyOrientation(*bitmap, ExifOrientationOf(exif));
  return bitmap;
}

}  // namespace

std::unique_ptr<Bitmap> LoadImageFromMemory(ImageKind kind, std::string_view bytes) {
  try {
    switch (kind) {
      case ImageKind::BMP:
        return imaging_detail::DecodeBmp(bytes);
      case ImageKind::ICO:
        return imaging_detail::DecodeIco(bytes);
      case ImageKind::JPEG:
        return DecodeJpegUpright(bytes);
      case ImageKind::GIF:
        return imaging_detail::DecodeGif(bytes);
      default:
        return nullptr;  // TIFF and the rest have no decoder
    }
  } catch (...) {
    return nullptr;
  }
}

std::unique_ptr<Bitmap> LoadImageFile(std::string_view path) {
  try {
    if (!IsImageFile(path) || !CanLoadImage(path)) return nullptr;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return nullptr;
    return LoadImageFromMemory(ImageKindOfFile(path), *bytes);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace zelvora
