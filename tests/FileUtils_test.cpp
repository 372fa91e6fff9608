#include "util/FileUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/TestSupport.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {

using test::ReadFileBytes;
using test::TempDir;

TEST(FileUtilsTest, SizeIsSixtyFourBitAndExcludesFolders) {
  TempDir dir;
  EXPECT_EQ(FileSizeOf(dir.Write("a", "12345")), 5);
  EXPECT_EQ(FileSizeOf(dir.Write("empty", "")), 0);
  EXPECT_EQ(FileSizeOf(dir.Path().string()), -1);
  EXPECT_EQ(FileSizeOf(dir.File("missing")), -1);
  // A sparse file past 4 GiB keeps its size.
  const std::string big = dir.File("big");
  { std::ofstream touch(big); }
  ASSERT_EQ(truncate(big.c_str(), 5'000'000'000LL), 0);
  EXPECT_EQ(FileSizeOf(big), 5'000'000'000LL);
}

TEST(FileUtilsTest, DatesRoundTripThroughTheFile) {
  TempDir dir;
  const std::string file = dir.Write("a.jpg", "x");
  const TDateTime date = EncodeDateTime(2004, 3, 5, 14, 7, 33);
  ASSERT_TRUE(SetFileDateOf(file, date));
  EXPECT_NEAR(FileDateOf(file), date, 0.5 / 86400);
  EXPECT_EQ(FileDateOf(dir.File("missing")), 0.0);
  EXPECT_FALSE(SetFileDateOf(dir.File("missing"), date));
  EXPECT_FALSE(SetFileDateOf(file, std::numeric_limits<double>::quiet_NaN()));
}

TEST(FileUtilsTest, FreeSpaceAndRoom) {
  TempDir dir;
  const std::int64_t free = FreeDiskSpace(dir.File("not/made/yet.jpg"));
  ASSERT_GT(free, 0);
  EXPECT_TRUE(HasRoomFor(dir.File("x.jpg"), 1));
  EXPECT_FALSE(HasRoomFor(dir.File("x.jpg"), free * 2 + (1LL << 40)));
  // The file already there counts as room, as it will be replaced. It is
  // large, so that what other tests write meanwhile cannot eat the margin.
  const std::string file = dir.Write("y.jpg", std::string(32 << 20, 'x'));
  EXPECT_TRUE(HasRoomFor(file, FreeDiskSpace(file) + (1 << 20)));
}

TEST(FileUtilsTest, ReadTextFileReportsFailures) {
  TempDir dir;
  std::string bytes = "a\r\nb";
  bytes += '\0';
  bytes += "\xFF";
  EXPECT_EQ(ReadTextFile(dir.Write("t.txt", bytes)), bytes);
  EXPECT_FALSE(ReadTextFile(dir.File("missing")).has_value());
  EXPECT_FALSE(ReadTextFile(dir.Path().string()).has_value());
}

TEST(FileUtilsTest, WriteTextFileMakesTheFolderAndReplaces) {
  TempDir dir;
  const std::string file = dir.File("new/deeper/page.html");
  ASSERT_TRUE(WriteTextFile(file, "long first text"));
  ASSERT_TRUE(WriteTextFile(file, "short"));
  EXPECT_EQ(ReadFileBytes(file), "short");
  EXPECT_FALSE(WriteTextFile(dir.Path().string(), "x"));  // a folder
  const std::string blocker = dir.Write("blocker", "x");
  EXPECT_FALSE(WriteTextFile(blocker + "/a.txt", "x"));
}

TEST(FileUtilsTest, WriteFileAtomicallyLeavesNoTemporaryAndKeepsLinks) {
  TempDir dir;
  const std::string file = dir.File("conf/settings.json");
  ASSERT_TRUE(WriteFileAtomically(file, "{}"));
  ASSERT_TRUE(chmod(file.c_str(), 0640) == 0);
  ASSERT_TRUE(WriteFileAtomically(file, "{\"a\":1}"));
  EXPECT_EQ(ReadFileBytes(file), "{\"a\":1}");
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path() / "conf"))
    ++entries;
  EXPECT_EQ(entries, 1);

  const std::string longName = dir.File(std::string(250, 'n'));
  EXPECT_TRUE(WriteFileAtomically(longName, "x"));

  const std::string link = dir.File("link.json");
  std::filesystem::create_symlink(file, link);
  ASSERT_TRUE(WriteFileAtomically(link, "linked"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(file), "linked");
}

TEST(FileUtilsTest, CopyFileWithDate) {
  TempDir dir;
  const std::string source = dir.Write("a.jpg", std::string(200'000, 'q') + "end");
  const TDateTime date = EncodeDateTime(2001, 7, 8, 9, 10, 11);
  ASSERT_TRUE(SetFileDateOf(source, date));
  const std::string target = dir.File("copy.jpg");
  ASSERT_TRUE(CopyFileWithDate(source, target));
  EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(source));
  EXPECT_NEAR(FileDateOf(target), date, 0.5 / 86400);
  EXPECT_FALSE(CopyFileWithDate(dir.File("missing"), dir.File("x")));
  EXPECT_FALSE(FileExists(dir.File("x")));
  EXPECT_FALSE(CopyFileWithDate(source, dir.File("no/folder/x.jpg")));
}

// The kernel copies nothing from files that report no size (as /proc's
// do); what it leaves is copied through a buffer, and an existing longer
// target is cut to the source's length.
TEST(FileUtilsTest, CopyFinishesWhatTheKernelDoesNotCopy) {
  TempDir dir;
  const std::string target = dir.Write("version.txt", std::string(100'000, 'x'));
  ASSERT_TRUE(CopyFileWithDate("/proc/version", target));
  const std::string copy = ReadFileBytes(target);
  EXPECT_EQ(copy.rfind("Linux version", 0), 0u);
  EXPECT_LT(copy.size(), 1000u);
}

TEST(FileUtilsTest, CopyOntoItselfKeepsTheFile) {
  TempDir dir;
  const std::string source = dir.Write("a.jpg", "picture bytes");
  EXPECT_TRUE(CopyFileWithDate(source, source));
  EXPECT_TRUE(CopyFileWithDate(source, dir.Path().string() + "/./a.jpg"));
  EXPECT_EQ(ReadFileBytes(source), "picture bytes");
}

TEST(FileUtilsTest, OpenDocumentStartsTheDesktopHandler) {
  TempDir dir;
  const std::string log = dir.File("opened.txt");
  const std::string script = dir.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + log + "'\n");
  ASSERT_EQ(chmod(script.c_str(), 0755), 0);
  const char* saved = std::getenv("PATH");
  const std::string previous = saved ? saved : "";
  setenv("PATH", (dir.Path() / "bin").c_str(), 1);
  const bool opened = OpenDocument("-index.html");
  setenv("PATH", (dir.Path() / "empty").c_str(), 1);
  const bool missing = OpenDocument("index.html");
  setenv("PATH", previous.c_str(), 1);

  EXPECT_TRUE(opened);
  EXPECT_FALSE(missing);
  EXPECT_FALSE(OpenDocument(""));
  for (int i = 0; i < 200 && ReadFileBytes(log).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadFileBytes(log), "./-index.html");  // never taken for an option
}

}  // namespace
}  // namespace zelvora
