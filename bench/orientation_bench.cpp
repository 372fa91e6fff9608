// Turning a 4000 x 3000 photo upright by its EXIF orientation, the work a
// sideways portrait adds to its load. Figures are megapixels per second.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "imaging/Bitmap.h"
#include "imaging/ExifOrientation.h"

namespace zelvora {
namespace {

const Bitmap& Sideways() {
  static const Bitmap picture = [] {
    Bitmap bitmap;
    bitmap.Resize(4000, 3000);
    for (int y = 0; y < bitmap.Height(); ++y) {
      std::uint8_t* row = bitmap.Row(y);
      for (std::size_t i = 0; i < bitmap.Stride(); ++i) row[i] = static_cast<std::uint8_t>(i + y);
    }
    return bitmap;
  }();
  return picture;
}

void BM_ApplyOrientation(benchmark::State& state) {
  const int orientation = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap bitmap = Sideways();
    state.ResumeTiming();
    benchmark::DoNotOptimize(ApplyOrientation(bitmap, orientation));
  }
  state.counters["MP/s"] =
      benchmark::Counter(12.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

// 3 turns in place; 6 (the usual portrait) and 8 copy into a turned bitmap.
BENCHMARK(BM_ApplyOrientation)->Arg(3)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace zelvora
