#pragma once
// The gallery option set: every choice that shapes a generated gallery, and
// its text form, the gallery options file (one "Key=value" line per option).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "imaging/Colors.h"
#include "util/TextUtils.h"

namespace zelvora {

// Show flags of a description record, one bit each.
inline constexpr std::uint8_t Show_ImageComment = 1 << 0;
inline constexpr std::uint8_t Show_ImageName = 1 << 1;
inline constexpr std::uint8_t Show_FileSize = 1 << 2;
inline constexpr std::uint8_t Show_FileTime = 1 << 3;
inline constexpr std::uint8_t Show_ImageSides = 1 << 4;
inline constexpr std::uint8_t kAllShowFlags = 0x1F;

// What is printed under a thumbnail.
struct TDescriptionOptions {
  bool ShowDescription = false;
  std::uint8_t ShowFlags = 0;
  bool HideFileNameExtension = false;

  bool Has(std::uint8_t flag) const { return (ShowFlags & flag) != 0; }
  void Set(std::uint8_t flag, bool on) {
    ShowFlags = static_cast<std::uint8_t>(on ? (ShowFlags | flag) : (ShowFlags & ~flag));
  }

  friend bool operator==(const TDescriptionOptions&, const TDescriptionOptions&) = default;
};

class TGallerySet {
 public:
  // The number of lines SaveToStrings writes.
  static constexpr int kStoredLineCount = 54;

  TGallerySet() { Reset(); }

  // Every stored option to its default; the run-time folders stay.
  void Reset();

  // Clears lines and appends the option lines in their fixed order.
  bool SaveToStrings(TStringList& lines) const;
  // The option lines, each followed by CR LF.
  bool SaveToText(std::string& text) const;
  // Creates the folder of path with its parents, then replaces the file
  // atomically: a failed save leaves the previous file whole.
  bool SaveToFile(std::string_view path) const;

  // Resets, sets OptionsFolder from folder, then reads every option. False
  // when a custom text holds a malformed "%" escape; the options read
  // before it stay, the rest keep their defaults.
  bool LoadFromStrings(const TStringList& lines, std::string_view folder);
  // False, and nothing changed, when the file does not exist or cannot be
  // read; otherwise LoadFromStrings with the file's folder.
  bool LoadFromFile(std::string_view path);

  // The stored colour, or with the Default mark one derived from the
  // background (lighter on dark, darker on light, less saturated).
  TColor GetDisabledLinkColor() const;
  // The background darkened by Thumb_Effects_ShadowDensity.
  TColor GetShadowColor() const;

  // Run-time fields, never written to the options file.
  std::string SourceFolder;
  bool IncludeSubfolders = false;
  std::string OutputFolder;
  std::string ThumbFolder;
  std::string ImageFolder;
  // Folder of the options file last loaded, with one trailing native
  // separator (empty when loaded from lines without a folder).
  std::string OptionsFolder;

  // Stored options, in file order.
  std::string Navig_HomeURL;
  bool Navig_PageTop = true;
  bool Navig_PageBottom = true;
  bool Framed_ThumbTablePage = false;
  bool ConvertWebIncompatibleImagesToJPEG = true;
  bool RenameImages = false;
  std::string RenameImageMask;
  bool KeepLocationOfImages = false;
  std::int32_t ThumbTableRowCount = 5;
  std::int32_t ThumbTableColumnCount = 4;
  std::int32_t PageIndex_StyleOfLinksTitles = 0;
  std::string HTMLPage_Background;
  TColor HTMLPage_BGColor = 0;
  TColor HTMLPage_TextColor = 0;
  TColor HTMLPage_LinkColor = 0;
  TColor HTMLPage_VisitedLinkColor = 0;
  TColor HTMLPage_ActiveLinkColor = 0;
  TColor HTMLPage_DisabledLinkColor = 0;
  std::string HTMLPage_Font;
  std::string DefaultTemplate_ID;
  std::string Thumb_LinkMask;
  std::string Image_LinkMask;
  // Held with one trailing "/" when not empty; empty means the gallery folder.
  std::string Thumb_URLPath;
  std::string Image_URLPath;
  bool Thumb_Effects_ContrastFrame = true;
  bool Thumb_Effects_Shadow = true;
  std::int32_t Thumb_Effects_ShadowDensity = 128;
  std::int32_t Thumb_MaxWidth = 100;
  std::int32_t Thumb_MaxHeight = 100;
  std::int32_t Thumb_JPEGQuality = 90;
  bool Thumb_JPEGProgressive = true;
  TDescriptionOptions Thumb_Description;
  std::int32_t Image_JPEGQuality = 100;
  bool Image_JPEGProgressive = true;
  bool Image_LimitWebPageImageSize = false;
  bool Image_ResizeSrcImages = false;
  std::int32_t Image_MaxWidth = 0;
  std::int32_t Image_MaxHeight = 0;
  TDescriptionOptions Image_Description;
  std::string CustomPageTitle;
  std::string CustomPageHeader;
  bool CustomPageHeaderAsHTMLCode = false;
  std::string CustomPageFooter;
  bool CustomPageFooterAsHTMLCode = false;
};

// The kinds of value a line of the options file holds.
enum class TOptionType {
  Text,         // as it stands
  Bool,         // "yes"/"true"/"1" read as yes, anything else as no
  Int,          // a decimal whole number
  Color,        // "#RRGGBB" (the "#" may be left out)
  URLPath,      // a folder inside the gallery, held with one trailing "/"
  EscapedText,  // text in which "%" and two hex digits stand for a byte
};

// One line of the options file, for those who write the file by hand.
struct TOptionKeyInfo {
  std::string_view Key;
  TOptionType Type;
  // For Int: the values the wizard's controls allow. The reader itself
  // checks only PageIndex_StyleOfLinksTitles and takes the others as written.
  std::int32_t Min = 0, Max = 0;
  // The value a reset set writes; text in parentheses says why there is none.
  std::string_view Default;
  std::string_view Meaning;  // one line
};

// Every line SaveToStrings writes, in the same order.
std::span<const TOptionKeyInfo> OptionKeyTable();

// A URL folder as the option set holds it: trailing "/" and "\" removed and,
// when anything is left, one "/" appended.
std::string NormalizeURLPath(std::string_view path);

// The start-up option files of the Templates folder, loaded in this order;
// each successful load resets first, so the last existing one decides.
inline constexpr std::string_view kStartupOptionFiles[] = {"template.ini", "options.txt",
                                                           "test.txt"};
// Loads every existing start-up option file from templatesFolder into
// options. True when at least one was loaded.
bool LoadStartupOptions(TGallerySet& options, std::string_view templatesFolder);

}  // namespace zelvora
