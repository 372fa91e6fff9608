#include "gallery/ScanFolders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <stdexcept>

#include "support/TestSupport.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

struct TFound {
  int attributes;
  TDateTime time;
  std::int64_t size;
};

// Runs a scan and returns what it reported, by full name.
std::map<std::string, TFound> ScanAll(TScanFolders& scan) {
  std::map<std::string, TFound> found;
  scan.OnFileFound = [&](const std::string& name, int attributes, TDateTime time,
                         std::int64_t size) {
    EXPECT_EQ(found.count(name), 0u) << "reported twice: " << name;
    found[name] = {attributes, time, size};
  };
  scan.Execute();
  return found;
}

std::vector<std::string> Names(const std::map<std::string, TFound>& found, const fs::path& base) {
  std::vector<std::string> names;
  for (const auto& [name, info] : found) names.push_back(fs::path(name).lexically_relative(base));
  return names;
}

TEST(ScanFoldersTest, ReportsFilesAndFoldersWithTheirFacts) {
  test::TempDir dir;
  const std::string b = dir.Write("b.jpg", "12345");
  dir.Write("a.JPG", "");
  dir.Write("sub/c.gif", "xy");
  ASSERT_TRUE(SetFileDateOf(b, EncodeDateTime(2004, 3, 5, 14, 7)));

  TScanFolders scan;
  scan.StartFolder = dir.Path().string() + "//";
  const auto found = ScanAll(scan);
  EXPECT_THAT(Names(found, dir.Path()), ElementsAre("a.JPG", "b.jpg", "sub", "sub/c.gif"));
  const TFound& file = found.at(dir.Path().string() + "/b.jpg");
  EXPECT_EQ(file.size, 5);
  EXPECT_EQ(file.attributes & kFileAttrDirectory, 0);
  EXPECT_NEAR(file.time, EncodeDateTime(2004, 3, 5, 14, 7), 1.0 / 86400);
  const TFound& folder = found.at(dir.Path().string() + "/sub");
  EXPECT_NE(folder.attributes & kFileAttrDirectory, 0);
  EXPECT_EQ(folder.size, 0);

  scan.ScanSubfolders = false;
  EXPECT_THAT(Names(ScanAll(scan), dir.Path()), ElementsAre("a.JPG", "b.jpg", "sub"));
}

TEST(ScanFoldersTest, MissingFolderReportsNothing) {
  test::TempDir dir;
  const std::string file = dir.Write("file.jpg", "x");
  for (const std::string& start : {dir.File("missing"), file, std::string()}) {
    TScanFolders scan;
    scan.StartFolder = start;
    int calls = 0;
    scan.OnFileFound = [&](const std::string&, int, TDateTime, std::int64_t) { ++calls; };
    EXPECT_FALSE(scan.Execute()) << start;
    EXPECT_EQ(calls, 0);
  }
}

TEST(ScanFoldersTest, StopEndsTheScanAtEveryDepth) {
  test::TempDir dir;
  for (const char* name : {"a/1", "a/2", "a/3", "b/1", "c"}) dir.Write(name, "x");
  TScanFolders scan;
  scan.StartFolder = dir.Path().string();
  int calls = 0;
  scan.OnFileFound = [&](const std::string& name, int attributes, TDateTime, std::int64_t) {
    ++calls;
    if ((attributes & kFileAttrDirectory) == 0) scan.Stop();
  };
  EXPECT_TRUE(scan.Execute());
  EXPECT_TRUE(scan.Stopped());
  // At most one folder and the first file inside it.
  EXPECT_LE(calls, 2);
  // The next run starts afresh.
  scan.OnFileFound = nullptr;
  EXPECT_TRUE(scan.Execute());
  EXPECT_FALSE(scan.Stopped());
}

TEST(ScanFoldersTest, ExceptionFromTheHandlerEndsTheScan) {
  test::TempDir dir;
  dir.Write("a", "x");
  dir.Write("b", "x");
  TScanFolders scan;
  scan.StartFolder = dir.Path().string();
  int calls = 0;
  scan.OnFileFound = [&](const std::string&, int, TDateTime, std::int64_t) {
    ++calls;
    throw std::runtime_error("handler failed");
  };
  EXPECT_FALSE(scan.Execute());
  EXPECT_EQ(calls, 1);
}

TEST(ScanFoldersTest, LinkCycleIsReportedButNotFollowed) {
  test::TempDir dir;
  dir.Write("top/photo.jpg", "x");
  dir.Write("top/inner/deep.jpg", "x");
  fs::create_directory_symlink(dir.Path() / "top", dir.Path() / "top/inner/back");
  fs::create_directory_symlink(dir.Path() / "top/inner", dir.Path() / "top/again");
  TScanFolders scan;
  scan.StartFolder = (dir.Path() / "top").string();
  const auto found = ScanAll(scan);
  // Each folder is entered once; whether "inner" is entered through the link
  // or directly depends on the enumeration order.
  std::map<std::string, int> copies;
  for (const auto& [name, info] : found) {
    const std::string leaf = fs::path(name).filename();
    ++copies[leaf];
    if (leaf == "back") {
      EXPECT_NE(info.attributes & kFileAttrSymLink, 0);
      EXPECT_NE(info.attributes & kFileAttrDirectory, 0);
    }
  }
  EXPECT_EQ(copies, (std::map<std::string, int>{
                        {"photo.jpg", 1}, {"inner", 1}, {"again", 1}, {"deep.jpg", 1}, {"back", 1}}));
}

TEST(ScanFoldersTest, LinkToAFolderNotYetEnteredIsFollowed) {
  test::TempDir dir;
  dir.Write("outside/x.jpg", "x");
  dir.Write("start/y.jpg", "x");
  fs::create_directory_symlink(dir.Path() / "outside", dir.Path() / "start/link");
  fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "start/dangling.jpg");
  TScanFolders scan;
  scan.StartFolder = (dir.Path() / "start").string();
  const auto found = ScanAll(scan);
  EXPECT_THAT(Names(found, dir.Path() / "start"),
              UnorderedElementsAre("dangling.jpg", "link", "link/x.jpg", "y.jpg"));
  const TFound& dangling = found.at((dir.Path() / "start/dangling.jpg").string());
  EXPECT_EQ(dangling.attributes & kFileAttrDirectory, 0);
  EXPECT_NE(dangling.attributes & kFileAttrSymLink, 0);
}

TEST(ScanFoldersTest, LongPathsAreNeverCut) {
  test::TempDir dir;
  fs::path deep = dir.Path();
  for (int i = 0; i < 8; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  fs::create_directories(deep);
  const std::string file = (deep / "photo.jpg").string();
  { std::ofstream(file) << "x"; }
  ASSERT_GT(file.size(), 500u);
  TScanFolders scan;
  scan.StartFolder = dir.Path().string();
  const auto found = ScanAll(scan);
  ASSERT_EQ(found.count(file), 1u);
  EXPECT_EQ(found.at(file).size, 1);
}

}  // namespace
}  // namespace zelvora
