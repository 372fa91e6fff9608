// Writes one picture made by the test picture writers, for the browser
// check, the run benchmark and the samples:
//   zelvora-test-pictures KIND WIDTH HEIGHT OUTPUT [SEED]
// KIND is jpeg (photo-like), bmp, gif, ico (test patterns), broken-gif, or
// sideways-jpeg: four coloured quadrants (red, green / blue, yellow) that
// show upright at WIDTH x HEIGHT, stored turned the way a camera stores
// them for the EXIF orientation given in place of SEED (default 6).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "support/PictureWriters.h"

namespace {

int Usage() {
  std::fputs(
      "usage: zelvora-test-pictures jpeg|bmp|gif|ico|broken-gif|sideways-jpeg WIDTH HEIGHT "
      "OUTPUT [SEED]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zelvora::test;
  if (argc < 5 || argc > 6) return Usage();
  const std::string kind = argv[1];
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const unsigned seed = argc == 6 ? static_cast<unsigned>(std::atoi(argv[5])) : 1;
  if (width <= 0 || height <= 0 || width > 20000 || height > 20000) return Usage();
  try {
    std::string bytes;
    if (kind == "jpeg") {
      bytes = MakeJpeg(MakePhotoLikePicture(width, height, seed));
    } else if (kind == "bmp") {
      bytes = MakeBmp(MakeTestPattern(width, height));
    } else if (kind == "gif") {
      bytes = MakeGif(GifFromBitmap(MakeTestPattern(width, height, 16)));
    } else if (kind == "ico") {
      IcoImage image;
      image.picture = MakeTestPattern(width, height, 16);
      bytes = MakeIco({image});
    } else if (kind == "sideways-jpeg") {
      const int orientation = argc == 6 ? static_cast<int>(seed) : 6;
      if (orientation < 1 || orientation > 8) return Usage();
      // A little of a photo's texture over the quadrants, so that the
      // picture looks like one; the quadrant colours still dominate.
      zelvora::Bitmap stored = MakeStoredQuadrants(width, height, orientation);
      const zelvora::Bitmap photo = MakePhotoLikePicture(stored.Width(), stored.Height(), 4);
      for (int y = 0; y < stored.Height(); ++y) {
        std::uint8_t* row = stored.Row(y);
        const std::uint8_t* texture = photo.Row(y);
        for (std::size_t i = 0; i < stored.Stride(); ++i)
          row[i] = static_cast<std::uint8_t>((row[i] * 3 + texture[i]) / 4);
      }
      bytes = MakeJpegWithExif(stored, MakeExifOrientationBlock(orientation));
    } else if (kind == "broken-gif") {
      bytes = "GIF89a, but nothing after it";
    } else {
      return Usage();
    }
    std::ofstream out(argv[4], std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "zelvora-test-pictures: cannot write %s\n", argv[4]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelvora-test-pictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
