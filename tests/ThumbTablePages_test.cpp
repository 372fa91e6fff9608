#include "html/ThumbTablePages.h"

#include <gtest/gtest.h>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "html/HtmlHelpers.h"
#include "imaging/Colors.h"
#include "support/PageTestList.h"
#include "texts/InterfaceTexts.h"
#include "util/DateValue.h"

namespace zelvora {
namespace {

using test::Crlf;

const std::string kFont = "Verdana, sans-serif";

const std::string kPrevDisabled =
    R"(<font color="#BFBFBF"><font size="-1">&lt;</font>&nbsp;&nbsp;Prev</font>)";
const std::string kNextDisabled =
    R"(<font color="#BFBFBF">Next&nbsp;&nbsp;<font size="-1">&gt;</font></font>)";
const std::string kNavStart =
    R"(<table class="navigtable" cellpadding="0" cellspacing="0" border="0" width="100%"><tr>)";
const std::string kNavRight = R"(<td align="right"><font face="Verdana, sans-serif"><b>)";
const std::string kNavEnd = "</b></font></td></tr></table>";

std::string PrevLink(int n) {
  return "<a href=\"page" + std::to_string(n) +
         R"(.html"><font size="-1">&lt;</font>&nbsp;&nbsp;Prev</a>)";
}

std::string NextLink(int n) {
  return "<a href=\"page" + std::to_string(n) +
         R"(.html">Next&nbsp;&nbsp;<font size="-1">&gt;</font></a>)";
}

class ThumbTablePagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetInterfaceTexts();
    options.ThumbTableRowCount = 2;
    options.ThumbTableColumnCount = 3;
    options.Thumb_Description.ShowDescription = false;
  }
  void TearDown() override { ResetInterfaceTexts(); }

  // Page 1: a, b, c.bmp in a full row and d in a short one; a separator
  // then opens page 2 with e.
  void MakeGallery() {
    pics.AddPicture("Trip/a.jpg", 1, 1).FileSize = 12800;
    pics.AddPicture("Trip/b.jpg", 2, 1).FileSize = 4000;
    pics.AddPicture("Trip/c.bmp", 3, 1).FileSize = 6000000;
    pics.AddPicture("Home/d.jpg", 4, 1).FileSize = 100;
    pics.AddSeparator();
    pics.AddPicture("Home/e.jpg", 5, 2).FileSize = 0;
  }

  test::TPageTestList pics;
  TGallerySet options;
};

TEST_F(ThumbTablePagesTest, FirstPageWithFullAndShortRow) {
  MakeGallery();
  const std::string nav = kNavStart + kNavRight + kPrevDisabled + "&nbsp;&nbsp;&nbsp;" +
                          NextLink(2) + kNavEnd;
  const std::string expected = Crlf(R"G(<html><head>
  <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
  <title>Page 1</title>
  <meta name="Thumbnail-Generator" content="Zelvora ( http://www.zelvora.example/ )">
</head>
<body bgcolor="#FFFFFF" text="#000000" link="#0000FF" vlink="#70B0FF" alink="#00E040">
)G" + nav + R"G(

&nbsp;<br><br>

<table border=0 align=center width=100% height=70% cellpadding=0 cellspacing=0><tr><td align=center valign=middle>
<table align="center" cellpadding="0" border="0" cellspacing="0">
  <tr>
    <td class="thumbcell" align="center" valign="middle"><a href="image1.html"><img border="0" src="thumbnails/a_thumb.jpg" width="108" height="83" alt="a.jpg  (12.5 Kb)"></a><font size="1"><br>&nbsp;</font></td>
    <td class="hspacecell" width="30">&nbsp;</td>
    <td class="thumbcell" align="center" valign="middle"><a href="image2.html"><img border="0" src="thumbnails/b_thumb.jpg" width="108" height="83" alt="b.jpg  (4000 bytes)"></a><font size="1"><br>&nbsp;</font></td>
    <td class="hspacecell" width="30">&nbsp;</td>
    <td class="thumbcell" align="center" valign="middle"><a href="images/c.bmp"><img border="0" src="thumbnails/c_thumb.jpg" width="108" height="83" alt="c.bmp  (5.7 Mb)"></a><font size="1"><br>&nbsp;</font></td>
  </tr>
  <tr>
    <td class="vspacecell" height="30" colspan="5"><empty></td>
  </tr>
  <tr>
    <td align="center" colspan="5">
    <table align="center" cellpadding="0" border="0" cellspacing="0">
  <tr>
    <td class="thumbcell" align="center" valign="middle"><a href="image4.html"><img border="0" src="thumbnails/d_thumb.jpg" width="108" height="83" alt="d.jpg  (100 bytes)"></a><font size="1"><br>&nbsp;</font></td>
  </tr>
    </table>
    </td>
  </tr>
</table>

</td></tr></table>

<br><br>&nbsp;

)G" + nav + R"G(
</body>
</html>)G");
  int pageStart = 0;
  EXPECT_EQ(WriteThumbTablePage(pageStart, 1, 2, pics.List(), options), expected);
  EXPECT_EQ(pageStart, 4);  // the separator opens page 2
}

TEST_F(ThumbTablePagesTest, LastPageWithCustomTitleHeaderAndFooter) {
  MakeGallery();
  options.CustomPageTitle = "Holidays & Sun";
  options.CustomPageHeader = "Our <trip>\r\nday 2";
  options.CustomPageFooter = "<hr>(c) us";
  options.CustomPageFooterAsHTMLCode = true;
  options.Navig_PageTop = false;
  options.Thumb_Description.ShowDescription = true;
  options.Thumb_Description.Set(Show_ImageName, true);
  const std::string nav = kNavStart + kNavRight + PrevLink(1) + "&nbsp;&nbsp;&nbsp;" +
                          kNextDisabled + kNavEnd;
  const std::string expected = Crlf(R"G(<html><head>
  <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
  <title>Page 2 - Holidays &#38; Sun</title>
  <meta name="Thumbnail-Generator" content="Zelvora ( http://www.zelvora.example/ )">
</head>
<body bgcolor="#FFFFFF" text="#000000" link="#0000FF" vlink="#70B0FF" alink="#00E040">
&nbsp;<br><br>
<center><h2><font face="Verdana, sans-serif">Our &#60;trip&#62;<br>day 2</font></h2></center>
<br><br>

<table border=0 align=center width=100% height=70% cellpadding=0 cellspacing=0><tr><td align=center valign=middle>
<table align="center" cellpadding="0" border="0" cellspacing="0">
  <tr>
    <td align="center" colspan="5">
    <table align="center" cellpadding="0" border="0" cellspacing="0">
  <tr>
    <td class="thumbcell" align="center" valign="middle"><a href="image5.html"><img border="0" src="thumbnails/e_thumb.jpg" width="108" height="83" alt="e.jpg  (0 bytes)"></a><font size="1"><br>&nbsp;</font></td>
  </tr>
  <tr>
    <td class="descrcell" align="center" valign="top"><table class="descrtable" width="108" cellpadding="0" cellspacing="0" border="0"><tr><td nowrap class="descrinfocell" align="left" valign="top"><font face="Verdana, sans-serif" size="1">name:&nbsp;<b>e</b></font></td></tr></table></td>
  </tr>
  <tr>
    <td class="vspacecell" height="30" colspan="5"><empty></td>
  </tr>
    </table>
    </td>
  </tr>
</table>

</td></tr></table>

<hr>(c) us

)G" + nav + R"G(
</body>
</html>)G");
  int pageStart = 4;
  EXPECT_EQ(WriteThumbTablePage(pageStart, 2, 2, pics.List(), options), expected);
  EXPECT_GE(pageStart, pics.List().Count());
}

TEST_F(ThumbTablePagesTest, EmptyPageOfSeparatorsStillAdvances) {
  pics.AddPicture("a.jpg", 1, 1);
  pics.AddSeparator();
  pics.AddSeparator();
  pics.AddPicture("b.jpg", 2, 3);
  int pageStart = 1;
  EXPECT_EQ(MakeThumbTable(pageStart, pics.List(), options),
            Crlf("<table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">\n"
                 "</table>\n"));
  EXPECT_EQ(pageStart, 2);
}

TEST_F(ThumbTablePagesTest, NavBarHomeLinkTargetsAndCurrentWords) {
  const std::string right =
      kNavRight + kPrevDisabled + "&nbsp;&nbsp;&nbsp;" + kNextDisabled + kNavEnd;
  for (const char* none : {"", "  <NoNe> ", "   "}) {
    options.Navig_HomeURL = none;
    EXPECT_EQ(MakePageNavBar(1, 1, options), kNavStart + right) << none;
  }
  // In a frameset the home page replaces the frameset; Prev and Next stay in
  // their frame.
  options.Navig_HomeURL = "  http://www.example.com/my home  ";
  options.Framed_ThumbTablePage = true;
  EXPECT_EQ(MakePageNavBar(3, 5, options),
            kNavStart +
                R"(<td align="left"><font face="Verdana, sans-serif"><b><a target="_parent" href="http://www.example.com/my%20home">Home</a></b></font></td>)" +
                kNavRight + PrevLink(2) + "&nbsp;&nbsp;&nbsp;" + NextLink(4) + kNavEnd);
  options.Navig_HomeURL.clear();
  SetInterfaceText(TextId::PrevWord, "Back");
  options.HTMLPage_DisabledLinkColor = MakeColor(0x11, 0x22, 0x33);
  EXPECT_EQ(MakePageNavBar(1, 2, options),
            kNavStart + kNavRight +
                R"(<font color="#112233"><font size="-1">&lt;</font>&nbsp;&nbsp;Back</font>)" +
                "&nbsp;&nbsp;&nbsp;" + NextLink(2) + kNavEnd);
}

TEST_F(ThumbTablePagesTest, ThumbLinksFollowTheMaskWithTheListPosition) {
  MakeGallery();
  options.Thumb_LinkMask = "  %n page%2c.html ";
  const std::string cells = MakeThumbCells(4, 1, pics.List(), options);
  EXPECT_NE(cells.find("<a href=\"e%20page06.html\">"), std::string::npos) << cells;
}

TEST_F(ThumbTablePagesTest, NamesWithMarkupStayInsideTheirAttributes) {
  TImageGalleryItem& entry = pics.AddPicture("Rock & Roll \"live\" <1>.jpg", 1, 1);
  EXPECT_EQ(MakeThumbCells(0, 1, pics.List(), options),
            "    <td class=\"thumbcell\" align=\"center\" valign=\"middle\">"
            "<a href=\"image1.html\"><img border=\"0\" src=\"thumbnails/"
            "rock%20%26%20roll%20%22live%22%20%3C1%3E_thumb.jpg\" width=\"108\" height=\"83\" "
            "alt=\"Rock &#38; Roll &#34;live&#34; &#60;1&#62;.jpg  (0 bytes)\"></a>"
            "<font size=\"1\"><br>&nbsp;</font></td>\r\n");
  entry.ImageName = "100%.jpg";
  EXPECT_NE(MakeThumbCells(0, 1, pics.List(), options).find("alt=\"100%.jpg  (0 bytes)\""),
            std::string::npos);
}

class DescriptionTableTest : public ThumbTablePagesTest {
 protected:
  void SetUp() override {
    ThumbTablePagesTest::SetUp();
    options.Thumb_Description.ShowDescription = true;
  }
  TImageGalleryItem& Entry() {
    TImageGalleryItem& entry = pics.AddPicture("a_very_long_picture_name_here.jpg", 1, 1);
    entry.ImageWidth = 1024;
    entry.ImageHeight = 768;
    entry.FileSize = 12800;
    entry.FileDate = EncodeDateTime(2004, 3, 5, 14, 7, 9);
    return entry;
  }
  std::string Info(const std::string& parts) {
    return "<tr><td nowrap class=\"descrinfocell\" align=\"left\" valign=\"top\"><font face=\"" +
           kFont + "\" size=\"1\">" + parts + "</font></td></tr>";
  }
  std::string Comment(const std::string& lines) {
    return "<tr><td class=\"descrcommentcell\" align=\"left\" valign=\"top\"><font face=\"" +
           kFont + "\" size=\"1\"><b>" + lines + "</b></font></td></tr>";
  }
  std::string Table(int width, const std::string& rows) {
    return "<table class=\"descrtable\" width=\"" + std::to_string(width) +
           "\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\">" + rows + "</table>";
  }
};

TEST_F(DescriptionTableTest, EveryFlag) {
  TImageGalleryItem& entry = Entry();
  entry.Comment = "First line\r\nsecond & <third>";
  options.Thumb_Description.ShowFlags = kAllShowFlags;
  // Line width 18, from "size:  12800 bytes"; the first name line leaves
  // room for "name: ".
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, 150, options),
            Table(108, Comment("First line<br>second &#38; &#60;third&#62;") +
                           Info("name:&nbsp;<b>a_very_long_<br>picture_name_here</b><br>"
                                "1024&nbsp;x&nbsp;768&nbsp;pixels<br>"
                                "size:&nbsp;&nbsp;12.5 Kb<br>"
                                "date:&nbsp;5 Mar 2004<br>time:&nbsp;02:07:09 PM")));
}

TEST_F(DescriptionTableTest, SmallFilesAndCurrentWordsAndFormats) {
  TImageGalleryItem& entry = Entry();
  entry.FileSize = 4000;
  options.Thumb_Description.ShowFlags = Show_FileSize | Show_FileTime | Show_ImageName;
  options.Thumb_Description.HideFileNameExtension = false;
  SetInterfaceText(TextId::SizeLabel, "Gr\xC3\xB6\xC3\x9F" "e:");
  SetInterfaceText(TextId::BytesWord, "Bytes");
  SetInterfaceText(TextId::NameLabel, "Dateiname:");
  SetDateDisplayFormat("dd.mm.yyyy");
  SetTimeDisplayFormat("hh:nn");
  // Widest text "Größe:  4000 Bytes", 18 characters (20 bytes); the first
  // name line leaves room for "Dateiname: ".
  EXPECT_EQ(MakeDescriptionTable(&entry, 60, 150, options),
            Table(60, Info("Dateiname:&nbsp;<b>a_very_<br>long_picture_name_<br>here.jpg</b><br>"
                           "Gr\xC3\xB6\xC3\x9F" "e:&nbsp;&nbsp;4000&nbsp;Bytes<br>"
                           "date:&nbsp;05.03.2004<br>time:&nbsp;14:07")));
}

TEST_F(DescriptionTableTest, BlankCommentLeavesAnEmptyInfoRow) {
  TImageGalleryItem& entry = Entry();
  entry.Comment = " \r\n ";
  options.Thumb_Description.ShowFlags = Show_ImageComment;
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, 150, options), Table(108, Info("")));
  entry.Comment = "Hi";
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, 150, options), Table(108, Comment("Hi")));
}

TEST_F(DescriptionTableTest, CommentLineBreaks) {
  TImageGalleryItem& entry = Entry();
  entry.Comment = "one\r\ntwo\n\nthree\n\rfour\r";
  options.Thumb_Description.ShowFlags = Show_ImageComment;
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, -1, options),
            Table(108, Comment("one<br>two<br><br>three<br>four")));
}

TEST_F(DescriptionTableTest, CutsCountCharactersNotBytes) {
  TImageGalleryItem& entry = Entry();
  std::string comment;
  for (int i = 0; i < 200; ++i) comment += "\xC3\xA9";
  entry.Comment = comment;
  options.Thumb_Description.ShowFlags = Show_ImageComment;
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, 150, options),
            Table(108, Comment(comment.substr(0, 300) + "...")));
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, 200, options), Table(108, Comment(comment)));
  EXPECT_EQ(MakeDescriptionTable(&entry, 108, -1, options), Table(108, Comment(comment)));

  // 20 two-byte letters; line width 12 from "1 x 1 pixels", first line 6.
  entry.ImageName = comment.substr(0, 40) + ".jpg";
  entry.ImageWidth = 1;
  entry.ImageHeight = 1;
  options.Thumb_Description.ShowFlags = Show_ImageName;
  EXPECT_EQ(MakeDescriptionTable(&entry, 60, 150, options),
            Table(60, Info("name:&nbsp;<b>" + comment.substr(0, 12) + "<br>" +
                           comment.substr(0, 24) + "<br>" + comment.substr(0, 4) + "</b>")));
}

}  // namespace
}  // namespace zelvora
