// The window and the settings store: a first run's defaults, stored
// histories, the close writes in their order, a damaged store, the beta note.

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QtTest>
#include <nlohmann/json.hpp>

#include "app/steps/Step2Page.h"
#include "app/steps/Step4Page.h"
#include "gallery/GallerySet.h"
#include "settings/SettingsTable.h"
#include "support/TestSupport.h"
#include "support/WizardFixture.h"

using namespace zelvora;

namespace {

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void FirstRunShowsEveryDefault() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    const TGallerySet& options = window.Options();
    QCOMPARE(window.findChild<QSpinBox*>("ThumbVNumSpinEdit")->value(), 5);
    QCOMPARE(window.findChild<QSpinBox*>("ThumbHNumSpinEdit")->value(), 4);
    QVERIFY(window.findChild<QCheckBox*>("NavigationTopCheckBox")->isChecked());
    QVERIFY(window.findChild<QCheckBox*>("NavigationBottomCheckBox")->isChecked());
    QVERIFY(!window.findChild<QCheckBox*>("FramesCheckBox")->isChecked());
    QVERIFY(!window.findChild<QCheckBox*>("BackgroundImageCheckBox")->isChecked());
    QCOMPARE(window.Step2()->HomeLinkBox()->currentText(), QStringLiteral("index.html"));
    QCOMPARE(Items(window.Step2()->HomeLinkBox()),
             QStringList({"<none>", "index.html", "page1.html", "/", "../", "http://www.example.com/"}));
    QCOMPARE(options.HTMLPage_BGColor, TColor{0xFFFFFF});
    QCOMPARE(options.HTMLPage_TextColor, TColor{0});
    QCOMPARE(options.HTMLPage_LinkColor, TColor{0xFF0000});
    QCOMPARE(options.HTMLPage_ActiveLinkColor, TColor{0x40E000});
    QCOMPARE(options.HTMLPage_VisitedLinkColor, TColor{0xFFB070});
    QCOMPARE(options.HTMLPage_DisabledLinkColor, TColor{0x20CCCCCC});

    TStep4Page& step4 = *window.Step4();
    QCOMPARE(step4.OutputFolderBox()->currentText(), QString());
    QCOMPARE(step4.OutputFolderBox()->count(), 0);
    QVERIFY(step4.ConvertBox()->isChecked());
    QVERIFY(!step4.RenameBox()->isChecked());
    QVERIFY(!step4.KeepLocationBox()->isChecked());
    QVERIFY(step4.CopyBox()->isChecked());
    QVERIFY(step4.CopyBox()->isHidden());
    QVERIFY(!step4.MaskBox()->isEnabled());
    QCOMPARE(step4.MaskBox()->currentText(), QStringLiteral("img-%4c"));
    QCOMPARE(Items(step4.MaskBox()), QStringList({"img-%4c", "%f-%n", "%f-%4c"}));
    // Creating the window reads; it writes nothing of the user's choices.
    QVERIFY(!fixture.Store().ValueExists(kOptionsKeyPath, "AutoRenameSourceImages"));
    QVERIFY(!fixture.Store().ValueExists(kOptionsKeyPath, "CopySourceImages"));
  }

  void StoredValuesComeBackAndAGapEndsAList() {
    test::TWizardFixture fixture;
    TUsefulRegistry& store = fixture.Store();
    const std::string out = fixture.Temp().Path().string();
    store.WriteString(kHistoryKeyPath, "OutputFolder", out);
    store.WriteString(kHistoryKeyPath, "OutputFolderList1", "/a");
    store.WriteString(kHistoryKeyPath, "OutputFolderList2", "/b");
    store.WriteString(kHistoryKeyPath, "OutputFolderList4", "/d");
    store.WriteString(kHistoryKeyPath, "AutoRenMask", "%f-%n");
    store.WriteString(kHistoryKeyPath, "AutoRenMaskList1", "x-%c");
    store.WriteBool(kOptionsKeyPath, "AutoRenameSourceImages", true);
    store.WriteColor(kOptionsKeyPath, "HTMLPage_LinkColor", 0x20123456);
    store.WriteBool(kOptionsKeyPath, "GalPage_WithFrames", true);
    store.WriteString(kOptionsKeyPath, "GalPage_NavigHomeURL", "../");
    store.WriteString(kOptionsKeyPath, "HTMLPage_Background", fixture.Temp().File("gone.jpg"));
    store.WriteInteger(kOptionsKeyPath, "Thumb_ShadowValue", 40);
    store.WriteString(kOptionsKeyPath, "Thumb_JPEGQualityValue", "75");  // text: the default holds
    store.WriteBool(kOptionsKeyPath, "Thumb_DescribeComment", true);
    TMainForm& window = fixture.Window();
    TStep4Page& step4 = *window.Step4();
    QCOMPARE(Items(step4.OutputFolderBox()), QStringList({"/a", "/b"}));
    QCOMPARE(step4.OutputFolderBox()->currentText(), QString::fromStdString(out));
    QCOMPARE(Items(step4.MaskBox()), QStringList({"x-%c"}));
    QCOMPARE(step4.MaskBox()->currentText(), QStringLiteral("%f-%n"));
    QVERIFY(step4.MaskBox()->isEnabled());
    QCOMPARE(window.Options().HTMLPage_LinkColor, TColor{0x20123456});
    QVERIFY(!window.Step2()->LinkCheckBox(1)->isChecked());
    QVERIFY(window.Options().Framed_ThumbTablePage);
    QCOMPARE(window.Options().Navig_HomeURL, std::string("../"));
    // Thumbnail settings reach the option set, so closing writes them back unchanged.
    QCOMPARE(window.Options().Thumb_Effects_ShadowDensity, 40);
    QCOMPARE(window.Options().Thumb_JPEGQuality, 90);
    QVERIFY(window.Options().Thumb_Description.Has(Show_ImageComment));
    // A background picture that is gone is forgotten.
    QVERIFY(!window.findChild<QCheckBox*>("BackgroundImageCheckBox")->isChecked());
  }

  void CloseWritesTheOptionSetInTheStoresOrder() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.Options().HTMLPage_BGColor = 0x112233;
    window.Options().Thumb_JPEGQuality = 77;
    window.Options().Thumb_Description.Set(Show_FileSize, true);
    window.Step2()->HomeLinkBox()->setEditText(QStringLiteral("/"));
    window.Step4()->MaskBox()->setEditText(QStringLiteral("m-%2c"));
    fixture.CloseWindow();

    TUsefulRegistry& store = fixture.Store();
    QCOMPARE(store.ReadColor(kOptionsKeyPath, "HTMLPage_BGColor", 0), TColor{0x112233});
    QCOMPARE(store.ReadColor(kOptionsKeyPath, "HTMLPage_DisabledLinkColor", 0), TColor{0x20CCCCCC});
    QCOMPARE(store.ReadInteger(kOptionsKeyPath, "Thumb_JPEGQualityValue", 0), 77);
    QCOMPARE(store.ReadBool(kOptionsKeyPath, "Thumb_DescribeFileSize", false), true);
    QCOMPARE(store.ReadString(kOptionsKeyPath, "GalPage_NavigHomeURL", ""), std::string("/"));
    QCOMPARE(store.ReadString(kOptionsKeyPath, "GalPage_DateFormat", ""), std::string("d mmm yyyy"));
    QCOMPARE(store.ReadString(kHistoryKeyPath, "AutoRenMask", ""), std::string("m-%2c"));
    QCOMPARE(store.ReadInteger(kOptionsKeyPath, "FolderHistoryLimit", 0), 20);
    TStringList homes;
    QVERIFY(store.ReadList(kHistoryKeyPath, "NavigHomeURLList", homes));
    QCOMPARE(homes.size(), std::size_t{6});
    // No output folder named: none is stored.
    QVERIFY(!store.ValueExists(kHistoryKeyPath, "OutputFolder"));

    // A fresh store keeps the order of first writes: the close order.
    const auto json = nlohmann::ordered_json::parse(test::ReadFileBytes(store.FilePath()));
    const auto& optionsKey = json["HKEY_CURRENT_USER"]["Software"]["Brennvik Software"]["Zelvora"]["Options"];
    std::vector<std::string> written;
    for (auto it = optionsKey.begin(); it != optionsKey.end(); ++it) written.push_back(it.key());
    std::vector<std::string> expected;
    for (std::string_view name : CloseWriteOrder()) {
      const TSettingDef* def = FindSetting(name);
      if (def && def->key == TSettingKey::Options) expected.emplace_back(name);
    }
    QCOMPARE(written, expected);
  }

  void DamagedStoreStartsWithDefaultsAndIsKept() {
    test::TWizardFixture fixture;
    const std::string path = fixture.Store().FilePath();
    const std::string damaged = "{\"HKEY_CURRENT_USER\": {\"Software\": ";
    fixture.Temp().Write("settings.json", damaged);
    TMainForm& window = fixture.Window();
    window.show();
    QCOMPARE(window.Options().HTMLPage_BGColor, TColor{0xFFFFFF});
    QVERIFY(fixture.Dialogs().Asked().size() <= 1);  // at most the beta note, never an error
    fixture.CloseWindow();
    // The user's damaged file is set aside, not overwritten.
    QCOMPARE(test::ReadFileBytes(path + ".damaged"), damaged);
  }

  void BetaNoteOnlyWhenTheVersionIsNew() {
    test::TWizardFixture fixture;
    fixture.Window().show();
    QCOMPARE(fixture.Dialogs().Asked().size(), std::size_t{1});
    QCOMPARE(fixture.Dialogs().Asked()[0].caption, QStringLiteral(" Welcome to Zelvora"));
    QCOMPARE(fixture.Store().ReadString(kBaseKeyPath, "CurrVersion", ""), std::string(kCurrVersionText));
    fixture.CloseWindow();
    fixture.Dialogs().ClearAsked();
    fixture.Window().show();
    QVERIFY(fixture.Dialogs().Asked().empty());
  }
};

QTEST_MAIN(SettingsTest)
#include "Settings_uitest.moc"
