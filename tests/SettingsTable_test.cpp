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
  using K = TSettingKey;
  using T = TSettingType;
  const TExpected expected[] = {
      {"ClearImageListBeforeAutoFill", K::Options, T::Boolean, 1, ""},
      {"AutoFillImageList", K::Options, T::Boolean, 1, ""},
      {"ImagePreview", K::Options, T::Boolean, 1, ""},
      {"FolderHistoryLimit", K::Options, T::Integer, 20, ""},
      {"ConvertWebIncompatibleImagesToJPEG", K::Options, T::Boolean, 1, ""},
      {"KeepLocationOfImages", K::Options, T::Boolean, 0, ""},
      {"AutoRenameSourceImages", K::Options, T::Boolean, 0, ""},
      {"CopySourceImages", K::Options, T::Boolean, 1, ""},
      {"HTMLPage_BGColor", K::Options, T::Color, 0xFFFFFF, ""},
      {"HTMLPage_Background", K::Options, T::Text, 0, ""},
      {"HTMLPage_TextColor", K::Options, T::Color, 0, ""},
      {"HTMLPage_LinkColor", K::Options, T::Color, 0xFF0000, ""},
      {"HTMLPage_ActiveLinkColor", K::Options, T::Color, 0x40E000, ""},
      {"HTMLPage_VisitedLinkColor", K::Options, T::Color, 0xFFB070, ""},
      {"HTMLPage_DisabledLinkColor", K::Options, T::Color, 0x20CCCCCC, ""},
      {"Thumb_Frame", K::Options, T::Boolean, 1, ""},
      {"Thumb_Shadow", K::Options, T::Boolean, 1, ""},
      {"Thumb_ShadowValue", K::Options, T::Integer, 128, ""},
      {"Thumb_JPEGQualityValue", K::Options, T::Integer, 90, ""},
      {"Thumb_DescribeFileSize", K::Options, T::Boolean, 0, ""},
      {"Thumb_DescribeFileName", K::Options, T::Boolean, 0, ""},
      {"Thumb_DescribeFileDate", K::Options, T::Boolean, 0, ""},
      {"Thumb_DescribeComment", K::Options, T::Boolean, 0, ""},
      {"Thumb_DescribeDimensions", K::Options, T::Boolean, 0, ""},
      {"GalPage_DateFormat", K::Options, T::Text, 0, "d mmm yyyy"},
      {"GalPage_TimeFormat", K::Options, T::Text, 0, "hh:nn:ss ampm"},
      {"Image_LimitWebPageImageSize", K::Options, T::Boolean, 0, ""},
      {"Image_MaxWidth", K::Options, T::Integer, 640, ""},
      {"Image_MaxHeight", K::Options, T::Integer, 600, ""},
      {"Image_ResizeSrcImages", K::Options, T::Boolean, 0, ""},
      {"GalPage_WithFrames", K::Options, T::Boolean, 0, ""},
      {"GalPage_NavigTop", K::Options, T::Boolean, 1, ""},
      {"GalPage_NavigBottom", K::Options, T::Boolean, 1, ""},
      {"GalPage_NavigHomeURL", K::Options, T::Text, 0, "index.html"},
      {"DefLanguageFileName", K::Options, T::Text, 0, ""},
      {"ImageSourceFolder", K::History, T::Text, 0, "/opt/zelvora"},
      {"ImageSourceFolderList", K::History, T::TextList, 0, ""},
      {"OutputFolder", K::History, T::Text, 0, ""},
      {"OutputFolderList", K::History, T::TextList, 0, ""},
      {"AutoRenMask", K::History, T::Text, 0, "img-%4c"},
      {"AutoRenMaskList", K::History, T::TextList, 0, ""},
      {"NavigHomeURLList", K::History, T::TextList, 0, ""},
      {"CurrVersion", K::Base, T::Text, 0, ""},
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
  EXPECT_EQ(SettingKeyPath(K::History), "Software\\Brennvik Software\\Zelvora\\History");
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
  EXPECT_EQ(CloseWriteOrder().front(), "HTMLPage_BGColor");
  EXPECT_EQ(CloseWriteOrder().back(), "AutoRenMaskList");
  EXPECT_EQ(StartupReadOrder().back(), "NavigHomeURLList");
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
