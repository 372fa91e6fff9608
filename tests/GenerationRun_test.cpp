#include "generation/GenerationRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "html/HtmlHelpers.h"
#include "imaging/ImageLoader.h"
#include "support/PictureWriters.h"
#include "support/TestFileSystem.h"
#include "support/TestSupport.h"
#include "texts/InterfaceTexts.h"
#include "texts/LanguageFile.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::TempDir;
using test::TTestFileSystem;

// Answers the run's questions from a script and records what it was told.
class TScriptedHost : public IRunHost {
 public:
  std::vector<TRunState> States;
  std::vector<TRunMessage> Kinds;
  std::vector<std::string> Captions, Texts;
  std::map<TProgressBar, int> Position, Maximum;
  std::vector<TOverwriteReply> Replies;  // used in order; Closed when they run out
  std::vector<std::string> Asked;
  std::function<void(bool waiting)> OnEvents;

  void SetProgress(TProgressBar bar, int position, int maximum) override {
    Position[bar] = position;
    Maximum[bar] = maximum;
  }
  void ProcessEvents(bool waiting) override {
    if (OnEvents) OnEvents(waiting);
  }
  void SetRunState(TRunState state) override {
    if (States.empty() || States.back() != state) States.push_back(state);
  }
  void ShowMessage(TRunMessage kind, const std::string& caption,
                   const std::string& text) override {
    Kinds.push_back(kind);
    Captions.push_back(caption);
    Texts.push_back(text);
  }
  TOverwriteReply AskOverwrite(const std::string& path, const std::string&,
                               const std::string& text) override {
    Asked.push_back(text);
    if (Asked.size() > Replies.size()) return TOverwriteReply::Closed;
    return Replies[Asked.size() - 1];
  }
};

class GenerationRunTest : public ::testing::Test {
 protected:
  GenerationRunTest() : run(host, fs) {
    source = dir.File("src") + "/";
    output = dir.File("out") + "/";
    options.OutputFolder = output;
    options.ThumbTableRowCount = 2;
    options.ThumbTableColumnCount = 2;
  }

  std::string AddPicture(const std::string& name, const std::string& bytes) {
    std::string path = dir.Write("src/" + name, bytes);
    EXPECT_GE(list.AddFile(path), 0) << name;
    return path;
  }
  std::string AddJpeg(const std::string& name, int width = 200, int height = 150) {
    return AddPicture(name, test::MakeJpeg(test::MakePhotoLikePicture(width, height)));
  }
  std::string AddBmp(const std::string& name, int width = 120, int height = 80) {
    return AddPicture(name, test::MakeBmp(test::MakeTestPattern(width, height)));
  }

  TRunOutcome Run() { return run.Execute(list, options, ParamsForOptions(options)); }
  TRunOutcome Run(const TGenerationParams& params) {
    return run.Execute(list, options, params);
  }

  std::vector<std::string> Written() const { return fs.WrittenBelow(dir.File("out")); }
  bool OutputHas(const std::string& name) const { return FileExists(output + name); }

  TempDir dir;
  std::string source, output;
  TScriptedHost host;
  TTestFileSystem fs;
  TGenerationRun run;
  TGallerySet options;
  TImageGalleryList list;
};

TEST_F(GenerationRunTest, ThreePicturesOnTwoByTwoWriteEveryFileInOrder) {
  const std::string first = AddJpeg("a.jpg");
  AddJpeg("b.jpg");
  AddJpeg("c.jpg");
  const TDateTime sourceDate = EncodeDateTime(2020, 5, 17, 12, 30, 0);
  ASSERT_TRUE(SetFileDateOf(first, sourceDate));

  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_THAT(Written(),
              ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg", "thumbnails/b_thumb.jpg",
                          "images/b.jpg", "thumbnails/c_thumb.jpg", "images/c.jpg",
                          "image1.html", "image2.html", "image3.html", "page1.html", "index.html",
                          "ImageIndex.igl", "GalleryOptions.gof"));
  EXPECT_EQ(host.Maximum[TProgressBar::Thumbnails], 3);
  EXPECT_EQ(host.Position[TProgressBar::Thumbnails], 3);
  EXPECT_EQ(host.Maximum[TProgressBar::Pages], 5);
  EXPECT_EQ(host.Position[TProgressBar::Pages], 5);
  EXPECT_THAT(host.States, ElementsAre(TRunState::Running, TRunState::Done));
  EXPECT_TRUE(host.Texts.empty());
  EXPECT_EQ(run.GalleryStartPage(), output + "index.html");

  // A plain copy is the source byte for byte, with the source's time.
  EXPECT_EQ(test::ReadFileBytes(output + "images/a.jpg"), test::ReadFileBytes(first));
  EXPECT_NEAR(FileDateOf(output + "images/a.jpg"), sourceDate, 1.0 / 86400);

  // 200 x 150 fits the 100 x 100 box as 100 x 75, framed and shadowed.
  const TImageGalleryItem* a = list.Items(0);
  EXPECT_EQ(a->ImageWidth, 200);
  EXPECT_EQ(a->ImageHeight, 150);
  EXPECT_EQ(a->ThumbWidth, 109);
  EXPECT_EQ(a->ThumbHeight, 84);
  EXPECT_EQ(a->ThumbFileSize, FileSizeOf(output + "thumbnails/a_thumb.jpg"));
  auto thumb = LoadImageFile(output + "thumbnails/a_thumb.jpg");
  ASSERT_TRUE(thumb);
  EXPECT_EQ(thumb->Width(), 109);
  EXPECT_EQ(thumb->Height(), 84);

  const std::string igl = test::ReadFileBytes(output + "ImageIndex.igl");
  EXPECT_THAT(igl, HasSubstr("Generator=\"Zelvora\" http://www.zelvora.example/\r\n"));
  EXPECT_THAT(igl, HasSubstr(first));
  std::string gof;
  ASSERT_TRUE(options.SaveToText(gof));
  EXPECT_EQ(test::ReadFileBytes(output + "GalleryOptions.gof"), gof);
}

// An options file may hold a row count of 0; the run must page the list as
// the page writers do (at least one row), or pages and their links disagree.
TEST_F(GenerationRunTest, RowCountBelowOneIsPagedLikeThePageWriters) {
  AddJpeg("a.jpg");
  AddJpeg("b.jpg");
  AddJpeg("c.jpg");
  options.ThumbTableRowCount = 0;  // one row of two columns per page

  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(list.Items(2)->PageNo, 2);
  EXPECT_TRUE(FileExists(output + "page2.html"));
  EXPECT_FALSE(FileExists(output + "page3.html"));
  EXPECT_EQ(host.Maximum[TProgressBar::Pages], 0 + 2 + 3 + 1);
}

TEST_F(GenerationRunTest, FramesPutTheIndexBesideTheFrameset) {
  AddJpeg("a.jpg");
  options.Framed_ThumbTablePage = true;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_THAT(Written(), ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg", "image1.html",
                                     "page1.html", "pageindex.html", "index.html",
                                     "ImageIndex.igl", "GalleryOptions.gof"));
  EXPECT_EQ(host.Maximum[TProgressBar::Pages], 1 + 1 + 1 + 1);
  EXPECT_EQ(run.GalleryStartPage(), output + "index.html");
  EXPECT_THAT(test::ReadFileBytes(output + "index.html"), HasSubstr("<frameset"));
}

TEST_F(GenerationRunTest, BmpIsConvertedToJpegWithItsFileDate) {
  const std::string bmp = AddBmp("scan.bmp");
  const TDateTime sourceDate = EncodeDateTime(2019, 1, 2, 3, 4, 5);
  ASSERT_TRUE(SetFileDateOf(bmp, sourceDate));
  EXPECT_EQ(Run(), TRunOutcome::Done);

  const TImageGalleryItem* item = list.Items(0);
  EXPECT_EQ(item->ImageName, "scan.jpg");
  const std::string copy = test::ReadFileBytes(output + "images/scan.jpg");
  ASSERT_GE(copy.size(), 2u);
  EXPECT_EQ(copy.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(item->FileSize, static_cast<std::int64_t>(copy.size()));
  EXPECT_NEAR(FileDateOf(output + "images/scan.jpg"), item->FileDate, 1.0 / 86400);
  EXPECT_NEAR(item->FileDate, sourceDate, 1.0 / 86400);
  EXPECT_TRUE(OutputHas("image1.html"));
  EXPECT_FALSE(OutputHas("images/scan.bmp"));
}

TEST_F(GenerationRunTest, BmpWithoutConversionIsCopiedAndGetsNoImagePage) {
  const std::string bmp = AddBmp("scan.bmp");
  options.ConvertWebIncompatibleImagesToJPEG = false;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(list.Items(0)->ImageName, "scan.bmp");
  EXPECT_EQ(test::ReadFileBytes(output + "images/scan.bmp"), test::ReadFileBytes(bmp));
  EXPECT_FALSE(OutputHas("image1.html"));
  EXPECT_THAT(test::ReadFileBytes(output + "page1.html"), HasSubstr("images/scan.bmp"));
  EXPECT_EQ(host.Maximum[TProgressBar::Pages], 0 + 1 + 1 + 1);
  EXPECT_EQ(host.Position[TProgressBar::Pages], 2);  // the missing image page is not counted
}

TEST_F(GenerationRunTest, KeptLocationCopiesAndReducesNothing) {
  AddJpeg("a.jpg", 800, 500);
  AddBmp("b.bmp");
  options.KeepLocationOfImages = true;
  options.Image_LimitWebPageImageSize = true;
  options.Image_ResizeSrcImages = true;  // as an options file may say
  options.Image_MaxWidth = 640;
  options.Image_MaxHeight = 600;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_FALSE(DirectoryExists(output + "images"));
  for (const std::string& name : Written()) EXPECT_THAT(name, ::testing::Not(HasSubstr("images/")));
  EXPECT_EQ(list.Items(0)->ImageWidth, 800);
  EXPECT_EQ(list.Items(0)->ImageHeight, 500);
  EXPECT_EQ(list.Items(1)->ImageName, "b.bmp");
}

TEST_F(GenerationRunTest, LargePictureIsReducedOnlyWhenResizingIsOn) {
  const std::string big = AddJpeg("big.jpg", 800, 500);
  options.Image_LimitWebPageImageSize = true;
  options.Image_MaxWidth = 640;
  options.Image_MaxHeight = 600;

  options.Image_ResizeSrcImages = true;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  auto reduced = LoadImageFile(output + "images/big.jpg");
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced->Width(), 640);
  EXPECT_EQ(reduced->Height(), 400);
  EXPECT_EQ(list.Items(0)->ImageWidth, 640);
  EXPECT_EQ(list.Items(0)->ImageHeight, 400);

  options.Image_ResizeSrcImages = false;
  host.Replies = {TOverwriteReply::Yes};
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(test::ReadFileBytes(output + "images/big.jpg"), test::ReadFileBytes(big));
  EXPECT_EQ(list.Items(0)->ImageWidth, 800);
  EXPECT_EQ(list.Items(0)->ImageHeight, 500);
}

TEST_F(GenerationRunTest, WidthLimitOfZeroResamplesEveryPictureToItsOwnSize) {
  AddPicture("logo.gif", test::MakeGif(test::GifFromBitmap(test::MakeTestPattern(30, 20, 16))));
  options.Image_LimitWebPageImageSize = true;
  options.Image_ResizeSrcImages = true;
  options.Image_MaxWidth = 0;
  options.Image_MaxHeight = 600;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(list.Items(0)->ImageName, "logo.jpg");
  auto copy = LoadImageFile(output + "images/logo.jpg");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Width(), 30);
  EXPECT_EQ(copy->Height(), 20);
  EXPECT_FALSE(OutputHas("images/logo.gif"));
}

class OverwriteTest : public GenerationRunTest {
 protected:
  void SetUp() override {
    AddJpeg("a.jpg");
    AddJpeg("b.jpg");
    AddJpeg("c.jpg");
    ASSERT_EQ(Run(), TRunOutcome::Done);
    for (const char* name : {"a", "b", "c"})
      dir.Write(std::string("out/images/") + name + ".jpg", "old copy");
    fs.Written.clear();
  }
  std::string Copy(const char* name) {
    return test::ReadFileBytes(output + "images/" + name + ".jpg");
  }
};

TEST_F(OverwriteTest, NoToAllKeepsEveryCopyButReplacesThumbnailsAndPages) {
  host.Replies = {TOverwriteReply::NoToAll};
  EXPECT_EQ(Run(), TRunOutcome::Done);
  ASSERT_EQ(host.Asked.size(), 1u);
  EXPECT_EQ(host.Asked[0], "File already exists:\n" + output +
                               "images/a.jpg\nYou are sure to rewrite this file?");
  EXPECT_EQ(run.OverwriteAnswer(), kOverwriteNever);
  for (const char* name : {"a", "b", "c"}) EXPECT_EQ(Copy(name), "old copy");
  EXPECT_THAT(Written(), ElementsAre("thumbnails/a_thumb.jpg", "thumbnails/b_thumb.jpg",
                                     "thumbnails/c_thumb.jpg", "image1.html", "image2.html",
                                     "image3.html", "page1.html", "index.html",
                                     "ImageIndex.igl", "GalleryOptions.gof"));
}

TEST_F(OverwriteTest, YesNoAndYesToAll) {
  host.Replies = {TOverwriteReply::No, TOverwriteReply::YesToAll};
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(host.Asked.size(), 2u);  // nothing asked after "Y&es to All"
  EXPECT_EQ(Copy("a"), "old copy");
  EXPECT_NE(Copy("b"), "old copy");
  EXPECT_NE(Copy("c"), "old copy");
}

TEST_F(OverwriteTest, CancelStopsTheRunAndKeepsWhatWasWritten) {
  host.Replies = {TOverwriteReply::Yes, TOverwriteReply::Cancel};
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  EXPECT_EQ(run.OverwriteAnswer(), kOverwriteCancelled);
  EXPECT_THAT(Written(),
              ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg", "thumbnails/b_thumb.jpg"));
  EXPECT_EQ(Copy("b"), "old copy");
  EXPECT_EQ(host.States.back(), TRunState::Ready);
  EXPECT_TRUE(run.AbortRequested());
  EXPECT_EQ(host.Position[TProgressBar::Thumbnails], 0);
  EXPECT_TRUE(host.Texts.empty());  // a cancel has no message of its own
}

TEST_F(GenerationRunTest, FreezeDuringAThumbnailLetsThatPictureFinish) {
  AddJpeg("a.jpg");
  AddJpeg("b.jpg");
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("a_thumb.jpg")) run.Freeze();
  };
  std::vector<std::string> writtenWhenPaused;
  host.OnEvents = [&](bool waiting) {
    if (!waiting) return;
    writtenWhenPaused = Written();
    run.Continue();
  };
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_THAT(writtenWhenPaused, ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg"));
  EXPECT_THAT(host.States, ElementsAre(TRunState::Running, TRunState::Paused, TRunState::Running,
                                       TRunState::Done));
  EXPECT_TRUE(OutputHas("index.html"));
}

TEST_F(GenerationRunTest, FullDiskOnAThumbnailWaitsAndRetriesAfterContinue) {
  AddJpeg("a.jpg");
  AddJpeg("b.jpg");
  bool filled = false;
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("b_thumb.jpg") && !filled) fs.DiskFull = filled = true;
  };
  std::size_t messagesWhenPaused = 0;
  host.OnEvents = [&](bool waiting) {
    if (!waiting) return;
    messagesWhenPaused = host.Texts.size();
    fs.DiskFull = false;  // the user frees space
    run.Continue();
  };
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(messagesWhenPaused, 1u);
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::DiskFull);
  EXPECT_EQ(host.Captions[0], " Write Error");
  EXPECT_EQ(host.Texts[0],
            "There is no free space on the disk \"/test-volume\"\n"
            "Please, free the space for files and press the Continue button\n"
            "to continue making of gallery, or press the Abort button to abort.");
  EXPECT_EQ(fs.FailedAttempts, 1);
  EXPECT_THAT(Written(), ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg",
                                     "thumbnails/b_thumb.jpg", "images/b.jpg", "image1.html",
                                     "image2.html", "page1.html", "index.html",
                                     "ImageIndex.igl", "GalleryOptions.gof"));
  EXPECT_THAT(host.States, ElementsAre(TRunState::Running, TRunState::Paused, TRunState::Running,
                                       TRunState::Done));
}

TEST_F(GenerationRunTest, FullDiskThenAbortStops) {
  AddJpeg("a.jpg");
  fs.DiskFull = true;
  host.OnEvents = [&](bool waiting) {
    if (waiting) run.Abort();
  };
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  EXPECT_EQ(fs.FailedAttempts, 1);  // no retry after Abort
  EXPECT_TRUE(Written().empty());
  EXPECT_EQ(host.States.back(), TRunState::Ready);
  EXPECT_FALSE(run.Paused());
}

TEST_F(GenerationRunTest, WriteErrorWithRoomOnTheDiskStopsWithItsMessage) {
  AddJpeg("a.jpg");
  fs.FailWritesTo = "page1.html";
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::WriteError);
  EXPECT_EQ(host.Captions[0], " Write Error");
  EXPECT_EQ(host.Texts[0],
            "There was a file write error.\nThe creation of the gallery is aborted.");
  EXPECT_EQ(fs.FailedAttempts, 1);
  EXPECT_TRUE(OutputHas("image1.html"));  // what was written stays
  EXPECT_FALSE(OutputHas("index.html"));
}

TEST_F(GenerationRunTest, CopyErrorNamesTheTarget) {
  AddJpeg("a.jpg");
  fs.FailCopiesTo = "images/a.jpg";
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::CopyError);
  EXPECT_EQ(host.Captions[0], " Copy Error");
  EXPECT_EQ(host.Texts[0], "There was a file copy error:\n\n" + output +
                               "images/a.jpg\n\nThe creation of the gallery is aborted.");
}

TEST_F(GenerationRunTest, UnknownFreeSpaceCountsAsAFullDisk) {
  AddJpeg("a.jpg");
  fs.FreeBytes = -1;
  fs.FailWritesTo = "index.html";
  host.OnEvents = [&](bool waiting) {
    if (!waiting) return;
    fs.FailWritesTo.clear();
    run.Continue();
  };
  EXPECT_EQ(Run(), TRunOutcome::Done);
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::DiskFull);
  EXPECT_TRUE(OutputHas("index.html"));
}

TEST_F(GenerationRunTest, UndecodableGifGetsNoThumbnailButAnImagePage) {
  AddPicture("broken.gif", "GIF89a this is not a picture");
  options.Image_MaxWidth = 640;
  options.Image_MaxHeight = 600;
  EXPECT_EQ(Run(), TRunOutcome::Done);
  const TImageGalleryItem* item = list.Items(0);
  EXPECT_EQ(item->ThumbWidth, 100);
  EXPECT_EQ(item->ThumbHeight, 100);
  EXPECT_EQ(item->ImageWidth, 640);
  EXPECT_EQ(item->ImageHeight, 600);
  EXPECT_FALSE(OutputHas("thumbnails/broken_thumb.jpg"));
  EXPECT_FALSE(OutputHas("images/broken.gif"));
  EXPECT_TRUE(OutputHas("image1.html"));
}

TEST_F(GenerationRunTest, ListWithoutExistingPicturesWritesNothingAndEndsDone) {
  list.InsertSeparator(0);
  list.InsertSeparator(1);
  run.SetGalleryStartPage("/earlier/index.html");
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_TRUE(fs.Written.empty());
  EXPECT_FALSE(DirectoryExists(output));
  EXPECT_EQ(host.States.back(), TRunState::Done);
  EXPECT_EQ(run.GalleryStartPage(), "/earlier/index.html");

  // A picture whose file has gone counts as none.
  const std::string gone = AddJpeg("gone.jpg");
  std::filesystem::remove(gone);
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_TRUE(fs.Written.empty());
}

TEST_F(GenerationRunTest, AbortDuringThePagesKeepsTheFilesAndResetsTheBars) {
  AddJpeg("a.jpg");
  AddJpeg("b.jpg");
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("image2.html")) run.Abort();
  };
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  EXPECT_TRUE(OutputHas("image2.html"));  // the unit of work finishes
  EXPECT_FALSE(OutputHas("page1.html"));
  EXPECT_EQ(host.Position[TProgressBar::Thumbnails], 0);
  EXPECT_EQ(host.Position[TProgressBar::Pages], 0);
  EXPECT_EQ(host.States.back(), TRunState::Ready);
}

TEST_F(GenerationRunTest, BackgroundImageIsCopiedIntoTheThumbnailFolder) {
  AddJpeg("a.jpg");
  TGenerationParams params = ParamsForOptions(options);
  params.BackgroundImagePath = dir.Write("bg/paper.jpg", "background bytes");
  params.UseBackgroundImage = true;
  EXPECT_EQ(Run(params), TRunOutcome::Done);
  EXPECT_EQ(Written().front(), "thumbnails/paper.jpg");
  EXPECT_EQ(test::ReadFileBytes(output + "thumbnails/paper.jpg"), "background bytes");
  EXPECT_EQ(options.HTMLPage_Background, "thumbnails/paper.jpg");

  params.UseBackgroundImage = false;
  EXPECT_EQ(Run(params), TRunOutcome::Done);
  EXPECT_EQ(options.HTMLPage_Background, "");
}

TEST_F(GenerationRunTest, FolderOutsideTheGalleryIsRefused) {
  AddJpeg("a.jpg");
  options.Thumb_URLPath = "../escaped/";
  EXPECT_EQ(Run(), TRunOutcome::Stopped);
  EXPECT_TRUE(fs.Written.empty());
  EXPECT_FALSE(DirectoryExists(dir.File("escaped")));
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::WriteError);
}

// A portrait stored sideways, as cameras write it: 64 x 48 with Orientation 6.
TEST_F(GenerationRunTest, SidewaysPhotoIsShownUprightEverywhere) {
  const std::string path = AddPicture(
      "portrait.jpg", test::MakeJpegWithExif(test::MakeStoredQuadrants(48, 64, 6),
                                             test::MakeExifOrientationBlock(6)));
  EXPECT_EQ(Run(), TRunOutcome::Done);
  const TImageGalleryItem* entry = list.Items(0);
  EXPECT_EQ(entry->ImageWidth, 48);
  EXPECT_EQ(entry->ImageHeight, 64);
  EXPECT_LT(entry->ThumbWidth, entry->ThumbHeight);
  EXPECT_THAT(test::ReadFileBytes(output + "image1.html"),
              HasSubstr("<img width=\"48\" height=\"64\" src=\"images/portrait.jpg\""));
  // The plain copy keeps its bytes and its tag: browsers turn it themselves.
  EXPECT_EQ(test::ReadFileBytes(output + "images/portrait.jpg"), test::ReadFileBytes(path));

  // A reduced copy is written upright and without the tag.
  options.Image_LimitWebPageImageSize = true;
  options.Image_ResizeSrcImages = true;
  options.Image_MaxWidth = 40;
  options.Image_MaxHeight = 40;
  host.Replies = {TOverwriteReply::YesToAll};
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(entry->ImageWidth, 30);
  EXPECT_EQ(entry->ImageHeight, 40);
  const std::string reduced = test::ReadFileBytes(output + "images/portrait.jpg");
  EXPECT_EQ(reduced.find("Exif"), std::string::npos);
  auto copy = LoadImageFile(output + "images/portrait.jpg");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Width(), 30);
  EXPECT_EQ(copy->Height(), 40);
  EXPECT_EQ(RedOf(copy->PixelColor(7, 10)) > 200 && BlueOf(copy->PixelColor(7, 10)) < 60, true)
      << "the top left quadrant is red";
}

TEST_F(GenerationRunTest, OrientationOneMakesTheSameGalleryAsNoExif) {
  const Bitmap photo = test::MakePhotoLikePicture(120, 90);
  AddPicture("plain.jpg", test::MakeJpeg(photo));
  AddPicture("tagged.jpg", test::MakeJpegWithExif(photo, test::MakeExifOrientationBlock(1)));
  EXPECT_EQ(Run(), TRunOutcome::Done);
  EXPECT_EQ(test::ReadFileBytes(output + "thumbnails/plain_thumb.jpg"),
            test::ReadFileBytes(output + "thumbnails/tagged_thumb.jpg"));
  EXPECT_EQ(list.Items(1)->ImageWidth, 120);
  EXPECT_EQ(list.Items(1)->ImageHeight, 90);
}

// Old Latin-1 names and a language file written with "%E4" still give pages
// that are UTF-8 throughout, and whose links find the files.
TEST_F(GenerationRunTest, PagesAreUtf8AndTheirLinksFindLatin1Names) {
  AddJpeg("caf\xE9.jpg");
  AddJpeg("\xC3\xA9t\xC3\xA9.jpg");
  list.Items(0)->Comment = "Cr\xE8me br\xFBl\xE9" "e";
  options.Thumb_Description.ShowFlags = Show_ImageName | Show_ImageComment | Show_FileTime;
  options.CustomPageTitle = "Sm\xF6rg\xE5s";
  options.CustomPageFooter = "\xA9 2024";
  options.Framed_ThumbTablePage = true;
  TTagDirectory noObjects;
  ASSERT_TRUE(LoadLanguageFile(dir.Write("fi.txt", "Finnish\r\n\r\n7023=P%E4iv%E4ys:\r\n"),
                               noObjects, nullptr));
  const TRunOutcome outcome = Run();
  ResetInterfaceTexts();
  ASSERT_EQ(outcome, TRunOutcome::Done);

  std::string all;
  for (const std::string& name : Written()) {
    if (name.find(".html") == std::string::npos) continue;
    const std::string page = test::ReadFileBytes(output + name);
    EXPECT_TRUE(IsValidUtf8(page)) << name;
    EXPECT_NE(page.find("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"),
              std::string::npos)
        << name;
    all += page;
    // Every link and picture inside the gallery names a file that is there.
    static const std::regex kUrl("(href|src)=\"([^\"]*)\"");
    for (std::sregex_iterator it(page.begin(), page.end(), kUrl), end; it != end; ++it) {
      const std::optional<std::string> file = TryURLDecode((*it)[2].str());
      ASSERT_TRUE(file) << name << ": " << (*it)[2];
      EXPECT_TRUE(FileExists(output + *file)) << name << ": " << (*it)[2];
    }
  }
  EXPECT_THAT(all, HasSubstr("src=\"thumbnails/caf%E9_thumb.jpg\""));
  EXPECT_THAT(all, HasSubstr("src=\"images/caf%E9.jpg\""));
  EXPECT_THAT(all, HasSubstr("src=\"images/%C3%A9t%C3%A9.jpg\""));
  EXPECT_THAT(all, HasSubstr("<b>caf\xC3\xA9</b>"));
  EXPECT_THAT(all, HasSubstr("<b>\xC3\xA9t\xC3\xA9</b>"));
  EXPECT_THAT(all, HasSubstr("alt=\"caf\xC3\xA9.jpg  ("));
  EXPECT_THAT(all, HasSubstr("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e"));
  EXPECT_THAT(all, HasSubstr("P\xC3\xA4iv\xC3\xA4ys:"));
  EXPECT_THAT(all, HasSubstr("<title>Sm\xC3\xB6rg\xC3\xA5s - The Image Gallery</title>"));
  EXPECT_THAT(all, HasSubstr("\xC2\xA9 2024"));
  // The list file keeps the names' own bytes, so the gallery imports again.
  EXPECT_THAT(test::ReadFileBytes(output + "ImageIndex.igl"), HasSubstr("caf\xE9.jpg"));
}

TEST_F(GenerationRunTest, DescriptionsAreShownExactlyWhenAFlagIsSet) {
  AddJpeg("a.jpg");
  options.Thumb_Description.ShowDescription = true;
  options.Thumb_Description.ShowFlags = 0;
  Run();
  EXPECT_FALSE(options.Thumb_Description.ShowDescription);
  options.Thumb_Description.ShowFlags = Show_ImageName;
  host.Replies = {TOverwriteReply::YesToAll};
  Run();
  EXPECT_TRUE(options.Thumb_Description.ShowDescription);
}

// Every file below folder, by its path relative to it.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), folder).string()] =
          test::ReadFileBytes(entry.path().string());
  }
  return files;
}

// Runs with pictures loaded and scaled on worker threads must write what a
// plain loop writes, in the same order, and stop where it stops.
class JobsTest : public GenerationRunTest {
 protected:
  TRunOutcome RunWith(int jobs) {
    TGenerationParams params = ParamsForOptions(options);
    params.Jobs = jobs;
    return run.Execute(list, options, params);
  }
  void AddPlainPictures(int count) {
    for (int i = 0; i < count; ++i) AddJpeg(std::string(1, static_cast<char>('a' + i)) + ".jpg");
  }
};

TEST_F(JobsTest, TwoThreadsWriteTheSameGalleryAsOne) {
  AddJpeg("a.jpg", 300, 200);
  AddJpeg("big.jpg", 800, 500);  // reduced
  list.InsertSeparator(list.Count());
  AddPicture("broken.jpg", "no JPEG at all");
  AddBmp("scan.bmp");  // converted
  AddPicture("logo.gif", test::MakeGif(test::GifFromBitmap(test::MakeTestPattern(30, 20, 16))));
  list.InsertSeparator(list.Count());
  AddJpeg("c.jpg", 90, 60);
  AddJpeg("d.jpg", 700, 700);  // reduced
  options.Image_LimitWebPageImageSize = true;
  options.Image_ResizeSrcImages = true;
  options.Image_MaxWidth = 640;
  options.Image_MaxHeight = 600;
  options.RenameImages = true;
  options.RenameImageMask = "pic-%4c";

  std::map<std::string, std::string> galleries[2];
  std::vector<std::string> written[2];
  for (int jobs : {1, 2}) {
    std::filesystem::remove_all(output);
    fs.Written.clear();
    ASSERT_EQ(RunWith(jobs), TRunOutcome::Done) << jobs;
    galleries[jobs - 1] = FilesBelow(output);
    written[jobs - 1] = Written();
  }
  EXPECT_EQ(written[1], written[0]);
  EXPECT_THAT(written[0], ::testing::Contains("images/pic-0002.jpg"));
  EXPECT_THAT(written[0], ::testing::Contains("images/pic-0004.jpg"));  // the BMP, converted
  ASSERT_EQ(galleries[1].size(), galleries[0].size());
  for (const auto& [name, bytes] : galleries[0]) {
    EXPECT_TRUE(galleries[1].count(name) && galleries[1][name] == bytes) << name;
  }
}

TEST_F(JobsTest, AbortWithTwoThreadsStopsWhereOneThreadStops) {
  AddPlainPictures(6);
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("b_thumb.jpg")) run.Abort();
  };
  for (int jobs : {1, 2}) {
    std::filesystem::remove_all(output);
    fs.Written.clear();
    EXPECT_EQ(RunWith(jobs), TRunOutcome::Stopped);
    EXPECT_THAT(Written(), ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg",
                                       "thumbnails/b_thumb.jpg", "images/b.jpg"))
        << jobs;
    // The pictures still in flight when the run stopped wrote nothing.
    EXPECT_EQ(FilesBelow(output).size(), 4u) << jobs;
  }
}

TEST_F(JobsTest, FreezeWithTwoThreadsPausesAfterThePictureBeingWritten) {
  AddPlainPictures(5);
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("c_thumb.jpg")) run.Freeze();
  };
  std::vector<std::string> writtenWhenPaused;
  host.OnEvents = [&](bool waiting) {
    if (!waiting) return;
    writtenWhenPaused = Written();
    run.Continue();
  };
  EXPECT_EQ(RunWith(2), TRunOutcome::Done);
  EXPECT_THAT(writtenWhenPaused,
              ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg", "thumbnails/b_thumb.jpg",
                          "images/b.jpg", "thumbnails/c_thumb.jpg", "images/c.jpg"));
  EXPECT_THAT(host.States, ElementsAre(TRunState::Running, TRunState::Paused, TRunState::Running,
                                       TRunState::Done));
  EXPECT_EQ(host.Position[TProgressBar::Thumbnails], 5);
}

TEST_F(JobsTest, FullDiskWithTwoThreadsWaitsAndRetries) {
  AddPlainPictures(4);
  bool filled = false;
  fs.BeforeWrite = [&](const std::string& target) {
    if (target.ends_with("c.jpg") && !filled) fs.DiskFull = filled = true;
  };
  host.OnEvents = [&](bool waiting) {
    if (!waiting) return;
    fs.DiskFull = false;
    run.Continue();
  };
  EXPECT_EQ(RunWith(2), TRunOutcome::Done);
  ASSERT_EQ(host.Kinds.size(), 1u);
  EXPECT_EQ(host.Kinds[0], TRunMessage::DiskFull);
  EXPECT_EQ(fs.FailedAttempts, 1);
  EXPECT_THAT(Written(), ElementsAre("thumbnails/a_thumb.jpg", "images/a.jpg",
                                     "thumbnails/b_thumb.jpg", "images/b.jpg",
                                     "thumbnails/c_thumb.jpg", "images/c.jpg",
                                     "thumbnails/d_thumb.jpg", "images/d.jpg", "image1.html",
                                     "image2.html", "image3.html", "image4.html", "page1.html",
                                     "index.html", "ImageIndex.igl", "GalleryOptions.gof"));
}

TEST_F(JobsTest, OverwriteQuestionsComeInListOrderWithTwoThreads) {
  AddPlainPictures(4);
  ASSERT_EQ(RunWith(2), TRunOutcome::Done);
  host.Replies = {TOverwriteReply::No, TOverwriteReply::Yes, TOverwriteReply::Cancel};
  EXPECT_EQ(RunWith(2), TRunOutcome::Stopped);
  ASSERT_EQ(host.Asked.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_THAT(host.Asked[i], HasSubstr(std::string("images/") + "abc"[i] + ".jpg"));
}

TEST(RealFileSystemTest, CopyOntoItselfKeepsTheFile) {
  TempDir dir;
  const std::string path = dir.Write("a.jpg", "precious");
  TRealFileSystem fs;
  EXPECT_TRUE(fs.CopyFile(path, path));
  EXPECT_EQ(test::ReadFileBytes(path), "precious");
}

TEST(RealFileSystemTest, WriteReplacesAndReportsAMissingFolder) {
  TempDir dir;
  TRealFileSystem fs;
  const std::string path = dir.File("page.html");
  EXPECT_TRUE(fs.WriteFile(path, "a longer first text"));
  EXPECT_TRUE(fs.WriteFile(path, "short"));
  EXPECT_EQ(test::ReadFileBytes(path), "short");
  EXPECT_FALSE(fs.WriteFile(dir.File("missing/page.html"), "x"));
}

TEST(UncompressedBmpSizeTest, RowsArePaddedToFourBytes) {
  EXPECT_EQ(UncompressedBmpSize(1, 1), 54 + 4);
  EXPECT_EQ(UncompressedBmpSize(4, 2), 54 + 24);
  EXPECT_EQ(UncompressedBmpSize(0, 5), 54);
}

}  // namespace
}  // namespace zelvora
