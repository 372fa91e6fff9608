#include "imaging/Resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <type_traits>
#include <vector>

#include "util/Rounding.h"

namespace zelvora {

namespace {

// Channel values are never negative here, so half away from zero is half up.
inline int RoundChannel(double value) {
  if (value <= 0) return 0;
  const int whole = static_cast<int>(value);
  const int rounded = whole + (value - whole >= 0.5 ? 1 : 0);
  return rounded > 255 ? 255 : rounded;
}

// When source and target are one bitmap, resizing the target would wipe the
// source: work from a copy instead.
const Bitmap* Unaliased(const Bitmap* source, const Bitmap* target,
                        std::optional<Bitmap>& copy) {
  if (source != target) return source;
  copy.emplace(*source);
  return &*copy;
}

// One target column or row of the exact resampler: source cells first..last,
// the partial weights of the two end cells and the covered length.
struct ExactSpan {
  int first;
  int last;
  double firstWeight;
  double lastWeight;
  double length;
};

// Starts and ends are carried by repeated addition; an end at or past the
// source edge is pulled just inside it.
std::vector<ExactSpan> ExactSpans(int sourceSize, int newSize) {
  std::vector<ExactSpan> spans(static_cast<std::size_t>(newSize));
  const double step = static_cast<double>(sourceSize) / newSize;
  const double edge = sourceSize - 0.0001;
  double start = 0;
  for (auto& span : spans) {
    double end = start + step;
    if (end >= sourceSize) end = edge;
    span.first = static_cast<int>(start);
    span.last = static_cast<int>(end);
    span.firstWeight = span.first + 1 - start;
    span.lastWeight = end - span.last;
    span.length = end - start;
    start = end;
  }
  return spans;
}

// Horizontal means of one source row for every target column, rounded.
void ExactRowMeans(const std::uint8_t* row, const std::vector<ExactSpan>& columns,
                   int* means) {
  for (const ExactSpan& c : columns) {
    const std::uint8_t* p = row + static_cast<std::size_t>(c.first) * 3;
    if (c.first == c.last) {
      means[0] = p[0];
      means[1] = p[1];
      means[2] = p[2];
    } else {
      double sum[3] = {p[0] * c.firstWeight, p[1] * c.firstWeight, p[2] * c.firstWeight};
      for (int x = c.first + 1; x < c.last; ++x) {
        p += 3;
        sum[0] += p[0];
        sum[1] += p[1];
        sum[2] += p[2];
      }
      p = row + static_cast<std::size_t>(c.last) * 3;
      sum[0] += p[0] * c.lastWeight;
      sum[1] += p[1] * c.lastWeight;
      sum[2] += p[2] * c.lastWeight;
      for (int k = 0; k < 3; ++k) means[k] = RoundChannel(sum[k] / c.length);
    }
    means += 3;
  }
}

bool ResampleExactUnchecked(const Bitmap& source, Bitmap& target, int newWidth, int newHeight) {
  if (!target.Resize(newWidth, newHeight)) return false;
  const std::vector<ExactSpan> columns = ExactSpans(source.Width(), newWidth);
  const std::vector<ExactSpan> rows = ExactSpans(source.Height(), newHeight);
  const std::size_t values = static_cast<std::size_t>(newWidth) * 3;
  std::vector<int> means(values);
  std::vector<double> sums(values);

  for (int i = 0; i < newHeight; ++i) {
    const ExactSpan& r = rows[static_cast<std::size_t>(i)];
    std::uint8_t* out = target.Row(i);
    if (r.first == r.last) {
      ExactRowMeans(source.Row(r.first), columns, means.data());
      for (std::size_t k = 0; k < values; ++k) out[k] = static_cast<std::uint8_t>(means[k]);
      continue;
    }
    for (int y = r.first; y <= r.last; ++y) {
      const double weight = y == r.first ? r.firstWeight : (y == r.last ? r.lastWeight : 1.0);
      ExactRowMeans(source.Row(y), columns, means.data());
      if (y == r.first) {
        for (std::size_t k = 0; k < values; ++k) sums[k] = means[k] * weight;
      } else {
        for (std::size_t k = 0; k < values; ++k) sums[k] += means[k] * weight;
      }
    }
    for (std::size_t k = 0; k < values; ++k) {
      out[k] = static_cast<std::uint8_t>(RoundChannel(sums[k] / r.length));
    }
  }
  return true;
}

// The source cells a target cell of the fast resampler averages; first > last
// means none.
struct FastRange {
  int first;
  int last;
};

std::vector<FastRange> FastRanges(int sourceSize, int newSize) {
  std::vector<FastRange> ranges(static_cast<std::size_t>(newSize));
  const double step = static_cast<double>(sourceSize) / newSize;
  double start = 0;
  for (auto& range : ranges) {
    const double end = start + step;
    const int startCell = static_cast<int>(start);
    const int endCell = static_cast<int>(end);
    if (step > 1) {
      // Shrinking: a cell counts when more than half of it is covered.
      range.first = (startCell + 1 - start) > 0.5 ? startCell : startCell + 1;
      range.last = (end - endCell) > 0.5 ? endCell : endCell - 1;
    } else {
      range.first = range.last = step * 0.5 > (end - endCell) ? startCell : endCell;
    }
    // The sums carry rounding error; never step outside the source for it.
    range.first = std::max(range.first, 0);
    range.last = std::min(range.last, sourceSize - 1);
    if (step <= 1) range.first = range.last = std::clamp(range.first, 0, sourceSize - 1);
    start = end;
  }
  return ranges;
}

// Adds one source row into the per-byte column sums. The fixed-size inner
// block lets the compiler widen and add many bytes per instruction.
template <typename Sum>
[[gnu::always_inline]] inline void AddRow(const std::uint8_t* __restrict in,
                                          Sum* __restrict sums, std::size_t count) {
  constexpr std::size_t kBlock = 64;
  std::size_t k = 0;
  for (; k + kBlock <= count; k += kBlock) {
    for (std::size_t j = 0; j < kBlock; ++j)
      sums[k + j] = static_cast<Sum>(sums[k + j] + in[k + j]);
  }
  for (; k < count; ++k) sums[k] = static_cast<Sum>(sums[k] + in[k]);
}

// The 16-bit sums make every thumbnail; where the processor has wider
// vectors they take twice the bytes per instruction. Chosen at run time by
// a plain test rather than an ifunc, whose resolver runs before the
// sanitizers' runtime is up.
#if defined(__x86_64__) && defined(__GNUC__)
#define ZELVORA_ADD_ROW_AVX2 1
[[gnu::target("avx2")]] void AddRow16Avx2(const std::uint8_t* __restrict in,
                                          std::uint16_t* __restrict sums, std::size_t count) {
  AddRow(in, sums, count);
}
#endif

void AddRow16(const std::uint8_t* __restrict in, std::uint16_t* __restrict sums,
              std::size_t count) {
#ifdef ZELVORA_ADD_ROW_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return AddRow16Avx2(in, sums, count);
#endif
  AddRow(in, sums, count);
}

template <typename Sum>
inline void AddSourceRow(const std::uint8_t* in, Sum* sums, std::size_t count) {
  if constexpr (std::is_same_v<Sum, std::uint16_t>) {
    AddRow16(in, sums, count);
  } else {
    AddRow(in, sums, count);
  }
}

// One target row from the source rows first..last: the rows are summed
// whole into per-byte column sums of a type wide enough for that many rows,
// then each target pixel adds the sums of its columns.
template <typename Sum>
void FastTargetRow(const Bitmap& source, const FastRange& r, const std::vector<FastRange>& columns,
                   std::vector<Sum>& columnSums, std::uint8_t* out) {
  std::memset(columnSums.data(), 0, columnSums.size() * sizeof(Sum));
  for (int y = r.first; y <= r.last; ++y)
    AddSourceRow(source.Row(y), columnSums.data(), columnSums.size());
  const auto rowCount = static_cast<std::uint64_t>(r.last - r.first + 1);
  for (const FastRange& c : columns) {
    if (c.first > c.last) {
      out[0] = out[1] = out[2] = 0;
    } else {
      std::uint64_t sum[3] = {0, 0, 0};
      const Sum* s = columnSums.data() + static_cast<std::size_t>(c.first) * 3;
      for (int x = c.first; x <= c.last; ++x, s += 3) {
        sum[0] += s[0];
        sum[1] += s[1];
        sum[2] += s[2];
      }
      const std::uint64_t count = rowCount * static_cast<std::uint64_t>(c.last - c.first + 1);
      out[0] = static_cast<std::uint8_t>(sum[0] / count);
      out[1] = static_cast<std::uint8_t>(sum[1] / count);
      out[2] = static_cast<std::uint8_t>(sum[2] / count);
    }
    out += 3;
  }
}

void ResampleFastUnchecked(const Bitmap& source, Bitmap& target) {
  const int newHeight = target.Height();
  const std::vector<FastRange> columns = FastRanges(source.Width(), target.Width());
  const std::vector<FastRange> rows = FastRanges(source.Height(), newHeight);
  int tallest = 0;
  for (const FastRange& r : rows) tallest = std::max(tallest, r.last - r.first + 1);
  // 16-bit sums hold 257 rows of 255, 32-bit ones 16 million.
  std::vector<std::uint16_t> narrow;
  std::vector<std::uint32_t> medium;
  std::vector<std::uint64_t> wide;
  if (tallest <= 257) {
    narrow.resize(source.Stride());
  } else if (tallest <= 16'000'000) {
    medium.resize(source.Stride());
  } else {
    wide.resize(source.Stride());
  }

  for (int i = 0; i < newHeight; ++i) {
    const FastRange& r = rows[static_cast<std::size_t>(i)];
    std::uint8_t* out = target.Row(i);
    if (r.first > r.last) {
      std::fill(out, out + target.Stride(), std::uint8_t{0});
    } else if (!narrow.empty()) {
      FastTargetRow(source, r, columns, narrow, out);
    } else if (!medium.empty()) {
      FastTargetRow(source, r, columns, medium, out);
    } else {
      FastTargetRow(source, r, columns, wide, out);
    }
  }
}

// Sample positions of the bilinear stretch: pixel centres mapped onto the
// source, with an 8-bit weight for the next cell.
struct StretchTap {
  int index;
  int next;
  int weight;
};

std::vector<StretchTap> StretchTaps(int sourceSize, int newSize, StretchMode mode) {
  std::vector<StretchTap> taps(static_cast<std::size_t>(newSize));
  for (int j = 0; j < newSize; ++j) {
    StretchTap& tap = taps[static_cast<std::size_t>(j)];
    if (mode == StretchMode::Nearest) {
      const std::int64_t index = (2 * static_cast<std::int64_t>(j) + 1) * sourceSize /
                                 (2 * static_cast<std::int64_t>(newSize));
      tap.index = tap.next = static_cast<int>(std::min<std::int64_t>(index, sourceSize - 1));
      tap.weight = 0;
      continue;
    }
    double position = (j + 0.5) * sourceSize / newSize - 0.5;
    position = std::clamp(position, 0.0, static_cast<double>(sourceSize - 1));
    tap.index = static_cast<int>(position);
    tap.next = std::min(tap.index + 1, sourceSize - 1);
    tap.weight = static_cast<int>((position - tap.index) * 256 + 0.5);
  }
  return taps;
}

void StretchUnchecked(const Bitmap& source, Bitmap& target, StretchMode mode) {
  const std::vector<StretchTap> columns = StretchTaps(source.Width(), target.Width(), mode);
  const std::vector<StretchTap> rows = StretchTaps(source.Height(), target.Height(), mode);
  for (int i = 0; i < target.Height(); ++i) {
    const StretchTap& r = rows[static_cast<std::size_t>(i)];
    const std::uint8_t* top = source.Row(r.index);
    const std::uint8_t* bottom = source.Row(r.next);
    const int wy = r.weight;
    std::uint8_t* out = target.Row(i);
    for (const StretchTap& c : columns) {
      const std::size_t a = static_cast<std::size_t>(c.index) * 3;
      const std::size_t b = static_cast<std::size_t>(c.next) * 3;
      const int wx = c.weight;
      for (int k = 0; k < 3; ++k) {
        const int upper = top[a + k] * (256 - wx) + top[b + k] * wx;
        const int lower = bottom[a + k] * (256 - wx) + bottom[b + k] * wx;
        out[k] = static_cast<std::uint8_t>((upper * (256 - wy) + lower * wy + 32768) >> 16);
      }
      out += 3;
    }
  }
}

}  // namespace

bool ResampleExact(const Bitmap* source, Bitmap* target, int newWidth, int newHeight) {
  if (source == nullptr || target == nullptr || newWidth <= 0 || newHeight <= 0) return false;
  if (source->Empty()) return false;
  try {
    std::optional<Bitmap> copy;
    const Bitmap* from = Unaliased(source, target, copy);
    return ResampleExactUnchecked(*from, *target, newWidth, newHeight);
  } catch (const std::exception&) {
    return false;
  }
}

bool ResampleFast(const Bitmap* source, Bitmap* target, int newWidth, int newHeight,
                  bool allowZero) {
  if (source == nullptr || target == nullptr) return false;
  const int floorSize = allowZero ? 0 : 1;
  if (newWidth < 1) newWidth = floorSize;
  if (newHeight < 1) newHeight = floorSize;
  try {
    std::optional<Bitmap> copy;
    const Bitmap* from = Unaliased(source, target, copy);
    if (target->Width() != newWidth || target->Height() != newHeight) {
      if (!target->Resize(newWidth, newHeight)) return false;
    }
    if (from->Empty() || target->Empty()) return false;
    ResampleFastUnchecked(*from, *target);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool StretchBitmap(const Bitmap* source, Bitmap* target, int width, int height,
                   StretchMode mode) {
  if (source == nullptr || target == nullptr || source->Empty()) return false;
  if (width < 0 || height < 0) return false;
  try {
    std::optional<Bitmap> copy;
    const Bitmap* from = Unaliased(source, target, copy);
    if (!target->Resize(width, height)) return false;
    StretchUnchecked(*from, *target, mode);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool ScaleImageToFit(const Bitmap* source, Bitmap* target, int maxWidth, int maxHeight,
                     bool force, bool fast) {
  if (source == nullptr || target == nullptr || source->Empty()) return false;
  maxWidth = std::max(maxWidth, 0);
  maxHeight = std::max(maxHeight, 0);
  const int sourceWidth = source->Width();
  const int sourceHeight = source->Height();
  try {
    if (!force && sourceWidth <= maxWidth && sourceHeight <= maxHeight) {
      if (source != target) *target = *source;
      return true;
    }
    std::int64_t w = maxWidth;
    std::int64_t h = maxHeight;
    if (w > 0 && h > 0) {
      const double aspect = static_cast<double>(sourceWidth) / sourceHeight;
      const double box = static_cast<double>(w) / static_cast<double>(h);
      if (box < aspect) {
        h = RoundHalfAway(static_cast<double>(w) / aspect);
      } else if (box > aspect) {
        w = RoundHalfAway(static_cast<double>(h) * aspect);
      }
    }
    if (w == 0) w = 1;
    if (h == 0) h = 1;
    // The aspect fix only ever shrinks a side, so both still fit an int.
    const int width = static_cast<int>(w);
    const int height = static_cast<int>(h);
    if (fast) return ResampleFast(source, target, width, height, false);
    return StretchBitmap(source, target, width, height, StretchMode::Bilinear);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace zelvora
