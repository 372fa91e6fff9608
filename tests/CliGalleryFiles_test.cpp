// zelvora-make's knowledge of a gallery's files: the files of an earlier
// gallery must be named from its ImageIndex.igl and GalleryOptions.gof
// exactly as the run named them, or --clean would leave some or take others.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli/GalleryFiles.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "support/PictureWriters.h"
#include "support/QuietRunHost.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::set<std::string> GalleryFilesOnDisk(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "ImageIndex.igl" && name != "GalleryOptions.gof")
      files.insert(cli::GalleryPathKey(entry.path().string()));
  }
  return files;
}

class PreviousGalleryFilesTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string jpeg = test::MakeJpeg(test::MakePhotoLikePicture(90, 60));
    dir.Write("src/a.jpg", jpeg);
    dir.Write("src/sub/a.jpg", jpeg);  // the same name twice: a_1
    dir.Write("src/A.JPG", jpeg);      // and in other letter case
    dir.Write("src/c.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
    dir.Write("src/d.gif", test::MakeGif(test::GifFromBitmap(test::MakeTestPattern(20, 20, 16))));
    dir.Write("src/e.jpg", jpeg);
    dir.Write("back.jpg", jpeg);
  }

  // A gallery written by the run itself, with these option lines.
  std::string WriteGallery(const std::string& optionLines) {
    TGallerySet options;
    EXPECT_TRUE(options.LoadFromStrings(SplitLines(optionLines), ""));
    if (!options.RenameImages) options.RenameImageMask.clear();
    options.OutputFolder = dir.File("out") + "/";
    TImageGalleryList list;
    list.AddFile(dir.File("src/a.jpg"));
    list.AddFile(dir.File("src/sub/a.jpg"));
    list.InsertSeparator(list.Count());
    list.AddFile(dir.File("src/A.JPG"));
    list.AddFile(dir.File("src/c.bmp"));
    list.AddFile(dir.File("src/d.gif"));
    list.InsertSeparator(list.Count());
    list.AddFile(dir.File("src/e.jpg"));
    TGenerationParams params = ParamsForOptions(options);
    params.UseBackgroundImage = true;
    params.BackgroundImagePath = dir.File("back.jpg");
    test::TQuietRunHost host;
    host.OverwriteReply = TOverwriteReply::Yes;
    TRealFileSystem fs;
    TGenerationRun run(host, fs);
    EXPECT_EQ(run.Execute(list, options, params), TRunOutcome::Done);
    return dir.File("out");
  }

  TempDir dir;
};

TEST_P(PreviousGalleryFilesTest, NamesEveryFileTheRunWroteAndNoOther) {
  const std::string folder = WriteGallery(GetParam());
  const std::set<std::string> onDisk = GalleryFilesOnDisk(folder);
  EXPECT_EQ(cli::PreviousGalleryFiles(folder), onDisk);

  // A picture that has gone since still counts: its files are named.
  fs::remove(dir.File("src/c.bmp"));
  EXPECT_EQ(cli::PreviousGalleryFiles(folder), onDisk);
}

INSTANTIATE_TEST_SUITE_P(
    Options, PreviousGalleryFilesTest,
    ::testing::Values("",
                      "RenameImages=yes\nRenameImageMask=%n",
                      "RenameImages=yes\nRenameImageMask=pic-%3c\nFramed_ThumbTablePage=yes",
                      "ThumbTableRowCount=1\nThumbTableColumnCount=2",
                      "ConvertWebIncompatibleImagesToJPEG=no\nThumb_URLPath=t/small\n"
                      "Image_URLPath=",
                      "Image_LimitWebPageImageSize=yes\nImage_ResizeSrcImages=yes\n"
                      "Image_MaxWidth=40\nImage_MaxHeight=40",
                      "KeepLocationOfImages=yes"));

TEST(PreviousGalleryFiles, NothingWithoutAListAndNothingOutsideTheFolder) {
  TempDir dir;
  dir.Write("out/index.html", "x");
  EXPECT_TRUE(cli::PreviousGalleryFiles(dir.File("out")).empty());

  dir.Write("secret_thumb.jpg", "x");
  dir.Write("out/ImageIndex.igl",
            "Version=3\r\nContent=The image gallery list\r\nGenerator=x\r\n\r\n\"" +
                dir.File("secret.jpg") + "\" \"\" \"\"\r\n");
  dir.Write("out/GalleryOptions.gof", "Thumb_URLPath=..\r\n");
  EXPECT_EQ(cli::PreviousGalleryFiles(dir.File("out")),
            (std::set<std::string>{cli::GalleryPathKey(dir.File("out/index.html"))}));
}

}  // namespace
}  // namespace zelvora
