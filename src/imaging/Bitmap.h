#pragma once
// A decoded picture: width x height pixels of 24 bits, each row stored as
// blue, green, red bytes, rows top to bottom without padding.

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace zelvora {

// Leaves new elements uninitialised: a decoder writes every byte anyway, and
// zeroing a picture's worth of memory first costs a pass over it.
template <typename T>
struct TUninitAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = TUninitAllocator<U>;
  };
  TUninitAllocator() = default;
  template <typename U>
  TUninitAllocator(const TUninitAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

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
  // Resizes to width x height keeping the memory it already has where that
  // suffices; the pixels are left undefined for the caller to write. For
  // decoding one picture after another into the same bitmap.
  bool Reshape(int width, int height);
  // Gives the memory back when it holds more than maxBytes.
  void Trim(std::size_t maxBytes);

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

  using TPixels = std::vector<std::uint8_t, TUninitAllocator<std::uint8_t>>;
  const TPixels& Pixels() const { return pixels_; }
  // Bytes held, whether in use or kept for reuse.
  std::size_t Capacity() const { return pixels_.capacity(); }

 private:
  int width_ = 0;
  int height_ = 0;
  TPixels pixels_;
};

}  // namespace zelvora
