#include "html/PageIndex.h"

#include <exception>
#include <vector>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "html/HtmlHelpers.h"
#include "texts/InterfaceTexts.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

// The innermost folder name of a picture's path, or the folder part itself
// when it has no inner name (a picture at the root of drive C: gives C:).
std::string FolderTitleOf(const TImageGalleryItem& entry) {
  const std::string folder = FolderOf(entry.FileName);
  const std::string inner = FileNameOf(ExcludeTrailingDelimiters(folder));
  return inner.empty() ? folder : inner;
}

std::string PageIndexTableOf(const TImageGalleryList& list, const TGallerySet& options) {
  const int perPage = ThumbsPerPage(options);
  const int pageCount = list.PageCount(perPage);
  std::vector<int> starts;
  list.GetPageStarts(&starts, perPage);
  const std::string target =
      options.Framed_ThumbTablePage ? " target=\"" + std::string(kGalleryPageFrameName) + "\""
                                    : std::string();

  TStringList seenTitles;
  std::vector<int> seenCounts;
  std::string text = "<table align=\"center\" cellpadding=\"0\" border=\"0\" cellspacing=\"15\">\r\n";
  for (int n = 1; n <= pageCount; ++n) {
    text += "<tr>";
    const std::string pageTitle = InterfaceText(TextId::PageWord) + " " + std::to_string(n);
    std::string title;
    switch (options.PageIndex_StyleOfLinksTitles) {
      case 1:
        title = std::to_string(n);
        break;
      case 2: {
        const int s = n - 1 < static_cast<int>(starts.size()) ? starts[n - 1] : -1;
        if (s >= 0) {
          const int last = list.PageLastIndex(s, perPage);
          const int f = list.FindNext(s, TItemKind::Image);
          const TImageGalleryItem* first = list.Items(f);
          // Folder names come from the file system and may hold markup.
          if (f >= 0 && last >= f && first != nullptr) title = HTMLEscape(FolderTitleOf(*first));
        }
        break;
      }
      default:
        title = pageTitle;
    }
    if (title.empty()) title = pageTitle;

    int seen = IndexOfText(title, seenTitles, false);
    if (seen < 0) {
      seenTitles.push_back(title);
      seenCounts.push_back(1);
    } else {
      title += " (" + std::to_string(++seenCounts[seen]) + ")";
    }

    text += "  <td align=\"center\" valign=\"middle\"><a" + target + " href=\"" + PageFileName(n) +
            "\"><b><font size=\"+1\" face=\"" + options.HTMLPage_Font + "\">" + title +
            "</font></b></a></td>\r\n</tr>";
  }
  text += "</table>\r\n";
  return text;
}

std::string FramesetOf(const TGallerySet& options) {
  std::string title = InterfaceText(TextId::GalleryTitle);
  if (!options.CustomPageTitle.empty()) title = HTMLEscape(options.CustomPageTitle) + " - " + title;

  const std::string head = "\r\n  " + CharsetLine() + "\r\n  " + MakeTitle(ToUtf8(title)) +
                           "\r\n  " + GeneratorLine() + "\r\n";
  const std::string spacing = options.PageIndex_StyleOfLinksTitles == 2 ? "1" : "0";
  const std::string frames =
      "\r\n  " +
      MakeFrame(kPageIndexFrameName, kGalleryPageFrameName, kPageIndexFileName,
                "marginwidth=\"0\" marginheight=\"0\"") +
      "\r\n  " + MakeFrame(kGalleryPageFrameName, "", PageFileName(1), "");
  const std::string noframes =
      "\r\n  " +
      MakeNoFrames("\r\n    " +
                   MakeBody(std::string("<p>This page uses frames, but your browser doesn't "
                                        "support them. <a href=\"") +
                            kPageIndexFileName + "\">Please, click here</a></p>") +
                   "\r\n  ") +
      "\r\n";
  const std::string frameset = MakeFrameset(
      "cols=\"150,*\" border=\"0\" frameborder=\"no\" framespacing=\"" + spacing + "\"", frames,
      noframes);
  return MakeHtml("\r\n" + MakeHead(head) + "\r\n" + frameset + "\r\n");
}

}  // namespace

std::string MakePageIndexTable(const TImageGalleryList& list, const TGallerySet& options) {
  try {
    return PageIndexTableOf(list, options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string WritePageIndexPage(const TImageGalleryList& list, const TGallerySet& options) {
  try {
    std::string title = InterfaceText(TextId::PageIndexTitle);
    if (!options.CustomPageTitle.empty()) {
      title = HTMLEscape(options.CustomPageTitle) + " - " + title;
    }
    return MakePage(title, MakePageIndexTable(list, options), options);
  } catch (const std::exception&) {
    return {};
  }
}

std::string WriteFramesetPage(const TGallerySet& options) {
  try {
    return FramesetOf(options);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace zelvora
