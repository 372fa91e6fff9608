#pragma once
// Scaling bitmaps: two resamplers of our own, a plain stretch, and the fit
// into a box that thumbnails use.
//
// Every function takes the source and target by pointer: a missing bitmap
// is a failure, not a crash. Source and target may be the same bitmap.

#include "imaging/Bitmap.h"

namespace zelvora {

// Area averaging: every target pixel is the coverage-weighted mean of the
// source area under it, rounded half away from zero. Sizes the target
// newWidth x newHeight. False when a bitmap is missing, a new side is not
// positive, or the target cannot be allocated.
bool ResampleExact(const Bitmap* source, Bitmap* target, int newWidth, int newHeight);

// Box filter over whole source pixels with truncating integer means; the
// thumbnail resampler. A side below 1 becomes 0 when allowZero, else 1.
// False (nothing drawn) when a bitmap is missing or any side is 0.
bool ResampleFast(const Bitmap* source, Bitmap* target, int newWidth, int newHeight,
                  bool allowZero);

enum class StretchMode { Nearest, Bilinear };

// The plain stretch: sizes the target width x height and fills it from the
// whole source. False when a bitmap is missing, the source is empty, a side
// is negative or the target cannot be allocated.
bool StretchBitmap(const Bitmap* source, Bitmap* target, int width, int height,
                   StretchMode mode = StretchMode::Bilinear);

// Fits the source into maxWidth x maxHeight keeping its aspect. Without
// force a source that already fits is copied at its own size. A side that
// rounds to 0 becomes 1. fast picks ResampleFast, otherwise the bilinear
// stretch. False when a bitmap is missing, the source is empty, or the
// target cannot be allocated.
bool ScaleImageToFit(const Bitmap* source, Bitmap* target, int maxWidth, int maxHeight,
                     bool force, bool fast);

}  // namespace zelvora
