// Image list timings: gallery names with many equal base names, adding a
// large folder, sorting by measured keys.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <string>

#include "gallery/AddFolderImages.h"
#include "gallery/ImageGalleryList.h"
#include "util/FileUtils.h"
#include "util/DateValue.h"

namespace {

namespace fs = std::filesystem;
using zelvora::TImageGalleryList;

// One folder for the whole run, removed at exit.
const fs::path& BenchFolder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("zelvora-list-bench-" + std::to_string(::getpid()));
    fs::create_directories(path);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(BenchFolder(), ignored);
    });
    return path;
  }();
  return folder;
}

void WriteFile(const fs::path& path, std::size_t size) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << std::string(size, 'x');
}

// 10,000 empty .jpg files in one folder.
const fs::path& FlatFolder() {
  static const fs::path folder = [] {
    const fs::path path = BenchFolder() / "flat";
    for (int i = 0; i < 10000; ++i) WriteFile(path / ("pic" + std::to_string(i) + ".jpg"), 0);
    return path;
  }();
  return folder;
}

void BM_PrepareNamesEqualBaseNames(benchmark::State& state) {
  // 100,000 entries over 20 files that all share the base name "img", so
  // nearly every name collides.
  const fs::path folder = BenchFolder() / "same";
  std::vector<std::string> files;
  for (int f = 0; f < 20; ++f) {
    const fs::path path = folder / ("d" + std::to_string(f)) / (f % 2 ? "IMG.jpg" : "img.gif");
    WriteFile(path, 10);
    files.push_back(path.string());
  }
  TImageGalleryList list;
  for (int i = 0; i < 100000; ++i) list.AddFile(files[i % files.size()]);
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.PrepareNames(false, 20));
  }
  state.counters["entries"] = list.Count();
  state.SetLabel(list.Items(99999)->ImageName);
}
BENCHMARK(BM_PrepareNamesEqualBaseNames)->Unit(benchmark::kMillisecond);

void BM_AddFolderImages10000(benchmark::State& state) {
  const std::string folder = FlatFolder().string();
  for (auto _ : state) {
    TImageGalleryList list;
    benchmark::DoNotOptimize(zelvora::AddFolderImages(list, folder, false));
    if (list.Count() != 10000) state.SkipWithError("not every picture was added");
  }
}
BENCHMARK(BM_AddFolderImages10000)->Unit(benchmark::kMillisecond);

void BM_AddFolderImagesAgain10000(benchmark::State& state) {
  // The second addition of the same folder: every path is a duplicate.
  const std::string folder = FlatFolder().string();
  TImageGalleryList list;
  zelvora::AddFolderImages(list, folder, false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(zelvora::AddFolderImages(list, folder, false));
  }
  if (list.Count() != 10000) state.SkipWithError("a picture was added twice");
}
BENCHMARK(BM_AddFolderImagesAgain10000)->Unit(benchmark::kMillisecond);

// 10,000 entries over 1,000 files of different sizes and dates, measured
// afresh in every iteration (a fresh list each time).
void SortBench(benchmark::State& state, zelvora::TSortKey key) {
  const fs::path folder = BenchFolder() / "sizes";
  static std::vector<std::string> files;
  if (files.empty()) {
    for (int f = 0; f < 1000; ++f) {
      const fs::path path = folder / ("s" + std::to_string(f) + ".jpg");
      WriteFile(path, static_cast<std::size_t>((f * 7919) % 1000));
      zelvora::SetFileDateOf(path.string(), zelvora::EncodeDateTime(2000 + f % 20, 1 + f % 12, 1));
      files.push_back(path.string());
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    TImageGalleryList list;
    for (int i = 0; i < 10000; ++i) list.AddFile(files[(i * 31) % files.size()]);
    state.ResumeTiming();
    list.SortEntries(key);
    benchmark::DoNotOptimize(list.Items(0));
  }
}

void BM_SortBySize10000(benchmark::State& state) { SortBench(state, zelvora::skFileSize); }
void BM_SortByDate10000(benchmark::State& state) { SortBench(state, zelvora::skFileDate); }
void BM_SortByFolderPath10000(benchmark::State& state) { SortBench(state, zelvora::skFolderPath); }
BENCHMARK(BM_SortBySize10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByDate10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFolderPath10000)->Unit(benchmark::kMillisecond);

}  // namespace
