// Imaging throughput on a 4000 x 3000 photo-like picture: decode, the two
// resamplers and the JPEG writer. Figures are source megapixels per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/ImageLoader.h"
#include "imaging/JpegWriter.h"
#include "imaging/Resample.h"

namespace zelvora {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth gradients with some texture, so the encoder has photo-like work.
const Bitmap& Photo() {
  static const Bitmap photo = [] {
    Bitmap bitmap;
    bitmap.Resize(kWidth, kHeight);
    unsigned noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
      std::uint8_t* row = bitmap.Row(y);
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1103515245u + 12345u;
        const int grain = static_cast<int>((noise >> 16) & 15) - 8;
        const double wave = std::sin(x * 0.01) * std::cos(y * 0.013);
        auto channel = [&](double base) {
          return static_cast<std::uint8_t>(std::clamp(base + grain, 0.0, 255.0));
        };
        row[3 * x] = channel(128 + 100 * wave);
        row[3 * x + 1] = channel(255.0 * y / kHeight);
        row[3 * x + 2] = channel(255.0 * x / kWidth);
      }
    }
    return bitmap;
  }();
  return photo;
}

std::string PhotoFile() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() / "zelvora-bench-photo.jpg";
    SaveBitmapAsJPEG(&Photo(), file.string(), 90, false, false);
    return file.string();
  }();
  return path;
}

void SetRate(benchmark::State& state, double pixels) {
  state.counters["MP/s"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()) / 1e6,
                                              benchmark::Counter::kIsRate);
}

void BM_DecodeJPEG(benchmark::State& state) {
  const std::string path = PhotoFile();
  for (auto _ : state) {
    auto bitmap = LoadImageFile(path);
    if (!bitmap) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(bitmap);
  }
  SetRate(state, double{kWidth} * kHeight);
}

void BM_ResampleFastThumbnail(benchmark::State& state) {
  const Bitmap& photo = Photo();
  Bitmap target;
  for (auto _ : state) {
    if (!ResampleFast(&photo, &target, 100, 75, false)) state.SkipWithError("resample failed");
    benchmark::DoNotOptimize(target.Pixels().data());
  }
  SetRate(state, double{kWidth} * kHeight);
}

void BM_ResampleExactReduce(benchmark::State& state) {
  const Bitmap& photo = Photo();
  Bitmap target;
  for (auto _ : state) {
    if (!ResampleExact(&photo, &target, 640, 480)) state.SkipWithError("resample failed");
    benchmark::DoNotOptimize(target.Pixels().data());
  }
  SetRate(state, double{kWidth} * kHeight);
}

// Encodes the picture the run would write: the thumbnail or the reduced copy.
void BM_SaveJPEG(benchmark::State& state, int width, int height) {
  const Bitmap& photo = Photo();
  Bitmap picture;
  if (width == kWidth) {
    picture = photo;
  } else {
    ResampleExact(&photo, &picture, width, height);
  }
  const auto path = (std::filesystem::temp_directory_path() / "zelvora-bench-out.jpg").string();
  for (auto _ : state) {
    if (!SaveBitmapAsJPEG(&picture, path, 75, false, false)) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
  SetRate(state, static_cast<double>(width) * height);
}

BENCHMARK(BM_DecodeJPEG)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleFastThumbnail)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleExactReduce)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveJPEG, thumbnail_100x75, 100, 75)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveJPEG, reduced_640x480, 640, 480)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveJPEG, full_4000x3000, kWidth, kHeight)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelvora
