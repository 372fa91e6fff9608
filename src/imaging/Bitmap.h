#pragma once
// A decoded picture: width x height pixels of 24 bits, each row stored as
// blue, green, red bytes, rows top to bottom without padding.

#include <cstdint>
#include <memory>
#include <vector>

namespace zelvora {

class Bitmap {
 public:
  // The largest picture any loader or resampler will allocate.
  static constexpr std::int64_t kMaxPixels = 300'000'000;

  Bitmap() = default;

  // A black width x height bitmap, or nullptr when a side is negative, the
  // size exceeds kMaxPixels, or the memory cannot be had.
  static std::unique_ptr<Bitmap> Create(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  std::size_t Stride() const { return static_cast<std::size_t>(width_) * 3; }

  // Resizes to width x height, black; false (and unchanged) when refused.
  bool Resize(int width, int height);

  std::uint8_t* Row(int y) { return pixels_.data() + Stride() * static_cast<std::size_t>(y); }
  const std::uint8_t* Row(int y) const {
    return pixels_.data() + Stride() * static_cast<std::size_t>(y);
  }

  // Colour values are 0x00BBGGRR, as everywhere in the program.
  std::uint32_t PixelColor(int x, int y) const;
  void SetPixelColor(int x, int y, std::uint32_t color);
  void Fill(std::uint32_t color);
  // Fills the rectangle [left, right) x [top, bottom), clipped to the bitmap.
  void FillRect(int left, int top, int right, int bottom, std::uint32_t color);
  // Copies source with its top-left corner at (x, y), clipped.
  void Draw(const Bitmap& source, int x, int y);

  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace zelvora
