#pragma once
// The pieces every page writer shares: HTML escaping, URL encoding and
// decoding, the generator line, the page frame and custom blocks, the tag
// builders of the frameset, relative folder URLs, picture URLs and links,
// page file names and file-size texts.
//
// Every function is pure (apart from the module-wide decimal separator) and
// never throws.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "html/NameMask.h"
#include "util/PathUtils.h"

namespace zelvora {

class TGallerySet;
struct TImageGalleryItem;

// The product's web site, named in the generator line of every page.
inline constexpr std::string_view kProductWebSite = "http://www.zelvora.example/";

// <meta name="Thumbnail-Generator" content="Zelvora ( <web site> )">
std::string GeneratorLine();
// <meta http-equiv="Content-Type" content="text/html; charset=utf-8">, the
// first line in the head of every page: pages are UTF-8, and a page that
// does not say so is guessed at, differently from page to page.
std::string CharsetLine();

// Byte sets for URLEncode. URLPathChars leaves "/" and ":" alone (whole
// relative URLs); URLNameChars escapes them and "|" too (a single name).
// Both escape "?" and "&": in a file's name they would start a query or be
// read back by the browser as the start of an entity.
std::string_view URLPathChars();
std::string_view URLNameChars();
// URLPathChars without "?" and "&", for addresses the user typed (the home
// link, link masks), whose query must keep working.
std::string_view URLAddressChars();

// A relative URL whose first segment (up to the first "/") holds ":" would
// be read as a scheme (a picture named "javascript:x.bmp"); such a URL gets
// "./" in front.
// Every other URL comes back unchanged.
std::string KeepRelative(std::string url);
// A link mask expanded for a picture. A scheme the mask itself starts with
// ("http://host/%n") stays; one that only the picture's names bring in is
// kept relative.
std::string ExpandLinkMask(std::string_view mask, const TFileNameParams& params);

// The double quote, "&", "<" and ">" become &#34; &#38; &#60; &#62;.
std::string HTMLEscape(std::string_view text);
// Every byte of the set, and every "%", becomes "%" and two upper-case
// hexadecimal digits.
std::string URLEncode(std::string_view text, std::string_view set);
// "%XX" (either case) becomes the byte 0xXX; nullopt when a "%" is not
// followed by two hexadecimal digits.
std::optional<std::string> TryURLDecode(std::string_view text);
// Like TryURLDecode, but a text that cannot be decoded comes back as it is,
// so a picture named 100%.jpg still shows its name.
std::string URLDecode(std::string_view text);

// The picture name as visitors see it: ImageName decoded (twice when the
// first decoding still holds a "%").
std::string PictureDisplayName(const TImageGalleryItem& entry);

// The alt attribute of a thumbnail or picture: alt="name  (size)", escaped.
std::string PictureAltAttribute(const TImageGalleryItem& entry);
// What a link mask is expanded for: the given counter, the file name and
// folder of the source picture, and its date.
TFileNameParams NameMaskParamsOf(const TImageGalleryItem& entry, int number,
                                 PathStyle style = kNativePathStyle);

// The decimal separator of FileSizeText, "." until changed (the wizard sets
// the locale's).
std::string FileSizeDecimalSeparator();
void SetFileSizeDecimalSeparator(std::string_view separator);
// "4000 bytes", "12.5 Kb", "3.0 Mb" (tenths truncated).
std::string FileSizeText(std::int64_t bytes);

// The thumbnail table's rows and columns, each at least 1 (an options file
// may hold 0 or less), and the pictures one page holds. Every writer pages
// the list with ThumbsPerPage; so must the run that numbers the pages.
int ThumbTableRows(const TGallerySet& options);
int ThumbTableColumns(const TGallerySet& options);
int ThumbsPerPage(const TGallerySet& options);

// "page" + n + ".html", n counting from 1.
std::string PageFileName(int n);
// "image" + Number + ".html".
std::string ImagePageFileName(const TImageGalleryItem& entry);

// The published picture relative to the gallery folder, not yet encoded;
// never read as a scheme (KeepRelative), except the "file:///" URL of a
// picture on another drive.
std::string PictureURL(const TImageGalleryItem& entry, const TGallerySet& options,
                       PathStyle style = kNativePathStyle);
// Where a thumbnail or a Prev/Next link leads: the image page of a picture
// browsers can show, else the picture file itself. Not yet encoded.
std::string PictureLink(const TImageGalleryItem& entry, const TGallerySet& options,
                        PathStyle style = kNativePathStyle);

// The URL from one folder to another, ending in "/"; empty for the same
// folder. Under the Windows style drives are compared ("C:", "//server/share")
// and a folder on another drive gets a "file:///D|/" URL; folder names are
// compared without regard to case. Under the POSIX style there are no drives
// and names are compared exactly, as the file system does.
std::string RelativeFolderURL(std::string_view fromFolder, std::string_view toFolder,
                              PathStyle style = kNativePathStyle);

// The complete text of a thumbnail page, image page or page index: head with
// charset line, title and generator line, body with the option set's colours
// and background. Title and body come out as UTF-8 (ToUtf8): names,
// comments and words that are not valid UTF-8 are read as Windows-1252.
// Percent-encoded URLs are plain ASCII, so they keep the bytes of the files
// they name.
std::string MakePage(std::string_view title, std::string_view body, const TGallerySet& options);

// The block of a custom page header or footer; empty for an empty text, the
// text itself when it is HTML, else the escaped text as a centred heading.
std::string MakeCustomBlock(std::string_view text, bool asHTML, std::string_view font);

// Tag builders of the frameset page; attrs goes in with one blank in front
// when it is not empty.
std::string MakeTitle(std::string_view text, std::string_view attrs = {});
std::string MakeHead(std::string_view text, std::string_view attrs = {});
std::string MakeHtml(std::string_view text, std::string_view attrs = {});
std::string MakeBody(std::string_view text, std::string_view attrs = {});
std::string MakeFrameset(std::string_view attrs, std::string_view frames,
                         std::string_view noframes);
std::string MakeFrame(std::string_view name, std::string_view target, std::string_view src,
                      std::string_view extra);
std::string MakeNoFrames(std::string_view text);

}  // namespace zelvora
