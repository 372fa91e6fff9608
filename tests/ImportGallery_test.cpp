#include "gallery/ImportGallery.h"

#include <gtest/gtest.h>

#include "gallery/ListFiles.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

using test::TempDir;

class ImportGalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The list the user has before importing.
    current.AddFile(sources.Write("mine.jpg", ""));
  }

  // A gallery folder as a run leaves it: options and the list it was made from.
  void WriteOptions() {
    TGallerySet made;
    made.ThumbTableRowCount = 7;
    made.CustomPageTitle = "Trip";
    ASSERT_TRUE(made.SaveToFile(gallery.File("GalleryOptions.gof")));
  }
  void WriteList() {
    TImageGalleryList made;
    made.InsertSeparator(0);
    made.AddFile(sources.Write("a.jpg", ""));
    made.Items(1)->Comment = "first\r\nline";
    made.AddFile(sources.Write("b.gif", ""));
    made.InsertSeparator(3);
    made.Items(3)->Comment = "ignored";
    ASSERT_TRUE(SaveListFile(made, gallery.File("ImageIndex.igl"), TListForm::Igl));
  }

  TempDir sources, gallery;
  TGallerySet options;
  TImageGalleryList current;
};

TEST_F(ImportGalleryTest, RestoresOptionsAndListOfAGallery) {
  WriteOptions();
  WriteList();
  const TImportResult result = ImportGallery(gallery.Path().string(), options, current);
  EXPECT_TRUE(result.OptionsLoaded);
  EXPECT_TRUE(result.ListLoaded);
  EXPECT_EQ(result.Kind, TImportMessageKind::None);
  EXPECT_EQ(options.ThumbTableRowCount, 7);
  EXPECT_EQ(options.CustomPageTitle, "Trip");
  ASSERT_EQ(current.Count(), 4);  // replaced, not appended
  EXPECT_TRUE(current.IsSeparator(0));
  EXPECT_EQ(current.Items(1)->FileName, sources.File("a.jpg"));
  EXPECT_EQ(current.Items(1)->Comment, "first\r\nline");
  EXPECT_TRUE(current.IsImage(2));
  EXPECT_TRUE(current.IsSeparator(3));
  EXPECT_EQ(current.ImageCount(), 2);
}

TEST_F(ImportGalleryTest, OptionsAloneKeepTheList) {
  WriteOptions();
  const TImportResult result = ImportGallery(gallery.Path().string() + "/", options, current);
  EXPECT_TRUE(result.OptionsLoaded);
  EXPECT_FALSE(result.ListLoaded);
  EXPECT_EQ(options.ThumbTableRowCount, 7);
  ASSERT_EQ(current.Count(), 1);
  EXPECT_EQ(current.LineText(0), "mine.jpg");
}

TEST_F(ImportGalleryTest, EmptyFolderChangesNothing) {
  const TImportResult result = ImportGallery(gallery.Path().string(), options, current);
  EXPECT_EQ(result.Kind, TImportMessageKind::None);
  EXPECT_EQ(options.ThumbTableRowCount, TGallerySet().ThumbTableRowCount);
  EXPECT_EQ(current.Count(), 1);
}

TEST_F(ImportGalleryTest, MissingPicturesAndWrongFormatAreReported) {
  WriteList();
  std::filesystem::remove(sources.File("b.gif"));
  TImportResult result = ImportGallery(gallery.Path().string(), options, current);
  EXPECT_EQ(result.Kind, TImportMessageKind::Information);
  EXPECT_EQ(result.Message, "\r\n  1 files was not found.  ");
  EXPECT_EQ(current.Count(), 3);

  gallery.Write("ImageIndex.igl", "Content=something else\r\n\r\n\"x.jpg\"\r\n");
  result = ImportGallery(gallery.Path().string(), options, current);
  EXPECT_EQ(result.Kind, TImportMessageKind::Information);
  EXPECT_EQ(result.Message, "Unknown file format");
  EXPECT_EQ(current.Count(), 0);
}

TEST_F(ImportGalleryTest, DamagedOptionsFileIsAnErrorAndKeepsTheList) {
  WriteList();
  gallery.Write("GalleryOptions.gof", "CustomPageTitle=bad %Z9 escape\r\n");
  const TImportResult result = ImportGallery(gallery.Path().string(), options, current);
  EXPECT_EQ(result.Kind, TImportMessageKind::Error);
  EXPECT_EQ(result.Message, "\r\n  Error             ");
  EXPECT_EQ(current.Count(), 1);
}

}  // namespace
}  // namespace zelvora
