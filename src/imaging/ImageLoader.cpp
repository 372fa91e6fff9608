#include "imaging/ImageLoader.h"

#include <algorithm>
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

// Reads the whole file into bytes, reusing its memory.
bool ReadWholeFile(std::string_view path, std::string& bytes) {
  const std::filesystem::path file{std::string(path)};
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size > kMaxFileBytes) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.resize(static_cast<std::size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  // A file that shrank while being read is decoded as far as it goes.
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return true;
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
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return nullptr;
    return LoadImageFromMemory(ImageKindOfFile(path), bytes);
  } catch (...) {
    return nullptr;
  }
}

bool ReadImageFileInto(std::string_view path, std::string& bytes) {
  try {
    if (!IsImageFile(path) || !CanLoadImage(path)) return false;
    return ReadWholeFile(path, bytes);
  } catch (...) {
    return false;
  }
}

std::int64_t DecodingBytes(ImageKind kind, std::string_view bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  auto u16 = [&](std::size_t at) { return std::int64_t{b[at]} | std::int64_t{b[at + 1]} << 8; };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  switch (kind) {
    case ImageKind::JPEG:
      return imaging_detail::JpegDecodingBytes(bytes);
    case ImageKind::GIF:
      // The logical screen, and a byte per pixel of the frame's indices.
      return bytes.size() >= 10 ? u16(6) * u16(8) * 4 : 0;
    case ImageKind::BMP: {
      if (bytes.size() < 26) return 0;
      if (u32(14) == 12) return u16(18) * u16(20) * 3;
      std::int64_t height = u32(22);
      if (height >= 0x80000000LL) height = 0x100000000LL - height;  // top-down
      return u32(18) * height * 3;
    }
    default:
      return 0;  // icons are small
  }
}

bool DecodeImageInto(ImageKind kind, std::string_view bytes, Bitmap& picture) {
  try {
    // JPEG pictures are the large ones: they are decoded into the kept
    // bitmap. The other decoders make their own.
    if (kind == ImageKind::JPEG) {
      std::string exif;
      if (!imaging_detail::DecodeJpegInto(bytes, picture, &exif)) return false;
      if (!exif.empty()) ApplyOrientation(picture, ExifOrientationOf(exif));
      return true;
    }
    std::unique_ptr<Bitmap> decoded = LoadImageFromMemory(kind, bytes);
    if (!decoded) return false;
    // Copying a smaller picture keeps the larger memory for the next one.
    if (picture.Capacity() >= decoded->Pixels().size() &&
        picture.Reshape(decoded->Width(), decoded->Height())) {
      std::copy(decoded->Pixels().begin(), decoded->Pixels().end(), picture.Row(0));
    } else {
      picture = std::move(*decoded);
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool LoadImageFileInto(std::string_view path, TLoadBuffers& buffers) {
  return ReadImageFileInto(path, buffers.FileBytes) &&
         DecodeImageInto(ImageKindOfFile(path), buffers.FileBytes, buffers.Picture);
}

}  // namespace zelvora
