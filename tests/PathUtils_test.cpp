#include "util/PathUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestSupport.h"

namespace zelvora {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

TEST(PathUtilsTest, WindowsNamePartsSplitAtEveryDelimiterAndTheDrive) {
  EXPECT_EQ(FileNameOf("C:\\Photos\\beach.jpg", kWin), "beach.jpg");
  EXPECT_EQ(FileNameOf("C:beach.jpg", kWin), "beach.jpg");
  EXPECT_EQ(FilePathOf("C:\\Photos\\beach.jpg", kWin), "C:\\Photos\\");
  EXPECT_EQ(FilePathOf("C:beach.jpg", kWin), "C:");
  EXPECT_EQ(FolderOf("C:\\Photos\\Trip\\beach.jpg", kWin), "C:\\Photos\\Trip");
  EXPECT_EQ(FolderOf("C:\\beach.jpg", kWin), "C:");
  EXPECT_EQ(FolderOf("C:beach.jpg", kWin), "C");
  EXPECT_EQ(FolderOf(":beach.jpg", kWin), "");
  EXPECT_EQ(FolderOf("beach.jpg", kWin), "");
  EXPECT_EQ(BaseNameOf("C:\\a.b\\archive.tar.gz", kWin), "archive.tar");
  EXPECT_EQ(BaseNameOf("C:\\a.b\\noext", kWin), "noext");
  EXPECT_EQ(ExtensionOf("C:\\a.b\\noext", kWin), "");
}

TEST(PathUtilsTest, PosixKeepsBackslashAndColonInNames) {
  EXPECT_EQ(FileNameOf("/photos/12:30.jpg", kPosix), "12:30.jpg");
  EXPECT_EQ(FileNameOf("/photos/a\\b.jpg", kPosix), "a\\b.jpg");
  EXPECT_EQ(FilePathOf("/photos/12:30.jpg", kPosix), "/photos/");
  EXPECT_EQ(FolderOf("/photos/trip/a.jpg", kPosix), "/photos/trip");
  EXPECT_EQ(FolderOf("/a.jpg", kPosix), "/");
  EXPECT_EQ(FolderOf("C:a.jpg", kPosix), "");
  EXPECT_EQ(BaseNameOf("/x.y/12:30.jpg", kPosix), "12:30");
  EXPECT_FALSE(IsPathDelimiter('\\', kPosix));
  EXPECT_TRUE(IsPathDelimiter('\\', kWin));
}

TEST(PathUtilsTest, TrailingDelimitersFollowTheStyle) {
  EXPECT_EQ(IncludeTrailingBackslash("C:\\Photos/\\", kWin), "C:\\Photos\\");
  EXPECT_EQ(IncludeTrailingBackslash("a\\", kPosix), "a\\/");
  EXPECT_EQ(IncludeTrailingSlash("C:\\Photos\\", kWin), "C:\\Photos/");
}

TEST(PathUtilsTest, NormalizeFolderKeepsOneSeparatorOnARoot) {
  EXPECT_EQ(NormalizeFolder("  C:\\Photos\\ ", kWin), "C:\\Photos");
  EXPECT_EQ(NormalizeFolder("C:", kWin), "C:\\");
  EXPECT_EQ(NormalizeFolder("\\\\server\\share\\", kWin), "\\\\server\\share\\");
  EXPECT_EQ(NormalizeFolder("\\\\server\\share\\photos\\", kWin), "\\\\server\\share\\photos");
  EXPECT_EQ(NormalizeFolder("/photos/", kPosix), "/photos");
  EXPECT_EQ(NormalizeFolder("//", kPosix), "/");
  EXPECT_EQ(NormalizeFolder("C:", kPosix), "C:");
  EXPECT_EQ(NormalizeFolder("   ", kPosix), "");
}

TEST(PathUtilsTest, WindowsRootIsTheDriveOrTheShare) {
  EXPECT_EQ(RootOf("C:\\Photos\\a.jpg", kWin), "C:");
  EXPECT_EQ(RootOf("\\\\server\\share\\photos\\a.jpg", kWin), "\\\\server\\share");
  EXPECT_EQ(RootOf("\\\\server\\share", kWin), "\\\\server\\share");
  EXPECT_EQ(RootOf("photos\\a.jpg", kWin), "");
}

TEST(PathUtilsTest, PosixRootIsTheMountPoint) {
  test::TempDir dir;
  const std::string root = RootOf(dir.File("not/yet/made.jpg"));
  ASSERT_FALSE(root.empty());
  EXPECT_EQ(root[0], '/');
  // The mount point holds the path and lies on the same file system.
  const std::string resolved = std::filesystem::canonical(dir.Path()).string();
  EXPECT_EQ(resolved.rfind(root == "/" ? "/" : root + "/", 0), 0u) << root << " " << resolved;
  struct stat a {}, b {};
  ASSERT_EQ(stat(root.c_str(), &a), 0);
  ASSERT_EQ(stat(resolved.c_str(), &b), 0);
  EXPECT_EQ(a.st_dev, b.st_dev);
  EXPECT_EQ(RootOf("/"), "/");
  EXPECT_EQ(RootOf("/proc/self"), "/proc");
}

TEST(PathUtilsTest, JoinPathUsesExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\Photos\\", "\\a.jpg", kWin), "C:\\Photos\\a.jpg");
  EXPECT_EQ(JoinPath("/photos//", "a.jpg", kPosix), "/photos/a.jpg");
  EXPECT_EQ(JoinPath("/", "a.jpg", kPosix), "/a.jpg");
  EXPECT_EQ(JoinPath("/photos", "", kPosix), "/photos/");
}

TEST(PathUtilsTest, ExistenceTests) {
  test::TempDir dir;
  const std::string file = dir.Write("a.txt", "x");
  const std::string folder = dir.Path().string();
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_TRUE(DirectoryExists(folder + "//"));
  EXPECT_TRUE(DirectoryExists("/"));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(""));
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(dir.File("missing")));
  // An embedded NUL must not silently name a shorter path.
  EXPECT_FALSE(FileExists(file + std::string("\0.jpg", 5)));
  EXPECT_FALSE(DirectoryExists(folder + std::string("\0x", 2)));
}

TEST(PathUtilsTest, ExistingFolderOfCutsMissingComponents) {
  test::TempDir dir;
  const std::string folder = dir.Path().string();
  std::filesystem::create_directory(dir.Path() / "photos");
  const std::string photos = folder + "/photos";
  EXPECT_EQ(ExistingFolderOf(" " + photos + "/missing/deeper/ "), photos);
  EXPECT_EQ(ExistingFolderOf(photos + "//"), photos);
  EXPECT_EQ(ExistingFolderOf("/surely-missing-zelvora/x"), "/");
  EXPECT_EQ(ExistingFolderOf("relative-missing-zelvora"), "");
  EXPECT_EQ(ExistingFolderOf(""), "");
  // A file is no folder: its folder is the answer.
  dir.Write("photos/a.jpg", "x");
  EXPECT_EQ(ExistingFolderOf(photos + "/a.jpg"), photos);
}

TEST(PathUtilsTest, ForceFoldersMakesEveryLevel) {
  test::TempDir dir;
  const std::string deep = dir.File("a/b/c/");
  EXPECT_TRUE(ForceFolders(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceFolders(deep));  // already there
  EXPECT_FALSE(ForceFolders(""));
  const std::string file = dir.Write("file", "x");
  EXPECT_FALSE(ForceFolders(file + "/sub"));
  EXPECT_FALSE(ForceFolders(file));
}

}  // namespace
}  // namespace zelvora
