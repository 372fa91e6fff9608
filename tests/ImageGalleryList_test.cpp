#include "gallery/ImageGalleryList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

#include "support/TestSupport.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/DateValue.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

using ::testing::ElementsAre;
using test::TempDir;

// Builds a list from a pattern: 'P' a picture (an empty .jpg made on the
// fly), 'S' a separator.
class ListFixture : public ::testing::Test {
 protected:
  void TearDown() override { ResetInterfaceTexts(); }

  std::string Picture(const std::string& name, std::string_view bytes = "") {
    return dir.Write(name, bytes);
  }

  void Build(std::string_view pattern) {
    int n = 0;
    for (char c : pattern) {
      if (c == 'S')
        ASSERT_TRUE(list.InsertSeparator(list.Count()));
      else
        ASSERT_GE(list.AddFile(Picture("p" + std::to_string(n++) + ".jpg")), 0);
    }
  }

  std::vector<int> Starts(int perPage) const {
    std::vector<int> starts;
    EXPECT_TRUE(list.GetPageStarts(&starts, perPage));
    return starts;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& line : list.Lines()) texts.push_back(line.Text);
    return texts;
  }

  TempDir dir;
  TImageGalleryList list;
};

TEST(PicturesPerPageTest, ProductIsClampedInsteadOfWrapping) {
  EXPECT_EQ(PicturesPerPage(5, 4), 20);
  EXPECT_EQ(PicturesPerPage(100000, 100000), INT32_MAX);
  EXPECT_EQ(PicturesPerPage(65536, 65536), INT32_MAX);  // exactly 2^32 would wrap to 0
  EXPECT_EQ(PicturesPerPage(0, 7), 1);
}

TEST(ThumbnailNameOfTest, LowerCasesAndReplacesTheExtension) {
  EXPECT_EQ(ThumbnailNameOf("IMG_0001.JPG"), "img_0001_thumb.jpg");
  EXPECT_EQ(ThumbnailNameOf("archive.tar.GIF"), "archive.tar_thumb.jpg");
  EXPECT_EQ(ThumbnailNameOf("noext"), "noext_thumb.jpg");
}

TEST_F(ListFixture, AddFileAcceptsOnlyExistingImageFiles) {
  const std::string jpg = Picture("Holiday.JPG");
  const std::string png = Picture("x.png");
  EXPECT_EQ(list.AddFile("  " + jpg + "\t\r\n"), 0);
  EXPECT_EQ(list.Items(0)->FileName, jpg);  // trimmed
  EXPECT_EQ(list.LineText(0), "Holiday.JPG");
  EXPECT_EQ(list.AddFile(png), -1);
  EXPECT_EQ(list.AddFile(dir.File("missing.jpg")), -1);
  EXPECT_EQ(list.AddFile(Picture("scan.tif")), 1);  // accepted, though never decoded
  EXPECT_EQ(list.AddFile(jpg), 2);                  // no duplicate check here
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ImageCount(), 3);
}

TEST_F(ListFixture, OutOfRangeQueriesChangeNothing) {
  Build("PS");
  EXPECT_EQ(list.Items(-1), nullptr);
  EXPECT_EQ(list.Items(2), nullptr);
  EXPECT_FALSE(list.IsImage(2));
  EXPECT_FALSE(list.IsSeparator(-1));
  EXPECT_TRUE(list.IsImage(0));
  EXPECT_TRUE(list.IsSeparator(1));
  EXPECT_FALSE(list.Delete(2));
  EXPECT_FALSE(list.Move(0, 2));
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(ListFixture, DeleteCountsOnlyPictures) {
  Build("PSP");
  EXPECT_TRUE(list.Delete(1));
  EXPECT_EQ(list.ImageCount(), 2);
  EXPECT_TRUE(list.Delete(0));
  EXPECT_EQ(list.ImageCount(), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ImageCount(), 0);
}

TEST_F(ListFixture, SeparatorsTakeTheTextsCurrentWhenMade) {
  Build("PP");
  EXPECT_TRUE(list.InsertSeparator(-5));
  EXPECT_TRUE(list.IsSeparator(0));
  EXPECT_EQ(list.Items(0)->FileName, "------ new page ------");
  EXPECT_EQ(list.Items(0)->Comment, "The page separator");
  ASSERT_TRUE(SetInterfaceText(TextId::SeparatorText, "=== Seite ==="));
  EXPECT_TRUE(list.InsertSeparator(99));
  EXPECT_EQ(list.LineText(3), "=== Seite ===");
  EXPECT_EQ(list.LineText(0), "------ new page ------");
  EXPECT_EQ(list.ImageCount(), 2);
}

TEST_F(ListFixture, FindNextAndPrevious) {
  Build("PSPPS");
  EXPECT_EQ(list.FindNext(-3, TItemKind::Separator), 1);
  EXPECT_EQ(list.FindNext(2, TItemKind::Separator), 4);
  EXPECT_EQ(list.FindNext(5, TItemKind::Image), -1);
  EXPECT_EQ(list.FindPrevious(3, TItemKind::Separator), 1);
  EXPECT_EQ(list.FindPrevious(100, TItemKind::Image), 3);
  EXPECT_EQ(list.FindPrevious(-1, TItemKind::Separator), -1);
}

// --- paging -----------------------------------------------------------------

TEST_F(ListFixture, EmptyListHasNoPages) {
  EXPECT_EQ(list.PageCount(4), 0);
  EXPECT_TRUE(Starts(4).empty());
  EXPECT_EQ(list.ImagesOnPage(0, 4), 0);
  EXPECT_FALSE(list.GetPageStarts(nullptr, 4));
}

TEST_F(ListFixture, FullPagesAndPagesCutBySeparators) {
  Build("PPP");
  EXPECT_EQ(list.PageLastIndex(0, 2), 1);
  EXPECT_EQ(list.PageLastIndex(2, 2), 3);  // runs to the end: Count itself
  EXPECT_THAT(Starts(2), ElementsAre(0, 2));
  EXPECT_EQ(list.ImagesOnPage(2, 2), 1);

  list.Clear();
  Build("PPSP");
  EXPECT_THAT(Starts(2), ElementsAre(0, 2));
  EXPECT_EQ(list.PageLastIndex(2, 2), 4);
  EXPECT_EQ(list.ImagesOnPage(0, 2), 2);
  EXPECT_EQ(list.ImagesOnPage(2, 2), 1);
}

TEST_F(ListFixture, SeparatorsAtTheEdgesAndInARow) {
  Build("SPP");  // a leading separator makes no empty page
  EXPECT_EQ(list.PageCount(2), 1);

  list.Clear();
  Build("PPS");  // a trailing one does
  EXPECT_THAT(Starts(5), ElementsAre(0, 2));
  EXPECT_EQ(list.ImagesOnPage(2, 5), 0);

  list.Clear();
  Build("PSSP");  // two in a row: an empty page between
  EXPECT_THAT(Starts(5), ElementsAre(0, 1, 2));
  EXPECT_EQ(list.ImagesOnPage(1, 5), 0);
  EXPECT_EQ(list.ImagesOnPage(2, 5), 1);

  list.Clear();
  Build("PPPSPPPPP");  // a separator in the middle of a long run
  EXPECT_THAT(Starts(2), ElementsAre(0, 2, 3, 6, 8));
  EXPECT_EQ(list.PageCount(2), 5);
  EXPECT_EQ(list.ImagesOnPage(3, 2), 2);
}

TEST_F(ListFixture, NoLimitMeansOnePagePerSeparatorRun) {
  Build("PPPSPP");
  EXPECT_THAT(Starts(0), ElementsAre(0, 3));
  EXPECT_THAT(Starts(INT32_MAX), ElementsAre(0, 3));
  EXPECT_EQ(list.ImagesOnPage(-4, INT32_MAX), 3);
}

// --- observer ---------------------------------------------------------------

class RecordingObserver : public TImageGalleryListObserver {
 public:
  void BeginBulkChange() override { events.push_back("bulk{"); }
  void EndBulkChange() override { events.push_back("}bulk"); }
  void BeginInsertLines(int first, int last) override {
    events.push_back("ins " + std::to_string(first) + ".." + std::to_string(last));
  }
  void EndInsertLines() override { events.push_back("ins."); }
  void BeginRemoveLines(int first, int last) override {
    events.push_back("rem " + std::to_string(first) + ".." + std::to_string(last));
  }
  void EndRemoveLines() override { events.push_back("rem."); }
  void BeginMoveLine(int from, int to) override {
    events.push_back("mov " + std::to_string(from) + ">" + std::to_string(to));
  }
  void EndMoveLine() override { events.push_back("mov."); }
  std::vector<std::string> events;
};

TEST_F(ListFixture, ObserverHearsSingleChangesAndOneBracketPerBulkChange) {
  RecordingObserver observer;
  list.SetObserver(&observer);
  Build("PP");
  list.InsertSeparator(1);
  list.Move(0, 2);
  list.Delete(1);
  EXPECT_THAT(observer.events, ElementsAre("ins 0..0", "ins.", "ins 1..1", "ins.", "ins 1..1",
                                           "ins.", "mov 0>2", "mov.", "rem 1..1", "rem."));

  observer.events.clear();
  list.BeginUpdate();
  list.SortEntries(skComment);  // nests inside the outer bracket
  list.InsertSeparator(0);
  list.EndUpdate();
  list.EndUpdate();  // unbalanced end is ignored
  list.Clear();
  EXPECT_THAT(observer.events, ElementsAre("bulk{", "}bulk", "bulk{", "}bulk"));
  list.SetObserver(nullptr);
}

TEST_F(ListFixture, MoveKeepsTheOrderOfOtherLines) {
  Build("PPPP");
  list.Move(3, 1);
  EXPECT_THAT(Texts(), ElementsAre("p0.jpg", "p3.jpg", "p1.jpg", "p2.jpg"));
  list.Move(0, 3);
  EXPECT_THAT(Texts(), ElementsAre("p3.jpg", "p1.jpg", "p2.jpg", "p0.jpg"));
  list.Exchange(0, 2);
  EXPECT_THAT(Texts(), ElementsAre("p2.jpg", "p1.jpg", "p3.jpg", "p0.jpg"));
}

// --- ordering ---------------------------------------------------------------

// The sort as its steps read, moving entries one by one: the reference the
// list's faster version must match exactly.
void ReferenceSort(std::vector<std::pair<std::string, int>>& v, int lo, int hi) {
  if (lo >= hi) return;
  const int m = (lo + hi) / 2;
  const std::string pivot = v[m].first;
  int e = m;
  auto move = [&](int from, int to) {
    auto entry = v[from];
    v.erase(v.begin() + from);
    v.insert(v.begin() + to, entry);
  };
  for (int d = m - 1; d >= lo; --d) {
    if (v[d].first > pivot) {
      move(d, e);
      --e;
    }
  }
  for (int c = m + 1; c <= hi; ++c) {
    if (v[c].first < pivot) {
      move(c, e);
      ++e;
    }
  }
  if (lo < e - 1) ReferenceSort(v, lo, e - 1);
  if (e + 1 < hi) ReferenceSort(v, e + 1, hi);
}

TEST_F(ListFixture, SortMatchesTheMovingQuicksortAndIsStable) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    list.Clear();
    const int n = 1 + static_cast<int>(random() % 60);
    std::vector<std::pair<std::string, int>> expected;
    const std::string shared = Picture("same.jpg");
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(list.AddFile(shared), i);
      // Few distinct keys, so that equal keys are common.
      std::string comment(1, static_cast<char>('a' + random() % 4));
      list.Items(i)->Comment = comment;
      list.Items(i)->Number = i;  // identifies the entry
      expected.emplace_back(comment, i);
    }
    ReferenceSort(expected, 0, n - 1);
    list.SortEntries(skComment);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(list.Items(i)->Number, expected[i].second) << "round " << round << " at " << i;
    }
    for (int i = 1; i < n; ++i) {  // stable: equal keys in their old order
      if (list.Items(i)->Comment == list.Items(i - 1)->Comment) {
        ASSERT_LT(list.Items(i - 1)->Number, list.Items(i)->Number);
      }
    }
    list.SortEntries(skComment);  // a second sort changes nothing
    for (int i = 0; i < n; ++i) ASSERT_EQ(list.Items(i)->Number, expected[i].second);
  }
}

TEST_F(ListFixture, TextKeysIgnoreCase) {
  ASSERT_GE(list.AddFile(Picture("x/Beta/one.JPG")), 0);
  ASSERT_GE(list.AddFile(Picture("y/alpha/two.gif")), 0);
  ASSERT_GE(list.AddFile(Picture("z/ALPHA/three.bmp")), 0);
  list.SortEntries(skFolderName);
  EXPECT_THAT(Texts(), ElementsAre("two.gif", "three.bmp", "one.JPG"));
  list.SortEntries(skFileType);
  EXPECT_THAT(Texts(), ElementsAre("three.bmp", "two.gif", "one.JPG"));
  list.SortEntries(skFolderPath);
  EXPECT_THAT(Texts(), ElementsAre("one.JPG", "two.gif", "three.bmp"));
}

TEST_F(ListFixture, SizeSortMeasuresOnceAndPutsMissingFilesFirst) {
  const std::string big = Picture("big.jpg", std::string(300, 'x'));
  const std::string small = Picture("small.jpg", "ab");
  const std::string gone = Picture("gone.jpg", std::string(50, 'x'));
  list.AddFile(big);
  list.AddFile(small);
  list.AddFile(gone);
  std::filesystem::remove(gone);
  list.SortEntries(skFileSize);
  EXPECT_THAT(Texts(), ElementsAre("gone.jpg", "small.jpg", "big.jpg"));
  EXPECT_EQ(list.Items(0)->FileSize, -1);
  EXPECT_EQ(list.Items(2)->FileSize, 300);

  // Known sizes are kept: growing a file on disk does not reorder.
  dir.Write("small.jpg", std::string(1000, 'x'));
  list.SortEntries(skFileSize);
  EXPECT_THAT(Texts(), ElementsAre("gone.jpg", "small.jpg", "big.jpg"));
}

TEST_F(ListFixture, DateSortReadsFileDates) {
  const std::string older = Picture("older.jpg");
  const std::string newer = Picture("newer.jpg");
  ASSERT_TRUE(SetFileDateOf(older, EncodeDateTime(2001, 5, 1, 12)));
  ASSERT_TRUE(SetFileDateOf(newer, EncodeDateTime(2010, 5, 1, 12)));
  list.AddFile(newer);
  list.AddFile(older);
  list.SortEntries(skFileDate);
  EXPECT_THAT(Texts(), ElementsAre("older.jpg", "newer.jpg"));
  EXPECT_GT(list.Items(0)->FileDate, 0);
}

TEST_F(ListFixture, ListCommandsDropSeparatorsFirst) {
  Build("SPPSP");
  list.Reverse();
  EXPECT_THAT(Texts(), ElementsAre("p2.jpg", "p1.jpg", "p0.jpg"));
  list.InsertSeparator(1);
  list.SortByKey(skFolderPath);
  EXPECT_EQ(list.Count(), 3);
  ASSERT_GE(list.AddFile(Picture("B.jpg")), 0);
  ASSERT_GE(list.AddFile(Picture("a.jpg")), 0);
  list.InsertSeparator(0);
  list.SortByDisplayName();
  EXPECT_THAT(Texts(), ElementsAre("a.jpg", "B.jpg", "p0.jpg", "p1.jpg", "p2.jpg"));
  EXPECT_EQ(list.ImageCount(), 5);
}

TEST_F(ListFixture, SplitByFoldersPutsASeparatorBeforeEachFolder) {
  list.AddFile(Picture("B/1.jpg"));
  list.AddFile(Picture("A/1.jpg"));
  list.InsertSeparator(1);
  list.AddFile(Picture("B/2.jpg"));
  list.AddFile(Picture("A/2.jpg"));
  list.SplitByFolders();
  ASSERT_EQ(list.Count(), 6);
  EXPECT_TRUE(list.IsSeparator(0));
  EXPECT_EQ(list.Items(1)->FileName, dir.File("A/1.jpg"));
  EXPECT_EQ(list.Items(2)->FileName, dir.File("A/2.jpg"));
  EXPECT_TRUE(list.IsSeparator(3));
  EXPECT_EQ(list.Items(4)->FileName, dir.File("B/1.jpg"));
  EXPECT_EQ(list.Items(5)->FileName, dir.File("B/2.jpg"));

  list.Clear();
  list.SplitByFolders();  // nothing to split: no separator either
  EXPECT_EQ(list.Count(), 0);
}

// --- gallery names ----------------------------------------------------------

TEST_F(ListFixture, PrepareNamesMakesNamesUniqueIgnoringCase) {
  list.AddFile(Picture("a/Sunset.JPG"));
  list.AddFile(Picture("b/sunset.jpg"));
  ASSERT_TRUE(list.PrepareNames(false, 20));
  EXPECT_EQ(list.Items(0)->ImageName, "Sunset.JPG");
  EXPECT_EQ(list.Items(1)->ImageName, "sunset_1.jpg");
  EXPECT_EQ(list.Items(0)->ThumbName, "sunset_thumb.jpg");
  EXPECT_EQ(list.Items(1)->ThumbName, "sunset_1_thumb.jpg");

  ASSERT_TRUE(list.PrepareNames(true, 20));  // kept names are not made unique
  EXPECT_EQ(list.Items(0)->ImageName, "Sunset.JPG");
  EXPECT_EQ(list.Items(1)->ImageName, "sunset.jpg");
  EXPECT_EQ(list.Items(1)->ThumbName, "sunset_thumb_1.jpg");
}

TEST_F(ListFixture, PrepareNamesSkipsNamesAlreadyTaken) {
  list.AddFile(Picture("a.jpg"));
  list.AddFile(Picture("a_1.jpg"));
  list.AddFile(Picture("a.gif"));  // differs only in extension
  list.AddFile(Picture("x/A.bmp"));
  ASSERT_TRUE(list.PrepareNames(false, 20));
  EXPECT_EQ(list.Items(0)->ImageName, "a.jpg");
  EXPECT_EQ(list.Items(1)->ImageName, "a_1.jpg");
  EXPECT_EQ(list.Items(2)->ImageName, "a_2.gif");
  EXPECT_EQ(list.Items(3)->ImageName, "A_3.bmp");
  EXPECT_EQ(list.Items(3)->ThumbName, "a_3_thumb.jpg");
}

TEST_F(ListFixture, PrepareNamesWithAMask) {
  list.AddFile(Picture("trip/Beach.JPG"));
  list.AddFile(Picture("trip/sea.gif"));
  list.RenameMask = "img-%4c";
  ASSERT_TRUE(list.PrepareNames(false, 20));
  EXPECT_EQ(list.Items(0)->ImageName, "img-0001.jpg");
  EXPECT_EQ(list.Items(1)->ImageName, "img-0002.gif");
  EXPECT_EQ(list.Items(1)->ThumbName, "img-0002_thumb.jpg");

  list.RenameMask = "%f";  // every picture gets the same base name
  ASSERT_TRUE(list.PrepareNames(false, 20));
  EXPECT_EQ(list.Items(0)->ImageName, "trip.jpg");
  EXPECT_EQ(list.Items(1)->ImageName, "trip_1.gif");

  list.RenameMask = "../../%n";  // must not lead out of the gallery
  ASSERT_TRUE(list.PrepareNames(false, 20));
  EXPECT_EQ(list.Items(0)->ImageName.find('/'), std::string::npos);
  EXPECT_EQ(list.Items(0)->ImageName, ".._.._Beach.jpg");
}

// The gallery is written into the picture folder: no name of the run may
// land on a picture of the list.
TEST_F(ListFixture, PrepareNamesNeverTargetsAPictureOfTheList) {
  const std::string folder = dir.File("pics") + "/";
  list.AddFile(Picture("pics/a.jpg"));
  list.AddFile(Picture("pics/a_thumb.jpg"));
  list.AddFile(Picture("pics/b1.bmp"));
  list.AddFile(Picture("pics/b1.jpg"));
  TNameTargets targets;
  targets.ThumbFolder = folder;
  // Kept location: the thumbnail of a.jpg must not replace a_thumb.jpg.
  ASSERT_TRUE(list.PrepareNames(true, 20, targets));
  EXPECT_EQ(list.Items(0)->ThumbName, "a_thumb_1.jpg");
  EXPECT_EQ(list.Items(1)->ThumbName, "a_thumb_thumb.jpg");

  // Copied into the same folder with conversion: the JPEG of b1.bmp must
  // not replace b1.jpg, which is copied onto itself and so left alone.
  targets.ImageFolder = dir.Path().string() + "/./pics";  // another spelling
  targets.ThumbFolder = dir.File("thumbs") + "/";
  targets.ConvertWebIncompatible = true;
  ASSERT_TRUE(list.PrepareNames(false, 20, targets));
  EXPECT_EQ(list.Items(0)->ImageName, "a.jpg");
  EXPECT_EQ(list.Items(2)->ImageName, "b1_1.jpg");
  EXPECT_EQ(list.Items(3)->ImageName, "b1.jpg");

  // A picture that may be reduced is written as JPEG: not onto itself.
  targets.MayReduce = true;
  ASSERT_TRUE(list.PrepareNames(false, 20, targets));
  EXPECT_EQ(list.Items(0)->ImageName, "a_1.jpg");
  std::set<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.insert(list.Items(i)->ImageName);
  EXPECT_EQ(names.size(), 4u);
  for (const std::string& name : names) EXPECT_FALSE(FileExists(folder + name)) << name;
}

TEST_F(ListFixture, PrepareNamesKeepsPicturesAndThumbnailsApartInOneFolder) {
  list.AddFile(Picture("p/a.jpg"));
  list.AddFile(Picture("q/a_thumb.jpg"));
  TNameTargets targets;
  targets.ImageFolder = targets.ThumbFolder = dir.File("out") + "/";
  ASSERT_TRUE(list.PrepareNames(false, 20, targets));
  EXPECT_EQ(list.Items(0)->ThumbName, "a_thumb.jpg");
  EXPECT_EQ(list.Items(1)->ImageName, "a_thumb_1.jpg");
  EXPECT_NE(list.Items(1)->ThumbName, list.Items(0)->ThumbName);
}

TEST_F(ListFixture, PrepareNamesStayWithin255BytesAndUnique) {
  // "ab", 124 times the two bytes of "é", ".jpg": 254 bytes, and its
  // thumbnail name would be 260.
  std::string longName = "ab";
  for (int i = 0; i < 124; ++i) longName += "\xC3\xA9";
  longName += ".jpg";
  list.AddFile(Picture("x/" + longName));
  list.AddFile(Picture("y/" + longName));
  for (bool keep : {false, true}) {
    ASSERT_TRUE(list.PrepareNames(keep, 20));
    const TImageGalleryItem& a = *list.Items(0);
    const TImageGalleryItem& b = *list.Items(1);
    for (const std::string& name : {a.ImageName, a.ThumbName, b.ImageName, b.ThumbName}) {
      EXPECT_LE(name.size(), 255u) << name;
      // Cut before a whole character, never inside one.
      EXPECT_EQ(name.find("\xC3_"), std::string::npos) << name;
      EXPECT_EQ(name.find("\xC3."), std::string::npos) << name;
    }
    // Kept names: the second thumbnail's suffix falls inside an "é".
    if (keep) EXPECT_TRUE(b.ThumbName.ends_with("\xC3\xA9_1.jpg")) << b.ThumbName;
    EXPECT_NE(a.ThumbName, b.ThumbName);
    EXPECT_NE(a.ImageName == b.ImageName, !keep);
  }
}

TEST_F(ListFixture, PrepareNamesNumbersPicturesAndCountsEmptyPages) {
  Build("PPPSSP");
  std::filesystem::remove(list.Items(1)->FileName);  // a picture that has gone
  ASSERT_TRUE(list.PrepareNames(false, 1));
  EXPECT_EQ(list.Items(0)->Number, 1);
  EXPECT_EQ(list.Items(0)->PageNo, 1);
  EXPECT_EQ(list.Items(1)->Number, 0);  // skipped, untouched
  EXPECT_EQ(list.Items(1)->FileSize, 0);
  EXPECT_EQ(list.Items(2)->Number, 2);
  EXPECT_EQ(list.Items(2)->PageNo, 3);
  EXPECT_EQ(list.Items(5)->Number, 3);
  EXPECT_EQ(list.Items(5)->PageNo, 5);  // the empty page between the separators counts
  EXPECT_EQ(list.Items(3)->ImageName, "");

  TImageGalleryList empty;
  EXPECT_TRUE(empty.PrepareNames(false, 20));
}

TEST_F(ListFixture, PrepareNamesScalesWithManyEqualNames) {
  // Each picture's name a new suffix of one shared base: quadratic probing
  // would make this slow; the counts stay exact.
  const std::string shared = Picture("img.jpg");
  for (int i = 0; i < 3000; ++i) ASSERT_GE(list.AddFile(shared), 0);
  ASSERT_TRUE(list.PrepareNames(false, INT32_MAX));
  EXPECT_EQ(list.Items(0)->ImageName, "img.jpg");
  EXPECT_EQ(list.Items(2999)->ImageName, "img_2999.jpg");
  EXPECT_EQ(list.Items(2999)->ThumbName, "img_2999_thumb.jpg");
}

}  // namespace
}  // namespace zelvora
