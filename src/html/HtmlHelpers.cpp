#include "html/HtmlHelpers.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "imaging/Colors.h"
#include "imaging/ImageKind.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string MakeAddressChars() {
  std::string set;
  for (int c = 0; c <= 32; ++c) set.push_back(static_cast<char>(c));
  set += "\"#%<>[\\]^`{}~";
  for (int c = 127; c <= 255; ++c) set.push_back(static_cast<char>(c));
  return set;
}

const std::string& AddressChars() {
  static const std::string set = MakeAddressChars();
  return set;
}

const std::string& PathChars() {
  static const std::string set = AddressChars() + "?&";
  return set;
}

const std::string& NameChars() {
  static const std::string set = PathChars() + "/:|";
  return set;
}

std::mutex& SeparatorMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& SeparatorValue() {
  static std::string separator = ".";
  return separator;
}

std::string OpeningTag(std::string_view tag, std::string_view attrs) {
  std::string text = "<";
  text += tag;
  if (!attrs.empty()) {
    text += ' ';
    text += attrs;
  }
  text += '>';
  return text;
}

std::string Enclose(std::string_view tag, std::string_view text, std::string_view attrs) {
  std::string result = OpeningTag(tag, attrs);
  result += text;
  result += "</";
  result += tag;
  result += '>';
  return result;
}

void AppendColor(std::string& text, std::string_view name, TColor color) {
  if (IsDefaultColor(color)) return;
  text += ' ';
  text += name;
  text += "=\"";
  text += ColorToHTML(color);
  text += '"';
}

std::string StripTrailingSlashes(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '/' || text[end - 1] == '\\')) --end;
  return std::string(text.substr(0, end));
}

// The "C:" or "//server/share" part of a path whose "\" are already "/".
std::string DriveOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '/' && path[1] == '/') {
    std::size_t serverEnd = path.find('/', 2);
    if (serverEnd == std::string::npos) return path;
    std::size_t shareEnd = path.find('/', serverEnd + 1);
    return shareEnd == std::string::npos ? path : path.substr(0, shareEnd);
  }
  return {};
}

// Removes the first segment and the separators after it; returns the segment.
std::string TakeSegment(std::string& path) {
  std::size_t slash = path.find('/');
  std::string segment = path.substr(0, slash);
  if (slash == std::string::npos) {
    path.clear();
  } else {
    std::size_t next = path.find_first_not_of('/', slash);
    path.erase(0, next == std::string::npos ? path.size() : next);
  }
  return segment;
}

}  // namespace

std::string GeneratorLine() {
  std::string line = "<meta name=\"Thumbnail-Generator\" content=\"Zelvora ( ";
  line += kProductWebSite;
  line += " )\">";
  return line;
}

std::string CharsetLine() {
  return "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
}

std::string_view URLPathChars() { return PathChars(); }
std::string_view URLNameChars() { return NameChars(); }
std::string_view URLAddressChars() { return AddressChars(); }

namespace {

// The first segment of a URL: up to the first "/". A "?" or "#" may still
// be part of a name to be encoded; a "./" too many is harmless.
std::string_view FirstSegment(std::string_view url) {
  return url.substr(0, std::min(url.find('/'), url.size()));
}

}  // namespace

std::string KeepRelative(std::string url) {
  if (FirstSegment(url).find(':') == std::string_view::npos) return url;
  return "./" + url;
}

std::string ExpandLinkMask(std::string_view mask, const TFileNameParams& params) {
  std::string link = ExpandNameMask(mask, params);
  // The scheme is the user's when the mask's own text, before any field,
  // already holds the ":" of its first segment.
  const std::string_view literal = mask.substr(0, std::min(mask.find('%'), mask.size()));
  if (FirstSegment(literal).find(':') != std::string_view::npos) return link;
  return KeepRelative(std::move(link));
}

std::string HTMLEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '"': result += "&#34;"; break;
      case '&': result += "&#38;"; break;
      case '<': result += "&#60;"; break;
      case '>': result += "&#62;"; break;
      default: result += c;
    }
  }
  return result;
}

std::string URLEncode(std::string_view text, std::string_view set) {
  std::array<bool, 256> escaped{};
  for (char c : set) escaped[static_cast<unsigned char>(c)] = true;
  escaped['%'] = true;
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (escaped[byte]) {
      result += '%';
      result += kHexDigits[byte >> 4];
      result += kHexDigits[byte & 15];
    } else {
      result += c;
    }
  }
  return result;
}

// A URL's "%XX" is the same escape as the program's text files use.
std::optional<std::string> TryURLDecode(std::string_view text) { return UnescapeText(text); }

std::string URLDecode(std::string_view text) {
  std::optional<std::string> decoded = TryURLDecode(text);
  return decoded ? *decoded : std::string(text);
}

std::string PictureDisplayName(const TImageGalleryItem& entry) {
  std::string decoded = URLDecode(entry.ImageName);
  if (decoded.empty()) return entry.ImageName;
  if (decoded.find('%') != std::string::npos) {
    std::string twice = URLDecode(decoded);
    if (!twice.empty()) return twice;
  }
  return decoded;
}

std::string PictureAltAttribute(const TImageGalleryItem& entry) {
  // Names come from the file system and may hold quotes or markup.
  return "alt=\"" + HTMLEscape(PictureDisplayName(entry) + "  (" + FileSizeText(entry.FileSize) + ")") +
         "\"";
}

TFileNameParams NameMaskParamsOf(const TImageGalleryItem& entry, int number, PathStyle style) {
  TFileNameParams params;
  params.number = number;
  params.fileName = FileNameOf(entry.FileName, style);
  params.folder = FolderOf(entry.FileName, style);
  params.fileDate = entry.FileDate;
  return params;
}

std::string FileSizeDecimalSeparator() {
  std::lock_guard<std::mutex> lock(SeparatorMutex());
  return SeparatorValue();
}

void SetFileSizeDecimalSeparator(std::string_view separator) {
  std::lock_guard<std::mutex> lock(SeparatorMutex());
  SeparatorValue() = std::string(separator);
}

std::string FileSizeText(std::int64_t bytes) {
  if (bytes < 5120) return std::to_string(bytes) + " bytes";
  std::int64_t unit = bytes < 1048576 ? 1024 : 1048576;
  std::int64_t whole = bytes / unit;
  std::int64_t tenth = (bytes % unit) * 10 / unit;
  return std::to_string(whole) + FileSizeDecimalSeparator() + std::to_string(tenth) +
         (unit == 1024 ? " Kb" : " Mb");
}

int ThumbTableRows(const TGallerySet& options) {
  return std::max<std::int32_t>(options.ThumbTableRowCount, 1);
}

int ThumbTableColumns(const TGallerySet& options) {
  return std::max<std::int32_t>(options.ThumbTableColumnCount, 1);
}

int ThumbsPerPage(const TGallerySet& options) {
  return PicturesPerPage(ThumbTableRows(options), ThumbTableColumns(options));
}

std::string PageFileName(int n) { return "page" + std::to_string(n) + ".html"; }

std::string ImagePageFileName(const TImageGalleryItem& entry) {
  return "image" + std::to_string(entry.Number) + ".html";
}

std::string PictureURL(const TImageGalleryItem& entry, const TGallerySet& options,
                       PathStyle style) {
  std::string base = options.KeepLocationOfImages
                         ? RelativeFolderURL(options.OutputFolder,
                                             FilePathOf(entry.FileName, style), style)
                         : options.Image_URLPath;
  if (!base.empty()) base = StripTrailingSlashes(base) + "/";
  // A picture on another drive is reached through its file URL.
  if (base.starts_with("file:///")) return base + entry.ImageName;
  return KeepRelative(base + entry.ImageName);
}

std::string PictureLink(const TImageGalleryItem& entry, const TGallerySet& options,
                        PathStyle style) {
  if (IsWebCompatibleImage(URLDecode(entry.ImageName))) return ImagePageFileName(entry);
  return PictureURL(entry, options, style);
}

std::string RelativeFolderURL(std::string_view fromFolder, std::string_view toFolder,
                              PathStyle style) {
  std::string from(fromFolder);
  std::string to(toFolder);
  const bool windows = style == PathStyle::Windows;
  bool sameDrive = true;
  if (windows) {
    from = ReplaceChars(from, "\\", '/');
    to = ReplaceChars(to, "\\", '/');
    sameDrive = DriveOf(from) == DriveOf(to);
  }
  if (!sameDrive) {
    std::size_t colon = to.find(':');
    if (colon != std::string::npos) to = "file:///" + to.replace(colon, 1, "|");
  } else {
    if (windows) {
      std::size_t colon = from.find(':');
      if (colon != std::string::npos) from.erase(0, colon + 1);
      colon = to.find(':');
      if (colon != std::string::npos) to.erase(0, colon + 1);
    }
    from.erase(0, std::min(from.find_first_not_of('/'), from.size()));
    to.erase(0, std::min(to.find_first_not_of('/'), to.size()));
    while (!from.empty() && !to.empty()) {
      std::string a = from.substr(0, from.find('/'));
      std::string b = to.substr(0, to.find('/'));
      // POSIX file systems tell letter case apart, so must the URL.
      if (windows ? !SameText(a, b) : a != b) break;
      TakeSegment(from);
      TakeSegment(to);
    }
    std::string up;
    while (!from.empty()) {
      TakeSegment(from);
      up += "../";
    }
    to = up + to;
  }
  if (to.empty()) return {};
  std::size_t end = to.size();
  while (end > 0 && to[end - 1] == '/') --end;
  return to.substr(0, end) + "/";
}

std::string MakePage(std::string_view title, std::string_view body, const TGallerySet& options) {
  std::string page = "<html><head>\r\n";
  page += "  " + CharsetLine() + "\r\n";
  if (!title.empty()) {
    page += "  <title>";
    page += ToUtf8(title);
    page += "</title>\r\n";
  }
  page += "  " + GeneratorLine() + "\r\n";
  page += "</head>\r\n";
  page += "<body";
  AppendColor(page, "bgcolor", options.HTMLPage_BGColor);
  AppendColor(page, "text", options.HTMLPage_TextColor);
  AppendColor(page, "link", options.HTMLPage_LinkColor);
  AppendColor(page, "vlink", options.HTMLPage_VisitedLinkColor);
  AppendColor(page, "alink", options.HTMLPage_ActiveLinkColor);
  if (!IsBlank(options.HTMLPage_Background)) {
    page += " background=\"" +
            KeepRelative(URLEncode(options.HTMLPage_Background, URLPathChars())) + "\"";
  }
  page += ">\r\n";
  page += ToUtf8(body);
  page += "\r\n</body>\r\n</html>";
  return page;
}

std::string MakeCustomBlock(std::string_view text, bool asHTML, std::string_view font) {
  if (text.empty()) return {};
  if (asHTML) return std::string(text);
  std::string block = "&nbsp;<br><br>\r\n<center><h2><font face=\"";
  block += font;
  block += "\">";
  block += ReplaceAll(HTMLEscape(text), "\r\n", "<br>", true);
  block += "</font></h2></center>\r\n<br><br>";
  return block;
}

std::string MakeTitle(std::string_view text, std::string_view attrs) {
  return Enclose("title", text, attrs);
}

std::string MakeHead(std::string_view text, std::string_view attrs) {
  return Enclose("head", text, attrs);
}

std::string MakeHtml(std::string_view text, std::string_view attrs) {
  return Enclose("html", text, attrs);
}

std::string MakeBody(std::string_view text, std::string_view attrs) {
  return Enclose("body", text, attrs);
}

std::string MakeFrameset(std::string_view attrs, std::string_view frames,
                         std::string_view noframes) {
  std::string text = OpeningTag("frameset", attrs);
  text += frames;
  text += noframes;
  text += "</frameset>";
  return text;
}

std::string MakeFrame(std::string_view name, std::string_view target, std::string_view src,
                      std::string_view extra) {
  std::string text = "<frame";
  auto attribute = [&text](std::string_view key, std::string_view value) {
    if (value.empty()) return;
    text += ' ';
    text += key;
    text += "=\"";
    text += value;
    text += '"';
  };
  attribute("name", name);
  attribute("target", target);
  attribute("src", src);
  if (!extra.empty()) {
    text += ' ';
    text += extra;
  }
  text += '>';
  return text;
}

std::string MakeNoFrames(std::string_view text) { return Enclose("noframes", text, {}); }

}  // namespace zelvora
