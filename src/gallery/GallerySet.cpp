#include "gallery/GallerySet.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <unordered_map>

#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/Rounding.h"

namespace zelvora {

namespace {

constexpr const char* kDefaultThumbPath = "thumbnails";
constexpr const char* kDefaultImagePath = "images";

// Walks the stored options in file order. Saving and loading share this one
// list, so the order and the keys cannot drift apart.
template <class Set, class Visitor>
bool VisitOptions(Set& s, Visitor& v) {
  return v.Text("Navig_HomeURL", s.Navig_HomeURL) && v.Bool("Navig_PageTop", s.Navig_PageTop) &&
         v.Bool("Navig_PageBottom", s.Navig_PageBottom) &&
         v.Bool("Framed_ThumbTablePage", s.Framed_ThumbTablePage) &&
         v.Bool("ConvertWebIncompatibleImagesToJPEG", s.ConvertWebIncompatibleImagesToJPEG) &&
         v.Bool("RenameImages", s.RenameImages) && v.Text("RenameImageMask", s.RenameImageMask) &&
         v.Bool("KeepLocationOfImages", s.KeepLocationOfImages) &&
         v.Int("ThumbTableRowCount", s.ThumbTableRowCount) &&
         v.Int("ThumbTableColumnCount", s.ThumbTableColumnCount) &&
         v.Choice("PageIndex_StyleOfLinksTitles", s.PageIndex_StyleOfLinksTitles, 2) &&
         v.Text("HTMLPage_Background", s.HTMLPage_Background) &&
         v.Color("HTMLPage_BGColor", s.HTMLPage_BGColor) &&
         v.Color("HTMLPage_TextColor", s.HTMLPage_TextColor) &&
         v.Color("HTMLPage_LinkColor", s.HTMLPage_LinkColor) &&
         v.Color("HTMLPage_VisitedLinkColor", s.HTMLPage_VisitedLinkColor) &&
         v.Color("HTMLPage_ActiveLinkColor", s.HTMLPage_ActiveLinkColor) &&
         v.Color("HTMLPage_DisabledLinkColor", s.HTMLPage_DisabledLinkColor) &&
         v.Text("HTMLPage_Font", s.HTMLPage_Font) &&
         v.Text("DefaultTemplate_ID", s.DefaultTemplate_ID) &&
         v.Text("Thumb_LinkMask", s.Thumb_LinkMask) && v.Text("Image_LinkMask", s.Image_LinkMask) &&
         v.URLPath("Thumb_URLPath", s.Thumb_URLPath, kDefaultThumbPath) &&
         v.URLPath("Image_URLPath", s.Image_URLPath, kDefaultImagePath) &&
         v.Bool("Thumb_Effects_ContrastFrame", s.Thumb_Effects_ContrastFrame) &&
         v.Bool("Thumb_Effects_Shadow", s.Thumb_Effects_Shadow) &&
         v.Int("Thumb_Effects_ShadowDensity", s.Thumb_Effects_ShadowDensity) &&
         v.Int("Thumb_MaxWidth", s.Thumb_MaxWidth) && v.Int("Thumb_MaxHeight", s.Thumb_MaxHeight) &&
         v.Int("Thumb_JPEGQuality", s.Thumb_JPEGQuality) &&
         v.Bool("Thumb_JPEGProgressive", s.Thumb_JPEGProgressive) &&
         v.Description("Thumb_Description_", s.Thumb_Description) &&
         v.Int("Image_JPEGQuality", s.Image_JPEGQuality) &&
         v.Bool("Image_JPEGProgressive", s.Image_JPEGProgressive) &&
         v.Bool("Image_LimitWebPageImageSize", s.Image_LimitWebPageImageSize) &&
         v.Bool("Image_ResizeSrcImages", s.Image_ResizeSrcImages) &&
         v.Int("Image_MaxWidth", s.Image_MaxWidth) && v.Int("Image_MaxHeight", s.Image_MaxHeight) &&
         v.Description("Image_Description_", s.Image_Description) &&
         v.Escaped("CustomPageTitle", s.CustomPageTitle) &&
         v.Escaped("CustomPageHeader", s.CustomPageHeader) &&
         v.Bool("CustomPageHeaderAsHTMLCode", s.CustomPageHeaderAsHTMLCode) &&
         v.Escaped("CustomPageFooter", s.CustomPageFooter) &&
         v.Bool("CustomPageFooterAsHTMLCode", s.CustomPageFooterAsHTMLCode);
}

// The show flags in the order their lines are written and read.
struct TFlagKey {
  const char* name;
  std::uint8_t flag;
};
constexpr TFlagKey kFlagKeys[] = {
    {"Show_ImageName", Show_ImageName},   {"Show_ImageComment", Show_ImageComment},
    {"Show_FileSize", Show_FileSize},     {"Show_FileTime", Show_FileTime},
    {"Show_ImageSides", Show_ImageSides},
};

const char* YesNo(bool value) { return value ? "yes" : "no"; }

class TOptionWriter {
 public:
  explicit TOptionWriter(TStringList& lines) : lines_(lines) {}

  bool Text(std::string_view key, const std::string& value) { return Add(key, value); }
  bool Bool(std::string_view key, bool value) { return Add(key, YesNo(value)); }
  bool Int(std::string_view key, std::int32_t value) { return Add(key, std::to_string(value)); }
  bool Choice(std::string_view key, std::int32_t value, std::int32_t) { return Int(key, value); }
  bool Color(std::string_view key, TColor value) { return Add(key, ColorToHTML(ColorRGB(value))); }
  bool URLPath(std::string_view key, const std::string& value, const char*) {
    return Add(key, value);
  }
  bool Escaped(std::string_view key, const std::string& value) {
    return Add(key, EscapeText(value));
  }
  // ShowDescription has no line of its own: readers derive it from the flags.
  bool Description(std::string_view prefix, const TDescriptionOptions& d) {
    Add(std::string(prefix) + "HideFileNameExtension", YesNo(d.HideFileNameExtension));
    for (const TFlagKey& k : kFlagKeys) Add(std::string(prefix) + k.name, YesNo(d.Has(k.flag)));
    return true;
  }

 private:
  bool Add(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    lines_.push_back(std::move(line));
    return true;
  }

  TStringList& lines_;
};

class TOptionReader {
 public:
  explicit TOptionReader(const TStringList& lines) {
    for (const std::string& entry : lines) {
      // A caller may hand over unsplit text; a line break inside an entry
      // still ends a line.
      if (entry.find_first_of("\r\n") == std::string::npos) {
        AddLine(entry);
      } else {
        for (const std::string& line : SplitLines(entry)) AddLine(line);
      }
    }
  }

  bool Text(std::string_view key, std::string& value) {
    if (const std::string* found = Find(key)) value = *found;
    return true;
  }
  bool Bool(std::string_view key, bool& value) {
    const std::string* found = Find(key);
    if (found && !found->empty()) value = ParseBool(*found);
    return true;
  }
  bool Int(std::string_view key, std::int32_t& value) {
    if (const std::string* found = Find(key)) {
      if (std::optional<std::int32_t> parsed = ParseInt(*found)) value = *parsed;
    }
    return true;
  }
  // An integer choice 0..maximum; anything else, present or not, gives 0.
  bool Choice(std::string_view key, std::int32_t& value, std::int32_t maximum) {
    value = 0;
    if (const std::string* found = Find(key)) {
      std::optional<std::int32_t> parsed = ParseInt(*found);
      if (parsed && *parsed >= 0 && *parsed <= maximum) value = *parsed;
    }
    return true;
  }
  // HTMLToColor gives the current value back untouched when the text holds
  // no colour, so a missing key keeps the Default mark; a parsed colour is
  // plain 24-bit RGB.
  bool Color(std::string_view key, TColor& value) {
    if (const std::string* found = Find(key)) value = HTMLToColor(*found, value);
    return true;
  }
  bool URLPath(std::string_view key, std::string& value, const char* defaultPath) {
    const std::string* found = Find(key);
    value = NormalizeURLPath(found ? std::string_view(*found) : std::string_view(defaultPath));
    return true;
  }
  bool Escaped(std::string_view key, std::string& value) {
    value.clear();
    const std::string* found = Find(key);
    if (!found) return true;
    std::optional<std::string> plain = UnescapeText(*found);
    if (!plain) return false;
    value = std::move(*plain);
    return true;
  }
  bool Description(std::string_view prefix, TDescriptionOptions& d) {
    const std::string p(prefix);
    Bool(p + "HideFileNameExtension", d.HideFileNameExtension);
    for (const TFlagKey& k : kFlagKeys) {
      bool on = false;
      Bool(p + k.name, on);
      if (on) d.Set(k.flag, true);
    }
    Bool(p + "ShowDescription", d.ShowDescription);
    d.ShowDescription = d.ShowDescription && d.ShowFlags != 0;
    return true;
  }

 private:
  void AddLine(const std::string& line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return;
    // emplace keeps the first line of a key.
    values_.emplace(LowerCase(std::string_view(line).substr(0, eq)),
                    Trim(std::string_view(line).substr(eq + 1)));
  }

  const std::string* Find(std::string_view key) const {
    auto it = values_.find(LowerCase(key));
    return it == values_.end() ? nullptr : &it->second;
  }

  std::unordered_map<std::string, std::string> values_;
};

// HSL is packed as 0xSSLLHH00.
int SaturationByte(std::uint32_t hsl) { return static_cast<int>((hsl >> 24) & 255); }
int LightnessByte(std::uint32_t hsl) { return static_cast<int>((hsl >> 16) & 255); }
std::uint32_t WithSaturationAndLightness(std::uint32_t hsl, int s, int l) {
  s = std::clamp(s, 0, 255);
  l = std::clamp(l, 0, 255);
  return (hsl & 0x0000FFFFu) | (static_cast<std::uint32_t>(s) << 24) |
         (static_cast<std::uint32_t>(l) << 16);
}

}  // namespace

namespace {

using T = TOptionType;

constexpr TOptionKeyInfo kOptionKeys[] = {
    {"Navig_HomeURL", T::Text, 0, 0, "", "target of the \"Home\" navigation link; empty: no such link"},
    {"Navig_PageTop", T::Bool, 0, 0, "yes", "navigation bar above the thumbnail table"},
    {"Navig_PageBottom", T::Bool, 0, 0, "yes", "navigation bar below the thumbnail table"},
    {"Framed_ThumbTablePage", T::Bool, 0, 0, "no",
     "a frameset with the page index in a frame beside the thumbnail pages"},
    {"ConvertWebIncompatibleImagesToJPEG", T::Bool, 0, 0, "yes",
     "copy pictures browsers cannot show (BMP, ICO) as JPEG files"},
    {"RenameImages", T::Bool, 0, 0, "no", "rename the copied pictures by RenameImageMask"},
    {"RenameImageMask", T::Text, 0, 0, "img-%4c",
     "mask of the new picture names: %4c number, %n name, %e extension, %d date, %t time, %f folder"},
    {"KeepLocationOfImages", T::Bool, 0, 0, "no",
     "link to the pictures where they are instead of copying them"},
    {"ThumbTableRowCount", T::Int, 1, 100000, "5", "thumbnail rows per page"},
    {"ThumbTableColumnCount", T::Int, 1, 100000, "4", "thumbnail columns per page"},
    {"PageIndex_StyleOfLinksTitles", T::Int, 0, 2, "0",
     "page index links: 0 word and number, 1 number only, 2 folder of the page's first picture"},
    {"HTMLPage_Background", T::Text, 0, 0, "",
     "page background picture, relative to the options file (the run copies it)"},
    {"HTMLPage_BGColor", T::Color, 0, 0, "#FFFFFF", "page background colour"},
    {"HTMLPage_TextColor", T::Color, 0, 0, "#000000", "text colour"},
    {"HTMLPage_LinkColor", T::Color, 0, 0, "#0000FF", "link colour"},
    {"HTMLPage_VisitedLinkColor", T::Color, 0, 0, "#70B0FF", "visited link colour"},
    {"HTMLPage_ActiveLinkColor", T::Color, 0, 0, "#00E040", "active link colour"},
    {"HTMLPage_DisabledLinkColor", T::Color, 0, 0, "(from the background)",
     "colour of navigation entries that lead nowhere; unset, derived from the background"},
    {"HTMLPage_Font", T::Text, 0, 0, "Verdana, sans-serif", "font faces of the pages"},
    {"DefaultTemplate_ID", T::Text, 0, 0, "", "template name; kept, used nowhere"},
    {"Thumb_LinkMask", T::Text, 0, 0, "",
     "when set, the mask that makes each thumbnail's link target"},
    {"Image_LinkMask", T::Text, 0, 0, "",
     "when set, the mask that makes the link target of the picture pages"},
    {"Thumb_URLPath", T::URLPath, 0, 0, "thumbnails/",
     "folder of the thumbnails inside the gallery; empty: the gallery folder"},
    {"Image_URLPath", T::URLPath, 0, 0, "images/",
     "folder of the copied pictures inside the gallery; empty: the gallery folder"},
    {"Thumb_Effects_ContrastFrame", T::Bool, 0, 0, "yes", "black frame round each thumbnail"},
    {"Thumb_Effects_Shadow", T::Bool, 0, 0, "yes", "drop shadow behind each thumbnail"},
    {"Thumb_Effects_ShadowDensity", T::Int, 0, 255, "128", "darkness of the shadow"},
    {"Thumb_MaxWidth", T::Int, 0, 10000, "100", "largest thumbnail width in pixels"},
    {"Thumb_MaxHeight", T::Int, 0, 10000, "100", "largest thumbnail height in pixels"},
    {"Thumb_JPEGQuality", T::Int, 1, 100, "90", "JPEG quality of the thumbnails"},
    {"Thumb_JPEGProgressive", T::Bool, 0, 0, "yes",
     "kept and written back; thumbnails are always progressive"},
    {"Thumb_Description_HideFileNameExtension", T::Bool, 0, 0, "yes",
     "picture names under thumbnails without their extension"},
    {"Thumb_Description_Show_ImageName", T::Bool, 0, 0, "no", "picture name under each thumbnail"},
    {"Thumb_Description_Show_ImageComment", T::Bool, 0, 0, "no", "comment under each thumbnail"},
    {"Thumb_Description_Show_FileSize", T::Bool, 0, 0, "no", "file size under each thumbnail"},
    {"Thumb_Description_Show_FileTime", T::Bool, 0, 0, "no",
     "file date and time under each thumbnail"},
    {"Thumb_Description_Show_ImageSides", T::Bool, 0, 0, "no",
     "width and height under each thumbnail"},
    {"Image_JPEGQuality", T::Int, 1, 100, "100", "JPEG quality of converted or reduced pictures"},
    {"Image_JPEGProgressive", T::Bool, 0, 0, "yes",
     "kept and written back; converted pictures are always progressive"},
    {"Image_LimitWebPageImageSize", T::Bool, 0, 0, "no",
     "show large pictures on their pages scaled into Image_MaxWidth x Image_MaxHeight"},
    {"Image_ResizeSrcImages", T::Bool, 0, 0, "no", "also write the copies at that reduced size"},
    {"Image_MaxWidth", T::Int, 0, 10000, "0", "width limit for large pictures"},
    {"Image_MaxHeight", T::Int, 0, 10000, "0", "height limit for large pictures"},
    {"Image_Description_HideFileNameExtension", T::Bool, 0, 0, "no", "kept and written back"},
    {"Image_Description_Show_ImageName", T::Bool, 0, 0, "no", "kept and written back"},
    {"Image_Description_Show_ImageComment", T::Bool, 0, 0, "no", "kept and written back"},
    {"Image_Description_Show_FileSize", T::Bool, 0, 0, "no", "kept and written back"},
    {"Image_Description_Show_FileTime", T::Bool, 0, 0, "no", "kept and written back"},
    {"Image_Description_Show_ImageSides", T::Bool, 0, 0, "no", "kept and written back"},
    {"CustomPageTitle", T::EscapedText, 0, 0, "", "title added to every page's title"},
    {"CustomPageHeader", T::EscapedText, 0, 0, "", "header text of every page"},
    {"CustomPageHeaderAsHTMLCode", T::Bool, 0, 0, "no",
     "the header is HTML and goes in as it stands"},
    {"CustomPageFooter", T::EscapedText, 0, 0, "", "footer text of every page"},
    {"CustomPageFooterAsHTMLCode", T::Bool, 0, 0, "no",
     "the footer is HTML and goes in as it stands"},
};
static_assert(std::size(kOptionKeys) == TGallerySet::kStoredLineCount);

}  // namespace

std::span<const TOptionKeyInfo> OptionKeyTable() { return kOptionKeys; }

std::string NormalizeURLPath(std::string_view path) {
  std::size_t end = path.size();
  while (end > 0 && (path[end - 1] == '/' || path[end - 1] == '\\')) --end;
  if (end == 0) return {};
  std::string result(path.substr(0, end));
  result += '/';
  return result;
}

void TGallerySet::Reset() {
  Navig_HomeURL.clear();
  Navig_PageTop = true;
  Navig_PageBottom = true;
  Framed_ThumbTablePage = false;
  ConvertWebIncompatibleImagesToJPEG = true;
  RenameImages = false;
  RenameImageMask = "img-%4c";
  KeepLocationOfImages = false;
  ThumbTableRowCount = 5;
  ThumbTableColumnCount = 4;
  PageIndex_StyleOfLinksTitles = 0;
  HTMLPage_Background.clear();
  HTMLPage_BGColor = MakeColor(0xFF, 0xFF, 0xFF);
  HTMLPage_TextColor = MakeColor(0x00, 0x00, 0x00);
  HTMLPage_LinkColor = MakeColor(0x00, 0x00, 0xFF);
  HTMLPage_VisitedLinkColor = MakeColor(0x70, 0xB0, 0xFF);
  HTMLPage_ActiveLinkColor = MakeColor(0x00, 0xE0, 0x40);
  HTMLPage_DisabledLinkColor = WithDefaultMark(MakeColor(0xCC, 0xCC, 0xCC));
  HTMLPage_Font = "Verdana, sans-serif";
  DefaultTemplate_ID.clear();
  Thumb_LinkMask.clear();
  Image_LinkMask.clear();
  Thumb_URLPath = NormalizeURLPath(kDefaultThumbPath);
  Image_URLPath = NormalizeURLPath(kDefaultImagePath);
  Thumb_Effects_ContrastFrame = true;
  Thumb_Effects_Shadow = true;
  Thumb_Effects_ShadowDensity = 128;
  Thumb_MaxWidth = 100;
  Thumb_MaxHeight = 100;
  Thumb_JPEGQuality = 90;
  Thumb_JPEGProgressive = true;
  Thumb_Description = TDescriptionOptions{true, 0, true};
  Image_JPEGQuality = 100;
  Image_JPEGProgressive = true;
  Image_LimitWebPageImageSize = false;
  Image_ResizeSrcImages = false;
  Image_MaxWidth = 0;
  Image_MaxHeight = 0;
  Image_Description = TDescriptionOptions{false, 0, false};
  CustomPageTitle.clear();
  CustomPageHeader.clear();
  CustomPageHeaderAsHTMLCode = false;
  CustomPageFooter.clear();
  CustomPageFooterAsHTMLCode = false;
}

bool TGallerySet::SaveToStrings(TStringList& lines) const {
  try {
    lines.clear();
    lines.reserve(kStoredLineCount);
    TOptionWriter writer(lines);
    return VisitOptions(*this, writer);
  } catch (const std::exception&) {
    return false;
  }
}

bool TGallerySet::SaveToText(std::string& text) const {
  try {
    TStringList lines;
    if (!SaveToStrings(lines)) return false;
    text = JoinLinesCRLF(lines);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TGallerySet::SaveToFile(std::string_view path) const {
  try {
    if (path.empty()) return false;
    std::string text;
    if (!SaveToText(text)) return false;
    const std::string folder = FolderOf(path);
    if (!folder.empty() && !ForceFolders(folder)) return false;
    return WriteFileAtomically(path, text);
  } catch (const std::exception&) {
    return false;
  }
}

bool TGallerySet::LoadFromStrings(const TStringList& lines, std::string_view folder) {
  try {
    Reset();
    // Without a folder there is nothing to resolve against; a lone separator
    // would send a relative background to the file-system root.
    OptionsFolder = folder.empty() ? std::string() : IncludeTrailingBackslash(folder);
    TOptionReader reader(lines);
    return VisitOptions(*this, reader);
  } catch (const std::exception&) {
    return false;
  }
}

bool TGallerySet::LoadFromFile(std::string_view path) {
  try {
    if (path.empty() || !FileExists(path)) return false;
    std::optional<std::string> text = ReadTextFile(path);
    if (!text) return false;
    return LoadFromStrings(SplitLines(*text), FilePathOf(path));
  } catch (const std::exception&) {
    return false;
  }
}

TColor TGallerySet::GetDisabledLinkColor() const {
  if (!IsDefaultColor(HTMLPage_DisabledLinkColor)) return HTMLPage_DisabledLinkColor;
  const std::uint32_t hsl = ColorToHSL(ColorRGB(HTMLPage_BGColor));
  const int l = LightnessByte(hsl);
  const int lightness =
      static_cast<int>(l > 128 ? RoundHalfAway(l * 0.75) : RoundHalfAway(l * 1.25));
  return HSLToColor(WithSaturationAndLightness(hsl, SaturationByte(hsl) / 3, lightness));
}

TColor TGallerySet::GetShadowColor() const {
  // A density from a file is not range-checked; outside 0..255 it would
  // push the lightness out of its byte.
  const int density = std::clamp<std::int32_t>(Thumb_Effects_ShadowDensity, 0, 255);
  const std::uint32_t hsl = ColorToHSL(ColorRGB(HTMLPage_BGColor));
  const int lightness =
      static_cast<int>(RoundHalfAway(LightnessByte(hsl) / 255.0 * (255 - density)));
  return HSLToColor(WithSaturationAndLightness(hsl, SaturationByte(hsl) / 3, lightness));
}

bool LoadStartupOptions(TGallerySet& options, std::string_view templatesFolder) {
  bool loaded = false;
  for (std::string_view name : kStartupOptionFiles) {
    const std::string path =
        templatesFolder.empty() ? std::string(name) : JoinPath(templatesFolder, name);
    if (options.LoadFromFile(path)) loaded = true;
  }
  return loaded;
}

}  // namespace zelvora
