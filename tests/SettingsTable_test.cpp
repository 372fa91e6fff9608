#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <set>

#include "support/TestSupport.h"

namespace zelvora {
namespace {

struct TExpected {
  const char* name;
  TSettingKey key;
  TSettingType type;
  std::int64_t number;
  const char* text;
};

TEST(SettingsTableTest, EveryNameKeyTypeAndDefault) {
  const auto O = TSettingKey::Options, H = TSettingKey::History, Base = TSettingKey::Base;
  const auto B = TSettingType::Boolean, I = TSettingType::Integer, C = TSettingType::Color,
             T = TSettingType::Text, L = TSettingType::TextList;
  const TExpected expected[] = {
      {"ClearImageListBeforeAutoFill", O, B, 1, ""}, {"AutoFillImageList", O, B, 1, ""},
      {"ImagePreview", O, B, 1, ""}, {"FolderHistoryLimit", O, I, 20, ""},
      {"ConvertWebIncompatibleImagesToJPEG", O, B, 1, ""}, {"KeepLocationOfImages", O, B, 0, ""},
      {"AutoRenameSourceImages", O, B, 0, ""}, {"CopySourceImages", O, B, 1, ""},
      {"HTMLPage_BGColor", O, C, 0xFFFFFF, ""}, {"HTMLPage_Background", O, T, 0, ""},
      {"HTMLPage_TextColor", O, C, 0, ""}, {"HTMLPage_LinkColor", O, C, 0xFF0000, ""},
      {"HTMLPage_ActiveLinkColor", O, C, 0x40E000, ""},
      {"HTMLPage_VisitedLinkColor", O, C, 0xFFB070, ""},
      {"HTMLPage_DisabledLinkColor", O, C, 0x20CCCCCC, ""}, {"Thumb_Frame", O, B, 1, ""},
      {"Thumb_Shadow", O, B, 1, ""}, {"Thumb_ShadowValue", O, I, 128, ""},
      {"Thumb_JPEGQualityValue", O, I, 90, ""}, {"Thumb_DescribeFileSize", O, B, 0, ""},
      {"Thumb_DescribeFileName", O, B, 0, ""}, {"Thumb_DescribeFileDate", O, B, 0, ""},
      {"Thumb_DescribeComment", O, B, 0, ""}, {"Thumb_DescribeDimensions", O, B, 0, ""},
      {"GalPage_DateFormat", O, T, 0, "d mmm yyyy"},
      {"GalPage_TimeFormat", O, T, 0, "hh:nn:ss ampm"},
      {"Image_LimitWebPageImageSize", O, B, 0, ""}, {"Image_MaxWidth", O, I, 640, ""},
      {"Image_MaxHeight", O, I, 600, ""}, {"Image_ResizeSrcImages", O, B, 0, ""},
      {"GalPage_WithFrames", O, B, 0, ""}, {"GalPage_NavigTop", O, B, 1, ""},
      {"GalPage_NavigBottom", O, B, 1, ""}, {"GalPage_NavigHomeURL", O, T, 0, "index.html"},
      {"DefLanguageFileName", O, T, 0, ""}, {"ImageSourceFolder", H, T, 0, "/opt/zelvora"},
      {"ImageSourceFolderList", H, L, 0, ""}, {"OutputFolder", H, T, 0, ""},
      {"OutputFolderList", H, L, 0, ""}, {"AutoRenMask", H, T, 0, "img-%4c"},
      {"AutoRenMaskList", H, L, 0, ""}, {"NavigHomeURLList", H, L, 0, ""},
      {"CurrVersion", Base, T, 0, ""},
  };
  const auto& table = SettingsTable();
  ASSERT_EQ(table.size(), std::size(expected));
  for (std::size_t i = 0; i < table.size(); ++i) {
    const TSettingDef& def = table[i];
    SCOPED_TRACE(def.name);
    EXPECT_EQ(def.name, expected[i].name);
    EXPECT_EQ(def.key, expected[i].key);
    EXPECT_EQ(def.type, expected[i].type);
    TSettingValue value = DefaultSettingValue(def, "/opt/zelvora/");
    EXPECT_EQ(value.number, expected[i].number);
    EXPECT_EQ(value.text, expected[i].text);
  }
  EXPECT_EQ(FindSetting("AutoRenMaskList")->list, (TStringList{"img-%4c", "%f-%n", "%f-%4c"}));
  EXPECT_EQ(FindSetting("NavigHomeURLList")->list,
            (TStringList{"<none>", "index.html", "page1.html", "/", "../",
                         "http://www.example.com/"}));
  EXPECT_TRUE(FindSetting("ImageSourceFolderList")->list.empty());
  EXPECT_EQ(FindSetting(kObsoleteIncludeSubfoldersSetting), nullptr);
  EXPECT_EQ(SettingKeyPath(H), "Software\\Brennvik Software\\Zelvora\\History");
}

TEST(SettingsTableTest, OrdersNameOnlySettingsOfTheTableAndEachOnce) {
  for (const auto* order : {&StartupReadOrder(), &FirstShowReadOrder(), &CloseWriteOrder()}) {
    std::set<std::string_view> seen;
    for (std::string_view name : *order) {
      EXPECT_NE(FindSetting(name), nullptr) << name;
      EXPECT_TRUE(seen.insert(name).second) << name;
    }
  }
  // What is written when its control changes is not written again at close.
  for (std::string_view name : CloseWriteOrder()) {
    auto written = FindSetting(name)->written;
    EXPECT_TRUE(written == TSettingWritten::AtClose ||
                written == TSettingWritten::AtCloseIfExists)
        << name;
  }
}

TEST(SettingsTableTest, ListFallsBackToBuiltInItemsUntilItsFirstEntryExists) {
  test::TempDir dir;
  TUsefulRegistry store(dir.File("settings.json"));
  const TSettingDef& masks = *FindSetting("AutoRenMaskList");
  const TSettingValue builtIn = DefaultSettingValue(masks);
  store.WriteString(kHistoryKeyPath, "AutoRenMaskList2", "orphan");
  EXPECT_EQ(ReadSetting(store, masks, builtIn).list, builtIn.list);
  store.DeleteValue(kHistoryKeyPath, "AutoRenMaskList2");
  ASSERT_TRUE(WriteSetting(store, masks, {0, {}, {"a-%n"}}));
  EXPECT_EQ(ReadSetting(store, masks, builtIn).list, (TStringList{"a-%n"}));
}

}  // namespace
}  // namespace zelvora
