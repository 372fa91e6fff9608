#include "texts/LanguageFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "support/TestSupport.h"
#include "texts/InterfaceTexts.h"

namespace zelvora {
namespace {

// Stands in for a window control: remembers what it was given.
class TFakeControl : public ILanguageTarget {
 public:
  enum class Kind { Captioned, Other, Refusing, Throwing };
  explicit TFakeControl(int tag, Kind kind = Kind::Captioned) : tag_(tag), kind_(kind) {}
  int LanguageTag() const override { return tag_; }
  bool SetLanguageCaption(const std::string& text) override {
    if (kind_ == Kind::Throwing) throw std::runtime_error("no");
    if (kind_ == Kind::Refusing) return false;
    if (kind_ == Kind::Captioned) caption = text;
    ++calls;
    return true;
  }
  bool SetLanguageHint(const std::string& text) override {
    if (kind_ == Kind::Throwing) throw std::runtime_error("no");
    if (kind_ == Kind::Refusing) return false;
    hint = text;
    ++calls;
    return true;
  }
  std::string caption = "unset";
  std::string hint = "unset";
  int calls = 0;

 private:
  int tag_;
  Kind kind_;
};

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetInterfaceTexts(); }
  void TearDown() override { ResetInterfaceTexts(); }

  test::TempDir dir;
  TUsefulRegistry store{dir.File("settings.json")};
  TTagDirectory directory;

  std::string StoredLanguage() {
    return store.ReadString(kOptionsKeyPath, "DefLanguageFileName", "none");
  }
};

TEST_F(LanguageFileTest, FileWithoutBlankLineAppliesNothingButIsRemembered) {
  TFakeControl heading(1101);
  directory.Register(&heading);
  std::string path = dir.Write("nohead.txt", "6008=Bilder!\n1101=Schritt 1\n7005=Back");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  EXPECT_EQ(InterfaceText(TextId::SelectImages), "Please, select images for the gallery.");
  EXPECT_EQ(heading.calls, 0);
  EXPECT_EQ(report.interfaceTexts + report.objectTexts, 0);
  EXPECT_EQ(StoredLanguage(), path);
}

TEST_F(LanguageFileTest, MissingFileChangesNothing) {
  EXPECT_FALSE(LoadLanguageFile(dir.File("gone.txt"), directory, &store));
  EXPECT_FALSE(LoadLanguageFile(dir.Path().string(), directory, &store));
  EXPECT_FALSE(LoadLanguageFile("", directory, &store));
  EXPECT_EQ(StoredLanguage(), "none");
}

TEST_F(LanguageFileTest, HintsEscapesAndBlanksReachTheirTargets) {
  TFakeControl heading(1101);
  TFakeControl list(1106, TFakeControl::Kind::Other);
  directory.Register(&heading);
  directory.Register(&list);
  std::string path = dir.Write("lang.txt",
                               "header line\r\n"
                               "   \r\n"
                               "1101h=two%0D%0Awords\r\n"
                               "\r\n"
                               "1101=  Step one %20\r\n"
                               "1106=caption ignored\r\n"
                               "1106 h= list hint\r\n"
                               "6008=W%e4hlen Sie=Bilder\r\n");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  EXPECT_EQ(heading.hint, "two\r\nwords");
  EXPECT_EQ(heading.caption, "  Step one  ");
  EXPECT_EQ(list.caption, "unset");
  EXPECT_EQ(list.hint, " list hint");
  // %E4 is one byte; only the first "=" ends the key.
  EXPECT_EQ(InterfaceText(TextId::SelectImages), "W\xE4hlen Sie=Bilder");
  EXPECT_EQ(report.interfaceTexts, 1);
  EXPECT_EQ(report.objectTexts, 4);
  EXPECT_EQ(report.ignoredLines, 0);
}

TEST_F(LanguageFileTest, HintKeyWithBlanksAroundTheLetter) {
  TLanguageFile file = ParseLanguageText("h\n\n1101 H = kept\n 1101h =x\n1101 hh=no\n1101h2=no\n");
  ASSERT_EQ(file.entries.size(), 2u);
  EXPECT_TRUE(file.entries[0].hint);
  EXPECT_EQ(file.entries[0].number, 1101);
  EXPECT_EQ(file.entries[0].value, " kept");
  EXPECT_EQ(file.entries[0].lineNumber, 3);
  EXPECT_TRUE(file.entries[1].hint);
  EXPECT_EQ(file.skippedLines, (std::vector<int>{5, 6}));
}

TEST_F(LanguageFileTest, UnusableLinesAreSkippedOneByOne) {
  TLanguageFile file = ParseLanguageText(
      "h\n\n"
      "abc=not a number\n"
      "0=zero\n"
      "12x=trailing letter\n"
      "no equals sign\n"
      "=empty key\n"
      "99999999999=too large\n"
      "6007=bad %G1 escape\n"
      "6006=cut escape %4\n"
      "0101=leading zero\n"
      "7005=Back\n");
  EXPECT_EQ(file.skippedLines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
  ASSERT_EQ(file.entries.size(), 2u);
  EXPECT_EQ(file.entries[0].number, 101);
  EXPECT_EQ(file.entries[0].key, "0101");
}

TEST_F(LanguageFileTest, UnknownNumbersAndNonNumbersAreIgnored) {
  TFakeControl button(1118);
  directory.Register(&button);
  std::string path = dir.Write("lang.txt", "h\n\n9999=nobody\n7002=no text\nxyz=1\n1118=Go\n");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  EXPECT_EQ(button.caption, "Go");
  EXPECT_EQ(report.objectTexts, 1);
  EXPECT_EQ(report.ignoredLines, 3);
  EXPECT_EQ(InterfaceText(7002), "");
}

TEST_F(LanguageFileTest, TextsTakeTheirExtraEffectsAndCaptionsOnlyTheFirstPass) {
  TFakeControl next(1002);
  directory.Register(&next);
  std::vector<int> heard;
  int handle = AddInterfaceTextObserver([&](int n) { heard.push_back(n); });
  std::string path = dir.Write("lang.txt",
                               "h\n\n7005=Back\n1002=  &Weiter  >>\n6008h=a hint is no message\n");
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store));
  RemoveInterfaceTextObserver(handle);
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Back");
  // 1002 is both the text of Next mode 1 and the button's present caption.
  EXPECT_EQ(InterfaceText(TextId::NextCaption), "  &Weiter  >>");
  EXPECT_EQ(next.caption, "  &Weiter  >>");
  EXPECT_EQ(heard, (std::vector<int>{1002}));
  EXPECT_EQ(InterfaceText(TextId::SelectImages), "Please, select images for the gallery.");
}

TEST_F(LanguageFileTest, RepeatedKeyTextsTakeTheFirstValue) {
  TFakeControl menu(1108);
  TFakeControl tag101(101);
  directory.Register(&menu);
  directory.Register(&tag101);
  std::string path = dir.Write("lang.txt",
                               "h\n\n1108h=first\n1108H=second\n7001=Seite\n7001=Page\n"
                               "0101=by zeros\n6020=bad %zz\n6020=good\n");
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store));
  EXPECT_EQ(menu.hint, "first");
  EXPECT_EQ(InterfaceText(TextId::PageWord), "Seite");
  EXPECT_EQ(tag101.caption, "by zeros");
  // The repeated line carries the first line's bad value, so it is skipped too.
  EXPECT_EQ(InterfaceText(TextId::BugreportPrompt),
            "Please, send your suggestions or bugreport to:");
}

TEST_F(LanguageFileTest, DirectoryKeepsTheFirstObjectOfATagAndSurvivesRefusals) {
  TFakeControl first(1201), second(1201), untagged(0);
  TFakeControl refusing(1202, TFakeControl::Kind::Refusing);
  TFakeControl throwing(1203, TFakeControl::Kind::Throwing);
  TFakeControl after(1204);
  EXPECT_TRUE(directory.Register(&first));
  EXPECT_FALSE(directory.Register(&second));
  EXPECT_FALSE(directory.Register(&untagged));
  EXPECT_FALSE(directory.Register(nullptr));
  directory.Register(&refusing);
  directory.Register(&throwing);
  directory.Register(&after);
  EXPECT_EQ(directory.Count(), 4u);
  std::string path = dir.Write("lang.txt", "h\n\n1201=Two\n1202=x\n1203=y\n1204=z\n");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  EXPECT_EQ(first.caption, "Two");
  EXPECT_EQ(second.caption, "unset");
  EXPECT_EQ(after.caption, "z");
  EXPECT_EQ(report.objectTexts, 2);
}

// The window layout's tags: captions, and the hints of the step 1 buttons.
const std::set<int> kCaptionTags = {
    1001, 1002, 1003, 2001, 2002, 5000, 5001, 1101, 1102, 1103, 1104, 1105, 1106, 1107,
    1115, 1116, 1117, 1118, 1201, 1202, 1203, 1204, 1205, 1206, 1207, 1208, 1209, 1210,
    1211, 1212, 1213, 1214, 1215, 1220, 1221, 1222, 1223, 1224, 1225, 1230, 1301, 1302,
    1303, 1304, 1305, 1306, 1307, 1310, 1311, 1312, 1313, 1314, 1315, 1321, 1322, 1323,
    1324, 1325, 1326, 1327, 1328, 1401, 1402, 1403, 1404, 1405, 1406, 1407, 1408, 1409,
    1501, 1502, 1503, 3101, 3102, 3103, 3104, 3105, 3106, 3107, 3108, 3109, 3110, 3111,
    3112, 3113, 3114, 3115, 3116, 3117, 4101, 4102, 4103, 4106, 4107, 4108, 1232, 1233,
    1234, 1235, 1236};
const std::set<int> kHintTags = {1108, 1109, 1110, 1111, 1112, 1113, 1114, 1120};

TLanguageFile ShippedFile(const std::string& name) {
  const char* dataDir = std::getenv("ZELVORA_DATA_DIR");
  std::string folder = dataDir ? dataDir : ".";
  std::string path = folder + "/Languages/" + name;
  std::string text = test::ReadFileBytes(path);
  EXPECT_FALSE(text.empty()) << path;
  return ParseLanguageText(text);
}

TEST_F(LanguageFileTest, ShippedFilesLoadCompletelyAndCoverEveryNumber) {
  std::map<std::string, TLanguageFile> files = {{"en", ShippedFile("language.en.txt")},
                                                 {"de", ShippedFile("language.de.txt")}};
  for (const auto& [language, file] : files) {
    SCOPED_TRACE(language);
    EXPECT_TRUE(file.hasHeader);
    EXPECT_TRUE(file.skippedLines.empty());
    std::set<int> captions, hints;
    std::set<std::string> keys;
    for (const TLanguageEntry& entry : file.entries) {
      EXPECT_TRUE(keys.insert(LowerCase(Trim(entry.key))).second) << entry.key;
      (entry.hint ? hints : captions).insert(entry.number);
      bool known = entry.hint ? kHintTags.count(entry.number) != 0
                              : IsInterfaceTextNumber(entry.number) ||
                                    kCaptionTags.count(entry.number) != 0;
      EXPECT_TRUE(known) << "line " << entry.lineNumber;
      EXPECT_FALSE(entry.value.empty()) << "line " << entry.lineNumber;
    }
    for (int number : InterfaceTextNumbers()) EXPECT_TRUE(captions.count(number)) << number;
    for (int tag : kCaptionTags) EXPECT_TRUE(captions.count(tag)) << tag;
    EXPECT_EQ(hints, kHintTags);
  }
  // The English file restores the built-in texts exactly.
  for (const TLanguageEntry& entry : files["en"].entries) {
    if (!entry.hint && IsInterfaceTextNumber(entry.number)) {
      EXPECT_EQ(entry.value, BuiltInInterfaceText(entry.number)) << entry.number;
    }
  }
}

TEST_F(LanguageFileTest, EnglishAfterGermanBringsBackEveryText) {
  const char* dataDir = std::getenv("ZELVORA_DATA_DIR");
  std::string folder = std::string(dataDir ? dataDir : ".") + "/Languages/";
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(folder + "language.de.txt", directory, &store, &report));
  EXPECT_EQ(report.interfaceTexts, 47);
  EXPECT_EQ(InterfaceText(TextId::SizeLabel), "Größe:");
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Zurück");
  ASSERT_TRUE(LoadLanguageFile(folder + "language.en.txt", directory, &store));
  for (int number : InterfaceTextNumbers()) {
    EXPECT_EQ(InterfaceText(number), BuiltInInterfaceText(number)) << number;
  }
  EXPECT_EQ(StoredLanguage(), folder + "language.en.txt");
}

}  // namespace
}  // namespace zelvora
