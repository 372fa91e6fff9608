#include "settings/SettingsTable.h"

#include "util/PathUtils.h"

namespace zelvora {
namespace {

using K = TSettingKey;
using T = TSettingType;
using W = TSettingWritten;

TSettingDef Bool(const char* name, bool value, W written) {
  return {name, K::Options, T::Boolean, value ? 1 : 0, {}, {}, false, written};
}
TSettingDef Int(const char* name, std::int64_t value, W written) {
  return {name, K::Options, T::Integer, value, {}, {}, false, written};
}
TSettingDef Color(const char* name, std::int64_t value) {
  return {name, K::Options, T::Color, value, {}, {}, false, W::AtClose};
}
TSettingDef Text(const char* name, K key, const char* value, W written) {
  return {name, key, T::Text, 0, value, {}, false, written};
}
TSettingDef List(const char* name, TStringList value) {
  return {name, K::History, T::TextList, 0, {}, std::move(value), false, W::AtClose};
}

std::vector<TSettingDef> BuildTable() {
  std::vector<TSettingDef> table = {
      Bool("ClearImageListBeforeAutoFill", true, W::WhenClicked),
      Bool("AutoFillImageList", true, W::WhenClicked),
      Bool("ImagePreview", true, W::WhenClicked),
      Int("FolderHistoryLimit", 20, W::AtClose),
      Bool("ConvertWebIncompatibleImagesToJPEG", true, W::WhenClicked),
      Bool("KeepLocationOfImages", false, W::WhenClicked),
      Bool("AutoRenameSourceImages", false, W::WhenClicked),
      Bool("CopySourceImages", true, W::NeverReadBack),
      Color("HTMLPage_BGColor", 0xFFFFFF),
      Text("HTMLPage_Background", K::Options, "", W::WhenClicked),
      Color("HTMLPage_TextColor", 0x000000),
      Color("HTMLPage_LinkColor", 0xFF0000),
      Color("HTMLPage_ActiveLinkColor", 0x40E000),
      Color("HTMLPage_VisitedLinkColor", 0xFFB070),
      Color("HTMLPage_DisabledLinkColor", 0x20CCCCCC),
      Bool("Thumb_Frame", true, W::AtClose),
      Bool("Thumb_Shadow", true, W::AtClose),
      Int("Thumb_ShadowValue", 128, W::AtClose),
      Int("Thumb_JPEGQualityValue", 90, W::AtClose),
      Bool("Thumb_DescribeFileSize", false, W::AtClose),
      Bool("Thumb_DescribeFileName", false, W::AtClose),
      Bool("Thumb_DescribeFileDate", false, W::AtClose),
      Bool("Thumb_DescribeComment", false, W::AtClose),
      Bool("Thumb_DescribeDimensions", false, W::AtClose),
      Text("GalPage_DateFormat", K::Options, "d mmm yyyy", W::AtClose),
      Text("GalPage_TimeFormat", K::Options, "hh:nn:ss ampm", W::AtClose),
      Bool("Image_LimitWebPageImageSize", false, W::WhenClicked),
      Int("Image_MaxWidth", 640, W::WhenChanged),
      Int("Image_MaxHeight", 600, W::WhenChanged),
      Bool("Image_ResizeSrcImages", false, W::WhenClicked),
      Bool("GalPage_WithFrames", false, W::AtClose),
      Bool("GalPage_NavigTop", true, W::AtClose),
      Bool("GalPage_NavigBottom", true, W::AtClose),
      Text("GalPage_NavigHomeURL", K::Options, "index.html", W::AtClose),
      Text("DefLanguageFileName", K::Options, "", W::AfterLanguageLoad),

      Text("ImageSourceFolder", K::History, "", W::AtCloseIfExists),
      List("ImageSourceFolderList", {}),
      Text("OutputFolder", K::History, "", W::AtCloseIfExists),
      List("OutputFolderList", {}),
      Text("AutoRenMask", K::History, "img-%4c", W::AtClose),
      List("AutoRenMaskList", {"img-%4c", "%f-%n", "%f-%4c"}),
      List("NavigHomeURLList",
           {"<none>", "index.html", "page1.html", "/", "../", "http://www.example.com/"}),

      Text("CurrVersion", K::Base, "", W::AtFirstShow),
  };
  for (TSettingDef& def : table) {
    if (def.name == "ImageSourceFolder") def.programFolderDefault = true;
  }
  return table;
}

}  // namespace

const std::vector<TSettingDef>& SettingsTable() {
  static const std::vector<TSettingDef> table = BuildTable();
  return table;
}

const TSettingDef* FindSetting(std::string_view name) {
  for (const TSettingDef& def : SettingsTable()) {
    if (def.name == name) return &def;
  }
  return nullptr;
}

std::string_view SettingKeyPath(TSettingKey key) {
  switch (key) {
    case TSettingKey::Base:
      return kBaseKeyPath;
    case TSettingKey::Options:
      return kOptionsKeyPath;
    case TSettingKey::History:
      return kHistoryKeyPath;
  }
  return kOptionsKeyPath;
}

const std::vector<std::string_view>& StartupReadOrder() {
  static const std::vector<std::string_view> order = {
      "ClearImageListBeforeAutoFill", "AutoFillImageList", "ImagePreview",
      "FolderHistoryLimit", "ImageSourceFolder", "ImageSourceFolderList", "OutputFolder",
      "OutputFolderList", "ConvertWebIncompatibleImagesToJPEG", "KeepLocationOfImages",
      "AutoRenameSourceImages", "AutoRenMask", "AutoRenMaskList", "HTMLPage_BGColor",
      "HTMLPage_Background", "HTMLPage_TextColor", "HTMLPage_LinkColor",
      "HTMLPage_ActiveLinkColor", "HTMLPage_VisitedLinkColor", "HTMLPage_DisabledLinkColor",
      "Thumb_Frame", "Thumb_Shadow", "Thumb_ShadowValue", "Thumb_JPEGQualityValue",
      "Thumb_DescribeFileSize", "Thumb_DescribeFileName", "Thumb_DescribeFileDate",
      "Thumb_DescribeComment", "Thumb_DescribeDimensions", "GalPage_DateFormat",
      "GalPage_TimeFormat", "Image_LimitWebPageImageSize", "Image_MaxWidth", "Image_MaxHeight",
      "Image_ResizeSrcImages", "GalPage_WithFrames", "GalPage_NavigTop", "GalPage_NavigBottom",
      "GalPage_NavigHomeURL", "NavigHomeURLList",
  };
  return order;
}

const std::vector<std::string_view>& FirstShowReadOrder() {
  static const std::vector<std::string_view> order = {"DefLanguageFileName", "CurrVersion"};
  return order;
}

const std::vector<std::string_view>& CloseWriteOrder() {
  static const std::vector<std::string_view> order = {
      "HTMLPage_BGColor", "HTMLPage_TextColor", "HTMLPage_LinkColor",
      "HTMLPage_ActiveLinkColor", "HTMLPage_VisitedLinkColor", "HTMLPage_DisabledLinkColor",
      "Thumb_Frame", "Thumb_Shadow", "Thumb_ShadowValue", "Thumb_JPEGQualityValue",
      "Thumb_DescribeFileSize", "Thumb_DescribeFileName", "Thumb_DescribeFileDate",
      "Thumb_DescribeComment", "Thumb_DescribeDimensions", "GalPage_DateFormat",
      "GalPage_TimeFormat", "GalPage_WithFrames", "GalPage_NavigTop", "GalPage_NavigBottom",
      "GalPage_NavigHomeURL", "NavigHomeURLList", "ImageSourceFolder", "ImageSourceFolderList",
      "OutputFolder", "OutputFolderList", "FolderHistoryLimit", "AutoRenMask",
      "AutoRenMaskList",
  };
  return order;
}

TSettingValue DefaultSettingValue(const TSettingDef& def, std::string_view programFolder) {
  TSettingValue value;
  try {
    value.number = def.number;
    value.text = def.programFolderDefault ? NormalizeFolder(programFolder) : def.text;
    value.list = def.list;
  } catch (...) {
  }
  return value;
}

TSettingValue ReadSetting(TUsefulRegistry& store, const TSettingDef& def,
                          const TSettingValue& fallback) {
  TSettingValue value = fallback;
  try {
    std::string_view path = SettingKeyPath(def.key);
    switch (def.type) {
      case TSettingType::Boolean:
        value.number = store.ReadBool(path, def.name, fallback.number != 0) ? 1 : 0;
        break;
      case TSettingType::Integer:
        value.number = store.ReadInteger(path, def.name, static_cast<std::int32_t>(fallback.number));
        break;
      case TSettingType::Color:
        value.number = store.ReadColor(path, def.name, static_cast<TColor>(fallback.number));
        break;
      case TSettingType::Text:
        value.text = store.ReadString(path, def.name, fallback.text);
        break;
      case TSettingType::TextList: {
        TStringList list;
        if (store.ReadList(path, def.name, list, 1)) value.list = std::move(list);
        break;
      }
    }
  } catch (...) {
  }
  return value;
}

bool WriteSetting(TUsefulRegistry& store, const TSettingDef& def, const TSettingValue& value) {
  try {
    std::string_view path = SettingKeyPath(def.key);
    switch (def.type) {
      case TSettingType::Boolean:
        return store.WriteBool(path, def.name, value.number != 0);
      case TSettingType::Integer:
        return store.WriteInteger(path, def.name, static_cast<std::int32_t>(value.number));
      case TSettingType::Color:
        return store.WriteColor(path, def.name, static_cast<TColor>(value.number));
      case TSettingType::Text:
        return store.WriteString(path, def.name, value.text);
      case TSettingType::TextList:
        return store.WriteList(path, def.name, value.list, 1);
    }
  } catch (...) {
  }
  return false;
}

}  // namespace zelvora
