#pragma once
// Decoding picture files (BMP, ICO, JPEG, GIF) into a Bitmap.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/Bitmap.h"
#include "imaging/ImageKind.h"

namespace zelvora {

// The picture of a file, owned by the caller; nullptr when the path is no
// image file (IsImageFile), does not exist, is of a kind without a decoder
// (TIFF) or cannot be decoded. Nothing is reported to the user.
std::unique_ptr<Bitmap> LoadImageFile(std::string_view path);

// What loading keeps from one picture to the next, so that a run over many
// pictures takes no fresh picture-sized memory for each.
struct TLoadBuffers {
  std::string FileBytes;
  Bitmap Picture;
};

// LoadImageFile into buffers.Picture; false where LoadImageFile gives
// nullptr (the picture's contents are then undefined).
bool LoadImageFileInto(std::string_view path, TLoadBuffers& buffers);

// The same in two steps, for a caller that wants to know the memory a
// picture will take before it decodes it: the file's bytes (false when the
// path is no loadable picture or cannot be read), then the decoded picture.
bool ReadImageFileInto(std::string_view path, std::string& bytes);
bool DecodeImageInto(ImageKind kind, std::string_view bytes, Bitmap& picture);

// About the bytes decoding will take, from the header alone; 0 when the
// header cannot tell. Only a guide for sharing memory between pictures: the
// decoders keep their own limits.
std::int64_t DecodingBytes(ImageKind kind, std::string_view bytes);

// The same for a file's bytes already in memory, of the given kind.
//  - BMP: 1, 4, 8, 16, 24 and 32 bits, RLE4 and RLE8, bit-field masks,
//    core, info, V4 and V5 headers, bottom-up and top-down. A damaged RLE
//    stream gives the picture decoded so far.
//  - ICO: the largest entry stored as a bitmap, drawn over white with its
//    AND mask (or its alpha channel). Entries stored as PNG are skipped.
//  - JPEG: any colour space, as 24-bit colour, turned or mirrored as its
//    EXIF Orientation tag says (so a portrait stored sideways comes out
//    upright, as browsers show it; a damaged or missing EXIF block means
//    "as stored"). A damaged file whose header gave a size gives a white
//    picture of that size with the rows decoded before the damage.
//  - GIF: the first image, placed on its logical screen; transparent pixels
//    and the uncovered screen are white.
// A picture that declares more than Bitmap::kMaxPixels pixels is refused
// before anything of that size is allocated.
std::unique_ptr<Bitmap> LoadImageFromMemory(ImageKind kind, std::string_view bytes);

}  // namespace zelvora
