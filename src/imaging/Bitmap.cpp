#include "imaging/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zelvora {

std::unique_ptr<Bitmap> Bitmap::Create(int width, int height) {
  auto bitmap = std::make_unique<Bitmap>();
  if (!bitmap->Resize(width, height)) return nullptr;
  return bitmap;
}

bool Bitmap::Resize(int width, int height) {
  if (width < 0 || height < 0) return false;
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  if (pixels > kMaxPixels) return false;
  try {
    TPixels fresh(static_cast<std::size_t>(pixels) * 3, 0);
    pixels_.swap(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

bool Bitmap::Reshape(int width, int height) {
  if (width < 0 || height < 0) return false;
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  if (pixels > kMaxPixels) return false;
  const std::size_t bytes = static_cast<std::size_t>(pixels) * 3;
  try {
    if (bytes > pixels_.capacity()) {
      // Nothing of the old picture is kept; let go of it before taking more.
      TPixels().swap(pixels_);
      pixels_.reserve(bytes);
    }
    pixels_.resize(bytes);
  } catch (const std::bad_alloc&) {
    TPixels().swap(pixels_);
    width_ = height_ = 0;
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

void Bitmap::Trim(std::size_t maxBytes) {
  if (pixels_.capacity() <= maxBytes) return;
  TPixels().swap(pixels_);
  width_ = height_ = 0;
}

std::uint32_t Bitmap::PixelColor(int x, int y) const {
  const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  return static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[0]) << 16);
}

void Bitmap::SetPixelColor(int x, int y, std::uint32_t color) {
  std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  p[0] = static_cast<std::uint8_t>(color >> 16);
  p[1] = static_cast<std::uint8_t>(color >> 8);
  p[2] = static_cast<std::uint8_t>(color);
}

void Bitmap::Fill(std::uint32_t color) { FillRect(0, 0, width_, height_, color); }

void Bitmap::FillRect(int left, int top, int right, int bottom, std::uint32_t color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) SetPixelColor(x, y, color);
  }
}

void Bitmap::Draw(const Bitmap& source, int x, int y) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + source.Width(), width_);
  const int bottom = std::min(y + source.Height(), height_);
  if (left >= right || top >= bottom) return;
  const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
  for (int row = top; row < bottom; ++row) {
    std::memcpy(Row(row) + static_cast<std::size_t>(left) * 3,
                source.Row(row - y) + static_cast<std::size_t>(left - x) * 3, bytes);
  }
}

}  // namespace zelvora
