#include "html/HtmlHelpers.h"

#include <gtest/gtest.h>

#include <climits>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "imaging/Colors.h"

namespace zelvora {
namespace {

TImageGalleryItem Picture(std::string fileName, std::string imageName, int number = 7) {
  TImageGalleryItem entry;
  entry.FileName = std::move(fileName);
  entry.ImageName = std::move(imageName);
  entry.Number = number;
  return entry;
}

TEST(EscapingTest, HtmlEscapeTouchesExactlyFourCharacters) {
  EXPECT_EQ(HTMLEscape("A & B <C> \"q\""), "A &#38; B &#60;C&#62; &#34;q&#34;");
  EXPECT_EQ(HTMLEscape("it's\r\n\xC3\xA9"), "it's\r\n\xC3\xA9");
}

TEST(EscapingTest, UrlEncodeSets) {
  EXPECT_EQ(URLEncode("My Photos/\xC9t\xE9 #1.jpg", URLPathChars()),
            "My%20Photos/%C9t%E9%20%231.jpg");
  EXPECT_EQ(URLEncode("\"<>[\\]^`{}~\x7F:", URLPathChars()),
            "%22%3C%3E%5B%5C%5D%5E%60%7B%7D%7E%7F:");
  EXPECT_EQ(URLEncode("a/b:c|d&", URLNameChars()), "a%2Fb%3Ac%7Cd%26");
  // "?" and "&" in a name would start a query or an entity: escaped in
  // both sets, kept in addresses the user typed.
  EXPECT_EQ(URLEncode("#hash?q=1_thumb.jpg", URLNameChars()), "%23hash%3Fq=1_thumb.jpg");
  EXPECT_EQ(URLEncode("images/a&b&amp;c.jpg", URLPathChars()), "images/a%26b%26amp;c.jpg");
  EXPECT_EQ(URLEncode("http://host/?a=1&b=2 x", URLAddressChars()),
            "http://host/?a=1&b=2%20x");
  EXPECT_EQ(URLEncode("100%", ""), "100%25");  // "%" whatever the set
}

TEST(EscapingTest, UrlDecodeRoundTripsAndRefusesMalformedPercents) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(URLDecode(URLEncode(all, URLNameChars())), all);
  EXPECT_EQ(URLDecode("%c9%E9"), "\xC9\xE9");
  for (const char* text : {"100%.jpg", "50%", "a%4", "%zz.jpg"}) {
    EXPECT_FALSE(TryURLDecode(text).has_value()) << text;
    EXPECT_EQ(URLDecode(text), text);
  }
}

TEST(PictureDisplayNameTest, DecodesOnceOrTwiceAndKeepsWhatCannotBeDecoded) {
  EXPECT_EQ(PictureDisplayName(Picture("", "Rock%20Roll.jpg")), "Rock Roll.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "a%2541.jpg")), "aA.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "100%.jpg")), "100%.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "100%25.jpg")), "100%.jpg");
}

TEST(FileSizeTextTest, UnitsTruncatedTenthsAndSeparator) {
  EXPECT_EQ(FileSizeText(5119), "5119 bytes");
  EXPECT_EQ(FileSizeText(5120), "5.0 Kb");
  EXPECT_EQ(FileSizeText(12800), "12.5 Kb");
  EXPECT_EQ(FileSizeText(1048575), "1023.9 Kb");
  EXPECT_EQ(FileSizeText(1048576), "1.0 Mb");
  EXPECT_EQ(FileSizeText(5000000000LL), "4768.3 Mb");
  SetFileSizeDecimalSeparator(",");
  EXPECT_EQ(FileSizeText(12800), "12,5 Kb");
  SetFileSizeDecimalSeparator(".");
}

TEST(ThumbsPerPageTest, RowsAndColumnsAreAtLeastOneAndTheProductDoesNotWrap) {
  TGallerySet options;
  options.ThumbTableRowCount = 0;
  options.ThumbTableColumnCount = -3;
  EXPECT_EQ(ThumbsPerPage(options), 1);
  options.ThumbTableRowCount = 100000;
  options.ThumbTableColumnCount = 100000;
  EXPECT_EQ(ThumbsPerPage(options), INT_MAX);
}

TEST(RelativeFolderUrlTest, WindowsDrivesAndFolders) {
  const auto win = PathStyle::Windows;
  EXPECT_EQ(RelativeFolderURL("C:\\Gallery\\Out", "C:\\Photos\\Trip\\", win),
            "../../Photos/Trip/");
  EXPECT_EQ(RelativeFolderURL("C:\\Photos", "C:\\photos\\Trip\\", win), "Trip/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "D:\\Photos\\", win), "file:///D|/Photos/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "c:\\Photos\\", win), "file:///c|/Photos/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out\\", "C:\\Out", win), "");
  EXPECT_EQ(RelativeFolderURL("\\\\srv\\share\\out", "\\\\srv\\share\\pics", win), "../pics/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "\\\\srv\\share\\pics", win), "//srv/share/pics/");
}

TEST(RelativeFolderUrlTest, PosixFoldersAreCaseSensitiveAndHaveNoDrives) {
  const auto posix = PathStyle::Posix;
  EXPECT_EQ(RelativeFolderURL("/home/u/Photos", "/home/u/photos/", posix), "../photos/");
  EXPECT_EQ(RelativeFolderURL("/a/b", "/", posix), "../../");
  EXPECT_EQ(RelativeFolderURL("/out", "/pics/12:30\\x/", posix), "../pics/12:30\\x/");
}

TEST(PictureUrlTest, ImageFolderOrKeptLocation) {
  TGallerySet options;
  const TImageGalleryItem bmp = Picture("C:\\Photos\\Trip\\c.bmp", "c.bmp", 5);
  EXPECT_EQ(PictureLink(bmp, options), "images/c.bmp");
  EXPECT_EQ(PictureLink(Picture("", "x%2Ejpg", 8), options), "image8.html");
  options.Image_URLPath = "";
  EXPECT_EQ(PictureURL(bmp, options), "c.bmp");
  options.KeepLocationOfImages = true;
  options.OutputFolder = "C:\\Gallery\\Out\\";
  EXPECT_EQ(PictureURL(bmp, options, PathStyle::Windows), "../../Photos/Trip/c.bmp");
}

// A name with ":" in the first segment of a link would be read as a scheme
// ("javascript:"); it gets "./" and nothing else changes.
TEST(PictureUrlTest, NamesAreNeverReadAsASchemeTheUsersSchemesStay) {
  TGallerySet options;
  options.Image_URLPath = "";
  const TImageGalleryItem script = Picture("/p/javascript:alert(2).bmp", "javascript:alert(2).bmp");
  EXPECT_EQ(PictureURL(script, options), "./javascript:alert(2).bmp");
  EXPECT_EQ(PictureLink(script, options), "./javascript:alert(2).bmp");
  options.Image_URLPath = "images/";
  EXPECT_EQ(PictureURL(script, options), "images/javascript:alert(2).bmp");
  // Kept at its place: the same folder gives a bare name, a folder with ":"
  // a first segment with ":".
  options.Image_URLPath = "";
  options.KeepLocationOfImages = true;
  options.OutputFolder = "/p/";
  EXPECT_EQ(PictureURL(script, options, PathStyle::Posix), "./javascript:alert(2).bmp");
  options.OutputFolder = "/out/";
  EXPECT_EQ(PictureURL(Picture("/out/x:y/a.jpg", "a.jpg"), options, PathStyle::Posix),
            "./x:y/a.jpg");
  EXPECT_EQ(PictureURL(Picture("/pics/a:b.jpg", "a:b.jpg"), options, PathStyle::Posix),
            "../pics/a:b.jpg");
  // The file URL of another drive is meant.
  options.OutputFolder = "C:\\Out\\";
  EXPECT_EQ(PictureURL(Picture("D:\\P\\a.jpg", "a.jpg"), options, PathStyle::Windows),
            "file:///D|/P/a.jpg");

  EXPECT_EQ(KeepRelative("12:30.jpg"), "./12:30.jpg");
  EXPECT_EQ(KeepRelative("a/12:30.jpg"), "a/12:30.jpg");
  EXPECT_EQ(KeepRelative("page1.html"), "page1.html");

  TFileNameParams params;
  params.fileName = "javascript:alert(1).jpg";
  params.number = 3;
  EXPECT_EQ(ExpandLinkMask("%N", params), "./javascript:alert(1)");
  EXPECT_EQ(ExpandLinkMask("http://host/show?n=%C", params), "http://host/show?n=3");
  EXPECT_EQ(ExpandLinkMask("view/%N", params), "view/javascript:alert(1)");
}

TEST(AltAttributeTest, NamesCannotBreakTheAttribute) {
  TImageGalleryItem entry = Picture("/p/a.jpg", "x\" onload=\"alert(1)<b>&.jpg");
  entry.FileSize = 12800;
  EXPECT_EQ(PictureAltAttribute(entry),
            "alt=\"x&#34; onload=&#34;alert(1)&#60;b&#62;&#38;.jpg  (12.5 Kb)\"");
}

TEST(MakePageTest, DefaultMarkedColoursAreLeftOutAndTheBackgroundIsEncoded) {
  TGallerySet options;
  for (TColor* color : {&options.HTMLPage_BGColor, &options.HTMLPage_TextColor,
                        &options.HTMLPage_LinkColor, &options.HTMLPage_VisitedLinkColor,
                        &options.HTMLPage_ActiveLinkColor}) {
    *color = WithDefaultMark(*color);
  }
  options.HTMLPage_Background = "  ";
  const std::string head =
      "<html><head>\r\n"
      "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
      "  " + GeneratorLine() + "\r\n</head>\r\n";
  EXPECT_EQ(MakePage("", "", options), head + "<body>\r\n\r\n</body>\r\n</html>");
  options.HTMLPage_LinkColor = MakeColor(0x12, 0xAB, 0xEF);
  options.HTMLPage_Background = "thumbnails/my bg#1.jpg";
  EXPECT_EQ(MakePage("", "x", options),
            head + "<body link=\"#12ABEF\" background=\"thumbnails/my%20bg%231.jpg\">\r\n"
                   "x\r\n</body>\r\n</html>");
  options.HTMLPage_Background = "data:x?.jpg";
  EXPECT_EQ(MakePage("", "x", options),
            head + "<body link=\"#12ABEF\" background=\"./data:x%3F.jpg\">\r\n"
                   "x\r\n</body>\r\n</html>");
}

TEST(MakePageTest, PagesAreUtf8AndLinksKeepTheFileBytes) {
  TGallerySet options;
  const std::string page = MakePage("Caf\xE9 - \xC3\xA9t\xC3\xA9",
                                    "<a href=\"" + URLEncode("caf\xE9.jpg", URLPathChars()) +
                                        "\">caf\xE9 \x80</a>",
                                    options);
  EXPECT_EQ(page.find("<html><head>\r\n  " + CharsetLine() + "\r\n  <title>"), 0u);
  EXPECT_NE(page.find("<title>Caf\xC3\xA9 - \xC3\xA9t\xC3\xA9</title>"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"caf%E9.jpg\">caf\xC3\xA9 \xE2\x82\xAC</a>"), std::string::npos);
}

TEST(MakeCustomBlockTest, EmptyHtmlAndText) {
  EXPECT_EQ(MakeCustomBlock("", false, "Arial"), "");
  EXPECT_EQ(MakeCustomBlock("<b>Mine</b>\r\n", true, "Arial"), "<b>Mine</b>\r\n");
  EXPECT_EQ(MakeCustomBlock("Sun & Sea\r\nday <2>\nlone", false, "Arial"),
            "&nbsp;<br><br>\r\n<center><h2><font face=\"Arial\">"
            "Sun &#38; Sea<br>day &#60;2&#62;\nlone</font></h2></center>\r\n<br><br>");
}

TEST(TagBuildersTest, FrameAttributesOnlyWhenGiven) {
  EXPECT_EQ(MakeFrame("gallerypage", "", "page1.html", ""),
            "<frame name=\"gallerypage\" src=\"page1.html\">");
  EXPECT_EQ(MakeFrameset("", "F", "N"), "<frameset>FN</frameset>");
  EXPECT_EQ(MakeHead("h", "lang=\"en\""), "<head lang=\"en\">h</head>");
}

}  // namespace
}  // namespace zelvora
