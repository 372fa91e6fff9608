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
  enum class Kind { Captioned, Other, Throwing };
  explicit TFakeControl(int tag, Kind kind = Kind::Captioned) : tag_(tag), kind_(kind) {}
  int LanguageTag() const override { return tag_; }
  bool SetLanguageCaption(const std::string& text) override {
    if (kind_ == Kind::Throwing) throw std::runtime_error("no");
    if (kind_ == Kind::Captioned) caption = text;
    return kind_ == Kind::Captioned;
  }
  bool SetLanguageHint(const std::string& text) override {
    hint = text;
    return true;
  }
  std::string caption = "unset";
  std::string hint = "unset";

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
  EXPECT_FALSE(LoadLanguageFile(dir.File("gone.txt"), directory, &store));
  EXPECT_FALSE(LoadLanguageFile(dir.Path().string(), directory, &store));
  EXPECT_EQ(StoredLanguage(), "none");
  TFakeControl heading(1101);
  directory.Register(&heading);
  std::string path = dir.Write("nohead.txt", "6008=Bilder!\n1101=Schritt 1\n7005=Back");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  EXPECT_EQ(InterfaceText(TextId::SelectImages), "Please, select images for the gallery.");
  EXPECT_EQ(heading.caption, "unset");
  EXPECT_EQ(report.interfaceTexts + report.objectTexts, 0);
  EXPECT_EQ(StoredLanguage(), path);
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
  EXPECT_EQ(report.objectTexts, 3);
}

TEST_F(LanguageFileTest, KeysAreWholeNumbersWithAnOptionalHintLetter) {
  TLanguageFile file = ParseLanguageText(
      "h\n\n"
      "1101 H = kept\n"
      "abc=not a number\n0=zero\n12x=letter\nno equals\n=empty\n99999999999=big\n"
      "1101 hh=no\n6007=bad %G1\n6006=cut %4\n"
      "0101=leading zero\n"
      "1101 h =second\n6007=good\n");
  // A repeated key takes its first value, a bad one included.
  EXPECT_EQ(file.skippedLines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 15}));
  ASSERT_EQ(file.entries.size(), 3u);
  EXPECT_TRUE(file.entries[0].hint);
  EXPECT_EQ(file.entries[0].number, 1101);
  EXPECT_EQ(file.entries[0].value, " kept");
  EXPECT_EQ(file.entries[1].number, 101);
  EXPECT_EQ(file.entries[2].value, " kept");
}

TEST_F(LanguageFileTest, PassesApplyTextsWithTheirEffectsAndSkipWhatNamesNothing) {
  TFakeControl next(1002), tag101(101), first(1201), second(1201), untagged(0);
  TFakeControl throwing(1203, TFakeControl::Kind::Throwing);
  for (auto* control : {&next, &tag101, &first, &throwing}) EXPECT_TRUE(directory.Register(control));
  EXPECT_FALSE(directory.Register(&second));
  EXPECT_FALSE(directory.Register(&untagged));
  std::vector<int> heard;
  int handle = AddInterfaceTextObserver([&](int n) { heard.push_back(n); });
  std::string path = dir.Write("lang.txt",
                               "h\n\n7005=Back\n1002=  &Weiter  >>\n6008h=a hint is no message\n"
                               "0101=by zeros\n1203=refused\n1201=Two\n9999=nobody\n7002=no\n");
  TLanguageLoadReport report;
  ASSERT_TRUE(LoadLanguageFile(path, directory, &store, &report));
  RemoveInterfaceTextObserver(handle);
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Back");
  // 1002 is both the text of Next mode 1 and the button's present caption.
  EXPECT_EQ(InterfaceText(TextId::NextCaption), "  &Weiter  >>");
  EXPECT_EQ(next.caption, "  &Weiter  >>");
  EXPECT_EQ(heard, (std::vector<int>{1002}));
  EXPECT_EQ(InterfaceText(TextId::SelectImages), "Please, select images for the gallery.");
  EXPECT_EQ(tag101.caption, "by zeros");
  EXPECT_EQ(first.caption, "Two");
  EXPECT_EQ(second.caption, "unset");
  EXPECT_EQ(InterfaceText(7002), "");
  EXPECT_EQ(report.interfaceTexts, 2);
  EXPECT_EQ(report.objectTexts, 3);
  EXPECT_EQ(report.ignoredLines, 3);
}

std::string LanguagesFolder() {
  const char* dataDir = std::getenv("ZELVORA_DATA_DIR");
  return std::string(dataDir ? dataDir : ".") + "/Languages/";
}

// The window layout's tags: captions, and the hints of the step 1 buttons.
std::set<int> CaptionTags() {
  std::set<int> tags = {1001, 1002, 1003, 2001, 2002, 5000, 5001, 1230};
  for (auto [from, to] : {std::pair{1101, 1107}, {1115, 1118}, {1201, 1215}, {1220, 1225},
                          {1232, 1236}, {1301, 1307}, {1310, 1315}, {1321, 1328}, {1401, 1409},
                          {1501, 1503}, {3101, 3117}, {4101, 4103}, {4106, 4108}}) {
    for (int tag = from; tag <= to; ++tag) tags.insert(tag);
  }
  return tags;
}
const std::set<int> kHintTags = {1108, 1109, 1110, 1111, 1112, 1113, 1114, 1120};

TEST_F(LanguageFileTest, ShippedFilesLoadCompletelyAndCoverEveryNumber) {
  const std::set<int> captionTags = CaptionTags();
  std::map<std::string, TLanguageFile> files;
  for (const char* language : {"en", "de"}) {
    std::string path = LanguagesFolder() + "language." + language + ".txt";
    files[language] = ParseLanguageText(test::ReadFileBytes(path));
  }
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
                                    captionTags.count(entry.number) != 0;
      EXPECT_TRUE(known) << "line " << entry.lineNumber;
      EXPECT_FALSE(entry.value.empty()) << "line " << entry.lineNumber;
    }
    for (int number : InterfaceTextNumbers()) EXPECT_TRUE(captions.count(number)) << number;
    for (int tag : captionTags) EXPECT_TRUE(captions.count(tag)) << tag;
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
  const std::string folder = LanguagesFolder();
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
