#include "html/ImagePages.h"

#include <gtest/gtest.h>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "support/PageTestList.h"
#include "texts/InterfaceTexts.h"

namespace zelvora {
namespace {

using test::Crlf;

const std::string kNavStart =
    R"(<table class="navigtable" cellpadding="0" cellspacing="0" border="0" width="100%"><tr><td align="left">)";
const std::string kNavMiddle =
    R"(</td><td align="right"><font face="Verdana, sans-serif"><b>)";
const std::string kNavEnd = "</b></font></td></tr></table>";
const std::string kGap = "&nbsp;&nbsp;&nbsp;";
const std::string kPrevDisabled =
    R"(<font color="#BFBFBF"><font size="-1">&lt;</font>&nbsp;&nbsp;Prev</font>)";
const std::string kNextDisabled =
    R"(<font color="#BFBFBF">Next&nbsp;&nbsp;<font size="-1">&gt;</font></font>)";

std::string PageLink(int n) {
  return "<font face=\"Verdana, sans-serif\"><b><a href=\"page" + std::to_string(n) +
         ".html\">Page" + std::to_string(n) + "</a></b></font>";
}

std::string PrevLink(const std::string& href) {
  return "<a href=\"" + href + R"("><font size="-1">&lt;</font>&nbsp;&nbsp;Prev</a>)";
}

std::string NextLink(const std::string& href) {
  return "<a href=\"" + href + R"(">Next&nbsp;&nbsp;<font size="-1">&gt;</font></a>)";
}

class ImagePagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetInterfaceTexts();
    options.ThumbTableRowCount = 1;
    options.ThumbTableColumnCount = 2;
    options.Thumb_Description.ShowDescription = false;
  }
  void TearDown() override { ResetInterfaceTexts(); }

  // Page 1: a, b; a separator; page 2: c.bmp, d.
  void MakeGallery() {
    pics.AddPicture("Trip/a.jpg", 1, 1);
    TImageGalleryItem& b = pics.AddPicture("Trip/b.jpg", 2, 1);
    b.ImageWidth = 1600;
    b.ImageHeight = 1200;
    b.FileSize = 250000;
    pics.AddSeparator();
    pics.AddPicture("Home/c.bmp", 3, 2);
    pics.AddPicture("Home/d.jpg", 4, 2);
  }

  test::TPageTestList pics;
  TGallerySet options;
};

TEST_F(ImagePagesTest, LargePictureWithDescriptionAndCustomTitle) {
  MakeGallery();
  options.CustomPageTitle = "Summer & Sea";
  options.Image_LimitWebPageImageSize = true;
  options.Image_MaxWidth = 800;
  options.Image_MaxHeight = 0;
  options.Thumb_Description.ShowDescription = true;
  options.Thumb_Description.ShowFlags = Show_ImageSides | Show_FileSize;
  const std::string nav = kNavStart + PageLink(1) + kNavMiddle + PrevLink("image1.html") + kGap +
                          NextLink("images/c.bmp") + kNavEnd;
  const std::string expected = Crlf(R"G(<html><head>
  <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
  <title>Image #2 - Summer &#38; Sea</title>
  <meta name="Thumbnail-Generator" content="Zelvora ( http://www.zelvora.example/ )">
</head>
<body bgcolor="#FFFFFF" text="#000000" link="#0000FF" vlink="#70B0FF" alink="#00E040">
)G" + nav + R"G(

<br><br>

<table border="0" width="100%" height="100%"><tr><td align="center" valign="middle">
<table align="center" cellpadding="0" border="0" cellspacing="0">
  <tr>
    <td align="center" valign="middle"><a href="page1.html"><img width="800" height="600" src="images/b.jpg" border="0" alt="b.jpg  (244.1 Kb)"></a><font face="Verdana, sans-serif" size="1"><br><a href="images/b.jpg" target="b.jpg">Show full-size image</a><br>&nbsp;</font></td>
  </tr>
  <tr>
    <td align="center" valign="top"><table class="descrtable" width="800" cellpadding="0" cellspacing="0" border="0"><tr><td nowrap class="descrinfocell" align="left" valign="top"><font face="Verdana, sans-serif" size="1">1600&nbsp;x&nbsp;1200&nbsp;pixels<br>size:&nbsp;&nbsp;244.1 Kb</font></td></tr></table></td>
  </tr>
</table>

</td></tr></table>

<br><br>

)G" + nav + R"G(
</body>
</html>)G");
  EXPECT_EQ(WriteImagePage(1, pics.List(), options), expected);
}

TEST_F(ImagePagesTest, NavBarAtTheEndsAndAcrossPages) {
  MakeGallery();
  // The first picture: no Prev.
  EXPECT_EQ(MakeImageNavBar(0, pics.List(), options),
            kNavStart + PageLink(1) + kNavMiddle + kPrevDisabled + kGap +
                NextLink("image2.html") + kNavEnd);
  // Across the separator, to a BMP that has no page of its own.
  EXPECT_EQ(MakeImageNavBar(1, pics.List(), options),
            kNavStart + PageLink(1) + kNavMiddle + PrevLink("image1.html") + kGap +
                NextLink("images/c.bmp") + kNavEnd);
  EXPECT_EQ(MakeImageNavBar(3, pics.List(), options),
            kNavStart + PageLink(2) + kNavMiddle + PrevLink("image2.html") + kGap +
                NextLink("image4.html") + kNavEnd);
  // The picture numbered ImageCount: no Next.
  EXPECT_EQ(MakeImageNavBar(4, pics.List(), options),
            kNavStart + PageLink(2) + kNavMiddle + PrevLink("images/c.bmp") + kGap +
                kNextDisabled + kNavEnd);
}

TEST_F(ImagePagesTest, FullSizeLinkOnlyWhenThePictureIsShownSmaller) {
  MakeGallery();
  const std::string link = "<a href=\"images/b.jpg\" target=\"b.jpg\">Show full-size image</a>";
  EXPECT_EQ(MakeImageTable(1, pics.List(), options).find(link), std::string::npos);
  options.Image_LimitWebPageImageSize = true;
  options.Image_MaxWidth = 800;
  std::string table = MakeImageTable(1, pics.List(), options);
  EXPECT_NE(table.find(link), std::string::npos);
  EXPECT_NE(table.find("<img width=\"800\" height=\"600\""), std::string::npos);
  // The copies were reduced: nothing bigger to show.
  options.Image_ResizeSrcImages = true;
  table = MakeImageTable(1, pics.List(), options);
  EXPECT_EQ(table.find("Show full-size image"), std::string::npos);
  EXPECT_NE(table.find("<img width=\"800\" height=\"600\""), std::string::npos);
  // 640 x 480 lies within the limits.
  options.Image_ResizeSrcImages = false;
  table = MakeImageTable(0, pics.List(), options);
  EXPECT_EQ(table.find("Show full-size image"), std::string::npos);
  EXPECT_NE(table.find("<img width=\"640\" height=\"480\""), std::string::npos);
}

TEST_F(ImagePagesTest, PictureLinkMask) {
  MakeGallery();
  options.Image_LinkMask = " %n.%e ";
  EXPECT_NE(MakeImageTable(1, pics.List(), options).find("<a href=\"b.jpg\"><img"),
            std::string::npos);
  options.Image_LinkMask = "%4c.html";
  EXPECT_NE(MakeImageTable(3, pics.List(), options).find("<a href=\"0003.html\"><img"),
            std::string::npos);
}

TEST_F(ImagePagesTest, NamesWithMarkupStayInsideTheirAttributes) {
  TImageGalleryItem& entry = pics.AddPicture("x\" onclick=\"y<b>&.jpg", 1, 1);
  entry.ImageWidth = 2000;
  options.Image_LimitWebPageImageSize = true;
  options.Image_MaxWidth = 1000;
  options.Image_LinkMask = "%n.html";
  const std::string table = MakeImageTable(0, pics.List(), options);
  EXPECT_NE(table.find("<a href=\"x&#34; onclick=&#34;y&#60;b&#62;&#38;.html\"><img width=\"1000\" "
                       "height=\"240\" src=\"images/x%22%20onclick=%22y%3Cb%3E%26.jpg\" border=\"0\" "
                       "alt=\"x&#34; onclick=&#34;y&#60;b&#62;&#38;.jpg  (0 bytes)\">"),
            std::string::npos)
      << table;
  EXPECT_NE(table.find("<a href=\"images/x%22%20onclick=%22y%3Cb%3E%26.jpg\" "
                       "target=\"x&#34; onclick=&#34;y&#60;b&#62;&#38;.jpg\">"),
            std::string::npos)
      << table;
}

TEST_F(ImagePagesTest, CommentsAreNotCutOnImagePages) {
  TImageGalleryItem& entry = pics.AddPicture("a.jpg", 1, 1);
  entry.Comment = std::string(200, 'c');
  options.Thumb_Description.ShowDescription = true;
  options.Thumb_Description.ShowFlags = Show_ImageComment;
  const std::string table = MakeImageTable(0, pics.List(), options);
  EXPECT_NE(table.find("<b>" + std::string(200, 'c') + "</b>"), std::string::npos);
}

TEST_F(ImagePagesTest, IndexOutsideTheListGivesACompletePageWithoutPicture) {
  MakeGallery();
  EXPECT_EQ(MakeImageTable(-1, pics.List(), options), "");
  EXPECT_EQ(MakeImageTable(2, pics.List(), options), "");  // the separator
  EXPECT_EQ(MakeImageTable(5, pics.List(), options), "");
  const std::string nav = kNavStart + kNavMiddle + kPrevDisabled + kGap + kNextDisabled + kNavEnd;
  EXPECT_EQ(MakeImageNavBar(9, pics.List(), options), nav);
  const std::string page = WriteImagePage(9, pics.List(), options);
  EXPECT_NE(page.find("<title>Image</title>"), std::string::npos);
  EXPECT_NE(page.find("<tr><td align=\"center\" valign=\"middle\">\r\n\r\n</td></tr></table>"),
            std::string::npos);
  EXPECT_EQ(page.substr(page.size() - 7), "</html>");
}

}  // namespace
}  // namespace zelvora
