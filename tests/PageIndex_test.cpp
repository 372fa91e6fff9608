#include "html/PageIndex.h"

#include <gtest/gtest.h>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "support/PageTestList.h"
#include "texts/InterfaceTexts.h"

namespace zelvora {
namespace {

using test::Crlf;

std::string Link(int n, const std::string& title, const std::string& target = "") {
  return "<tr>  <td align=\"center\" valign=\"middle\"><a" + target + " href=\"page" +
         std::to_string(n) + ".html\"><b><font size=\"+1\" face=\"Verdana, sans-serif\">" + title +
         "</font></b></a></td>\r\n</tr>";
}

const std::string kTableStart =
    "<table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"15\">\r\n";
const std::string kTableEnd = "</table>\r\n";

class PageIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetInterfaceTexts();
    options.ThumbTableRowCount = 1;
    options.ThumbTableColumnCount = 2;
  }
  void TearDown() override { ResetInterfaceTexts(); }

  // Pages: [Trip a, b] [Trip c] [Home d] [separators only] [Rock & Roll f].
  void MakeGallery() {
    pics.AddPicture("Trip/a.jpg", 1, 1);
    pics.AddPicture("Trip/b.jpg", 2, 1);
    pics.AddPicture("Trip/c.jpg", 3, 2);
    pics.AddSeparator();
    pics.AddPicture("Home/d.jpg", 4, 3);
    pics.AddSeparator();
    pics.AddSeparator();
    pics.AddPicture("Rock & Roll/f.jpg", 5, 5);
  }

  test::TPageTestList pics;
  TGallerySet options;
};

TEST_F(PageIndexTest, PageWordsWithoutFrames) {
  MakeGallery();
  const std::string expected = Crlf(R"G(<html><head>
  <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
  <title>The Image Gallery Index</title>
  <meta name="Thumbnail-Generator" content="Zelvora ( http://www.zelvora.example/ )">
</head>
<body bgcolor="#FFFFFF" text="#000000" link="#0000FF" vlink="#70B0FF" alink="#00E040">
<table align="center" cellpadding="0" border="0" cellspacing="15">
<tr>  <td align="center" valign="middle"><a href="page1.html"><b><font size="+1" face="Verdana, sans-serif">Page 1</font></b></a></td>
</tr><tr>  <td align="center" valign="middle"><a href="page2.html"><b><font size="+1" face="Verdana, sans-serif">Page 2</font></b></a></td>
</tr><tr>  <td align="center" valign="middle"><a href="page3.html"><b><font size="+1" face="Verdana, sans-serif">Page 3</font></b></a></td>
</tr><tr>  <td align="center" valign="middle"><a href="page4.html"><b><font size="+1" face="Verdana, sans-serif">Page 4</font></b></a></td>
</tr><tr>  <td align="center" valign="middle"><a href="page5.html"><b><font size="+1" face="Verdana, sans-serif">Page 5</font></b></a></td>
</tr></table>

</body>
</html>)G");
  EXPECT_EQ(WritePageIndexPage(pics.List(), options), expected);
  options.PageIndex_StyleOfLinksTitles = 7;  // unknown styles read as 0
  EXPECT_EQ(WritePageIndexPage(pics.List(), options), expected);
}

TEST_F(PageIndexTest, FolderTitlesInFramesWithCustomTitle) {
  MakeGallery();
  options.PageIndex_StyleOfLinksTitles = 2;
  options.Framed_ThumbTablePage = true;
  options.CustomPageTitle = "Trip";
  const std::string target = " target=\"gallerypage\"";
  const std::string page = WritePageIndexPage(pics.List(), options);
  EXPECT_NE(page.find("  <title>Trip - The Image Gallery Index</title>\r\n"), std::string::npos);
  // Repeated folders are counted, a page without pictures falls back to
  // the page word, and folder names cannot inject markup.
  EXPECT_EQ(MakePageIndexTable(pics.List(), options),
            kTableStart + Link(1, "Trip", target) + Link(2, "Trip (2)", target) +
                Link(3, "Home", target) + Link(4, "Page 4", target) +
                Link(5, "Rock &#38; Roll", target) + kTableEnd);
}

TEST_F(PageIndexTest, RepeatedTitlesIgnoreLetterCase) {
  pics.AddPicture("Trip/a.jpg", 1, 1);
  pics.AddSeparator();
  pics.AddPicture("trip/b.jpg", 2, 2);
  pics.AddSeparator();
  pics.AddPicture("TRIP/c.jpg", 3, 3);
  options.PageIndex_StyleOfLinksTitles = 2;
  EXPECT_EQ(MakePageIndexTable(pics.List(), options),
            kTableStart + Link(1, "Trip") + Link(2, "trip (2)") + Link(3, "TRIP (3)") + kTableEnd);
}

TEST_F(PageIndexTest, NumbersOnlyAndCurrentWords) {
  pics.AddPicture("a.jpg", 1, 1);
  options.PageIndex_StyleOfLinksTitles = 1;
  EXPECT_EQ(MakePageIndexTable(pics.List(), options), kTableStart + Link(1, "1") + kTableEnd);
  SetInterfaceText(TextId::PageWord, "Seite");
  SetInterfaceText(TextId::PageIndexTitle, "Index");
  options.PageIndex_StyleOfLinksTitles = 0;
  const std::string page = WritePageIndexPage(pics.List(), options);
  EXPECT_NE(page.find("<title>Index</title>"), std::string::npos);
  EXPECT_NE(page.find(">Seite 1<"), std::string::npos);
}

TEST_F(PageIndexTest, EmptyList) {
  EXPECT_EQ(MakePageIndexTable(pics.List(), options), kTableStart + kTableEnd);
}

TEST_F(PageIndexTest, Frameset) {
  const std::string expected = Crlf(R"G(<html>
<head>
  <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
  <title>The Image Gallery</title>
  <meta name="Thumbnail-Generator" content="Zelvora ( http://www.zelvora.example/ )">
</head>
<frameset cols="150,*" border="0" frameborder="no" framespacing="0">
  <frame name="pageindex" target="gallerypage" src="pageindex.html" marginwidth="0" marginheight="0">
  <frame name="gallerypage" src="page1.html">
  <noframes>
    <body><p>This page uses frames, but your browser doesn't support them. <a href="pageindex.html">Please, click here</a></p></body>
  </noframes>
</frameset>
</html>)G");
  EXPECT_EQ(WriteFramesetPage(options), expected);
}

TEST_F(PageIndexTest, FramesetWithFolderTitlesAndCustomTitle) {
  options.PageIndex_StyleOfLinksTitles = 2;
  options.CustomPageTitle = "Trip & Co";
  SetInterfaceText(TextId::GalleryTitle, "Galerie");
  const std::string page = WriteFramesetPage(options);
  EXPECT_NE(page.find("\r\n  <title>Trip &#38; Co - Galerie</title>\r\n"), std::string::npos);
  EXPECT_NE(page.find("framespacing=\"1\">\r\n"), std::string::npos);
  // A title from an old Latin-1 options file still reads right.
  options.CustomPageTitle = "Sm\xF6rg\xE5s";
  EXPECT_NE(WriteFramesetPage(options).find("<title>Sm\xC3\xB6rg\xC3\xA5s - Galerie</title>"),
            std::string::npos);
}

}  // namespace
}  // namespace zelvora
