// Runs the built zelvora-make as a user would, without a terminal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "support/PictureWriters.h"
#include "support/QuietRunHost.h"
#include "support/TestSupport.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
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

std::string Program() {
  const char* buildDir = std::getenv("ZELVORA_BUILD_DIR");
  return std::string(buildDir ? buildDir : ".") + "/zelvora-make";
}

std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), folder).string());
  return names;
}

class ZelvoraMakeTest : public ::testing::Test {
 protected:
  // Runs the program without a terminal, in the folder cwd when given.
  TResult Make(const std::vector<std::string>& args, const std::string& cwd = {}) {
    std::string command = cwd.empty() ? std::string() : "cd " + Quote(cwd) + " && ";
    command += Quote(Program());
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

  // Runs the program on a terminal of its own and types one answer each
  // time it asks; out gets all it showed (answers echoed), err stays empty.
  TResult MakeOnTerminal(const std::vector<std::string>& args,
                         const std::vector<std::string>& answers) {
    std::vector<std::string> argv = {Program()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
      execv(pointers[0], pointers.data());
      _exit(127);
    }
    TResult result;
    if (child < 0) return result;
    std::size_t answered = 0;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd ready{terminal, POLLIN, 0};
      if (poll(&ready, 1, 1000) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(terminal, buffer, sizeof buffer);
      if (n <= 0) break;  // the program has ended
      result.out.append(buffer, static_cast<std::size_t>(n));
      std::size_t asked = 0;
      for (std::size_t at = result.out.find("[c]ancel"); at != std::string::npos;
           at = result.out.find("[c]ancel", at + 1))
        ++asked;
      while (answered < answers.size() && answered < asked) {
        const std::string line = answers[answered++] + "\n";
        if (write(terminal, line.data(), line.size()) < 0) break;
      }
    }
    kill(child, SIGKILL);  // only when it outlived the deadline
    int raw = 0;
    waitpid(child, &raw, 0);
    close(terminal);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
  }

  std::string Jpeg(const std::string& name, int width = 160, int height = 120,
                   unsigned seed = 1) {
    return dir.Write("src/" + name,
                     test::MakeJpeg(test::MakePhotoLikePicture(width, height, seed)));
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

  r = Make({"--folder", ".", "a", "b"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("give one output folder, not 2: \"a\" \"b\""));

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
  EXPECT_THAT(r.out, HasSubstr("Usage: zelvora-make"));
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
  test::TQuietRunHost host;
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

// --- Arguments and help -----------------------------------------------------

TEST_F(ZelvoraMakeTest, VersionHelpAndDashArgumentsBehaveAsUsual) {
  TResult r = Make({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, MatchesRegex("zelvora-make [0-9]+\\.[0-9]+\\.[0-9]+\n"));

  // -h is --help wherever it stands: no gallery in a folder named "-h".
  Jpeg("a.jpg");
  r = Make({"--folder", dir.File("src"), "-h"}, dir.File(""));
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, HasSubstr("Usage: zelvora-make"));
  EXPECT_FALSE(fs::exists(dir.File("-h")));

  for (const char* unknown : {"-x", "-", "-hx"}) {
    r = Make({"--folder", dir.File("src"), unknown}, dir.File(""));
    EXPECT_EQ(r.status, 2) << unknown;
    EXPECT_THAT(r.err, HasSubstr(std::string("unknown option ") + unknown));
    EXPECT_FALSE(fs::exists(dir.File(unknown)));
  }

  // After "--" an argument that starts with "-" is the output folder.
  r = Make({"--folder", dir.File("src"), "--", "-out"}, dir.File(""));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("-out/index.html") + "\n");
}

TEST_F(ZelvoraMakeTest, HelpSaysWhereTheSetKeysComeFrom) {
  TResult r = Make({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, HasSubstr("GalleryOptions.gof"));
  EXPECT_THAT(r.out, HasSubstr("--list-keys"));
  for (const char* option : {"--options", "--set", "--list", "--folder", "--subfolders",
                             "--background", "--overwrite", "--clean", "--quiet", "--version"})
    EXPECT_THAT(r.out, HasSubstr(option));
}

TEST_F(ZelvoraMakeTest, ListKeysPrintsEveryKeyInFileOrderWithTypeDefaultAndMeaning) {
  TResult r = Make({"--list-keys"});
  EXPECT_EQ(r.status, 0);
  TStringList lines = SplitLines(r.out);
  const auto table = OptionKeyTable();
  ASSERT_EQ(lines.size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with(std::string(table[i].Key) + " ")) << lines[i];
    EXPECT_THAT(lines[i], HasSubstr(std::string(table[i].Meaning)));
  }
  EXPECT_THAT(lines[29], MatchesRegex("Thumb_JPEGQuality +number 1\\.\\.100 +90 +JPEG quality.*"));
  EXPECT_THAT(lines[3], MatchesRegex("Framed_ThumbTablePage +yes/no +no +.*"));
  EXPECT_THAT(lines[12], MatchesRegex("HTMLPage_BGColor +colour +#FFFFFF +.*"));
  EXPECT_THAT(lines[0], MatchesRegex("Navig_HomeURL +text +\\(empty\\) +.*"));
}

TEST_F(ZelvoraMakeTest, SetValuesMustSuitTheirKeys) {
  Jpeg("a.jpg");
  struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"Thumb_MaxWidth=abc", "Thumb_MaxWidth takes a whole number from 0 to 10000, not \"abc\""},
      {"Framed_ThumbTablePage=on", "Framed_ThumbTablePage takes yes or no"},
      {"Thumb_JPEGQuality=0", "Thumb_JPEGQuality takes a whole number from 1 to 100, not \"0\""},
      {"thumbtablerowcount=100001", "ThumbTableRowCount takes a whole number from 1 to 100000"},
      {"HTMLPage_BGColor=red", "HTMLPage_BGColor takes a colour #RRGGBB, not \"red\""},
      {"CustomPageTitle=100%", "CustomPageTitle takes text in which every \"%\""},
  };
  for (const auto& c : cases) {
    TResult r = Make({"--folder", dir.File("src"), "--set", c.line, dir.File("out")});
    EXPECT_EQ(r.status, 2) << c.line;
    EXPECT_THAT(r.err, HasSubstr(std::string("--set ") + c.line + ": " + c.expected));
    EXPECT_FALSE(fs::exists(dir.File("out")));
  }
  // What the options file accepts is accepted.
  TResult r = Make({"--folder", dir.File("src"), "--set", "Framed_ThumbTablePage=TRUE", "--set",
                    "HTMLPage_BGColor=ff8000", "--set", "Thumb_MaxWidth= 120 ", "--set",
                    "Navig_HomeURL=", dir.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string gof = ReadFileBytes(dir.File("out/GalleryOptions.gof"));
  EXPECT_THAT(gof, HasSubstr("Framed_ThumbTablePage=yes\r\n"));
  EXPECT_THAT(gof, HasSubstr("HTMLPage_BGColor=#FF8000\r\n"));
  EXPECT_THAT(gof, HasSubstr("Thumb_MaxWidth=120\r\n"));
}

TEST_F(ZelvoraMakeTest, AnOptionsFileIsReadAsTheWizardReadsItAndItsOddLinesAreNamed) {
  Jpeg("a.jpg");
  const std::string options = dir.Write("my.gof",
                                        "Thumb_MaxWidth=abc\r\n"
                                        "Framed_ThumbTablePage=on\r\n"
                                        "Thumb_MaxWdith=3\r\n"
                                        "Thumb_JPEGQuality=80\r\n"
                                        "Navig_PageTop=\r\n"
                                        "Thumb_JPEGQuality=70\r\n");
  TResult r = Make({"--options", options, "--folder", dir.File("src"), dir.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, HasSubstr(options + " line 1: Thumb_MaxWidth takes a whole number from 0 "
                               "to 10000, not \"abc\"; read as Thumb_MaxWidth=100"));
  EXPECT_THAT(r.err, HasSubstr(options + " line 2: Framed_ThumbTablePage takes yes or no (or "
                               "true/false, 1/0), not \"on\"; read as Framed_ThumbTablePage=no"));
  EXPECT_THAT(r.err, HasSubstr(options + " line 3: unknown key \"Thumb_MaxWdith\", ignored"));
  EXPECT_THAT(r.err, HasSubstr(options + " line 5: Navig_PageTop takes yes or no"));
  EXPECT_THAT(r.err, HasSubstr("read as Navig_PageTop=yes"));
  EXPECT_THAT(r.err, HasSubstr(options + " line 6: a second Thumb_JPEGQuality line, ignored "
                               "(line 4 counts)"));
  EXPECT_THAT(r.err, Not(HasSubstr("line 4:")));
  const std::string gof = ReadFileBytes(dir.File("out/GalleryOptions.gof"));
  EXPECT_THAT(gof, HasSubstr("Thumb_MaxWidth=100\r\n"));
  EXPECT_THAT(gof, HasSubstr("Framed_ThumbTablePage=no\r\n"));
  EXPECT_THAT(gof, HasSubstr("Thumb_JPEGQuality=80\r\n"));
}

TEST_F(ZelvoraMakeTest, InstallPutsTheProgramAndItsManPageInPlace) {
  const char* buildDir = std::getenv("ZELVORA_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr);
  const std::string prefix = dir.File("prefix");
  const std::string command = "cmake --install " + Quote(buildDir) + " --prefix " +
                              Quote(prefix) + " >" + Quote(dir.File("install.txt")) + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(dir.File("install.txt"));
  EXPECT_TRUE(fs::exists(prefix + "/bin/zelvora-make"));
  const std::string page = ReadFileBytes(prefix + "/share/man/man1/zelvora-make.1");
  EXPECT_THAT(page, HasSubstr(".TH ZELVORA-MAKE \"1\""));
  for (const char* option : {"list\\-keys", "\\-\\-clean", "\\-\\-overwrite", "Exit status"})
    EXPECT_THAT(page, HasSubstr(option));
  // The installed program finds its start-up folder in ../share/zelvora/.
  EXPECT_TRUE(fs::is_directory(prefix + "/share/zelvora/Templates"));
}

// --- Honest messages ---------------------------------------------------------

TEST_F(ZelvoraMakeTest, AnOutputFolderThatCannotBeMadeIsToldWithTheSystemsReason) {
  Jpeg("a.jpg");
  TResult r = Make({"--folder", dir.File("src"), "/proc/nope"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("cannot make the output folder /proc/nope: "));
  EXPECT_THAT(r.err, Not(HasSubstr("no picture that exists")));

  const std::string file = dir.Write("a-file", "x");
  r = Make({"--folder", dir.File("src"), file + "/gallery"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("cannot make the output folder " + file +
                               "/gallery: Not a directory"));
}

TEST_F(ZelvoraMakeTest, PicturesThatCannotBeReadAreListedAtTheEnd) {
  Jpeg("a.jpg");
  const std::string whole = test::MakeJpeg(test::MakePhotoLikePicture(160, 120));
  const std::string cut = dir.Write("src/cut.jpg", whole.substr(0, 40));
  const std::string text = dir.Write("src/notes.jpg", "this is no picture\n");
  TResult r = Make({"--folder", dir.File("src"), dir.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, HasSubstr("2 pictures could not be read and have no thumbnail: " + cut +
                               ", " + text + "\n"));
  // The run still takes them its way: pages, no thumbnails.
  EXPECT_TRUE(fs::exists(dir.File("out/image2.html")));
  EXPECT_TRUE(fs::exists(dir.File("out/thumbnails/a_thumb.jpg")));
  EXPECT_FALSE(fs::exists(dir.File("out/thumbnails/cut_thumb.jpg")));
}

TEST_F(ZelvoraMakeTest, TheTerminalAsksAboutAnExistingCopyAsAPersonWould) {
  Jpeg("a.jpg");
  Jpeg("b.jpg", 160, 120, 2);
  ASSERT_EQ(Make({"--folder", dir.File("src"), "--set", "RenameImages=yes", dir.File("out")})
                .status,
            0);
  dir.Write("out/images/img-0001.jpg", "old copy");
  dir.Write("out/images/img-0002.jpg", "old copy");

  // "n" keeps the first, "e" (yes to all) replaces the second without asking.
  TResult r = MakeOnTerminal(
      {"--quiet", "--folder", dir.File("src"), "--set", "RenameImages=yes", dir.File("out")},
      {"x", "n", "e"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_THAT(r.out, HasSubstr("images/img-0001.jpg exists. Overwrite it? [y]es, [n]o, "
                               "n[o] to all, y[e]s to all, [c]ancel"));
  EXPECT_THAT(r.out, Not(HasSubstr("You are sure")));
  EXPECT_EQ(ReadFileBytes(dir.File("out/images/img-0001.jpg")), "old copy");
  EXPECT_EQ(ReadFileBytes(dir.File("out/images/img-0002.jpg")),
            ReadFileBytes(dir.File("src/b.jpg")));
  EXPECT_THAT(r.out, HasSubstr("picture copies already in the output folder: 1 replaced, 1 kept"));

  // [c]ancel stops the run.
  r = MakeOnTerminal({"--quiet", "--folder", dir.File("src"), "--set", "RenameImages=yes",
                      dir.File("out")},
                     {"c"});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_THAT(r.out, HasSubstr("the run stopped"));
}

// --- No gallery inside its own source ----------------------------------------

TEST_F(ZelvoraMakeTest, AFolderScanLeavesOutTheOutputAndEarlierGalleries) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "sub/e.jpg"}) Jpeg(name);
  const std::string src = dir.File("src");
  for (int run = 1; run <= 2; ++run) {
    TResult r = Make({"--folder", src, "--subfolders", src + "/gallery"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FilesBelow(src + "/gallery/images"),
              (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}))
        << "run " << run;
    EXPECT_FALSE(fs::exists(src + "/gallery/image6.html"));
    if (run == 2) {
      EXPECT_THAT(r.err, HasSubstr("the folder scan leaves out 1 folder, as it holds a gallery "
                                   "or is the output folder: " + src + "/gallery\n"));
    }
  }

  // A gallery written elsewhere into the tree is left out too, once told.
  TResult r = Make({"--folder", src, "--subfolders", dir.File("out")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FilesBelow(dir.File("out/images")).size(), 5u);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

  // A gallery written into the picture folder itself: its pictures count,
  // its thumbnails and copies do not.
  ASSERT_EQ(Make({"--folder", src, "--subfolders", src}).status, 0);
  r = Make({"--folder", src, "--subfolders", src});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(src + "/image6.html"));
  EXPECT_TRUE(fs::exists(src + "/image5.html"));
}

// --- A second run into the same folder ---------------------------------------

TEST_F(ZelvoraMakeTest, WithoutATerminalACopyIsReplacedExactlyWhenItsPictureChanged) {
  const std::string a = Jpeg("a.jpg");
  const std::string b = Jpeg("b.jpg", 360, 480, 2);
  const std::string c = dir.Write("src/c.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
  ASSERT_EQ(Make({"--folder", dir.File("src"), dir.File("out")}).status, 0);
  const std::string copyA = dir.File("out/images/a.jpg"), copyB = dir.File("out/images/b.jpg"),
                    copyC = dir.File("out/images/c.jpg");

  // a: unchanged. A byte of its copy is altered behind the program's back
  // (same size, same time), so that keeping it can be seen.
  std::string bytesA = ReadFileBytes(copyA);
  bytesA[bytesA.size() / 2] ^= 1;
  const auto timeA = fs::last_write_time(copyA);
  dir.Write("out/images/a.jpg", bytesA);
  fs::last_write_time(copyA, timeA);
  // b: replaced by a bigger picture that carries an older time.
  const auto timeB = fs::last_write_time(b);
  Jpeg("b.jpg", 2560, 1600, 3);
  fs::last_write_time(b, timeB - 1h);
  // c: a converted copy; the picture became newer.
  const std::string bytesC = ReadFileBytes(copyC);
  dir.Write("src/c.bmp", test::MakeBmp(test::MakeTestPattern(60, 40)));
  fs::last_write_time(c, fs::last_write_time(copyC) + 1h);

  TResult r = Make({"--folder", dir.File("src"), dir.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(copyA), bytesA);
  EXPECT_EQ(ReadFileBytes(copyB), ReadFileBytes(b));
  EXPECT_NE(ReadFileBytes(copyC), bytesC);
  EXPECT_THAT(r.err, HasSubstr("picture copies already in the output folder: 2 replaced (their "
                               "pictures are newer or differ in size), 1 kept"));
  EXPECT_THAT(ReadFileBytes(dir.File("out/image2.html")), HasSubstr("2560"));

  // Nothing changed: all kept. --overwrite always replaces all.
  r = Make({"--folder", dir.File("src"), dir.File("out")});
  EXPECT_THAT(r.err, HasSubstr(": 0 replaced (their pictures are newer or differ in size), 3 kept"));
  r = Make({"--folder", dir.File("src"), "--overwrite", "always", dir.File("out")});
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.err, HasSubstr("picture copies already in the output folder: 3 replaced, 0 kept"));
  EXPECT_EQ(ReadFileBytes(copyA), ReadFileBytes(a));
}

TEST_F(ZelvoraMakeTest, CleanRemovesExactlyTheFilesThePreviousGalleryLeftOver) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) Jpeg(name);
  dir.Write("src/d.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
  const std::vector<std::string> options = {"--set", "RenameImages=yes", "--set",
                                            "ThumbTableRowCount=1", "--set",
                                            "ThumbTableColumnCount=1"};
  auto run = [&](const std::string& out, bool clean) {
    std::vector<std::string> args = {"--folder", dir.File("src")};
    args.insert(args.end(), options.begin(), options.end());
    if (clean) args.push_back("--clean");
    args.push_back(out);
    return Make(args);
  };
  ASSERT_EQ(run(dir.File("out"), false).status, 0);
  // The user's own files in the gallery folder are never the gallery's.
  dir.Write("out/notes.txt", "mine");
  dir.Write("out/images/mine.jpg", "mine");
  dir.Write("out/thumbnails/other_thumb.jpg", "mine");
  dir.Write("out/page9.html", "mine");

  // b and its picture are gone, so numbers and names move up.
  fs::remove(dir.File("src/b.jpg"));
  TResult r = run(dir.File("out"), false);
  ASSERT_EQ(r.status, 0) << r.err;
  // img-0004.bmp's .jpg copy, image4.html, page4.html, img-0004_thumb.jpg
  EXPECT_THAT(r.err, HasSubstr("left 4 files of the previous gallery that this run did not "
                               "write; a run with --clean removes such files"));
  EXPECT_TRUE(fs::exists(dir.File("out/page4.html")));

  // Once more from four pictures, then with --clean from three.
  Jpeg("b.jpg");
  ASSERT_EQ(run(dir.File("out"), false).status, 0);
  fs::remove(dir.File("src/b.jpg"));
  r = run(dir.File("out"), true);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, HasSubstr("removed 4 files of the previous gallery that this run did not "
                               "write"));
  ASSERT_EQ(run(dir.File("fresh"), false).status, 0);
  std::set<std::string> expected = FilesBelow(dir.File("fresh"));
  expected.insert({"notes.txt", "images/mine.jpg", "thumbnails/other_thumb.jpg", "page9.html"});
  EXPECT_EQ(FilesBelow(dir.File("out")), expected);

  // Nothing stale: nothing said, nothing removed.
  r = run(dir.File("out"), true);
  EXPECT_THAT(r.err, Not(HasSubstr("previous gallery")));
  EXPECT_EQ(FilesBelow(dir.File("out")), expected);
}

TEST_F(ZelvoraMakeTest, CleanNeverRemovesAPictureOfTheList) {
  // Copies beside their pictures: the gallery folder is the picture folder
  // and there is no image folder.
  Jpeg("a.jpg");
  Jpeg("b.jpg");
  const std::string src = dir.File("src");
  ASSERT_EQ(Make({"--folder", src, "--set", "Image_URLPath=", src}).status, 0);
  TResult r = Make({"--list", dir.Write("list.txt", src + "/a.jpg\n"), "--set", "Image_URLPath=",
                    "--clean", src});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(src + "/b.jpg"));
  EXPECT_TRUE(fs::exists(src + "/a.jpg"));
  EXPECT_FALSE(fs::exists(src + "/image2.html"));
}

}  // namespace
}  // namespace zelvora
