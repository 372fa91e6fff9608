// Writes a small seed corpus for every fuzz target into OUT/<target>/:
// pictures from the test picture writers, the other inputs from the
// program's own writers and a few texts made by hand.
//   make_seeds OUT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "gallery/ListFiles.h"
#include "settings/UsefulRegistry.h"
#include "support/PictureWriters.h"
#include "util/FileUtils.h"

using namespace zelvora;
namespace fs = std::filesystem;

namespace {

fs::path gOut;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  const fs::path folder = gOut / target;
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

void PictureSeeds() {
  const Bitmap photo = test::MakePhotoLikePicture(24, 16);
  const Bitmap pattern = test::MakeTestPattern(13, 7, 16);
  Seed("decode_jpeg", "baseline.jpg", test::MakeJpeg(photo));
  Seed("decode_jpeg", "progressive.jpg", test::MakeJpeg(photo, {80, true}));
  Seed("decode_jpeg", "grey.jpg", test::MakeJpeg(photo, {80, false, test::JpegColor::Grey}));
  Seed("decode_jpeg", "cmyk.jpg", test::MakeJpeg(photo, {80, false, test::JpegColor::Cmyk}));
  Seed("decode_jpeg", "restarts.jpg",
       test::MakeJpeg(photo, {70, false, test::JpegColor::Ycck, 1}));

  for (int bits : {1, 4, 8, 16, 24, 32}) {
    test::BmpOptions options;
    options.bitsPerPixel = bits;
    Seed("decode_bitmaps", "bits" + std::to_string(bits) + ".bmp",
         test::MakeBmp(test::MakeTestPattern(13, 7, bits == 1 ? 2 : 16), options));
  }
  for (int bits : {4, 8}) {
    test::BmpOptions options;
    options.bitsPerPixel = bits;
    options.rle = true;
    Seed("decode_bitmaps", "rle" + std::to_string(bits) + ".bmp", test::MakeBmp(pattern, options));
  }
  test::BmpOptions core;
  core.header = test::BmpHeader::Core;
  core.bitsPerPixel = 8;
  Seed("decode_bitmaps", "core.bmp", test::MakeBmp(pattern, core));
  test::BmpOptions fields;
  fields.bitsPerPixel = 16;
  fields.bitFields = true;
  fields.header = test::BmpHeader::V5;
  Seed("decode_bitmaps", "bitfields.bmp", test::MakeBmp(pattern, fields));
  test::IcoImage icon{test::MakeTestPattern(16, 16, 16), {}, 8};
  test::IcoImage alpha{test::MakeTestPattern(8, 8, 16), std::vector<bool>(64, false), 32};
  alpha.transparent[9] = true;
  Seed("decode_bitmaps", "icon.ico", test::MakeIco({icon, alpha}));
  Seed("decode_bitmaps", "plain.gif", test::MakeGif(test::GifFromBitmap(pattern)));
  Seed("decode_bitmaps", "interlaced.gif", test::MakeGif(test::GifFromBitmap(pattern, true)));
}

void TextSeeds() {
  TGallerySet options;
  std::string text;
  options.SaveToText(text);
  Seed("options_file", "defaults.gof", text);
  options.CustomPageHeader = "Line one\r\nline%two";
  options.Thumb_URLPath = "th umbs/";
  options.KeepLocationOfImages = true;
  options.SaveToText(text);
  Seed("options_file", "changed.gof", text);

  const fs::path pictures = gOut / "pictures";
  fs::create_directories(pictures);
  TImageGalleryList list;
  for (const char* name : {"a.jpg", "b.bmp", "c d.gif"}) {
    const std::string path = (pictures / name).string();
    std::ofstream(path) << "x";
    list.AddFile(path);
  }
  list.InsertSeparator(1);
  list.Items(0)->Comment = "two\r\nlines \"quoted\"";
  Seed("list_file", "list.igl", std::string(1, '\0') + SaveToText(list, TListForm::Igl, DefaultGeneratorText()));
  Seed("list_file", "list.txt", "\x01" + SaveToText(list, TListForm::RawText, ""));

  Seed("language_file", "small.txt",
       "Zelvora language file\r\n\r\n1001=<<  &Back%20\r\n1002 h=A hint%0Awith a break\r\n"
       "6003=Free space%0Aand continue\r\n1121=------ new page ------\r\n");

  const std::string settings = (gOut / "settings.json").string();
  {
    TUsefulRegistry store(settings);
    store.WriteString("Software\\Brennvik Software\\Zelvora", "CurrVersion", "1.26 beta");
    store.WriteInteger("Software\\Brennvik Software\\Zelvora\\Options", "Thumb_ShadowValue", 128);
    store.WriteList("Software\\Brennvik Software\\Zelvora\\History", "OutputFolderList",
                    {"/home/u/out", "/tmp/g"});
  }
  Seed("settings_store", "settings.json", ReadTextFile(settings).value_or(""));
  fs::remove(settings);

  Seed("html_url", "drives.txt", "C:\\Gallery\\Out\nC:\\Photos\\Trip\\a b#1.jpg");
  Seed("html_url", "posix.txt", "/home/u/out\n/home/u/pics/12:30 & co?.jpg");
  Seed("html_url", "share.txt", "C:\\Out\n//server/share/x/%41.bmp");
  Seed("name_mask", "counter.txt", "img-%4c\n/home/u/pics/Beach.JPG");
  Seed("name_mask", "fields.txt", "%f-%n_%e %d %t %%%3%\nC:\\Photos\\Trip\\sea.gif");
  Seed("name_mask", "scheme.txt", "http://host/show?n=%c\n/p/javascript:x.jpg");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds OUT\n");
    return 2;
  }
  gOut = argv[1];
  try {
    PictureSeeds();
    TextSeeds();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_seeds: %s\n", e.what());
    return 1;
  }
  fs::remove_all(gOut / "pictures");
  return 0;
}
