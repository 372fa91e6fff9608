#include "imaging/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <exception>
#include <memory>

#include <jpeglib.h>

#include "util/FileUtils.h"

namespace zelvora {

namespace {

// libjpeg's own error_exit ends the process; ours jumps back instead.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Everything the encoder touches lives here, outside the frame that calls
// setjmp, so nothing with a destructor is jumped over and the buffer pointer
// is still valid after a jump.
struct EncodeState {
  jpeg_compress_struct info;
  ErrorManager errors;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool Encode(EncodeState* state, const Bitmap& bitmap, int quality, bool progressive) {
  jpeg_compress_struct* info = &state->info;
  info->err = jpeg_std_error(&state->errors.base);
  state->errors.base.error_exit = JumpOnError;
  state->errors.base.output_message = IgnoreMessage;
  if (setjmp(state->errors.jump) != 0) {
    jpeg_destroy_compress(info);
    return false;
  }
  jpeg_create_compress(info);
  jpeg_mem_dest(info, &state->buffer, &state->size);
  info->image_width = static_cast<JDIMENSION>(bitmap.Width());
  info->image_height = static_cast<JDIMENSION>(bitmap.Height());
  info->input_components = 3;
  // Our rows are blue, green, red; libjpeg-turbo reads that order directly.
  info->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  if (progressive) jpeg_simple_progression(info);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    // libjpeg only reads the rows it is given.
    JSAMPROW row = const_cast<JSAMPROW>(bitmap.Row(static_cast<int>(info->next_scanline)));
    jpeg_write_scanlines(info, &row, 1);
  }
  jpeg_finish_compress(info);
  jpeg_destroy_compress(info);
  return true;
}

}  // namespace

std::optional<std::string> EncodeBitmapAsJPEG(const Bitmap& bitmap, int quality,
                                              bool progressive) {
  if (bitmap.Empty()) return std::nullopt;
  auto state = std::make_unique<EncodeState>();
  try {
    const bool encoded = Encode(state.get(), bitmap, std::clamp(quality, 1, 100), progressive);
    std::optional<std::string> result;
    if (encoded && state->buffer != nullptr) {
      result.emplace(reinterpret_cast<const char*>(state->buffer), state->size);
    }
    std::free(state->buffer);
    return result;
  } catch (const std::exception&) {
    std::free(state->buffer);
    return std::nullopt;
  }
}

bool SaveBitmapAsJPEG(const Bitmap* bitmap, std::string_view path, int quality, bool smoothing,
                      bool progressive) {
  if (bitmap == nullptr || path.empty()) return false;
  try {
    const std::optional<std::string> bytes = EncodeBitmapAsJPEG(*bitmap, quality, progressive);
    if (!bytes) return false;
    // Replaced only when complete: a truncated JPEG would pass for a picture.
    return ReplaceFileAtomically(path, *bytes, false);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace zelvora
