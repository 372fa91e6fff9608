#include "gallery/GallerySet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/TestSupport.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

using ::testing::ElementsAreArray;

TGallerySet Loaded(const TStringList& lines) {
  TGallerySet set;
  EXPECT_TRUE(set.LoadFromStrings(lines, ""));
  return set;
}

std::string TextOf(const TGallerySet& set) {
  std::string text;
  EXPECT_TRUE(set.SaveToText(text));
  return text;
}

// The options file of a freshly reset set, line for line.
// clang-format off
const char* const kDefaultLines[] = {
    "Navig_HomeURL=", "Navig_PageTop=yes", "Navig_PageBottom=yes", "Framed_ThumbTablePage=no",
    "ConvertWebIncompatibleImagesToJPEG=yes", "RenameImages=no", "RenameImageMask=img-%4c",
    "KeepLocationOfImages=no", "ThumbTableRowCount=5", "ThumbTableColumnCount=4",
    "PageIndex_StyleOfLinksTitles=0", "HTMLPage_Background=", "HTMLPage_BGColor=#FFFFFF",
    "HTMLPage_TextColor=#000000", "HTMLPage_LinkColor=#0000FF", "HTMLPage_VisitedLinkColor=#70B0FF",
    "HTMLPage_ActiveLinkColor=#00E040", "HTMLPage_DisabledLinkColor=#CCCCCC",
    "HTMLPage_Font=Verdana, sans-serif", "DefaultTemplate_ID=", "Thumb_LinkMask=",
    "Image_LinkMask=", "Thumb_URLPath=thumbnails/", "Image_URLPath=images/",
    "Thumb_Effects_ContrastFrame=yes", "Thumb_Effects_Shadow=yes",
    "Thumb_Effects_ShadowDensity=128", "Thumb_MaxWidth=100", "Thumb_MaxHeight=100",
    "Thumb_JPEGQuality=90", "Thumb_JPEGProgressive=yes",
    "Thumb_Description_HideFileNameExtension=yes", "Thumb_Description_Show_ImageName=no",
    "Thumb_Description_Show_ImageComment=no", "Thumb_Description_Show_FileSize=no",
    "Thumb_Description_Show_FileTime=no", "Thumb_Description_Show_ImageSides=no",
    "Image_JPEGQuality=100", "Image_JPEGProgressive=yes", "Image_LimitWebPageImageSize=no",
    "Image_ResizeSrcImages=no", "Image_MaxWidth=0", "Image_MaxHeight=0",
    "Image_Description_HideFileNameExtension=no", "Image_Description_Show_ImageName=no",
    "Image_Description_Show_ImageComment=no", "Image_Description_Show_FileSize=no",
    "Image_Description_Show_FileTime=no", "Image_Description_Show_ImageSides=no",
    "CustomPageTitle=", "CustomPageHeader=", "CustomPageHeaderAsHTMLCode=no", "CustomPageFooter=",
    "CustomPageFooterAsHTMLCode=no",
};
// clang-format on

// A set with every stored option away from its default.
TGallerySet Unusual() {
  TGallerySet s;
  s.Navig_HomeURL = "http://www.example.com/?a=b";
  s.Navig_PageTop = false;
  s.Navig_PageBottom = false;
  s.Framed_ThumbTablePage = true;
  s.ConvertWebIncompatibleImagesToJPEG = false;
  s.RenameImages = true;
  s.RenameImageMask = "pic_%3c_%n";
  s.KeepLocationOfImages = true;
  s.ThumbTableRowCount = 7;
  s.ThumbTableColumnCount = -3;
  s.PageIndex_StyleOfLinksTitles = 2;
  s.HTMLPage_Background = "thumbnails/bg.jpg";
  s.HTMLPage_BGColor = MakeColor(0x10, 0x20, 0x30);
  s.HTMLPage_TextColor = MakeColor(0xFF, 0xFF, 0x00);
  s.HTMLPage_LinkColor = MakeColor(0x01, 0x02, 0x03);
  s.HTMLPage_VisitedLinkColor = MakeColor(0xA0, 0xB0, 0xC0);
  s.HTMLPage_ActiveLinkColor = MakeColor(0xFE, 0x00, 0x01);
  s.HTMLPage_DisabledLinkColor = MakeColor(0x44, 0x55, 0x66);
  s.HTMLPage_Font = "Georgia";
  s.DefaultTemplate_ID = "dark-1";
  s.Thumb_LinkMask = "%n.html";
  s.Image_LinkMask = "../%n";
  s.Thumb_URLPath = "small/";
  s.Image_URLPath = "";
  s.Thumb_Effects_ContrastFrame = false;
  s.Thumb_Effects_Shadow = false;
  s.Thumb_Effects_ShadowDensity = 33;
  s.Thumb_MaxWidth = 150;
  s.Thumb_MaxHeight = 120;
  s.Thumb_JPEGQuality = 55;
  s.Thumb_JPEGProgressive = false;
  s.Thumb_Description = {true, Show_ImageName | Show_FileTime, false};
  s.Image_JPEGQuality = 70;
  s.Image_JPEGProgressive = false;
  s.Image_LimitWebPageImageSize = true;
  s.Image_ResizeSrcImages = true;
  s.Image_MaxWidth = 640;
  s.Image_MaxHeight = 480;
  s.Image_Description = {false, kAllShowFlags, true};
  s.CustomPageTitle = "100% \"mine\"";
  s.CustomPageHeader = "line one\r\nline two\twith tab";
  s.CustomPageHeaderAsHTMLCode = true;
  s.CustomPageFooter = "<b>bye</b>\x01";
  s.CustomPageFooterAsHTMLCode = true;
  return s;
}

TEST(GallerySetWriting, FreshSetWritesEveryOptionInFileOrder) {
  TGallerySet set;
  TStringList lines = {"left over"};
  ASSERT_TRUE(set.SaveToStrings(lines));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(TGallerySet::kStoredLineCount));
  EXPECT_THAT(lines, ElementsAreArray(kDefaultLines));

  std::string text;
  ASSERT_TRUE(set.SaveToText(text));
  EXPECT_EQ(text.substr(0, 32), "Navig_HomeURL=\r\nNavig_PageTop=ye");
  EXPECT_TRUE(text.ends_with("\r\nCustomPageFooterAsHTMLCode=no\r\n"));
}

// The key table is what zelvora-make --list-keys prints and checks --set
// against: it must name every written line, in order, with its default.
TEST(GallerySetKeyTable, NamesEveryWrittenLineWithItsDefault) {
  TStringList lines;
  ASSERT_TRUE(TGallerySet().SaveToStrings(lines));
  const auto table = OptionKeyTable();
  ASSERT_EQ(table.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TOptionKeyInfo& key = table[i];
    const std::string written = lines[i].substr(lines[i].find('=') + 1);
    EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), key.Key);
    if (!key.Default.starts_with("(")) {
      EXPECT_EQ(written, key.Default) << key.Key;
    }
    EXPECT_FALSE(key.Meaning.empty()) << key.Key;
    if (key.Type == TOptionType::Int) {
      EXPECT_LT(key.Min, key.Max) << key.Key;
    }
  }
  // The one default without a value: a colour with the Default mark.
  EXPECT_EQ(table[17].Key, "HTMLPage_DisabledLinkColor");
  EXPECT_TRUE(IsDefaultColor(TGallerySet().HTMLPage_DisabledLinkColor));
}

TEST(GallerySetWriting, ResetRestoresStoredOptionsButNotRunTimeFolders) {
  TGallerySet set = Unusual();
  set.OutputFolder = "/out";
  set.OptionsFolder = "/templates/";
  set.Reset();
  EXPECT_EQ(TextOf(set), TextOf(TGallerySet()));
  EXPECT_TRUE(IsDefaultColor(set.HTMLPage_DisabledLinkColor));
  EXPECT_EQ(set.OutputFolder + set.OptionsFolder, "/out/templates/");
}

TEST(GallerySetRoundTrip, DefaultsComeBackWithDisabledLinkColourChosen) {
  TStringList lines;
  ASSERT_TRUE(TGallerySet().SaveToStrings(lines));
  TGallerySet back = Loaded(lines);
  EXPECT_EQ(TextOf(back), TextOf(TGallerySet()));
  // Written as a plain colour, it is read back as one the user chose.
  EXPECT_EQ(back.HTMLPage_DisabledLinkColor, MakeColor(0xCC, 0xCC, 0xCC));
  EXPECT_EQ(back.GetDisabledLinkColor(), MakeColor(0xCC, 0xCC, 0xCC));
  EXPECT_EQ(back.Thumb_Description, (TDescriptionOptions{false, 0, true}));
  EXPECT_EQ(back.Image_Description, (TDescriptionOptions{false, 0, false}));
}

TEST(GallerySetRoundTrip, EveryOptionAwayFromItsDefaultSurvives) {
  const TGallerySet original = Unusual();
  TStringList lines;
  ASSERT_TRUE(original.SaveToStrings(lines));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(TGallerySet::kStoredLineCount));
  TGallerySet back = Loaded(lines);
  EXPECT_EQ(TextOf(back), TextOf(original));
  EXPECT_EQ(back.CustomPageHeader, original.CustomPageHeader);
  EXPECT_EQ(back.Thumb_Description,
            (TDescriptionOptions{true, Show_ImageName | Show_FileTime, false}));
  // ShowDescription is not stored; the image record had it off and stays so.
  EXPECT_EQ(back.Image_Description, (TDescriptionOptions{false, kAllShowFlags, true}));
}

TEST(GallerySetEscapes, CustomTextsAreWrittenEscaped) {
  TGallerySet set;
  set.CustomPageTitle = "50%";
  set.CustomPageHeader = "a\r\nb";
  set.CustomPageFooter = "x\ty\x7F";
  TStringList lines;
  ASSERT_TRUE(set.SaveToStrings(lines));
  EXPECT_EQ(lines[49], "CustomPageTitle=50%25");
  EXPECT_EQ(lines[50], "CustomPageHeader=a%0D%0Ab");
  EXPECT_EQ(lines[52], "CustomPageFooter=x\ty%7F");
  // A line break in the text never splits the option's line.
  std::string text;
  ASSERT_TRUE(set.SaveToText(text));
  EXPECT_EQ(SplitLines(text).size(), static_cast<std::size_t>(TGallerySet::kStoredLineCount));
}

TEST(GallerySetEscapes, MalformedEscapeStopsTheLoadAtThatOption) {
  TGallerySet set;
  EXPECT_FALSE(
      set.LoadFromStrings({"Navig_PageTop=no", "CustomPageTitle=abc", "CustomPageHeader=100% sure",
                           "CustomPageFooter=bye", "CustomPageHeaderAsHTMLCode=yes"},
                          ""));
  EXPECT_FALSE(set.Navig_PageTop);  // read before the failure
  EXPECT_EQ(set.CustomPageTitle, "abc");
  EXPECT_EQ(set.CustomPageHeader, "");
  EXPECT_EQ(set.CustomPageFooter, "");  // after it: defaults
  EXPECT_FALSE(set.CustomPageHeaderAsHTMLCode);

  EXPECT_TRUE(set.LoadFromStrings({"CustomPageTitle=%4a%4B%25"}, ""));
  EXPECT_EQ(set.CustomPageTitle, "JK%");
}

TEST(GallerySetReading, KeysAndValuesIgnoreLetterCase) {
  TGallerySet set = Loaded({"navig_pagetop=NO", "THUMB_EFFECTS_SHADOW=False",
                            "framed_thumbtablepage=TRUE", "RenameImages=1"});
  EXPECT_FALSE(set.Navig_PageTop);
  EXPECT_FALSE(set.Thumb_Effects_Shadow);
  EXPECT_TRUE(set.Framed_ThumbTablePage);
  EXPECT_TRUE(set.RenameImages);
}

TEST(GallerySetReading, BoolFallbacks) {
  EXPECT_TRUE(Loaded({"Navig_PageTop="}).Navig_PageTop);
  EXPECT_TRUE(Loaded({"Navig_PageTop=  \t"}).Navig_PageTop);
  EXPECT_FALSE(Loaded({"Navig_PageTop=maybe"}).Navig_PageTop);
  EXPECT_FALSE(Loaded({"CustomPageFooterAsHTMLCode="}).CustomPageFooterAsHTMLCode);
}

TEST(GallerySetReading, IntegerFallbacks) {
  EXPECT_EQ(Loaded({"ThumbTableRowCount=many"}).ThumbTableRowCount, 5);
  EXPECT_EQ(Loaded({"ThumbTableRowCount=99999999999"}).ThumbTableRowCount, 5);
  EXPECT_EQ(Loaded({"ThumbTableRowCount= 12 "}).ThumbTableRowCount, 12);
  EXPECT_EQ(Loaded({"Thumb_MaxWidth=-40"}).Thumb_MaxWidth, -40);  // not range-checked
  EXPECT_EQ(Loaded({"PageIndex_StyleOfLinksTitles=2"}).PageIndex_StyleOfLinksTitles, 2);
  EXPECT_EQ(Loaded({"PageIndex_StyleOfLinksTitles=3"}).PageIndex_StyleOfLinksTitles, 0);
  EXPECT_EQ(Loaded({"PageIndex_StyleOfLinksTitles=two"}).PageIndex_StyleOfLinksTitles, 0);
}

TEST(GallerySetReading, ColourFallbacks) {
  const TColor orange = MakeColor(0xFF, 0x80, 0x00);
  EXPECT_EQ(Loaded({"HTMLPage_BGColor=ff8000"}).HTMLPage_BGColor, orange);
  EXPECT_EQ(Loaded({"HTMLPage_BGColor=#FF8000"}).HTMLPage_BGColor, orange);
  EXPECT_EQ(Loaded({"HTMLPage_BGColor=#"}).HTMLPage_BGColor, kColorWhite);
  // A disabled-link colour the file does not give keeps its Default mark,
  // so it is still derived from the background.
  TGallerySet dark = Loaded({"HTMLPage_BGColor=#000000", "HTMLPage_DisabledLinkColor=#"});
  EXPECT_TRUE(IsDefaultColor(dark.HTMLPage_DisabledLinkColor));
  EXPECT_EQ(dark.GetDisabledLinkColor(), kColorBlack);
  EXPECT_FALSE(
      IsDefaultColor(Loaded({"HTMLPage_DisabledLinkColor=#123456"}).HTMLPage_DisabledLinkColor));
}

TEST(GallerySetReading, TextsAndURLPaths) {
  TGallerySet present =
      Loaded({"HTMLPage_Font=", "RenameImageMask=  x%2c  ", "DefaultTemplate_ID= t1 ",
              "Thumb_URLPath=pics\\\\", "Image_URLPath="});
  EXPECT_EQ(present.HTMLPage_Font, "");
  EXPECT_EQ(present.RenameImageMask, "x%2c");
  EXPECT_EQ(present.DefaultTemplate_ID, "t1");
  EXPECT_EQ(present.Thumb_URLPath, "pics/");
  EXPECT_EQ(present.Image_URLPath, "");

  TGallerySet missing = Loaded({});
  EXPECT_EQ(missing.Thumb_URLPath, "thumbnails/");
  EXPECT_EQ(missing.Image_URLPath, "images/");

  EXPECT_EQ(Loaded({"Thumb_URLPath=a/b//\\/"}).Thumb_URLPath, "a/b/");
  EXPECT_EQ(Loaded({"Image_URLPath=///"}).Image_URLPath, "");
}

TEST(GallerySetReading, LineRules) {
  TGallerySet set = Loaded({
      "Thumb_MaxWidth=10",
      "thumb_maxwidth=20",    // the first line of a key wins
      " Thumb_MaxHeight=30",  // blanks in the key part are kept: unknown key
      "Thumb_JPEGQuality",    // no "=": ignored
      "Unknown_Key=1",
      "Navig_HomeURL=http://x/?q=a=b",  // only the first "=" splits
  });
  EXPECT_EQ(set.Thumb_MaxWidth, 10);
  EXPECT_EQ(set.Thumb_MaxHeight, 100);
  EXPECT_EQ(set.Thumb_JPEGQuality, 90);
  EXPECT_EQ(set.Navig_HomeURL, "http://x/?q=a=b");

  // Unsplit text in one entry still splits at CR, LF and CR LF.
  TGallerySet joined = Loaded({"Thumb_MaxWidth=11\rThumb_MaxHeight=12\nThumb_JPEGQuality=13"});
  EXPECT_EQ(joined.Thumb_MaxWidth, 11);
  EXPECT_EQ(joined.Thumb_MaxHeight, 12);
  EXPECT_EQ(joined.Thumb_JPEGQuality, 13);
}

TEST(GallerySetReading, DescriptionRecords) {
  TGallerySet one = Loaded({"Thumb_Description_Show_ImageName=yes"});
  EXPECT_EQ(one.Thumb_Description, (TDescriptionOptions{true, Show_ImageName, true}));
  TStringList expected(std::begin(kDefaultLines), std::end(kDefaultLines));
  expected[32] = "Thumb_Description_Show_ImageName=yes";
  TStringList lines;
  one.SaveToStrings(lines);
  EXPECT_EQ(lines, expected);

  EXPECT_FALSE(Loaded({"Thumb_Description_ShowDescription=yes"}).Thumb_Description.ShowDescription);
  EXPECT_FALSE(
      Loaded({"Thumb_Description_Show_ImageSides=yes", "Thumb_Description_ShowDescription=no"})
          .Thumb_Description.ShowDescription);

  // Image lines touch only the image record.
  TGallerySet image =
      Loaded({"Image_Description_Show_FileSize=yes", "Image_Description_HideFileNameExtension=no",
              "Image_Description_ShowDescription=yes"});
  EXPECT_EQ(image.Image_Description, (TDescriptionOptions{true, Show_FileSize, false}));
  EXPECT_EQ(image.Thumb_Description, (TDescriptionOptions{false, 0, true}));
}

TEST(GallerySetColours, DerivedDisabledLinkColour) {
  TGallerySet set;
  EXPECT_EQ(ColorToHTML(set.GetDisabledLinkColor()), "#BFBFBF");  // white background
  set.HTMLPage_BGColor = kColorBlack;
  EXPECT_EQ(set.GetDisabledLinkColor(), kColorBlack);
  set.HTMLPage_BGColor = WithDefaultMark(kColorWhite);  // the mark is ignored
  EXPECT_EQ(ColorToHTML(set.GetDisabledLinkColor()), "#BFBFBF");
  // A dark grey is lightened: lightness 64 becomes 80.
  set.HTMLPage_BGColor = MakeColor(64, 64, 64);
  EXPECT_EQ(set.GetDisabledLinkColor(), MakeColor(80, 80, 80));
  set.HTMLPage_DisabledLinkColor = MakeColor(1, 2, 3);
  EXPECT_EQ(set.GetDisabledLinkColor(), MakeColor(1, 2, 3));
}

TEST(GallerySetColours, ShadowColourFollowsDensity) {
  TGallerySet set;
  EXPECT_EQ(ColorToHTML(set.GetShadowColor()), "#7F7F7F");
  set.Thumb_Effects_ShadowDensity = 0;
  EXPECT_EQ(set.GetShadowColor(), kColorWhite);
  set.Thumb_Effects_ShadowDensity = 255;
  EXPECT_EQ(set.GetShadowColor(), kColorBlack);
  // Densities from a file are not range-checked; they must not wrap round.
  set.Thumb_Effects_ShadowDensity = 1000;
  EXPECT_EQ(set.GetShadowColor(), kColorBlack);
  set.Thumb_Effects_ShadowDensity = -500;
  EXPECT_EQ(set.GetShadowColor(), kColorWhite);
}

TEST(GallerySetColours, ShadowOnColouredBackgroundKeepsHue) {
  TGallerySet set;
  set.HTMLPage_BGColor = MakeColor(0xFF, 0x80, 0x00);
  set.Thumb_Effects_ShadowDensity = 64;
  const std::uint32_t bg = ColorToHSL(set.HTMLPage_BGColor);
  const std::uint32_t shadow = ColorToHSL(set.GetShadowColor());
  const auto byte = [](std::uint32_t hsl, int shift) {
    return static_cast<int>((hsl >> shift) & 255);
  };
  EXPECT_NEAR(byte(shadow, 8), byte(bg, 8), 2);                  // hue
  EXPECT_NEAR(byte(shadow, 16), byte(bg, 16) * 191 / 255.0, 2);  // lightness
  EXPECT_NEAR(byte(shadow, 24), byte(bg, 24) / 3, 2);            // saturation
}

TEST(GallerySetFiles, LoadFromFileTakesTheFileFolder) {
  test::TempDir dir;
  const std::string path = dir.Write("gallery/GalleryOptions.gof",
                                     "Thumb_MaxWidth=77\r\nHTMLPage_Background=bg.jpg\r\n");
  TGallerySet set;
  ASSERT_TRUE(set.LoadFromFile(path));
  EXPECT_EQ(set.Thumb_MaxWidth, 77);
  EXPECT_EQ(set.OptionsFolder, dir.File("gallery") + "/");
  EXPECT_EQ(set.OptionsFolder + set.HTMLPage_Background, dir.File("gallery/bg.jpg"));

  set.LoadFromStrings({}, "/some/where///");
  EXPECT_EQ(set.OptionsFolder, "/some/where/");
  // No folder: a relative background must not resolve against the root.
  set.LoadFromStrings({}, "");
  EXPECT_EQ(set.OptionsFolder, "");
}

TEST(GallerySetFiles, MissingFileChangesNothing) {
  test::TempDir dir;
  TGallerySet set;
  set.Thumb_MaxWidth = 42;
  set.OptionsFolder = "/kept/";
  EXPECT_FALSE(set.LoadFromFile(dir.File("absent.gof")));
  EXPECT_FALSE(set.LoadFromFile(dir.Path().string()));  // a folder is no options file
  EXPECT_FALSE(set.LoadFromFile(""));
  EXPECT_EQ(set.Thumb_MaxWidth, 42);
  EXPECT_EQ(set.OptionsFolder, "/kept/");
}

TEST(GallerySetFiles, SaveToFileMakesFoldersAndRoundTrips) {
  test::TempDir dir;
  const std::string path = dir.File("a/b/c/GalleryOptions.gof");
  ASSERT_TRUE(Unusual().SaveToFile(path));
  std::string expected;
  ASSERT_TRUE(Unusual().SaveToText(expected));
  EXPECT_EQ(test::ReadFileBytes(path), expected);

  TGallerySet back;
  ASSERT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(TextOf(back), expected);

  // A file where a folder should be: the folder cannot be made.
  const std::string blocker = dir.Write("file", "x");
  EXPECT_FALSE(TGallerySet().SaveToFile(blocker + "/sub/GalleryOptions.gof"));
  EXPECT_EQ(test::ReadFileBytes(blocker), "x");
}

TEST(GallerySetFiles, FailedSaveLeavesThePreviousFileWhole) {
  test::TempDir dir;
  const std::string old = "Thumb_MaxWidth=1\r\n";
  const std::string path = dir.Write("GalleryOptions.gof", old);

  // Cap the file size far below the options text so every write fails,
  // even for root, for whom folder permissions mean nothing.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit capped = saved;
  capped.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &capped), 0);
  const bool saved_ok = Unusual().SaveToFile(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(test::ReadFileBytes(path), old);
}

TEST(GallerySetFiles, StartupFilesLastExistingOneDecides) {
  test::TempDir dir;
  TGallerySet set;
  EXPECT_FALSE(LoadStartupOptions(set, dir.Path().string()));
  EXPECT_EQ(TextOf(set), TextOf(TGallerySet()));

  dir.Write("template.ini", "Thumb_MaxWidth=300\r\nThumb_MaxHeight=300\r\n");
  dir.Write("test.txt", "Thumb_MaxHeight=50\r\n");
  ASSERT_TRUE(LoadStartupOptions(set, dir.Path().string()));
  EXPECT_EQ(set.Thumb_MaxWidth, 100);  // not inherited from template.ini
  EXPECT_EQ(set.Thumb_MaxHeight, 50);

  dir.Write("options.txt", "Thumb_MaxWidth=222\r\n");
  std::remove(dir.File("test.txt").c_str());
  ASSERT_TRUE(LoadStartupOptions(set, dir.Path().string()));
  EXPECT_EQ(set.Thumb_MaxWidth, 222);
  EXPECT_EQ(set.Thumb_MaxHeight, 100);
}

}  // namespace
}  // namespace zelvora
