// zelvora-make on hostile and awkward picture names, with the gallery in
// the picture folder: the source pictures are never replaced, no link can
// be read as a scheme, and every link and src names a file that exists.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>

#include "html/HtmlHelpers.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using test::ReadFileBytes;

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int Make(const std::vector<std::string>& args) {
  const char* buildDir = std::getenv("ZELVORA_BUILD_DIR");
  std::string command = Quote(std::string(buildDir ? buildDir : ".") + "/zelvora-make");
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " </dev/null >/dev/null 2>&1";
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::map<std::string, std::string> FilesIn(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFileBytes(entry.path());
  return files;
}

// Every href and src of the pages in folder: none is read as a scheme and
// each names a file that exists.
void ExpectLinksFindTheirFiles(const std::string& folder) {
  const std::regex attribute("(href|src|background)=\"([^\"]*)\"");
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".html") continue;
    const std::string page = ReadFileBytes(entry.path());
    for (std::sregex_iterator it(page.begin(), page.end(), attribute), end; it != end; ++it) {
      const std::string url = (*it)[2];
      SCOPED_TRACE(entry.path().filename().string() + ": " + url);
      const std::string first = url.substr(0, url.find('/'));
      EXPECT_EQ(first.find(':'), std::string::npos);
      EXPECT_EQ(url.find_first_of("?&#"), std::string::npos);
      EXPECT_TRUE(fs::exists(folder + "/" + URLDecode(url)));
    }
  }
}

class ZelvoraMakeSafetyTest : public ::testing::Test {
 protected:
  ZelvoraMakeSafetyTest() {
    const std::string jpeg = test::MakeJpeg(test::MakePhotoLikePicture(64, 48));
    const std::string bmp = test::MakeBmp(test::MakeTestPattern(40, 30));
    for (const char* name : {"a.jpg", "a_thumb.jpg", "b1.jpg", "#hash?q=1.jpg", "a&b&amp;c.jpg"})
      dir.Write(std::string("pics/") + name, jpeg);
    dir.Write("pics/b1.bmp", bmp);
    dir.Write("pics/javascript:alert(2).bmp", bmp);
    dir.Write("pics/" + std::string(246, 'n') + ".jpg", jpeg);  // 250 bytes
    folder = dir.File("pics");
    sources = FilesIn(folder);
  }

  void ExpectSourcesUnchanged() {
    const auto now = FilesIn(folder);
    for (const auto& [name, bytes] : sources) {
      ASSERT_TRUE(now.contains(name)) << name;
      EXPECT_TRUE(now.at(name) == bytes) << name;
    }
  }

  test::TempDir dir;
  std::string folder;
  std::map<std::string, std::string> sources;
};

TEST_F(ZelvoraMakeSafetyTest, KeptLocationWithThumbnailsBesideThePictures) {
  // A page background named like a picture of the list, from elsewhere.
  const std::string background = dir.Write("bg/a.jpg", test::MakeJpeg(test::MakeTestPattern(8, 8)));
  ASSERT_EQ(Make({"--folder", folder, "--set", "KeepLocationOfImages=yes", "--set",
                  "Thumb_URLPath=", "--background", background, folder}),
            0);
  ExpectSourcesUnchanged();
  ExpectLinksFindTheirFiles(folder);
  const std::string page = ReadFileBytes(folder + "/page1.html");
  EXPECT_THAT(page, HasSubstr("href=\"./javascript:alert(2).bmp\""));
  EXPECT_THAT(page, HasSubstr("background=\"a_1.jpg\""));
  EXPECT_THAT(page, HasSubstr("src=\"%23hash%3Fq=1_thumb.jpg\""));
  EXPECT_THAT(page, Not(HasSubstr("href=\"javascript:")));
  EXPECT_THAT(page, Not(HasSubstr("src=\"javascript:")));
  // The 250-byte name got a thumbnail within the name limit.
  EXPECT_THAT(page, HasSubstr("src=\"" + std::string(246, 'n') + "_thum.jpg\""));
}

TEST_F(ZelvoraMakeSafetyTest, CopiesAndConversionsIntoThePictureFolder) {
  ASSERT_EQ(Make({"--folder", folder, "--set", "Image_URLPath=", "--overwrite", "always",
                  folder}),
            0);
  ExpectSourcesUnchanged();
  ExpectLinksFindTheirFiles(folder);
  const auto after = FilesIn(folder);
  // b1.bmp became a JPEG of its own beside b1.jpg; every picture has a page.
  EXPECT_TRUE(after.contains("b1_1.jpg"));
  for (int n = 1; n <= 8; ++n)
    EXPECT_TRUE(after.contains("image" + std::to_string(n) + ".html")) << n;
  const std::string index = ReadFileBytes(folder + "/ImageIndex.igl");
  EXPECT_THAT(index, HasSubstr("a&b&amp;c.jpg"));
}

}  // namespace
}  // namespace zelvora
