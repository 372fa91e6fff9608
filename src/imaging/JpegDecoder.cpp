#include "imaging/JpegDecoder.h"

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include "imaging/PlausibleSize.h"

namespace zelvora::imaging_detail {
namespace {

// Everything the decoding frame touches lives here, so that a longjmp out of
// libjpeg skips no destructor.
struct TJpegState {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr error;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  const unsigned char* data = nullptr;
  unsigned long size = 0;
  Bitmap* bitmap = nullptr;  // the caller's target
  bool allocated = false;    // the target has the picture's size
  std::string* exif = nullptr;  // the caller's, when it wants the EXIF block
  bool hitEnd = false;       // the data ran out before the picture did
  int rowsDone = 0;
};

void ErrorExit(j_common_ptr cinfo) {
  // libjpeg hands back only its error manager; the state is around it.
  auto* state = reinterpret_cast<TJpegState*>(reinterpret_cast<char*>(cinfo->err) -
                                              offsetof(TJpegState, error));
  std::longjmp(state->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  // Warnings stay silent; only the end of the data matters, since libjpeg
  // pads a truncated file with grey rather than failing.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
    auto* state = reinterpret_cast<TJpegState*>(reinterpret_cast<char*>(cinfo->err) -
                                                offsetof(TJpegState, error));
    state->hitEnd = true;
  }
  if (level < 0) cinfo->err->num_warnings++;
}

// libjpeg's own working memory (a progressive picture keeps all its
// coefficients, two bytes each) may not grow past this; the bitmap is ours.
// A real 100-megapixel progressive photo needs about 300 MB in 4:2:0.
constexpr long kMaxLibjpegMemory = 1L << 30;
// Real progressive files have about ten scans; every scan costs a pass
// over the coefficients. libjpeg-turbo's own fuzz targets stop at 100.
constexpr int kMaxScans = 100;

void MonitorProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    cinfo->err->msg_code = JERR_NOTIMPL;
    cinfo->err->error_exit(cinfo);
  }
}

// Returns normally, so its C++ objects are safe. The target's memory is
// reused when it is large enough; every row is written before it is read.
bool AllocateTarget(TJpegState* state, int width, int height) {
  try {
    state->allocated = state->bitmap->Reshape(width, height);
  } catch (...) {
    state->allocated = false;
  }
  return state->allocated;
}

// Returns normally, so its C++ objects are safe. The saved markers go with
// the decompressor, so the block is copied out before anything else.
void KeepExif(TJpegState* state) {
  for (jpeg_saved_marker_ptr marker = state->cinfo.marker_list; marker != nullptr;
       marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 &&
        std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
      try {
        state->exif->assign(reinterpret_cast<const char*>(marker->data), marker->data_length);
      } catch (...) {
        state->exif->clear();  // no memory for it: the picture shows as stored
      }
      return;
    }
  }
}

void StoreRow(TJpegState* state, const JSAMPLE* src, int y) {
  jpeg_decompress_struct& cinfo = state->cinfo;
  std::uint8_t* dst = state->bitmap->Row(y);
  const int width = static_cast<int>(cinfo.output_width);
  if (cinfo.out_color_space == JCS_GRAYSCALE) {
    for (int x = 0; x < width; ++x) dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = src[x];
  } else if (cinfo.out_color_space == JCS_RGB) {
    for (int x = 0; x < width; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  } else if (cinfo.out_color_space == JCS_CMYK) {
    // Adobe's programs store CMYK inverted and say so with their marker.
    const bool inverted = cinfo.saw_Adobe_marker;
    for (int x = 0; x < width; ++x) {
      const JSAMPLE* p = src + 4 * x;
      const int k = inverted ? p[3] : 255 - p[3];
      for (int c = 0; c < 3; ++c) {
        const int v = inverted ? p[c] : 255 - p[c];
        dst[3 * x + 2 - c] = static_cast<std::uint8_t>((v * k + 127) / 255);
      }
    }
  }
}

// No object with a destructor may live in this frame.
void Decode(TJpegState* state) {
  jpeg_decompress_struct& cinfo = state->cinfo;
  cinfo.err = jpeg_std_error(&state->error);
  state->error.error_exit = ErrorExit;
  state->error.emit_message = EmitMessage;
  if (setjmp(state->jump)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
  state->progress.progress_monitor = MonitorProgress;
  cinfo.progress = &state->progress;
  jpeg_mem_src(&cinfo, state->data, state->size);
  if (state->exif != nullptr) jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  if (state->exif != nullptr) KeepExif(state);
  const std::int64_t pixels = static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height;
  if (cinfo.image_width == 0 || cinfo.image_height == 0 || pixels > Bitmap::kMaxPixels ||
      cinfo.image_width > 0x7FFFFFFF || cinfo.image_height > 0x7FFFFFFF ||
      !PlausibleJpegSize(cinfo.image_width, cinfo.image_height, state->size)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  bool direct = false;
  switch (cinfo.jpeg_color_space) {
#ifndef JCS_EXTENSIONS
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      break;
#endif
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;
      break;
    default:
#ifdef JCS_EXTENSIONS
      // Straight into the bitmap's rows, greyscale included: libjpeg-turbo
      // repeats the grey value into blue, green and red itself.
      cinfo.out_color_space = JCS_EXT_BGR;
      direct = true;
#else
      cinfo.out_color_space = JCS_RGB;
#endif
      break;
  }
  if (!AllocateTarget(state, static_cast<int>(cinfo.image_width),
                      static_cast<int>(cinfo.image_height))) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  JSAMPARRAY buffer = nullptr;
  if (!direct) {
    buffer = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                        cinfo.output_width * cinfo.output_components, 1);
  }
  // A progressive file is read whole before the first row comes out, so
  // what it lacks is already spread over the picture; a sequential one
  // stops at the last row decoded before the data ran out.
  const bool sequential = !jpeg_has_multiple_scans(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    if (sequential && state->hitEnd) break;
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW row = direct ? state->bitmap->Row(y) : buffer[0];
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    if (sequential && state->hitEnd) break;
    if (!direct) StoreRow(state, row, y);
    state->rowsDone = y + 1;
  }
  if (state->rowsDone == static_cast<int>(cinfo.output_height)) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
}

// The header alone; no object with a destructor in this frame either.
void ReadHeaderOnly(TJpegState* state, std::int64_t* bytes) {
  jpeg_decompress_struct& cinfo = state->cinfo;
  cinfo.err = jpeg_std_error(&state->error);
  state->error.error_exit = ErrorExit;
  state->error.emit_message = EmitMessage;
  if (setjmp(state->jump)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, state->data, state->size);
  jpeg_read_header(&cinfo, TRUE);
  *bytes = static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height * 3;
  // A progressive picture is held whole as coefficients (two bytes each)
  // while it is decoded.
  if (cinfo.progressive_mode) {
    for (int c = 0; c < cinfo.num_components; ++c) {
      const jpeg_component_info& component = cinfo.comp_info[c];
      *bytes += static_cast<std::int64_t>(component.width_in_blocks) *
                component.height_in_blocks * DCTSIZE2 * 2;
    }
  }
  jpeg_destroy_decompress(&cinfo);
}

}  // namespace

std::int64_t JpegDecodingBytes(std::string_view bytes) {
  if (bytes.empty()) return 0;
  std::unique_ptr<TJpegState> state;
  try {
    state = std::make_unique<TJpegState>();
  } catch (const std::bad_alloc&) {
    return 0;
  }
  state->data = reinterpret_cast<const unsigned char*>(bytes.data());
  state->size = static_cast<unsigned long>(bytes.size());
  std::int64_t result = 0;
  ReadHeaderOnly(state.get(), &result);
  return result;
}

bool DecodeJpegInto(std::string_view bytes, Bitmap& target, std::string* exif) {
  if (exif != nullptr) exif->clear();
  if (bytes.empty()) return false;
  TJpegState* state = nullptr;
  try {
    state = new TJpegState();
  } catch (const std::bad_alloc&) {
    return false;
  }
  state->data = reinterpret_cast<const unsigned char*>(bytes.data());
  state->size = static_cast<unsigned long>(bytes.size());
  state->bitmap = &target;
  state->exif = exif;
  Decode(state);
  const bool allocated = state->allocated;
  const int rowsDone = state->rowsDone;
  delete state;
  if (!allocated) return false;
  for (int y = rowsDone; y < target.Height(); ++y)
    std::memset(target.Row(y), 0xFF, target.Stride());
  return true;
}

std::unique_ptr<Bitmap> DecodeJpeg(std::string_view bytes, std::string* exif) {
  try {
    auto bitmap = std::make_unique<Bitmap>();
    if (!DecodeJpegInto(bytes, *bitmap, exif)) return nullptr;
    return bitmap;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace zelvora::imaging_detail
