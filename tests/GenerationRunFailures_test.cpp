// The run against a disk that fails at each of its writes in turn: after
// every failure no file of the gallery is empty or cut, the files of the
// gallery that was there before are whole, no temporary file is left, and
// the source pictures are as they were.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "imaging/ImageLoader.h"
#include "support/PictureWriters.h"
#include "support/TestFileSystem.h"
#include "support/QuietRunHost.h"
#include "support/TestSupport.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::TTestFileSystem;
using TFiles = std::map<std::string, std::string>;  // relative path -> bytes

// Every file below folder with its bytes; temporary files are collected
// apart.
TFiles FilesBelow(const std::string& folder, std::vector<std::string>* temporaries) {
  TFiles files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    if (IsTemporaryFileName(name)) temporaries->push_back(entry.path().string());
    files[fs::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path().string());
  }
  return files;
}

// A page ends with its closing tag, a JPEG with its end marker and decodes,
// a list or options file with its line end.
void ExpectWhole(const std::string& name, const std::string& bytes, const std::string& path) {
  ASSERT_FALSE(bytes.empty()) << name;
  if (name.ends_with(".html")) {
    EXPECT_TRUE(bytes.ends_with("</html>")) << name;
  } else if (name.ends_with(".jpg")) {
    EXPECT_TRUE(bytes.starts_with("\xFF\xD8") && bytes.ends_with("\xFF\xD9")) << name;
    EXPECT_TRUE(LoadImageFile(path)) << name;
  } else {
    EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
  }
}

enum class TFailure {
  WriteErrorOverOldGallery,  // the write fails with room on the disk: the run stops
  WriteErrorInEmptyFolder,   // the same on a first run
  FullDiskThenContinue,      // the disk fills; space is freed and the run goes on
};

class RunFailureTest : public ::testing::TestWithParam<TFailure> {
 protected:
  RunFailureTest() {
    output = dir.File("out") + "/";
    dir.Write("src/a.jpg", test::MakeJpeg(test::MakePhotoLikePicture(200, 150)));
    dir.Write("src/b.bmp", test::MakeBmp(test::MakeTestPattern(120, 80)));
    sources = FilesBelow(dir.File("src"), &temporaries);
  }

  // The second run differs in every file it writes.
  TRunOutcome Run(TTestFileSystem& fileSystem, test::TQuietRunHost& host, bool second) {
    TImageGalleryList list;
    list.AddFile(dir.File("src/a.jpg"));
    list.AddFile(dir.File("src/b.bmp"));
    TGallerySet options;
    options.OutputFolder = output;
    options.CustomPageTitle = second ? "second" : "first";
    options.Thumb_JPEGQuality = options.Image_JPEGQuality = second ? 60 : 90;
    TGenerationParams params = ParamsForOptions(options);
    params.InitialOverwriteAnswer = kOverwriteAlways;
    TGenerationRun run(host, fileSystem);
    if (GetParam() == TFailure::FullDiskThenContinue) {
      host.OnEvents = [&run](bool waiting) {
        if (waiting) run.Continue();  // the user frees space and continues
      };
    }
    return run.Execute(list, options, params);
  }

  TempDir dir;
  std::string output;
  TFiles sources;
  std::vector<std::string> temporaries;
};

TEST_P(RunFailureTest, EveryWriteInTurn) {
  // A clean run: how many writes and copies a gallery of two pictures
  // takes (two thumbnails, a copy, a conversion, four pages, two files).
  TTestFileSystem counting;
  test::TQuietRunHost quiet;
  ASSERT_EQ(Run(counting, quiet, false), TRunOutcome::Done);
  const int attempts = counting.Attempts;
  ASSERT_EQ(attempts, 10);
  const TFiles firstGallery = FilesBelow(output, &temporaries);

  for (int cut = 1; cut <= attempts; ++cut) {
    SCOPED_TRACE("failing attempt " + std::to_string(cut));
    if (GetParam() == TFailure::WriteErrorInEmptyFolder) fs::remove_all(output);

    TTestFileSystem disk;
    disk.CutAttempt = cut;
    disk.DiskFullOnCut = GetParam() == TFailure::FullDiskThenContinue;
    std::string cutTarget;
    disk.BeforeWrite = [&](const std::string& target) {
      if (disk.Attempts == cut) cutTarget = fs::relative(target, output).string();
    };
    test::TQuietRunHost host;
    const TRunOutcome outcome = Run(disk, host, true);
    ASSERT_EQ(disk.FailedAttempts, 1);
    ASSERT_FALSE(cutTarget.empty());

    const TFiles after = FilesBelow(output, &temporaries);
    EXPECT_THAT(temporaries, ::testing::IsEmpty());
    EXPECT_EQ(FilesBelow(dir.File("src"), &temporaries), sources);
    for (const auto& [name, bytes] : after) ExpectWhole(name, bytes, output + name);

    switch (GetParam()) {
      case TFailure::WriteErrorOverOldGallery:
        EXPECT_EQ(outcome, TRunOutcome::Stopped);
        ASSERT_EQ(host.Kinds.size(), 1u);
        // The file that failed is the previous one, byte for byte; the
        // gallery holds the same files as before.
        EXPECT_TRUE(after.at(cutTarget) == firstGallery.at(cutTarget)) << cutTarget;
        EXPECT_EQ(after.size(), firstGallery.size());
        break;
      case TFailure::WriteErrorInEmptyFolder:
        EXPECT_EQ(outcome, TRunOutcome::Stopped);
        EXPECT_FALSE(after.contains(cutTarget)) << cutTarget;
        break;
      case TFailure::FullDiskThenContinue:
        EXPECT_EQ(outcome, TRunOutcome::Done);
        ASSERT_EQ(host.Kinds.size(), 1u);
        EXPECT_EQ(host.Kinds[0], TRunMessage::DiskFull);
        EXPECT_EQ(after.size(), firstGallery.size());
        // The pages were written again after the retry.
        EXPECT_THAT(after.at("index.html"), ::testing::HasSubstr("second"));
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Failures, RunFailureTest,
                         ::testing::Values(TFailure::WriteErrorOverOldGallery,
                                           TFailure::WriteErrorInEmptyFolder,
                                           TFailure::FullDiskThenContinue));

}  // namespace
}  // namespace zelvora
