// Runs the built zelvora-make as a user would, without a terminal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {

using ::testing::HasSubstr;
using test::ReadFileBytes;
using test::TempDir;

struct TResult {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class ZelvoraMakeTest : public ::testing::Test {
 protected:
  TResult Make(const std::vector<std::string>& args) {
    const char* buildDir = std::getenv("ZELVORA_BUILD_DIR");
    std::string command = Quote(std::string(buildDir ? buildDir : ".") + "/zelvora-make");
    for (const std::string& arg : args) command += " " + Quote(arg);
    const std::string outFile = dir.File("stdout.txt"), errFile = dir.File("stderr.txt");
    command += " </dev/null >" + Quote(outFile) + " 2>" + Quote(errFile);
    TResult result;
    int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadFileBytes(outFile);
    result.err = ReadFileBytes(errFile);
    return result;
  }
  std::string Jpeg(const std::string& name) {
    return dir.Write("src/" + name, test::MakeJpeg(test::MakePhotoLikePicture(160, 120)));
  }

  TempDir dir;
};

TEST_F(ZelvoraMakeTest, WrongArgumentsExitWithTwoAndSayWhy) {
  TResult r = Make({});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("give either --list FILE or --folder DIR"));

  r = Make({"--folder", dir.File("")});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("the output folder is missing"));

  r = Make({"--frobnicate", "--folder", ".", "out"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("unknown option --frobnicate"));

  r = Make({"--overwrite", "sometimes", "--folder", ".", "out"});
  EXPECT_EQ(r.status, 2);

  r = Make({"--folder", dir.File(""), "--set", "NoSuchKey=1", dir.File("out")});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("unknown option key \"NoSuchKey\""));

  for (const char* jobs : {"0", "x", "257", ""}) {
    r = Make({"--jobs", jobs, "--folder", ".", "out"});
    EXPECT_EQ(r.status, 2) << jobs;
    EXPECT_THAT(r.err, HasSubstr("--jobs takes a number from 1 to 256")) << jobs;
  }

  r = Make({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, HasSubstr("usage: zelvora-make"));
}

TEST_F(ZelvoraMakeTest, UnreadableInputsExitWithTwo) {
  TResult r = Make({"--list", dir.File("missing.txt"), dir.File("out")});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("cannot read the list file"));

  r = Make({"--list", dir.Write("wrong.igl", "Version=3\r\nContent=Something else\r\n\r\n"),
            dir.File("out")});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("Unknown file format"));

  r = Make({"--folder", dir.File("no-such-folder"), dir.File("out")});
  EXPECT_EQ(r.status, 2);

  r = Make({"--options", dir.File("none.gof"), "--folder", dir.File(""), dir.File("out")});
  EXPECT_EQ(r.status, 2);

  r = Make({"--background", dir.File("none.jpg"), "--folder", dir.File(""), dir.File("out")});
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST_F(ZelvoraMakeTest, WritesTheGalleryAndPrintsItsStartPage) {
  const std::string a = Jpeg("a.jpg");
  const std::string list =
      dir.Write("list.txt", a + "\r\n\r\n" + dir.File("src/missing.jpg") + "\r\n" + a + "\r\n");
  TResult r = Make({"--list", list, "--set", "Framed_ThumbTablePage=yes", "--set",
                    "ThumbTableRowCount=1", "--set", "ThumbTableRowCount=3", dir.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("out") + "/index.html\n");
  EXPECT_THAT(r.err, HasSubstr("1 files was not found."));
  EXPECT_THAT(r.err, ::testing::Not(HasSubstr("Thumbnails [")));  // no bars without a terminal
  const std::string gof = ReadFileBytes(dir.File("out/GalleryOptions.gof"));
  EXPECT_THAT(gof, HasSubstr("Framed_ThumbTablePage=yes\r\n"));
  EXPECT_THAT(gof, HasSubstr("ThumbTableRowCount=3\r\n"));  // the last --set wins
  EXPECT_THAT(gof, HasSubstr("RenameImageMask=\r\n"));      // no renaming, no mask
  EXPECT_TRUE(std::filesystem::exists(dir.File("out/pageindex.html")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("out/images/a_1.jpg")));
}

TEST_F(ZelvoraMakeTest, ListWithoutPicturesWritesNothingAndExitsWithOne) {
  TResult r = Make({"--list", dir.Write("empty.txt", "\r\n\r\n"), dir.File("out")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_THAT(r.err, HasSubstr("nothing was written"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST_F(ZelvoraMakeTest, WithoutATerminalCopiesAreKeptUnlessAlwaysIsAsked) {
  Jpeg("a.jpg");
  ASSERT_EQ(Make({"--folder", dir.File("src"), dir.File("out")}).status, 0);
  dir.Write("out/images/a.jpg", "old copy");
  ASSERT_EQ(Make({"--folder", dir.File("src"), dir.File("out")}).status, 0);
  EXPECT_EQ(ReadFileBytes(dir.File("out/images/a.jpg")), "old copy");
  ASSERT_EQ(Make({"--folder", dir.File("src"), "--overwrite", "always", dir.File("out")}).status,
            0);
  EXPECT_NE(ReadFileBytes(dir.File("out/images/a.jpg")), "old copy");
}

class SilentHost : public IRunHost {
 public:
  void SetProgress(TProgressBar, int, int) override {}
  void ProcessEvents(bool) override {}
  void SetRunState(TRunState) override {}
  void ShowMessage(TRunMessage, const std::string&, const std::string&) override {}
  TOverwriteReply AskOverwrite(const std::string&, const std::string&,
                               const std::string&) override {
    return TOverwriteReply::Closed;
  }
};

std::set<std::string> FilesBelow(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      names.insert(std::filesystem::relative(entry.path(), folder).string());
  return names;
}

TEST_F(ZelvoraMakeTest, GivesTheSameFilesAsTheEngineDrivenLikeTheWizard) {
  Jpeg("a.jpg");
  Jpeg("b.jpg");
  dir.Write("src/c.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
  const std::string list = dir.Write(
      "list.txt", dir.File("src/a.jpg") + "\r\n\r\n" + dir.File("src/c.bmp") + "\r\n" +
                      dir.File("src/b.jpg") + "\r\n");
  ASSERT_EQ(Make({"--list", list, "--set", "Thumb_Description_Show_ImageName=yes",
                  dir.File("cli")})
                .status,
            0);

  TGallerySet options;
  options.Thumb_Description.Set(Show_ImageName, true);
  options.RenameImageMask.clear();  // the wizard's step 4 without renaming
  options.OutputFolder = dir.File("engine") + "/";
  TImageGalleryList images;
  images.AddFile(dir.File("src/a.jpg"));
  images.InsertSeparator(1);
  images.AddFile(dir.File("src/c.bmp"));
  images.AddFile(dir.File("src/b.jpg"));
  SilentHost host;
  TRealFileSystem fs;
  TGenerationRun run(host, fs);
  ASSERT_EQ(run.Execute(images, options, ParamsForOptions(options)), TRunOutcome::Done);

  const auto files = FilesBelow(dir.File("engine"));
  EXPECT_EQ(files, FilesBelow(dir.File("cli")));
  EXPECT_TRUE(files.count("images/c.jpg"));
  for (const std::string& name : files)
    EXPECT_EQ(ReadFileBytes(dir.File("engine/" + name)), ReadFileBytes(dir.File("cli/" + name)))
        << name;
}

TEST_F(ZelvoraMakeTest, JobsChangeNothingInTheGallery) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) Jpeg(name);
  dir.Write("src/e.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
  for (const char* jobs : {"1", "3"}) {
    ASSERT_EQ(Make({"--jobs", jobs, "--folder", dir.File("src"), "--set", "RenameImages=yes",
                    dir.File(std::string("jobs") + jobs)})
                  .status,
              0);
  }
  const auto files = FilesBelow(dir.File("jobs1"));
  EXPECT_EQ(files, FilesBelow(dir.File("jobs3")));
  EXPECT_EQ(files.size(), 2u * 5 + 5 + 4);  // thumbnails, copies, pages, index and list
  for (const std::string& name : files) {
    if (name == "GalleryOptions.gof") continue;  // names its own output folder
    EXPECT_EQ(ReadFileBytes(dir.File("jobs1/" + name)), ReadFileBytes(dir.File("jobs3/" + name)))
        << name;
  }
}

}  // namespace
}  // namespace zelvora
