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

TEST(HtmlEscapeTest, EscapesExactlyQuoteAmpersandAndAngleBrackets) {
  EXPECT_EQ(HTMLEscape("A & B <C>"), "A &#38; B &#60;C&#62;");
  EXPECT_EQ(HTMLEscape("say \"hi\""), "say &#34;hi&#34;");
  EXPECT_EQ(HTMLEscape("it's\r\nfine\t\xC3\xA9"), "it's\r\nfine\t\xC3\xA9");
  EXPECT_EQ(HTMLEscape(""), "");
}

TEST(UrlEncodeTest, PathCharsLeaveSlashAndColonAlone) {
  EXPECT_EQ(URLEncode("My Photos/\xC9t\xE9 #1.jpg", URLPathChars()),
            "My%20Photos/%C9t%E9%20%231.jpg");
  EXPECT_EQ(URLEncode("http://host/a b", URLPathChars()), "http://host/a%20b");
  EXPECT_EQ(URLEncode("\"<>[\\]^`{}~\x7F", URLPathChars()),
            "%22%3C%3E%5B%5C%5D%5E%60%7B%7D%7E%7F");
  EXPECT_EQ(URLEncode(std::string("a\0b", 3), URLPathChars()), "a%00b");
  // Letters, digits and the usual URL punctuation pass.
  EXPECT_EQ(URLEncode("a-Z_0.9!$&'()*+,;=?@", URLPathChars()), "a-Z_0.9!$&'()*+,;=?@");
}

TEST(UrlEncodeTest, NameCharsEscapeSlashColonAndBar) {
  EXPECT_EQ(URLEncode("a/b:c|d e", URLNameChars()), "a%2Fb%3Ac%7Cd%20e");
}

TEST(UrlEncodeTest, PercentIsAlwaysEscaped) {
  EXPECT_EQ(URLEncode("100%", ""), "100%25");
  EXPECT_EQ(URLEncode("%20", URLPathChars()), "%2520");
}

TEST(UrlDecodeTest, DecodesEitherCaseAndRoundTripsEveryByte) {
  EXPECT_EQ(URLDecode("My%20Photos/%c9t%E9"), "My Photos/\xC9t\xE9");
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(URLDecode(URLEncode(all, URLNameChars())), all);
}

TEST(UrlDecodeTest, MalformedPercentLeavesTheTextUndecoded) {
  for (const char* text : {"100%.jpg", "50%", "a%4", "%zz.jpg", "ok%20then%g1"}) {
    EXPECT_FALSE(TryURLDecode(text).has_value()) << text;
    EXPECT_EQ(URLDecode(text), text);
  }
  EXPECT_EQ(TryURLDecode("a%41").value(), "aA");
}

TEST(PictureDisplayNameTest, DecodesOnceOrTwice) {
  EXPECT_EQ(PictureDisplayName(Picture("", "Rock%20Roll.jpg")), "Rock Roll.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "a%2541.jpg")), "aA.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "plain.jpg")), "plain.jpg");
  EXPECT_EQ(PictureDisplayName(Picture("", "")), "");
}

TEST(PictureDisplayNameTest, UndecodableNamesShowAsTheyAre) {
  EXPECT_EQ(PictureDisplayName(Picture("", "100%.jpg")), "100%.jpg");
  // Decodes once to 100%.jpg, which cannot be decoded again.
  EXPECT_EQ(PictureDisplayName(Picture("", "100%25.jpg")), "100%.jpg");
}

TEST(FileSizeTextTest, BytesKilobytesAndMegabytes) {
  EXPECT_EQ(FileSizeText(0), "0 bytes");
  EXPECT_EQ(FileSizeText(4000), "4000 bytes");
  EXPECT_EQ(FileSizeText(5119), "5119 bytes");
  EXPECT_EQ(FileSizeText(5120), "5.0 Kb");
  EXPECT_EQ(FileSizeText(12800), "12.5 Kb");
  EXPECT_EQ(FileSizeText(1048575), "1023.9 Kb");  // tenths are truncated
  EXPECT_EQ(FileSizeText(1048576), "1.0 Mb");
  EXPECT_EQ(FileSizeText(3145728), "3.0 Mb");
  EXPECT_EQ(FileSizeText(5000000000LL), "4768.3 Mb");
  EXPECT_EQ(FileSizeText(-1), "-1 bytes");
}

TEST(FileSizeTextTest, UsesTheModuleDecimalSeparator) {
  EXPECT_EQ(FileSizeDecimalSeparator(), ".");
  SetFileSizeDecimalSeparator(",");
  EXPECT_EQ(FileSizeText(12800), "12,5 Kb");
  SetFileSizeDecimalSeparator(".");
  EXPECT_EQ(FileSizeText(12800), "12.5 Kb");
}

TEST(PageNamesTest, PageAndImagePageFiles) {
  EXPECT_EQ(PageFileName(1), "page1.html");
  EXPECT_EQ(PageFileName(12), "page12.html");
  EXPECT_EQ(ImagePageFileName(Picture("", "x.jpg", 7)), "image7.html");
}

TEST(ThumbsPerPageTest, RowsAndColumnsAreAtLeastOneAndTheProductDoesNotWrap) {
  TGallerySet options;
  EXPECT_EQ(ThumbsPerPage(options), 20);
  options.ThumbTableRowCount = 0;
  options.ThumbTableColumnCount = -3;
  EXPECT_EQ(ThumbTableRows(options), 1);
  EXPECT_EQ(ThumbTableColumns(options), 1);
  EXPECT_EQ(ThumbsPerPage(options), 1);
  options.ThumbTableRowCount = 100000;
  options.ThumbTableColumnCount = 100000;
  EXPECT_EQ(ThumbsPerPage(options), INT_MAX);
}

TEST(RelativeFolderUrlTest, WindowsExamples) {
  const auto win = PathStyle::Windows;
  EXPECT_EQ(RelativeFolderURL("C:\\Gallery\\Out", "C:\\Photos\\Trip\\", win),
            "../../Photos/Trip/");
  EXPECT_EQ(RelativeFolderURL("C:\\Photos", "C:\\photos\\Trip\\", win), "Trip/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "D:\\Photos\\", win), "file:///D|/Photos/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out\\", "C:\\Out\\", win), "");
  EXPECT_EQ(RelativeFolderURL("C:\\Gallery\\Out", "C:\\Gallery\\", win), "../");
  // Drive letters are compared with their case.
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "c:\\Photos\\", win), "file:///c|/Photos/");
}

TEST(RelativeFolderUrlTest, WindowsShares) {
  const auto win = PathStyle::Windows;
  EXPECT_EQ(RelativeFolderURL("\\\\server\\share\\out", "\\\\server\\share\\pics\\", win),
            "../pics/");
  // Another share is another drive; without a ":" there is no file:/// prefix.
  EXPECT_EQ(RelativeFolderURL("\\\\server\\share\\out", "\\\\server\\other\\pics\\", win),
            "//server/other/pics/");
  EXPECT_EQ(RelativeFolderURL("C:\\Out", "\\\\server\\share\\pics", win),
            "//server/share/pics/");
}

TEST(RelativeFolderUrlTest, PosixFoldersAreCaseSensitiveAndHaveNoDrives) {
  const auto posix = PathStyle::Posix;
  EXPECT_EQ(RelativeFolderURL("/home/u/gallery", "/home/u/photos/trip/", posix),
            "../photos/trip/");
  EXPECT_EQ(RelativeFolderURL("/home/u/Photos", "/home/u/photos/", posix), "../photos/");
  EXPECT_EQ(RelativeFolderURL("/home/u/out/", "/home/u/out", posix), "");
  EXPECT_EQ(RelativeFolderURL("/a/b", "/", posix), "../../");
  EXPECT_EQ(RelativeFolderURL("/out", "/pics/12:30\\x/", posix), "../pics/12:30\\x/");
}

TEST(PictureUrlTest, ImageFolderOrBareName) {
  TGallerySet options;
  const TImageGalleryItem entry = Picture("/src/pics/IMG 1.jpg", "img-0001.jpg");
  EXPECT_EQ(PictureURL(entry, options), "images/img-0001.jpg");
  options.Image_URLPath = "";
  EXPECT_EQ(PictureURL(entry, options), "img-0001.jpg");
  options.Image_URLPath = "pics\\//";
  EXPECT_EQ(PictureURL(entry, options), "pics/img-0001.jpg");
}

TEST(PictureUrlTest, KeptLocationIsRelativeToTheOutputFolder) {
  TGallerySet options;
  options.KeepLocationOfImages = true;
  options.OutputFolder = "C:\\Gallery\\Out\\";
  TImageGalleryItem entry = Picture("C:\\Photos\\Trip\\beach.jpg", "beach.jpg");
  EXPECT_EQ(PictureURL(entry, options, PathStyle::Windows), "../../Photos/Trip/beach.jpg");
  entry.FileName = "C:\\Gallery\\Out\\beach.jpg";
  EXPECT_EQ(PictureURL(entry, options, PathStyle::Windows), "beach.jpg");
  options.OutputFolder = "/home/u/gallery/";
  entry.FileName = "/home/u/photos/beach.jpg";
  EXPECT_EQ(PictureURL(entry, options, PathStyle::Posix), "../photos/beach.jpg");
}

TEST(PictureLinkTest, ImagePageOnlyForPicturesBrowsersShow) {
  TGallerySet options;
  EXPECT_EQ(PictureLink(Picture("/p/a.jpg", "a.jpg", 3), options), "image3.html");
  EXPECT_EQ(PictureLink(Picture("/p/a.gif", "a.GIF", 4), options), "image4.html");
  EXPECT_EQ(PictureLink(Picture("/p/c.bmp", "c.bmp", 5), options), "images/c.bmp");
  EXPECT_EQ(PictureLink(Picture("/p/i.ico", "i.ico", 6), options), "images/i.ico");
  // The extension is judged on the decoded name.
  EXPECT_EQ(PictureLink(Picture("/p/x", "x%2Ejpg", 8), options), "image8.html");
}

TEST(AltAttributeTest, NamesCannotBreakTheAttribute) {
  TImageGalleryItem entry = Picture("/p/a.jpg", "a.jpg");
  entry.FileSize = 12800;
  EXPECT_EQ(PictureAltAttribute(entry), "alt=\"a.jpg  (12.5 Kb)\"");
  entry.ImageName = "x\" onload=\"alert(1)<b>&.jpg";
  entry.FileSize = 10;
  EXPECT_EQ(PictureAltAttribute(entry),
            "alt=\"x&#34; onload=&#34;alert(1)&#60;b&#62;&#38;.jpg  (10 bytes)\"");
}

TEST(NameMaskParamsTest, CounterFileNameFolderAndDate) {
  TImageGalleryItem entry = Picture("C:\\Photos\\Trip\\beach.jpg", "b.jpg");
  entry.FileDate = 38051.5;
  const TFileNameParams params = NameMaskParamsOf(entry, 12, PathStyle::Windows);
  EXPECT_EQ(params.number, 12);
  EXPECT_EQ(params.fileName, "beach.jpg");
  EXPECT_EQ(params.folder, "C:\\Photos\\Trip");
  EXPECT_EQ(params.fileDate, 38051.5);
}

TEST(GeneratorLineTest, NamesTheProductSite) {
  EXPECT_EQ(GeneratorLine(),
            "<meta name=\"Thumbnail-Generator\" content=\"Zelvora ( http://www.zelvora.example/ "
            ")\">");
}

TEST(MakePageTest, DefaultColoursAndTitle) {
  TGallerySet options;
  EXPECT_EQ(MakePage("Page 1", "BODY", options),
            "<html><head>\r\n"
            "  <title>Page 1</title>\r\n"
            "  " + GeneratorLine() + "\r\n"
            "</head>\r\n"
            "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000FF\" vlink=\"#70B0FF\" "
            "alink=\"#00E040\">\r\n"
            "BODY\r\n"
            "</body>\r\n"
            "</html>");
}

TEST(MakePageTest, DefaultMarkedColoursAreLeftOutAndTheBackgroundIsEncoded) {
  TGallerySet options;
  options.HTMLPage_BGColor = WithDefaultMark(options.HTMLPage_BGColor);
  options.HTMLPage_TextColor = WithDefaultMark(options.HTMLPage_TextColor);
  options.HTMLPage_LinkColor = WithDefaultMark(options.HTMLPage_LinkColor);
  options.HTMLPage_VisitedLinkColor = WithDefaultMark(options.HTMLPage_VisitedLinkColor);
  options.HTMLPage_ActiveLinkColor = WithDefaultMark(options.HTMLPage_ActiveLinkColor);
  options.HTMLPage_Background = "  ";
  const std::string head = "<html><head>\r\n  " + GeneratorLine() + "\r\n</head>\r\n";
  EXPECT_EQ(MakePage("", "", options), head + "<body>\r\n\r\n</body>\r\n</html>");

  options.HTMLPage_LinkColor = MakeColor(0x12, 0xAB, 0xEF);
  options.HTMLPage_Background = "thumbnails/my bg#1.jpg";
  EXPECT_EQ(MakePage("", "x", options),
            head + "<body link=\"#12ABEF\" background=\"thumbnails/my%20bg%231.jpg\">\r\n"
                   "x\r\n</body>\r\n</html>");
}

TEST(MakeCustomBlockTest, EmptyHtmlAndText) {
  EXPECT_EQ(MakeCustomBlock("", false, "Arial"), "");
  EXPECT_EQ(MakeCustomBlock("", true, "Arial"), "");
  EXPECT_EQ(MakeCustomBlock("<b>Mine</b>\r\n", true, "Arial"), "<b>Mine</b>\r\n");
  EXPECT_EQ(MakeCustomBlock("Sun & Sea\r\nday <2>\nlone\rcr", false, "Arial"),
            "&nbsp;<br><br>\r\n<center><h2><font face=\"Arial\">"
            "Sun &#38; Sea<br>day &#60;2&#62;\nlone\rcr"
            "</font></h2></center>\r\n<br><br>");
}

TEST(TagBuildersTest, AttributesOnlyWhenGiven) {
  EXPECT_EQ(MakeTitle("T"), "<title>T</title>");
  EXPECT_EQ(MakeHead("h", "lang=\"en\""), "<head lang=\"en\">h</head>");
  EXPECT_EQ(MakeHtml("x"), "<html>x</html>");
  EXPECT_EQ(MakeBody("b", "bgcolor=\"#FFFFFF\""), "<body bgcolor=\"#FFFFFF\">b</body>");
  EXPECT_EQ(MakeFrameset("cols=\"150,*\"", "F", "N"), "<frameset cols=\"150,*\">FN</frameset>");
  EXPECT_EQ(MakeFrameset("", "F", ""), "<frameset>F</frameset>");
  EXPECT_EQ(MakeNoFrames("n"), "<noframes>n</noframes>");
  EXPECT_EQ(MakeFrame("gallerypage", "", "page1.html", ""),
            "<frame name=\"gallerypage\" src=\"page1.html\">");
  EXPECT_EQ(MakeFrame("pageindex", "gallerypage", "pageindex.html", "marginwidth=\"0\""),
            "<frame name=\"pageindex\" target=\"gallerypage\" src=\"pageindex.html\" "
            "marginwidth=\"0\">");
  EXPECT_EQ(MakeFrame("", "", "", ""), "<frame>");
}

}  // namespace
}  // namespace zelvora
