#include "gallery/AddFolderImages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/TestSupport.h"

namespace zelvora {
namespace {

using ::testing::ElementsAre;
using test::TempDir;

std::vector<std::string> Names(const TImageGalleryList& list, const TempDir& dir) {
  std::vector<std::string> names;
  const std::string prefix = dir.Path().string() + "/";
  for (const auto& line : list.Lines()) {
    std::string name = line.Item->FileName;
    if (name.rfind(prefix, 0) == 0) name.erase(0, prefix.size());
    names.push_back(name);
  }
  return names;
}

TEST(AddFolderImagesTest, AddsLoadablePicturesInPathOrder) {
  TempDir dir;
  dir.Write("b.jpg", "");
  dir.Write("a.JPG", "");
  dir.Write("sub/c.gif", "");
  dir.Write("sub/deeper/Aa.bmp", "");
  dir.Write("x.png", "");
  dir.Write("x.tif", "");  // the list takes TIFF, the scan does not
  dir.Write("notes.txt", "");
  std::filesystem::create_directories(dir.File("folder.jpg"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.jpg").c_str(), 0600), 0);

  TImageGalleryList flat;
  EXPECT_TRUE(AddFolderImages(flat, dir.Path().string(), false));
  EXPECT_THAT(Names(flat, dir), ElementsAre("a.JPG", "b.jpg"));

  TImageGalleryList deep;
  EXPECT_TRUE(AddFolderImages(deep, dir.Path().string() + "/", true));
  EXPECT_THAT(Names(deep, dir), ElementsAre("a.JPG", "b.jpg", "sub/c.gif", "sub/deeper/Aa.bmp"));
  EXPECT_EQ(deep.ImageCount(), 4);
}

TEST(AddFolderImagesTest, NeverAddsAPictureTwice) {
  TempDir dir;
  dir.Write("a.jpg", "");
  dir.Write("b.jpg", "");
  TImageGalleryList list;
  list.AddFile(dir.File("b.jpg"));
  EXPECT_TRUE(AddFolderImages(list, dir.Path().string(), true));
  EXPECT_THAT(Names(list, dir), ElementsAre("b.jpg", "a.jpg"));
  EXPECT_TRUE(AddFolderImages(list, dir.Path().string(), true));
  EXPECT_EQ(list.Count(), 2);
}

TEST(AddFolderImagesTest, NamesDifferingInCaseAreTwoPicturesHere) {
  TempDir dir;
  dir.Write("IMG.jpg", "");
  dir.Write("img.jpg", "");
  TImageGalleryList list;
  EXPECT_TRUE(AddFolderImages(list, dir.Path().string(), false));
  EXPECT_THAT(Names(list, dir), ElementsAre("IMG.jpg", "img.jpg"));
}

TEST(AddFolderImagesTest, MissingFolderGivesFalse) {
  TempDir dir;
  TImageGalleryList list;
  EXPECT_FALSE(AddFolderImages(list, dir.File("none"), true));
  EXPECT_FALSE(AddFolderImages(list, "", true));
  dir.Write("file.jpg", "");
  EXPECT_FALSE(AddFolderImages(list, dir.File("file.jpg"), true));
  EXPECT_EQ(list.Count(), 0);
}

TEST(AddFolderImagesTest, ReportsProgressEveryFiftyPathsInOneBulkChange) {
  TempDir dir;
  for (int i = 0; i < 120; ++i) dir.Write("p" + std::to_string(1000 + i) + ".jpg", "");
  struct Observer : TImageGalleryListObserver {
    void BeginBulkChange() override { ++bulks; }
    void BeginInsertLines(int, int) override { ++singles; }
    int bulks = 0, singles = 0;
  } observer;
  TImageGalleryList list;
  list.SetObserver(&observer);
  std::vector<int> counts;
  int events = 0;
  TAddFolderHooks hooks;
  hooks.ShowCount = [&](int n) { counts.push_back(n); };
  hooks.ProcessEvents = [&] { ++events; };
  EXPECT_TRUE(AddFolderImages(list, dir.Path().string(), false, hooks));
  EXPECT_THAT(counts, ElementsAre(1, 51, 101));
  EXPECT_EQ(events, 120);
  EXPECT_EQ(observer.bulks, 1);
  EXPECT_EQ(observer.singles, 0);
  list.SetObserver(nullptr);
}

TEST(AddFolderImagesTest, StopRequestEndsTheScanBetweenEntries) {
  TempDir dir;
  for (int i = 0; i < 30; ++i) dir.Write("p" + std::to_string(100 + i) + ".jpg", "");
  TImageGalleryList list;
  int asked = 0;
  TAddFolderHooks hooks;
  hooks.StopRequested = [&] { return ++asked >= 5; };
  EXPECT_TRUE(AddFolderImages(list, dir.Path().string(), false, hooks));
  EXPECT_EQ(asked, 5);  // not asked again once the stop was seen
  EXPECT_EQ(list.Count(), 0);

  // A stop that comes while adding keeps what was added.
  TImageGalleryList partly;
  int checks = 0;
  hooks.StopRequested = [&] { return ++checks > 30 + 10; };
  EXPECT_TRUE(AddFolderImages(partly, dir.Path().string(), false, hooks));
  EXPECT_EQ(partly.Count(), 11);
}

}  // namespace
}  // namespace zelvora
