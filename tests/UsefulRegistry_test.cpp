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
};

TEST_F(UsefulRegistryTest, EmptyStoreGivesEveryDefault) {
  TStringList list = {"stale"};
  EXPECT_FALSE(store.ReadList(kHistory, "OutputFolderList", list));
  EXPECT_TRUE(list.empty());
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
  auto doc = nlohmann::json::parse(test::ReadFileBytes(file));
  EXPECT_EQ(doc["HKEY_CURRENT_USER"]["Software"]["Brennvik Software"]["Zelvora"]["Options"]
               ["Image_MaxWidth"], -640);
  // Names are found without regard to letter case, and a value stays in its key.
  EXPECT_EQ(store.ReadInteger("software\\BRENNVIK software\\zelvora\\options", "image_maxwidth", 0),
            -640);
  EXPECT_EQ(store.ReadInteger(kHistory, "Image_MaxWidth", 7), 7);
  // A key cannot be overwritten by a value, nor a value opened as a key.
  EXPECT_FALSE(store.WriteString(kBaseKeyPath, "Options", "x"));
  EXPECT_FALSE(store.OpenKey(kOptions + "\\Image_MaxWidth", true));
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
  // Hand-edited numbers that are no 32-bit integers read as the default.
  ASSERT_TRUE(WriteTextFile(file, R"({"HKEY_CURRENT_USER":{"K":{"big":4294967296,"real":1.5,)"
                                  R"("flag":true,"small":-2147483648}}})"));
  for (const char* name : {"big", "real", "flag"}) EXPECT_EQ(store.ReadInteger("K", name, 1), 1);
  EXPECT_EQ(store.ReadInteger("K", "small", 1), -2147483647 - 1);
}

TEST_F(UsefulRegistryTest, ColoursKeepAllThirtyTwoBits) {
  const TColor marked = WithDefaultMark(0xCCCCCC);
  EXPECT_TRUE(store.WriteColor(kOptions, "HTMLPage_DisabledLinkColor", marked));
  EXPECT_EQ(store.ReadColor(kOptions, "HTMLPage_DisabledLinkColor", 0), 0x20CCCCCCu);
  EXPECT_TRUE(store.WriteColor(kOptions, "Odd", 0xFF00FF00u));
  EXPECT_EQ(store.ReadColor(kOptions, "Odd", 0), 0xFF00FF00u);
}

TEST_F(UsefulRegistryTest, ListsStopAtTheFirstGapAndAreReplacedWhole) {
  for (const char* index : {"1", "2", "4"}) {
    store.WriteString(kHistory, std::string("ImageSourceFolderList") + index, index);
  }
  TStringList list;
  EXPECT_TRUE(store.ReadList(kHistory, "ImageSourceFolderList", list));
  EXPECT_EQ(list, (TStringList{"1", "2"}));

  ASSERT_TRUE(store.WriteList(kHistory, "OutputFolderList", {"1", "2", "3", "4", "5"}));
  ASSERT_TRUE(store.WriteList(kHistory, "OutputFolderList", {"x", "y"}));
  EXPECT_TRUE(store.ReadList(kHistory, "OutputFolderList", list));
  EXPECT_EQ(list, (TStringList{"x", "y"}));
  EXPECT_FALSE(store.ValueExists(kHistory, "OutputFolderList3"));
  // An empty list removes the entries; the key goes once it holds nothing.
  store.DeleteValue(kHistory, "ImageSourceFolderList4");
  ASSERT_TRUE(store.WriteList(kHistory, "ImageSourceFolderList", {}));
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
  store.WriteInteger(kOptions, "Thumb_Frame", 1);
  EXPECT_TRUE(store.DeleteValue(kBaseKeyPath, "CurrVersion"));
  EXPECT_TRUE(store.OpenKey(kBaseKeyPath, false));
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
  EXPECT_TRUE(store.WriteInteger(kOptions, "Thumb_ShadowValue", 41));
  EXPECT_EQ(test::ReadFileBytes(file + ".damaged"), "[1, 2]");
}

// 200,000 levels overflowed the stack when a write copied the tree. A file
// nested far deeper than the store writes is damaged; one the store wrote
// (with a few extra levels of key) still reads.
TEST_F(UsefulRegistryTest, FileNestedTooDeepIsDamaged) {
  const int levels = 200000;
  std::string deep = "{\"HKEY_CURRENT_USER\": ";
  for (int i = 0; i < levels; ++i) deep += "{\"k\":";
  deep += "1";
  deep += std::string(levels, '}') + "}";
  ASSERT_TRUE(WriteTextFile(file, deep));
  EXPECT_EQ(store.ReadInteger("k", "k", 7), 7);
  EXPECT_TRUE(store.WriteString(kOptions, "GalPage_DateFormat", "yyyy"));
  EXPECT_EQ(test::ReadFileBytes(file + ".damaged"), deep);
  EXPECT_EQ(store.ReadString(kOptions, "GalPage_DateFormat", ""), "yyyy");

  // Brackets inside texts are not nesting.
  EXPECT_TRUE(store.WriteString(kOptions, "Brackets", std::string(500, '{') + "\\\"["));
  const std::string sub = kOptions + "\\a\\b\\c\\d\\e\\f\\g\\h";
  EXPECT_TRUE(store.WriteInteger(sub, "Deep", 5));
  EXPECT_EQ(store.ReadInteger(sub, "Deep", 0), 5);
  EXPECT_EQ(store.ReadString(kOptions, "Brackets", ""), std::string(500, '{') + "\\\"[");
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
}

TEST(UsefulRegistryPathTest, SettingsFileFollowsTheEnvironment) {
  const char* saved = std::getenv("ZELVORA_SETTINGS");
  const std::string savedValue = saved ? saved : "";
  setenv("ZELVORA_SETTINGS", "/tmp/x/settings.json", 1);
  EXPECT_EQ(TUsefulRegistry::DefaultSettingsPath(), "/tmp/x/settings.json");
  unsetenv("ZELVORA_SETTINGS");
  EXPECT_TRUE(TUsefulRegistry::DefaultSettingsPath().ends_with("/zelvora/settings.json"));
  if (saved) setenv("ZELVORA_SETTINGS", savedValue.c_str(), 1);
}

}  // namespace
}  // namespace zelvora
