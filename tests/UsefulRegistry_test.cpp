#include "settings/UsefulRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "imaging/Colors.h"
#include "settings/SettingsTable.h"
#include "support/TestSupport.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
const std::string kOptions(kOptionsKeyPath);
const std::string kHistory(kHistoryKeyPath);

class UsefulRegistryTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string file = dir.File("cfg/settings.json");
  TUsefulRegistry store{file};

  nlohmann::json Stored() const { return nlohmann::json::parse(test::ReadFileBytes(file)); }
};

TEST_F(UsefulRegistryTest, EmptyStoreGivesEveryDefault) {
  EXPECT_FALSE(store.ValueExists(kOptions, "Thumb_Frame"));
  EXPECT_EQ(store.ReadString(kHistory, "AutoRenMask", "img-%4c"), "img-%4c");
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_JPEGQualityValue", 90), 90);
  EXPECT_TRUE(store.ReadBool(kOptions, "Thumb_Shadow", true));
  TStringList list = {"stale"};
  EXPECT_FALSE(store.ReadList(kHistory, "OutputFolderList", list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(store.OpenKey(kOptions, false));
  // Reading never creates the file.
  EXPECT_FALSE(fs::exists(file));

  for (const TSettingDef& def : SettingsTable()) {
    TSettingValue fallback = DefaultSettingValue(def, "/opt/zelvora/");
    EXPECT_EQ(ReadSetting(store, def, fallback), fallback) << def.name;
  }
}

TEST_F(UsefulRegistryTest, ValuesRoundTripUnderTheirKey) {
  EXPECT_TRUE(store.WriteString(kHistory, "OutputFolder", "/home/ann/Bilder/Ärger"));
  EXPECT_TRUE(store.WriteInteger(kOptions, "Image_MaxWidth", -640));
  EXPECT_TRUE(store.WriteBool(kOptions, "Thumb_Frame", false));
  EXPECT_EQ(store.ReadString(kHistory, "OutputFolder", ""), "/home/ann/Bilder/Ärger");
  EXPECT_EQ(store.ReadInteger(kOptions, "Image_MaxWidth", 0), -640);
  EXPECT_FALSE(store.ReadBool(kOptions, "Thumb_Frame", true));
  // The path is a tree of objects in the file.
  nlohmann::json doc = Stored();
  EXPECT_EQ(doc["HKEY_CURRENT_USER"]["Software"]["Brennvik Software"]["Zelvora"]["Options"]
               ["Image_MaxWidth"],
            -640);
  // Names are found without regard to letter case, and a value stays in its key.
  EXPECT_EQ(store.ReadInteger("software\\BRENNVIK software\\zelvora\\options", "image_maxwidth", 0),
            -640);
  EXPECT_EQ(store.ReadInteger(kHistory, "Image_MaxWidth", 7), 7);
  // Another root is another tree.
  store.SetRootKey(TRegistryRoot::LocalMachine);
  EXPECT_EQ(store.ReadInteger(kOptions, "Image_MaxWidth", 7), 7);
}

TEST_F(UsefulRegistryTest, TextsAndIntegersAreKeptApart) {
  store.WriteString(kOptions, "Thumb_JPEGQualityValue", "75");
  EXPECT_TRUE(store.ValueExists(kOptions, "Thumb_JPEGQualityValue"));
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_JPEGQualityValue", 90), 90);
  store.WriteInteger(kOptions, "GalPage_NavigHomeURL", 5);
  EXPECT_EQ(store.ReadString(kOptions, "GalPage_NavigHomeURL", "index.html"), "index.html");
  // Any non-zero integer is true.
  store.WriteInteger(kOptions, "Thumb_Shadow", -3);
  EXPECT_TRUE(store.ReadBool(kOptions, "Thumb_Shadow", false));
}

TEST_F(UsefulRegistryTest, HandEditedValuesOutsideThirtyTwoBitsReadAsDefault) {
  ASSERT_TRUE(WriteTextFile(file,
                            R"({"HKEY_CURRENT_USER":{"K":{"big":4294967296,"real":1.5,)"
                            R"("flag":true,"small":-2147483648}}})"));
  EXPECT_EQ(store.ReadInteger("K", "big", 1), 1);
  EXPECT_EQ(store.ReadInteger("K", "real", 1), 1);
  EXPECT_EQ(store.ReadInteger("K", "flag", 1), 1);
  EXPECT_EQ(store.ReadInteger("K", "small", 1), -2147483647 - 1);
}

TEST_F(UsefulRegistryTest, ColoursKeepAllThirtyTwoBits) {
  const TColor marked = WithDefaultMark(0xCCCCCC);
  EXPECT_TRUE(store.WriteColor(kOptions, "HTMLPage_DisabledLinkColor", marked));
  EXPECT_EQ(store.ReadColor(kOptions, "HTMLPage_DisabledLinkColor", 0), 0x20CCCCCCu);
  EXPECT_TRUE(IsDefaultColor(store.ReadColor(kOptions, "HTMLPage_DisabledLinkColor", 0)));
  EXPECT_TRUE(store.WriteColor(kOptions, "Odd", 0xFF00FF00u));
  EXPECT_EQ(store.ReadColor(kOptions, "Odd", 0), 0xFF00FF00u);

  const TSettingDef* def = FindSetting("HTMLPage_LinkColor");
  ASSERT_NE(def, nullptr);
  ASSERT_TRUE(WriteSetting(store, *def, {0x20FF0000, {}, {}}));
  EXPECT_EQ(ReadSetting(store, *def, DefaultSettingValue(*def)).number, 0x20FF0000);
}

TEST_F(UsefulRegistryTest, ListReadStopsAtTheFirstGap) {
  store.WriteString(kHistory, "ImageSourceFolderList1", "/a");
  store.WriteString(kHistory, "ImageSourceFolderList2", "/b");
  store.WriteString(kHistory, "ImageSourceFolderList4", "/d");
  TStringList list;
  EXPECT_TRUE(store.ReadList(kHistory, "ImageSourceFolderList", list));
  EXPECT_EQ(list, (TStringList{"/a", "/b"}));
  // A first index past the gap reads on from there.
  EXPECT_TRUE(store.ReadList(kHistory, "ImageSourceFolderList", list, 4));
  EXPECT_EQ(list, (TStringList{"/d"}));
}

TEST_F(UsefulRegistryTest, WritingTwoEntriesOverFiveLeavesExactlyTwo) {
  ASSERT_TRUE(store.WriteList(kHistory, "OutputFolderList", {"1", "2", "3", "4", "5"}));
  store.WriteString(kHistory, "OutputFolder", "/keep");
  ASSERT_TRUE(store.WriteList(kHistory, "OutputFolderList", {"x", "y"}));
  TStringList list;
  EXPECT_TRUE(store.ReadList(kHistory, "OutputFolderList", list));
  EXPECT_EQ(list, (TStringList{"x", "y"}));
  for (int i = 3; i <= 5; ++i) {
    EXPECT_FALSE(store.ValueExists(kHistory, "OutputFolderList" + std::to_string(i)));
  }
  EXPECT_EQ(store.ReadString(kHistory, "OutputFolder", ""), "/keep");
  // An empty list removes the entries; the key goes once it holds nothing.
  store.DeleteValue(kHistory, "OutputFolder");
  ASSERT_TRUE(store.WriteList(kHistory, "OutputFolderList", {}));
  EXPECT_FALSE(store.OpenKey(kHistory, false));
  EXPECT_TRUE(store.OpenKey(kBaseKeyPath, false));
}

TEST_F(UsefulRegistryTest, DeleteValueRemovesAnEmptiedKeyOnly) {
  store.WriteInteger(kOptions, "AutoFillImageListIncludeSubfolders", 1);
  store.WriteString(kBaseKeyPath, "CurrVersion", "1.26 beta");
  EXPECT_TRUE(store.DeleteValue(kOptions, "AutoFillImageListIncludeSubfolders"));
  EXPECT_FALSE(store.DeleteValue(kOptions, "AutoFillImageListIncludeSubfolders"));
  EXPECT_FALSE(store.OpenKey(kOptions, false));
  EXPECT_EQ(store.ReadString(kBaseKeyPath, "CurrVersion", ""), "1.26 beta");
  // A key with a subkey stays when its last value goes.
  store.WriteInteger(kBaseKeyPath, "Extra", 1);
  store.WriteInteger(kOptions, "Thumb_Frame", 1);
  EXPECT_TRUE(store.DeleteValue(kBaseKeyPath, "Extra"));
  EXPECT_TRUE(store.DeleteValue(kBaseKeyPath, "CurrVersion"));
  EXPECT_TRUE(store.OpenKey(kBaseKeyPath, false));
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_Frame", 0), 1);
}

TEST_F(UsefulRegistryTest, OpenKeyCreatesOnlyWhenAllowedAndRemembersThePath) {
  EXPECT_FALSE(store.OpenKey(kHistory, false));
  EXPECT_EQ(store.CurrentPath(), "");
  EXPECT_TRUE(store.OpenKey(kHistory, true));
  EXPECT_EQ(store.CurrentPath(), kHistory);
  EXPECT_TRUE(store.OpenKey(kHistory, false));
  store.CloseKey();
  EXPECT_EQ(store.CurrentPath(), "");
  // A value cannot be opened as a key, nor a key overwritten by a value.
  store.WriteString(kBaseKeyPath, "CurrVersion", "1");
  EXPECT_FALSE(store.OpenKey(std::string(kBaseKeyPath) + "\\CurrVersion", true));
  EXPECT_FALSE(store.WriteString(kBaseKeyPath, "History", "x"));
  EXPECT_TRUE(store.OpenKey(kHistory, false));
}

TEST_F(UsefulRegistryTest, DamagedFileReadsEmptyAndIsKeptBesideBeforeTheFirstWrite) {
  const std::string damaged = "{\"HKEY_CURRENT_USER\": {\"Software\": tru";
  ASSERT_TRUE(WriteTextFile(file, damaged));
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_ShadowValue", 128), 128);
  EXPECT_FALSE(store.ValueExists(kOptions, "Thumb_ShadowValue"));
  // Reading leaves the damaged file alone.
  EXPECT_EQ(test::ReadFileBytes(file), damaged);
  EXPECT_FALSE(fs::exists(file + ".damaged"));

  EXPECT_TRUE(store.WriteInteger(kOptions, "Thumb_ShadowValue", 40));
  EXPECT_EQ(test::ReadFileBytes(file + ".damaged"), damaged);
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_ShadowValue", 128), 40);
  // A JSON text that is not an object counts as damaged too.
  ASSERT_TRUE(WriteTextFile(file, "[1, 2]"));
  EXPECT_EQ(store.ReadInteger(kOptions, "Thumb_ShadowValue", 128), 128);
  EXPECT_TRUE(store.WriteInteger(kOptions, "Thumb_ShadowValue", 41));
  EXPECT_EQ(test::ReadFileBytes(file + ".damaged"), "[1, 2]");
}

TEST_F(UsefulRegistryTest, FailedWriteLeavesThePreviousFileWhole) {
  ASSERT_TRUE(store.WriteString(kOptions, "GalPage_DateFormat", "yyyy"));
  const std::string before = test::ReadFileBytes(file);
  // Text that cannot be stored in the file fails the write, nothing else.
  EXPECT_FALSE(store.WriteString(kOptions, "Bad", std::string("\xFF\xFE", 2)));
  EXPECT_EQ(test::ReadFileBytes(file), before);
  EXPECT_FALSE(store.WriteList(kHistory, "L", {"ok", std::string("\xC3", 1)}));
  EXPECT_EQ(test::ReadFileBytes(file), before);
  // A folder where the file should be: writes fail, reads give defaults.
  TUsefulRegistry blocked(dir.Path().string());
  EXPECT_FALSE(blocked.WriteBool(kOptions, "Thumb_Frame", true));
  EXPECT_TRUE(blocked.ReadBool(kOptions, "Thumb_Frame", true));
  TUsefulRegistry nowhere("");
  EXPECT_FALSE(nowhere.WriteBool(kOptions, "Thumb_Frame", true));
}

TEST(UsefulRegistryPathTest, SettingsFileFollowsTheEnvironment) {
  const char* saved = std::getenv("ZELVORA_SETTINGS");
  std::string savedValue = saved ? saved : "";
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  std::string savedXdgValue = savedXdg ? savedXdg : "";
  const char* savedHome = std::getenv("HOME");
  std::string savedHomeValue = savedHome ? savedHome : "";

  setenv("ZELVORA_SETTINGS", "/tmp/x/settings.json", 1);
  EXPECT_EQ(TUsefulRegistry::DefaultSettingsPath(), "/tmp/x/settings.json");
  unsetenv("ZELVORA_SETTINGS");
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(TUsefulRegistry::DefaultSettingsPath(), "/cfg/zelvora/settings.json");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(TUsefulRegistry::DefaultSettingsPath(), "/home/ann/.config/zelvora/settings.json");

  if (saved) setenv("ZELVORA_SETTINGS", savedValue.c_str(), 1);
  if (savedHome) setenv("HOME", savedHomeValue.c_str(), 1);
  if (savedXdg) {
    setenv("XDG_CONFIG_HOME", savedXdgValue.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace zelvora
