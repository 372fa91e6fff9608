#include "html/ThumbTablePages.h"

#include <algorithm>
#include <exception>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "html/HtmlHelpers.h"
#include "html/NameMask.h"
#include "imaging/Colors.h"
#include "texts/InterfaceTexts.h"
#include "util/DateFormat.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

constexpr int kSpacerWidth = 30;
constexpr int kSpacerHeight = 30;
constexpr int kThumbCommentLength = 150;

// Lines of a comment: a break is CR, LF, CR LF or LF CR; two equal break
// characters in a row make an empty line. A final break starts no line.
TStringList CommentLines(std::string_view text) {
  TStringList lines;
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      ++i;
      continue;
    }
    lines.push_back(std::move(line));
    line.clear();
    ++i;
    if (i < text.size() && (text[i] == '\r' || text[i] == '\n') && text[i] != c) ++i;
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// Cuts a text into lines of characters (never bytes): the first holds
// firstWidth, every further one width.
TStringList CutIntoLines(std::string_view text, std::size_t firstWidth, std::size_t width) {
  TStringList lines;
  std::size_t lineWidth = std::max<std::size_t>(firstWidth, 1);
  while (!text.empty()) {
    std::string line = Utf8Left(text, lineWidth);
    text.remove_prefix(line.size());
    lines.push_back(std::move(line));
    lineWidth = std::max<std::size_t>(width, 1);
  }
  return lines;
}

std::string JoinEscaped(const TStringList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "<br>";
    text += HTMLEscape(lines[i]);
  }
  return text;
}

// The entries of one row: k pictures from index on, separators passed over.
std::vector<std::pair<int, const TImageGalleryItem*>> RowPictures(
    int index, int k, const TImageGalleryList& list) {
  std::vector<std::pair<int, const TImageGalleryItem*>> pictures;
  for (int i = std::max(index, 0); i < list.Count() && static_cast<int>(pictures.size()) < k;
       ++i) {
    const TImageGalleryItem* entry = list.Items(i);
    if (entry != nullptr && entry->IsImage()) pictures.emplace_back(i, entry);
  }
  return pictures;
}

std::string DisabledEntry(const TGallerySet& options, const std::string& text) {
  return "<font color=\"" + ColorToHTML(options.GetDisabledLinkColor()) + "\">" + text +
         "</font>";
}

std::string ThumbCellsOf(int index, int k, const TImageGalleryList& list,
                         const TGallerySet& options) {
  std::string text;
  bool first = true;
  const std::string mask = Trim(options.Thumb_LinkMask);
  for (const auto& [listIndex, entry] : RowPictures(index, k, list)) {
    if (!first) {
      text += "    <td class=\"hspacecell\" width=\"" + std::to_string(kSpacerWidth) +
              "\">&nbsp;</td>\r\n";
    }
    first = false;
    text += "    <td class=\"thumbcell\" align=\"center\" valign=\"middle\">";
    // The counter of a thumbnail mask is the list position, separators included.
    // A mask is an address the user typed: its query stays a query.
    const std::string link =
        mask.empty()
            ? URLEncode(PictureLink(*entry, options), URLPathChars())
            : URLEncode(ExpandLinkMask(mask, NameMaskParamsOf(*entry, listIndex + 1)),
                        URLAddressChars());
    text += "<a href=\"" + link + "\">";
    text += "<img border=\"0\" src=\"" +
            KeepRelative(options.Thumb_URLPath + URLEncode(entry->ThumbName, URLNameChars())) +
            "\" width=\"" +
            std::to_string(entry->ThumbWidth) + "\" height=\"" +
            std::to_string(entry->ThumbHeight) + "\" " + PictureAltAttribute(*entry) +
            "></a>";
    text += "<font size=\"1\"><br>&nbsp;</font>";
    text += "</td>\r\n";
  }
  return text;
}

std::string DescriptionCellsOf(int index, int k, const TImageGalleryList& list,
                               const TGallerySet& options) {
  std::string text;
  bool first = true;
  for (const auto& picture : RowPictures(index, k, list)) {
    const TImageGalleryItem* entry = picture.second;
    if (!first) {
      text += "    <td class=\"hspacecell\" width=\"" + std::to_string(kSpacerWidth) +
              "\" align=\"center\" valign=\"bottom\">&nbsp;</td>\r\n";
    }
    first = false;
    text += "    <td class=\"descrcell\" align=\"center\" valign=\"top\">";
    text += MakeDescriptionTable(entry, entry->ThumbWidth, kThumbCommentLength, options);
    text += "</td>\r\n";
  }
  return text;
}

std::string ThumbTableOf(int& pageStart, const TImageGalleryList& list,
                         const TGallerySet& options) {
  const int s = std::max(pageStart, 0);
  const int rows = ThumbTableRows(options);
  const int cols = ThumbTableColumns(options);
  const int perPage = ThumbsPerPage(options);
  const int total = list.ImagesOnPage(s, perPage);
  const int last = list.PageLastIndex(s, perPage);
  const std::string span = std::to_string(2 * static_cast<std::int64_t>(cols) - 1);

  std::string text = "<table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">\r\n";
  int i = s;
  int done = 0;
  for (int row = 1; row <= rows && done < total && i <= last; ++row) {
    int k = total - done;
    const bool shortRow = k < cols;
    if (!shortRow) k = cols;
    if (shortRow) {
      // A short last row is centred in a table of its own.
      text += "  <tr>\r\n    <td align=\"center\" colspan=\"" + span + "\">\r\n";
      text += "    <table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">\r\n";
    }
    text += "  <tr>\r\n" + MakeThumbCells(i, k, list, options) + "  </tr>\r\n";
    if (options.Thumb_Description.ShowDescription) {
      text += "  <tr>\r\n" + MakeDescriptionCells(i, k, list, options) + "  </tr>\r\n";
    }
    if (row < rows) {
      text += "  <tr>\r\n    <td class=\"vspacecell\" height=\"" + std::to_string(kSpacerHeight) +
              "\" colspan=\"" + span + "\"><empty></td>\r\n  </tr>\r\n";
    }
    if (shortRow) text += "    </table>\r\n    </td>\r\n  </tr>\r\n";
    done += k;
    for (int passed = 0; passed < k && i < list.Count(); ++i) {
      if (list.IsImage(i)) ++passed;
    }
  }
  text += "</table>\r\n";
  pageStart = list.NextPageStart(s, perPage);
  return text;
}

std::string DescriptionTableOf(const TImageGalleryItem* entry, int width, int maxCommentLength,
                               const TGallerySet& options) {
  const TDescriptionOptions& description = options.Thumb_Description;
  if (!description.ShowDescription || entry == nullptr || width <= 0) return {};
  const std::string& font = options.HTMLPage_Font;

  std::string text = "<table class=\"descrtable\" width=\"" + std::to_string(width) +
                     "\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\">";

  std::string name = description.HideFileNameExtension ? BaseNameOf(entry->ImageName)
                                                       : FileNameOf(entry->ImageName);
  name = URLDecode(name);

  std::string comment = entry->Comment;
  if (maxCommentLength >= 0 && Utf8Length(comment) > static_cast<std::size_t>(maxCommentLength)) {
    comment = Utf8Left(comment, static_cast<std::size_t>(maxCommentLength)) + "...";
  }

  bool showComment = description.Has(Show_ImageComment);
  const bool showName = description.Has(Show_ImageName);
  const bool showSize = description.Has(Show_FileSize);
  const bool showDate = description.Has(Show_FileTime);
  const bool showSides = description.Has(Show_ImageSides);

  const std::string nameLabel = InterfaceText(TextId::NameLabel);
  const std::string pixels = InterfaceText(TextId::PixelsWord);
  const std::string sizeLabel = InterfaceText(TextId::SizeLabel);
  const std::string bytesWord = InterfaceText(TextId::BytesWord);
  const std::string dateLabel = InterfaceText(TextId::DateLabel);
  const std::string timeLabel = InterfaceText(TextId::TimeLabel);

  // The line width in characters grows to the longest info text.
  std::size_t w = static_cast<std::size_t>(width / 6);
  auto raise = [&w](const std::string& measure) { w = std::max(w, Utf8Length(measure)); };
  raise(std::to_string(entry->ImageWidth) + " x " + std::to_string(entry->ImageHeight) + " " +
        pixels);
  if (showSize) raise(sizeLabel + "  " + std::to_string(entry->FileSize) + " " + bytesWord);
  if (showDate) {
    raise(dateLabel + " " + FormatDateTime("d mmm yyyy", entry->FileDate));
    raise(timeLabel + " " + FormatDateTime("hh:nn:ss ampm", entry->FileDate));
  }

  if (showComment && !IsBlank(comment)) {
    text += "<tr><td class=\"descrcommentcell\" align=\"left\" valign=\"top\"><font face=\"" +
            font + "\" size=\"1\"><b>" + JoinEscaped(CommentLines(comment)) +
            "</b></font></td></tr>";
    showComment = false;
  }

  if (showComment || showName || showSize || showDate || showSides) {
    text += "<tr><td nowrap class=\"descrinfocell\" align=\"left\" valign=\"top\"><font face=\"" +
            font + "\" size=\"1\">";
    TStringList parts;
    if (showName) {
      std::size_t labelWidth = Utf8Length(nameLabel) + 1;
      std::size_t firstWidth = w > labelWidth ? w - labelWidth : 1;
      parts.push_back(nameLabel + "&nbsp;<b>" + JoinEscaped(CutIntoLines(name, firstWidth, w)) +
                      "</b>");
    }
    if (showSides) {
      parts.push_back(std::to_string(entry->ImageWidth) + "&nbsp;x&nbsp;" +
                      std::to_string(entry->ImageHeight) + "&nbsp;" + pixels);
    }
    if (showSize) {
      parts.push_back(sizeLabel + "&nbsp;&nbsp;" +
                      (entry->FileSize >= 5120
                           ? FileSizeText(entry->FileSize)
                           : std::to_string(entry->FileSize) + "&nbsp;" + bytesWord));
    }
    if (showDate) {
      parts.push_back(dateLabel + "&nbsp;" +
                      HTMLEscape(FormatDateTime(DateDisplayFormat(), entry->FileDate)) + "<br>" +
                      timeLabel + "&nbsp;" +
                      HTMLEscape(FormatDateTime(TimeDisplayFormat(), entry->FileDate)));
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) text += "<br>";
      text += parts[i];
    }
    text += "</font></td></tr>";
  }
  text += "</table>";
  return text;
}

}  // namespace

std::string WriteThumbTablePage(int& pageStart, int n, int pageCount,
                                const TImageGalleryList& list, const TGallerySet& options) {
  const int start = pageStart;
  try {
    const std::string nav = MakePageNavBar(n, pageCount, options);
    const std::string header = MakeCustomBlock(
        options.CustomPageHeader, options.CustomPageHeaderAsHTMLCode, options.HTMLPage_Font);
    const std::string footer = MakeCustomBlock(
        options.CustomPageFooter, options.CustomPageFooterAsHTMLCode, options.HTMLPage_Font);

    std::string body;
    if (options.Navig_PageTop) body += nav + "\r\n\r\n";
    body += (header.empty() ? std::string("&nbsp;<br><br>") : header) + "\r\n\r\n";
    body +=
        "<table border=0 align=center width=100% height=70% cellpadding=0 cellspacing=0>"
        "<tr><td align=center valign=middle>\r\n";
    body += MakeThumbTable(pageStart, list, options) + "\r\n";
    body += "</td></tr></table>\r\n\r\n";
    body += (footer.empty() ? std::string("<br><br>&nbsp;") : footer) + "\r\n\r\n";
    if (options.Navig_PageBottom) body += nav;

    std::string title = InterfaceText(TextId::PageWord) + " " + std::to_string(n);
    if (!options.CustomPageTitle.empty()) title += " - " + HTMLEscape(options.CustomPageTitle);
    return MakePage(title, body, options);
  } catch (const std::exception&) {
    // The run pages on with pageStart: it must move even when the page fails.
    if (pageStart == start) pageStart = std::max(list.Count(), start + 1);
    return {};
  }
}

std::string MakePageNavBar(int n, int pageCount, const TGallerySet& options) {
  try {
    const std::string& font = options.HTMLPage_Font;
    std::string text =
        "<table class=\"navigtable\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\" "
        "width=\"100%\"><tr>";
    const std::string home = Trim(options.Navig_HomeURL);
    if (!home.empty() && LowerCase(home) != "<none>") {
      // In a frameset the home page replaces the whole frameset.
      const std::string target = options.Framed_ThumbTablePage ? " target=\"_parent\"" : "";
      text += "<td align=\"left\"><font face=\"" + font + "\"><b><a" + target + " href=\"" +
              URLEncode(home, URLAddressChars()) + "\">" + InterfaceText(TextId::HomeWord) +
              "</a></b></font></td>";
    }
    text += "<td align=\"right\"><font face=\"" + font + "\"><b>";
    if (n - 1 < 1) {
      text += DisabledEntry(options, PrevLinkText());
    } else {
      text += "<a href=\"" + PageFileName(n - 1) + "\">" + PrevLinkText() + "</a>";
    }
    text += "&nbsp;&nbsp;&nbsp;";
    if (n + 1 > pageCount) {
      text += DisabledEntry(options, NextLinkText());
    } else {
      text += "<a href=\"" + PageFileName(n + 1) + "\">" + NextLinkText() + "</a>";
    }
    text += "</b></font></td></tr></table>";
    return text;
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeThumbTable(int& pageStart, const TImageGalleryList& list,
                           const TGallerySet& options) {
  try {
    return ThumbTableOf(pageStart, list, options);
  } catch (const std::exception&) {
    // Never leave the caller on the same page: that would loop for ever.
    pageStart = std::max(list.Count(), pageStart + 1);
    return {};
  }
}

std::string MakeThumbCells(int index, int k, const TImageGalleryList& list,
                           const TGallerySet& options) {
  try {
    return ThumbCellsOf(index, k, list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeDescriptionCells(int index, int k, const TImageGalleryList& list,
                                 const TGallerySet& options) {
  try {
    return DescriptionCellsOf(index, k, list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeDescriptionTable(const TImageGalleryItem* entry, int width,
                                 int maxCommentLength, const TGallerySet& options) {
  try {
    return DescriptionTableOf(entry, width, maxCommentLength, options);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace zelvora
