#include "imaging/ImageKind.h"

#include <gtest/gtest.h>

namespace zelvora {
namespace {

TEST(ImageKindTest, KindComesFromTheExtensionWhateverItsCase) {
  EXPECT_EQ(ImageKindOfFile("a/photo.bmp"), ImageKind::BMP);
  EXPECT_EQ(ImageKindOfFile("icon.ICO"), ImageKind::ICO);
  EXPECT_EQ(ImageKindOfFile("anim.Gif"), ImageKind::GIF);
  EXPECT_EQ(ImageKindOfFile("x.jpg"), ImageKind::JPEG);
  EXPECT_EQ(ImageKindOfFile("x.jpeg"), ImageKind::JPEG);
  EXPECT_EQ(ImageKindOfFile("A.JPE"), ImageKind::JPEG);
  EXPECT_EQ(ImageKindOfFile("photo.PNG"), ImageKind::PNG);
  EXPECT_EQ(ImageKindOfFile("old.pcx"), ImageKind::PCX);
  EXPECT_EQ(ImageKindOfFile("scan.tif"), ImageKind::TIFF);
  EXPECT_EQ(ImageKindOfFile("scan.TIFF"), ImageKind::TIFF);
  EXPECT_EQ(ImageKindOfFile("notes.txt"), ImageKind::Other);
  EXPECT_EQ(ImageKindOfFile("jpg"), ImageKind::Other);
  EXPECT_EQ(ImageKindOfFile(""), ImageKind::Other);
}

TEST(ImageKindTest, OnlyTheLastExtensionOfTheNameCounts) {
  EXPECT_EQ(ImageKindOfFile("photo.jpg.txt"), ImageKind::Other);
  EXPECT_EQ(ImageKindOfFile("archive.bmp.gif"), ImageKind::GIF);
  // A dot in a folder name is not the file's extension.
  EXPECT_EQ(ImageKindOfFile("/pictures.jpg/readme"), ImageKind::Other);
  EXPECT_EQ(ImageKindOfFile("holiday.jpg/"), ImageKind::Other);
}

TEST(ImageKindTest, LoadableKindsAreBmpIcoJpegAndGif) {
  EXPECT_TRUE(CanLoadImage("a.bmp"));
  EXPECT_TRUE(CanLoadImage("a.ico"));
  EXPECT_TRUE(CanLoadImage("a.gif"));
  EXPECT_TRUE(CanLoadImage("a.jpe"));
  EXPECT_FALSE(CanLoadImage("a.png"));
  EXPECT_FALSE(CanLoadImage("a.tif"));
  EXPECT_FALSE(CanLoadImage("a.pcx"));
}

TEST(ImageKindTest, ImageFilesAreTheLoadableKindsAndTiffButNeverPng) {
  for (const char* name : {"a.bmp", "a.JPG", "a.jpeg", "a.jpe", "a.gif", "a.ico", "scan.tif",
                           "scan.tiff"}) {
    EXPECT_TRUE(IsImageFile(name)) << name;
  }
  for (const char* name : {"photo.PNG", "a.pcx", "a.txt", "a", "a.jpgx"}) {
    EXPECT_FALSE(IsImageFile(name)) << name;
  }
}

TEST(ImageKindTest, WebCompatibleKindsAreGifJpegAndPng) {
  for (const char* name : {"a.gif", "a.jpg", "photo.PNG", "a.jpeg", "a.JPE"}) {
    EXPECT_TRUE(IsWebCompatibleImage(name)) << name;
  }
  for (const char* name : {"a.bmp", "a.ico", "a.tif", "a.tiff", "a.pcx", "a.txt"}) {
    EXPECT_FALSE(IsWebCompatibleImage(name)) << name;
  }
}

}  // namespace
}  // namespace zelvora
