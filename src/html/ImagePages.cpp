#include "html/ImagePages.h"

#include <exception>
#include <utility>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/Thumbnail.h"
#include "html/HtmlHelpers.h"
#include "html/ThumbTablePages.h"
#include "imaging/Colors.h"
#include "texts/InterfaceTexts.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

// The picture entry at index, or nullptr (outside the list, or a separator).
const TImageGalleryItem* PictureAt(int index, const TImageGalleryList& list) {
  const TImageGalleryItem* entry = list.Items(index);
  return entry != nullptr && entry->IsImage() ? entry : nullptr;
}

std::string DisabledEntry(const TGallerySet& options, const std::string& text) {
  return "<font color=\"" + ColorToHTML(options.GetDisabledLinkColor()) + "\">" + text +
         "</font>";
}

// A link to the picture entry at `target`, or the disabled entry when the
// neighbour is missing.
std::string NeighbourLink(bool disabled, int target, const TImageGalleryList& list,
                          const TGallerySet& options, const std::string& text) {
  const TImageGalleryItem* neighbour = disabled ? nullptr : PictureAt(target, list);
  if (neighbour == nullptr) return DisabledEntry(options, text);
  return "<a href=\"" + URLEncode(PictureLink(*neighbour, options), URLPathChars()) + "\">" +
         text + "</a>";
}

std::string NavBarOf(int index, const TImageGalleryList& list, const TGallerySet& options) {
  const TImageGalleryItem* entry = PictureAt(index, list);
  const std::string& font = options.HTMLPage_Font;
  std::string text =
      "<table class=\"navigtable\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\" "
      "width=\"100%\"><tr><td align=\"left\">";
  if (entry != nullptr && entry->PageNo >= 0) {
    text += "<font face=\"" + font + "\"><b><a href=\"" +
            URLEncode(PageFileName(entry->PageNo), URLPathChars()) + "\">" +
            InterfaceText(TextId::PageWord) + std::to_string(entry->PageNo) + "</a></b></font>";
  }
  text += "</td><td align=\"right\"><font face=\"" + font + "\"><b>";
  const bool noPrev = entry == nullptr || entry->Number - 1 < 1;
  const bool noNext = entry == nullptr || entry->Number + 1 > list.ImageCount();
  text += NeighbourLink(noPrev, noPrev ? -1 : list.FindPrevious(index - 1, TItemKind::Image),
                        list, options, PrevLinkText());
  text += "&nbsp;&nbsp;&nbsp;";
  text += NeighbourLink(noNext, noNext ? -1 : list.FindNext(index + 1, TItemKind::Image), list,
                        options, NextLinkText());
  text += "</b></font></td></tr></table>";
  return text;
}

std::string ImageTableOf(int index, const TImageGalleryList& list, const TGallerySet& options) {
  const TImageGalleryItem* entry = PictureAt(index, list);
  if (entry == nullptr) return {};
  const std::string& font = options.HTMLPage_Font;

  std::string text = "<table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">\r\n";

  int w = entry->ImageWidth;
  int h = entry->ImageHeight;
  if (options.Image_LimitWebPageImageSize) {
    TPixelSize fitted = FitSize(entry->ImageWidth, entry->ImageHeight, options.Image_MaxWidth,
                                options.Image_MaxHeight);
    w = fitted.Width;
    h = fitted.Height;
  }

  std::string full;
  if (!options.Image_ResizeSrcImages && (w != entry->ImageWidth || h != entry->ImageHeight)) {
    // The full-size picture opens in a window named after its file; the
    // name is escaped because file names may hold quotes or markup.
    full = "<br><a href=\"" + URLEncode(PictureURL(*entry, options), URLPathChars()) +
           "\" target=\"" + HTMLEscape(entry->ImageName) + "\">" +
           InterfaceText(TextId::ShowFullSizeImage) + "</a>";
  }

  const std::string mask = Trim(options.Image_LinkMask);
  const std::string href = mask.empty()
                               ? PageFileName(entry->PageNo)
                               : ExpandLinkMask(mask, NameMaskParamsOf(*entry, entry->Number));

  text += "  <tr>\r\n";
  text += "    <td align=\"center\" valign=\"middle\"><a href=\"" + HTMLEscape(href) + "\">" +
          MakeImageTag(*entry, w, h, options) + "</a><font face=\"" + font + "\" size=\"1\">" +
          full + "<br>&nbsp;</font></td>\r\n";
  text += "  </tr>\r\n";
  text += "  <tr>\r\n";
  text += "    <td align=\"center\" valign=\"top\">" + MakeDescriptionTable(entry, w, -1, options) +
          "</td>\r\n";
  text += "  </tr>\r\n";
  text += "</table>\r\n";
  return text;
}

std::string ImagePageOf(int index, const TImageGalleryList& list, const TGallerySet& options) {
  const TImageGalleryItem* entry = PictureAt(index, list);
  const std::string nav = MakeImageNavBar(index, list, options);
  const std::string header = MakeCustomBlock(
      options.CustomPageHeader, options.CustomPageHeaderAsHTMLCode, options.HTMLPage_Font);
  const std::string footer = MakeCustomBlock(
      options.CustomPageFooter, options.CustomPageFooterAsHTMLCode, options.HTMLPage_Font);

  std::string body;
  if (options.Navig_PageTop) body += nav + "\r\n\r\n";
  body += (header.empty() ? std::string("<br><br>") : header) + "\r\n\r\n";
  body +=
      "<table border=\"0\" width=\"100%\" height=\"100%\"><tr><td align=\"center\" "
      "valign=\"middle\">\r\n";
  body += MakeImageTable(index, list, options) + "\r\n";
  body += "</td></tr></table>\r\n\r\n";
  body += (footer.empty() ? std::string("<br><br>") : footer) + "\r\n\r\n";
  if (options.Navig_PageBottom) body += nav;

  std::string title = InterfaceText(TextId::ImageWord);
  if (entry != nullptr) title += " #" + std::to_string(entry->Number);
  if (!options.CustomPageTitle.empty()) title += " - " + HTMLEscape(options.CustomPageTitle);
  return MakePage(title, body, options);
}

}  // namespace

std::string WriteImagePage(int index, const TImageGalleryList& list, const TGallerySet& options) {
  try {
    return ImagePageOf(index, list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeImageNavBar(int index, const TImageGalleryList& list, const TGallerySet& options) {
  try {
    return NavBarOf(index, list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeImageTable(int index, const TImageGalleryList& list, const TGallerySet& options) {
  try {
    return ImageTableOf(index, list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string MakeImageTag(const TImageGalleryItem& entry, int width, int height,
                         const TGallerySet& options) {
  try {
    return "<img width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" src=\"" + URLEncode(PictureURL(entry, options), URLPathChars()) +
           "\" border=\"0\" " + PictureAltAttribute(entry) + ">";
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace zelvora
