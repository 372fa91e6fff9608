#pragma once
// Whether a file can plausibly hold the picture its header claims. A few
// bytes may declare any size up to the loader's limit, and some formats
// cost that size in memory and time before the data is found missing (a
// progressive JPEG buffers all its coefficients, a GIF its whole logical
// screen, an RLE bitmap its whole canvas). Each format's ratio lies well
// above what its coding reaches even on a blank picture, so every real
// picture passes; below kFreePixels every claim passes. Private to
// src/imaging.

#include <cstddef>
#include <cstdint>

namespace zelvora::imaging_detail {

// Pictures this small are cheap whatever their file holds.
inline constexpr std::int64_t kFreePixels = 4'000'000;

// Huffman-coded JPEG spends at least one bit per 8 x 8 block and
// component: at most 512 pixels per byte; 1024 leaves room.
inline constexpr std::int64_t kJpegPixelsPerByte = 1024;
// LZW codes grow to 4096 pixels per 12 bits: at most about 2730 per byte.
inline constexpr std::int64_t kGifPixelsPerByte = 4096;
// An RLE run covers at most 255 pixels in two bytes; skips cover more, but
// a picture made mostly of skipped pixels is not a photograph.
inline constexpr std::int64_t kRlePixelsPerByte = 256;

// True when width x height pixels may come from fileBytes bytes at no more
// than pixelsPerByte pixels per byte, or the picture is small anyway.
bool PlausibleSize(std::int64_t width, std::int64_t height, std::size_t fileBytes,
                   std::int64_t pixelsPerByte);

inline bool PlausibleJpegSize(std::int64_t width, std::int64_t height, std::size_t fileBytes) {
  return PlausibleSize(width, height, fileBytes, kJpegPixelsPerByte);
}
// For a GIF the logical screen counts: the whole screen is allocated.
inline bool PlausibleGifSize(std::int64_t width, std::int64_t height, std::size_t fileBytes) {
  return PlausibleSize(width, height, fileBytes, kGifPixelsPerByte);
}
// fileBytes: the bytes of the RLE stream.
inline bool PlausibleRleBmpSize(std::int64_t width, std::int64_t height, std::size_t fileBytes) {
  return PlausibleSize(width, height, fileBytes, kRlePixelsPerByte);
}

}  // namespace zelvora::imaging_detail
