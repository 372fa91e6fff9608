#include "gallery/ScanFolders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "support/TestSupport.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

struct TFound {
  int attributes;
  TDateTime time;
  std::int64_t size;
};

// Every entry a scan reported, by the full name relative to base.
std::map<std::string, TFound> ScanAll(TScanFolders& scan, const fs::path& base) {
  std::map<std::string, TFound> found;
  scan.OnFileFound = [&](const std::string& name, int attributes, TDateTime time,
                         std::int64_t size) {
    const std::string relative = fs::path(name).lexically_relative(base);
    EXPECT_EQ(found.count(relative), 0u) << "reported twice: " << name;
    found[relative] = {attributes, time, size};
  };
  scan.Execute();
  return found;
}

std::vector<std::string> Names(const std::map<std::string, TFound>& found) {
  std::vector<std::string> names;
  for (const auto& entry : found) names.push_back(entry.first);
  return names;
}

TEST(ScanFoldersTest, ReportsFilesAndFoldersWithTheirFacts) {
  test::TempDir dir;
  const std::string b = dir.Write("b.jpg", "12345");
  dir.Write("a.JPG", "");
  // Far past 255 characters: nothing is cut.
  const std::string deep = std::string(120, 'x') + "/" + std::string(120, 'y') + "/" +
                           std::string(120, 'z');
  dir.Write(deep + "/c.gif", "xy");
  ASSERT_TRUE(SetFileDateOf(b, EncodeDateTime(2004, 3, 5, 14, 7)));

  TScanFolders scan;
  scan.StartFolder = dir.Path().string() + "//";
  auto found = ScanAll(scan, dir.Path());
  EXPECT_EQ(found.size(), 6u);
  EXPECT_EQ(found.at(deep + "/c.gif").size, 2);
  EXPECT_EQ(found.at("b.jpg").size, 5);
  EXPECT_EQ(found.at("b.jpg").attributes & kFileAttrDirectory, 0);
  EXPECT_NEAR(found.at("b.jpg").time, EncodeDateTime(2004, 3, 5, 14, 7), 1.0 / 86400);
  const TFound& folder = found.at(std::string(120, 'x'));
  EXPECT_NE(folder.attributes & kFileAttrDirectory, 0);
  EXPECT_EQ(folder.size, 0);

  scan.ScanSubfolders = false;
  EXPECT_THAT(Names(ScanAll(scan, dir.Path())),
              ElementsAre("a.JPG", "b.jpg", std::string(120, 'x')));

  for (const std::string& start : {dir.File("missing"), b}) {
    scan.StartFolder = start;
    EXPECT_TRUE(ScanAll(scan, dir.Path()).empty()) << start;
    EXPECT_FALSE(scan.Execute());
  }
}

TEST(ScanFoldersTest, StopAndHandlerFailuresEndTheScanAtEveryDepth) {
  test::TempDir dir;
  for (const char* name : {"a/1", "a/2", "a/3", "b/1", "c"}) dir.Write(name, "x");
  TScanFolders scan;
  scan.StartFolder = dir.Path().string();
  int calls = 0;
  scan.OnFileFound = [&](const std::string&, int attributes, TDateTime, std::int64_t) {
    ++calls;
    if ((attributes & kFileAttrDirectory) == 0) scan.Stop();
  };
  EXPECT_TRUE(scan.Execute());
  EXPECT_TRUE(scan.Stopped());
  EXPECT_LE(calls, 2);  // at most one folder and the first file in it

  calls = 0;
  scan.OnFileFound = [&](const std::string&, int, TDateTime, std::int64_t) {
    ++calls;
    throw std::runtime_error("handler failed");
  };
  EXPECT_FALSE(scan.Execute());
  EXPECT_EQ(calls, 1);
}

TEST(ScanFoldersTest, LinksAreFollowedButNoFolderIsEnteredTwice) {
  test::TempDir dir;
  dir.Write("top/photo.jpg", "x");
  dir.Write("top/inner/deep.jpg", "x");
  dir.Write("outside/x.jpg", "x");
  fs::create_directory_symlink(dir.Path() / "top", dir.Path() / "top/inner/back");
  fs::create_directory_symlink(dir.Path() / "top/inner", dir.Path() / "top/again");
  fs::create_directory_symlink(dir.Path() / "outside", dir.Path() / "top/out");
  fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "top/dangling.jpg");
  TScanFolders scan;
  scan.StartFolder = (dir.Path() / "top").string();
  // Whether "inner" is entered directly or through "again" depends on the
  // enumeration order; either way once.
  std::map<std::string, int> copies;
  for (const auto& [name, info] : ScanAll(scan, dir.Path() / "top")) {
    const std::string leaf = fs::path(name).filename();
    ++copies[leaf];
    const int kinds = info.attributes & (kFileAttrSymLink | kFileAttrDirectory);
    if (leaf == "back") {
      EXPECT_EQ(kinds, kFileAttrSymLink | kFileAttrDirectory);
    } else if (leaf == "dangling.jpg") {
      EXPECT_EQ(kinds, kFileAttrSymLink);
    }
  }
  EXPECT_EQ(copies, (std::map<std::string, int>{{"photo.jpg", 1}, {"inner", 1}, {"again", 1},
                                                {"deep.jpg", 1}, {"back", 1}, {"out", 1},
                                                {"x.jpg", 1}, {"dangling.jpg", 1}}));
}

}  // namespace
}  // namespace zelvora
