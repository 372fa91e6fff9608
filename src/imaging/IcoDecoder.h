#pragma once
// Windows icon files. Private to src/imaging.

#include <memory>
#include <string_view>

#include "imaging/Bitmap.h"

namespace zelvora::imaging_detail {

// The largest entry stored as a bitmap (ties go to the deeper one), drawn
// over white: with its alpha channel when a 32-bit entry has one, else
// through its AND mask the way the desktop draws icons (white AND mask XOR
// colour). Entries stored as PNG are skipped; a damaged entry gives way to
// the next best. nullptr when no entry decodes.
std::unique_ptr<Bitmap> DecodeIco(std::string_view bytes);

}  // namespace zelvora::imaging_detail
