// Language files over the window, the advanced dialog and the application,
// and the advanced dialog itself.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <cstdlib>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/AdvancedTuningForm.h"
#include "app/Application.h"
#include "controls/BorderedPanel.h"
#include "gallery/GallerySet.h"
#include "settings/SettingsTable.h"
#include "support/WizardFixture.h"
#include "texts/InterfaceTexts.h"

using namespace zelvora;

namespace {

const char kHeader[] = "A language file for the tests\r\n\r\n";

QAction* MenuItem(TMainForm& window, const char* name) {
  return window.ProgramMenu()->findChild<QAction*>(QLatin1String(name));
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT
 private slots:
  void HintsCaptionsAndTheNextCaptionForGood() {
    test::TWizardFixture fixture;
    const std::string file = fixture.Temp().Write(
        "lang.txt", std::string(kHeader) +
                        "1101 H = Select%0D%0Afolder\r\n"
                        "1002=  &Onward  >>\r\n"
                        "1206=Oben\r\n"
                        "1230= Mehr...\r\n"
                        "4107=Sprache\r\n"
                        "5000=Galerie\r\n"
                        "9999=nobody\r\n"
                        "abc=nothing\r\n");
    TMainForm& window = fixture.Window();
    QVERIFY(window.LoadLanguageFile(file));
    QCOMPARE(window.findChild<QLabel*>("Step1HeadingLabel")->toolTip(),
             QStringLiteral(" Select\r\nfolder"));
    QCOMPARE(window.NextButton()->text(), QStringLiteral("  &Onward  >>"));
    QCOMPARE(window.findChild<QCheckBox*>("NavigationTopCheckBox")->text(), QStringLiteral("Oben"));
    QCOMPARE(window.findChild<TBorderedPanel*>("Step2MoreButton")->Caption(), QStringLiteral(" Mehr..."));
    QCOMPARE(window.ProgramMenu()->findChild<QMenu*>("LanguageMenu")->title(), QStringLiteral("Sprache"));
    QCOMPARE(fixture.Store().ReadString(kOptionsKeyPath, "DefLanguageFileName", ""), file);
    QCOMPARE(ApplicationTitle(), QStringLiteral("Galerie"));
    SetApplicationTitle(QStringLiteral(" Zelvora!"));

    // The new text is the mode's caption from now on; a step 5 load keeps "Create".
    window.GoToStep(5, false);
    QCOMPARE(window.NextButton()->text(), QStringLiteral("&Create"));
    QVERIFY(window.LoadLanguageFile(file));
    QCOMPARE(window.NextButton()->text(), QStringLiteral("&Create"));
    window.GoToStep(4, false);
    QCOMPARE(window.NextButton()->text(), QStringLiteral("  &Onward  >>"));
  }

  void AFileWithoutHeaderAppliesNothingButIsRemembered() {
    test::TWizardFixture fixture;
    const std::string file = fixture.Temp().Write("flat.txt", "1002=Go\r\n1206=Oben\r\n");
    TMainForm& window = fixture.Window();
    QVERIFY(window.LoadLanguageFile(file));
    QCOMPARE(window.NextButton()->text(), QStringLiteral("  &Next  >>"));
    QCOMPARE(window.LanguageFileName(), file);
    QVERIFY(!window.LoadLanguageFile(fixture.Temp().File("none.txt")));
    QCOMPARE(window.LanguageFileName(), file);
  }

  void TheMenusLanguagesAndTheLastOneAtStart() {
    test::TWizardFixture fixture;
    const QString before = ApplicationTitle();
    {
      TMainForm& window = fixture.Window();
      MenuItem(window, "GermanItem")->trigger();
      QCOMPARE(window.NextButton()->text(), QStringLiteral("  &Weiter  >>"));
      QCOMPARE(window.AdvancedForm()->findChild<QLabel*>("CustomPageTitleLabel")->text(),
               QStringLiteral("Titel der Galerieseiten"));
      fixture.CloseWindow();
    }
    ResetInterfaceTexts();
    TMainForm& again = fixture.Window();
    QCOMPARE(again.NextButton()->text(), QStringLiteral("  &Next  >>"));
    again.show();  // the last language comes back as the window is first shown
    QCOMPARE(again.NextButton()->text(), QStringLiteral("  &Weiter  >>"));
    QCOMPARE(again.findChild<QLabel*>("Step1HeadingLabel")->text(),
             QStringLiteral("Schritt 1:  Quellbilder auswählen"));

    // Browse... opens where the present file is, with its name, and loads the choice.
    const std::string english = fixture.ProgramFolder() + "Languages/language.en.txt";
    fixture.Dialogs().Queue(QString::fromStdString(english));
    MenuItem(again, "BrowseLanguageItem")->trigger();
    const test::TAskedDialog& asked = fixture.Dialogs().Asked().back();
    QCOMPARE(asked.kind, QStringLiteral("open"));
    QCOMPARE(asked.text, QStringLiteral("Language Files (*.txt)|*.txt|All Files (*.*)|*.*"));
    QVERIFY(asked.detail.endsWith(QStringLiteral("Languages/|language.de.txt")));
    QCOMPARE(again.NextButton()->text(), QStringLiteral("  &Next  >>"));
    QCOMPARE(again.LanguageFileName(), english);
    SetApplicationTitle(before);
  }

  void EscapeLeavesTheOptionsAndReopeningShowsThem() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    TAdvancedTuningForm& dialog = *window.AdvancedForm();
    window.Options().CustomPageTitle = "Summer";
    fixture.Dialogs().Queue(test::TDialogScript([](QDialog& d) {
      auto* title = d.findChild<QLineEdit*>("CustomPageTitleEdit");
      if (const char* folder = std::getenv("ZELVORA_ARTIFACTS")) {
        QDir().mkpath(QString::fromLocal8Bit(folder));
        d.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath("advanced-dialog.png"));
      }
      QTest::keyClicks(title, "Winter");
      QTest::keyClick(title, Qt::Key_Escape);
      return d.result();
    }));
    QCOMPARE(dialog.EditStep2Options(window.Options()), TPanelResult::Cancel);
    QCOMPARE(window.Options().CustomPageTitle, std::string("Summer"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Step 2: Advanced"));

    // Reopened, it shows the set's title; Enter in an editor is a new line,
    // Enter elsewhere presses Ok.
    QString shown;
    fixture.Dialogs().Queue(test::TDialogScript([&shown](QDialog& d) {
      shown = d.findChild<QLineEdit*>("CustomPageTitleEdit")->text();
      auto* header = d.findChild<QPlainTextEdit*>("CustomPageHeaderEdit");
      header->setFocus();
      QTest::keyClicks(header, "<b>one</b>");
      QTest::keyClick(header, Qt::Key_Return);
      QTest::keyClicks(header, "two");
      d.findChild<QCheckBox*>("CustomPageHeaderAsHTMLCheckBox")->setChecked(true);
      QTest::keyClick(d.findChild<QLineEdit*>("CustomPageTitleEdit"), Qt::Key_Return);
      return d.result();
    }));
    window.findChild<TBorderedPanel*>("Step2MoreButton")->Clicked();
    QCOMPARE(shown, QStringLiteral("Summer"));
    QCOMPARE(window.Options().CustomPageHeader, std::string("<b>one</b>\ntwo"));
    QVERIFY(window.Options().CustomPageHeaderAsHTMLCode);
  }

  void TheHostSizesToItsPanel() {
    test::TWizardFixture fixture;
    TAdvancedTuningForm& dialog = *fixture.Window().AdvancedForm();
    QWidget small;
    small.resize(40, 30);
    std::string opened;
    dialog.SetHelpOpener([&opened](const std::string& topic) { opened = topic; });
    fixture.Dialogs().Queue(test::TDialogScript([](QDialog& d) {
      QTest::keyClick(&d, Qt::Key_F1);
      return int(QDialog::Accepted);
    }));
    QCOMPARE(dialog.ShowPanel(&small, "Small", true, "Main_link"), TPanelResult::Ok);
    QCOMPARE(opened, std::string("Main_link"));
    const int m = TAdvancedTuningForm::kMargin;
    QCOMPARE(dialog.width(), dialog.ClosingPart()->width() + dialog.HelpPart()->width() + 2 * m);
    QCOMPARE(dialog.height(), 2 * m + 30 + dialog.ButtonStrip()->height());
    QCOMPARE(small.pos(), QPoint(m, m));

    small.resize(600, 50);
    fixture.Dialogs().Queue(test::TDialogScript([](QDialog&) { return int(QDialog::Rejected); }));
    QCOMPARE(dialog.ShowPanel(&small, "Wide", false, "Main_link"), TPanelResult::Cancel);
    QVERIFY(dialog.HelpPart()->isHidden());
    QCOMPARE(dialog.width(), 600 + 2 * m);
    QCOMPARE(dialog.ShowPanel(nullptr, "None", false, {}), TPanelResult::None);
  }
};

QTEST_MAIN(LanguageTest)
#include "Language_uitest.moc"
