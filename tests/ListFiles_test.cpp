#include "gallery/ListFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "texts/InterfaceTexts.h"

namespace zelvora {
namespace {

using test::ReadFileBytes;
using test::TempDir;

constexpr std::string_view kHeader =
    "Version=3\r\nContent=The image gallery list\r\nGenerator=gen\r\n\r\n";

class ListFilesTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetInterfaceTexts(); }
  std::string Picture(const std::string& name) { return dir.Write(name, ""); }

  TempDir dir;
  TImageGalleryList list;
};

TEST_F(ListFilesTest, IglTextEscapesFieldsAndWritesSeparatorsAsConstants) {
  const std::string a = Picture("50% off.jpg");
  list.AddFile(a);
  list.Items(0)->Comment = "line one\r\n\"quoted\"\t100%";
  SetInterfaceText(TextId::SeparatorText, "--- Seite ---");
  list.InsertSeparator(1);
  const std::string expected = std::string(kHeader) + "\"" + dir.File("50%25 off.jpg") +
                               "\" \"line one%0D%0A%22quoted%22\t100%25\" \"\"\r\n" +
                               "\"------ new page ------\" \"The page separator\" \"\"\r\n";
  EXPECT_EQ(SaveToText(list, TListForm::Igl, "gen"), expected);
  EXPECT_EQ(SaveToText(list, TListForm::RawText, "gen"), a + "\r\n\r\n");
}

TEST_F(ListFilesTest, IglRoundTripKeepsPathsCommentsAndSeparators) {
  list.AddFile(Picture("100%/a\"b.jpg"));
  list.Items(0)->Comment = "two\r\nlines with \"quotes\" and %41 and \x01";
  list.InsertSeparator(1);
  list.AddFile(Picture("caf\xC3\xA9 %zz.GIF"));
  list.InsertSeparator(3);
  const std::string text = SaveToText(list, TListForm::Igl, DefaultGeneratorText());

  TImageGalleryList loaded;
  EXPECT_EQ(LoadFromText(loaded, text, TListForm::Igl), "");
  ASSERT_EQ(loaded.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(loaded.Items(i)->Kind, list.Items(i)->Kind);
    EXPECT_EQ(loaded.Items(i)->FileName, list.Items(i)->FileName);
    EXPECT_EQ(loaded.Items(i)->Comment, list.Items(i)->Comment);
  }
  // And once more through the loaded copy.
  EXPECT_EQ(SaveToText(loaded, TListForm::Igl, DefaultGeneratorText()), text);
}

TEST_F(ListFilesTest, LoadingTheSameIglTwiceAddsOnlySeparators) {
  list.AddFile(Picture("a.jpg"));
  list.Items(0)->Comment = "first";
  list.AddFile(Picture("b.jpg"));
  list.InsertSeparator(1);
  const std::string text = SaveToText(list, TListForm::Igl, "gen");

  TImageGalleryList target;
  EXPECT_EQ(LoadFromText(target, text, TListForm::Igl), "");
  target.Items(0)->Comment = "changed";
  target.Items(2)->Comment = "kept";
  list.Items(0)->Comment = "";
  list.Items(2)->Comment = "newer";
  const std::string again = SaveToText(list, TListForm::Igl, "gen");
  EXPECT_EQ(LoadFromText(target, again, TListForm::Igl), "\r\n  2 duplicated files was found.  ");
  ASSERT_EQ(target.Count(), 4);
  EXPECT_EQ(target.ImageCount(), 2);
  EXPECT_TRUE(target.IsSeparator(3));
  EXPECT_EQ(target.Items(0)->Comment, "changed");  // an empty comment leaves it
  EXPECT_EQ(target.Items(2)->Comment, "newer");
}

TEST_F(ListFilesTest, MessageCountsMissingFilesAndDuplicates) {
  const std::string a = Picture("a.jpg");
  const std::string text = std::string(kHeader) + "\"" + a + "\" \"\" \"\"\r\n" + "\"" + a +
                           "\" \"\" \"\"\r\n" + "\"" + dir.File("gone1.jpg") + "\"\r\n" + "\"" +
                           dir.File("gone2.jpg") + "\"\r\n" + "\"" + dir.File("gone3.jpg") +
                           "\"\r\n" + "\"" + Picture("x.png") + "\"\r\n";
  EXPECT_EQ(LoadFromText(list, text, TListForm::Igl),
            "\r\n  3 files was not found.  \r\n  1 duplicated files was found.  ");
  EXPECT_EQ(list.Count(), 1);  // the .png is refused without a word

  SetInterfaceText(TextId::FilesNotFound, "Dateien fehlen.");
  TImageGalleryList other;
  EXPECT_EQ(LoadFromText(other, std::string(kHeader) + "\"/no/such.jpg\"", TListForm::Igl),
            "\r\n  1 Dateien fehlen.  ");
}

TEST_F(ListFilesTest, HeaderIsMatchedWithoutRegardToCase) {
  const std::string a = Picture("a.jpg");
  const std::string body = "\r\n\r\n\"" + a + "\"\r\n";
  EXPECT_EQ(LoadFromText(list, "Version=1\r\ncontent=  THE IMAGE GALLERY LIST \t" + body,
                         TListForm::Igl),
            "");
  EXPECT_EQ(list.Count(), 1);

  TImageGalleryList other;
  EXPECT_EQ(LoadFromText(other, "Content=Another list" + body, TListForm::Igl),
            "Unknown file format");
  EXPECT_EQ(LoadFromText(other, " Content=The image gallery list" + body, TListForm::Igl),
            "Unknown file format");  // the name is not trimmed
  EXPECT_EQ(LoadFromText(other, "\"" + a + "\"\r\n", TListForm::Igl), "Unknown file format");
  EXPECT_EQ(other.Count(), 0);
  // Without a blank line there is no body.
  EXPECT_EQ(LoadFromText(other, "Content=The image gallery list\r\n\"" + a + "\"", TListForm::Igl),
            "");
  EXPECT_EQ(other.Count(), 0);
}

TEST_F(ListFilesTest, MalformedEscapeStopsAtThatLine) {
  const std::string a = Picture("a.jpg");
  const std::string b = Picture("b.jpg");
  const std::string text = std::string(kHeader) + "\"" + a + "\" \"ok\"\r\n\"" + b +
                           "\" \"bad %G1\"\r\n\"------ new page ------\"\r\n";
  EXPECT_EQ(LoadFromText(list, text, TListForm::Igl), "Error");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0)->Comment, "ok");
}

TEST_F(ListFilesTest, LineEndsUnquotedFieldsAndTheEndOfText) {
  const std::string a = Picture("a.jpg");
  const std::string b = Picture("b.jpg");
  // LF and CR line ends, an unquoted path with a second word, a NUL that
  // ends the text before a third entry.
  const std::string text = "Content=The image gallery list\n\r  \r" + a + " more words\n\"" + b +
                           "\" \"say \"\"hi\"\"\"\r\n" + std::string(1, '\0') + "\"" + a + "\"";
  EXPECT_EQ(LoadFromText(list, text, TListForm::Igl), "");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->FileName, a);
  EXPECT_EQ(list.Items(1)->Comment, "say \"hi\"");
}

TEST(ReadListFieldTest, QuotedAndBareFields) {
  std::size_t position = 0;
  const std::string line = "  \"a \"\"b\"\" c\"  bare\t\"unclosed";
  EXPECT_EQ(ReadListField(line, position), "a \"b\" c");
  EXPECT_EQ(position, 14u);  // behind the closing quote
  EXPECT_EQ(ReadListField(line, position), "bare");
  EXPECT_EQ(ReadListField(line, position), "");  // no closing quote
  EXPECT_EQ(position, line.size() + 1);
  EXPECT_EQ(ReadListField(line, position), "");  // past the end
}

TEST_F(ListFilesTest, RawListsReadBlankAndQuotedLines) {
  const std::string a = Picture("a.jpg");
  Picture("\"q\".jpg");
  // A relative path, so that a line can begin with blanks and a quote.
  const auto oldFolder = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const std::string text = "  " + a + " \r\n\r\n \t \r\n\"" + a + "\" ignored\r\n  \"q\".jpg" +
                           "\r\n" + dir.File("gone.jpg") + "\r\n" + Picture("x.png") + "\r\n";
  const std::string message = LoadFromText(list, text, TListForm::RawText);
  std::filesystem::current_path(oldFolder);
  EXPECT_EQ(message, "\r\n  1 files was not found.  ");
  ASSERT_EQ(list.Count(), 5);
  EXPECT_TRUE(list.IsImage(0));
  EXPECT_TRUE(list.IsSeparator(1));
  EXPECT_TRUE(list.IsSeparator(2));
  EXPECT_EQ(list.Items(3)->FileName, a);  // no duplicate check in this form
  EXPECT_EQ(list.Items(4)->FileName, "\"q\".jpg");  // trimmed, its quotes stay part of the path
}

TEST(ListFileNameTest, DefaultExtensionFollowsTheFilter) {
  EXPECT_EQ(ListFileNameFor("list", 1), "list.igl");
  EXPECT_EQ(ListFileNameFor("list.dat", 1), "list.dat.igl");
  EXPECT_EQ(ListFileNameFor("list.IGL", 1), "list.IGL");
  EXPECT_EQ(ListFileNameFor("list.", 1), "list.");
  EXPECT_EQ(ListFileNameFor("list.igl", 2), "list.igl.txt");
  EXPECT_EQ(ListFileNameFor("list", 3), "list");
  EXPECT_EQ(ListFileNameFor("", 1), "");
  EXPECT_EQ(ListFormOfFilter(2), TListForm::RawText);
  EXPECT_EQ(ListFormOfFilter(1), TListForm::Igl);
  EXPECT_EQ(ListFormOfFilter(0), TListForm::Igl);
  EXPECT_EQ(OverwriteQuestionText("/x/l.igl"),
            "The file already exists:\r\n/x/l.igl\r\n\r\nYou are sure to overwrite it?");
}

TEST_F(ListFilesTest, SaveListFileReplacesTheFileAndReportsFailure) {
  list.AddFile(Picture("a.jpg"));
  const std::string path = dir.Write("saved/list.igl", "old contents");
  ASSERT_TRUE(SaveListFile(list, path, TListForm::Igl));
  EXPECT_EQ(ReadFileBytes(path), SaveToText(list, TListForm::Igl, DefaultGeneratorText()));

  // An empty raw list is a valid, empty file.
  TImageGalleryList empty;
  const std::string raw = dir.File("empty.txt");
  ASSERT_TRUE(SaveListFile(empty, raw, TListForm::RawText));
  EXPECT_EQ(ReadFileBytes(raw), "");

  // A target that cannot be written: false, and what was there stays.
  std::filesystem::create_directories(dir.File("folder.igl"));
  EXPECT_FALSE(SaveListFile(list, dir.File("folder.igl"), TListForm::Igl));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.igl")));
  EXPECT_FALSE(SaveListFile(list, dir.File("a.jpg") + "/under/a/file.igl", TListForm::Igl));
  EXPECT_FALSE(SaveListFile(list, "", TListForm::Igl));

  TImageGalleryList back;
  EXPECT_EQ(LoadListFile(back, path, TListForm::Igl), std::optional<std::string>(""));
  EXPECT_EQ(back.Count(), 1);
  EXPECT_EQ(LoadListFile(back, dir.File("none.igl"), TListForm::Igl), std::nullopt);
}

}  // namespace
}  // namespace zelvora
