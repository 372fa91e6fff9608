// The wizard's frame: steps, leave checks in order, the Next button's modes.

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/StepIndicator.h"
#include "app/steps/Step4Page.h"
#include "controls/UsefulLabel.h"
#include "settings/SettingsTable.h"
#include "gallery/ImageGalleryList.h"
#include "support/WizardFixture.h"

using namespace zelvora;

class WizardTest : public QObject {
  Q_OBJECT
 private slots:
  // A folder scan that ends during a run must not wake Prev, which the run
  // disabled; a change made while busy shows once the window is free.
  void BusyTimeGivesEachButtonBackItsState() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    QVERIFY(window.GoToStep(5, false));
    window.SetPrevEnabled(false);
    window.SetBusy(true);
    QVERIFY(!window.NextButton()->isEnabled());
    window.SetBusy(false);
    QVERIFY(!window.PrevButton()->isEnabled());
    QVERIFY(window.NextButton()->isEnabled());
    window.SetBusy(true);
    window.SetPrevEnabled(true);
    QVERIFY(!window.PrevButton()->isEnabled());
    window.SetBusy(false);
    QVERIFY(window.PrevButton()->isEnabled());
  }

  void StartsOnStepOneWithPrevDisabled() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    QCOMPARE(window.CurrentStep(), 1);
    QVERIFY(!window.PrevButton()->isEnabled());
    QCOMPARE(window.NextButton()->text(), QStringLiteral("  &Next  >>"));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Zelvora"));
    QVERIFY(window.width() >= TMainForm::kLayoutWidth);
    QVERIFY(window.height() >= TMainForm::kLayoutHeight);
  }

  void StepFiveOffersCreateAndTicksEarlierSteps() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    QVERIFY(window.GoToStep(5, false));
    QCOMPARE(window.NextMode(), TNextMode::Create);
    QCOMPARE(window.NextButton()->text(), QStringLiteral("&Create"));
    for (int k = 1; k <= 5; ++k) QCOMPARE(window.Indicator()->Ticked(k), k < 5);
    QVERIFY(window.GoToStep(2, true));
    QCOMPARE(window.NextMode(), TNextMode::Next);
    QVERIFY(window.PrevButton()->isEnabled());
  }

  void HelpMenuAndMail() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    QList<QUrl> opened;
    bool mailWorks = true;
    window.SetUrlOpener([&](const QUrl& url) {
      opened << url;
      return url.scheme() != QStringLiteral("mailto") || mailWorks;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.GoToStep(3, false);
    QTest::keyClick(window.NextButton(), Qt::Key_F1);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].fragment(), QStringLiteral("context-70"));
    QVERIFY(opened[0].isLocalFile());

    // Every context and topic has its anchor in the help page.
    QFile page(opened[0].toLocalFile());
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (int context = 50; context <= 90; context += 10) {
      QVERIFY(html.contains(QStringLiteral("id=\"context-%1\"").arg(context)));
    }
    QVERIFY(html.contains(QStringLiteral("id=\"Main_link\"")));
    QVERIFY(html.contains(QStringLiteral("id=\"AutomaticRenamingOfImages_link\"")));

    auto item = [&](const char* name) {
      return window.ProgramMenu()->findChild<QAction*>(QLatin1String(name));
    };
    item("HelpContentsItem")->trigger();
    QCOMPARE(opened.last().fragment(), QStringLiteral("Main_link"));
    item("WebSiteItem")->trigger();
    QCOMPARE(opened.last(), QUrl(QStringLiteral("http://www.zelvora.example/")));

    window.GoToStep(4, false);
    emit window.Step4()->HowToLabel()->Clicked();
    QCOMPARE(opened.last().fragment(), QStringLiteral("AutomaticRenamingOfImages_link"));

    QVERIFY(item("SuggestionsItem")->isVisible());  // a beta version asks for remarks
    item("SuggestionsItem")->trigger();
    // The text as built; QUrl then writes unreserved bytes such as %31 plainly.
    const QString mailto = SuggestionsMailto(std::string(kCurrVersionText));
    QCOMPARE(opened.last(), QUrl::fromEncoded(mailto.toLatin1()));
    QCOMPARE(mailto,
             QStringLiteral("mailto:feedback@zelvora.example?&subject=My%20feedback%20for%20Zelvora%20%20"
                            "%28version%20%31%2E%32%36%20%62%65%74%61%29"
                            "&body=Hello,%0D%0A%0D%0AI%20have%20some%20ideas%3A%0D%0A%0D%0A"));
    mailWorks = false;
    fixture.Dialogs().ClearAsked();
    fixture.Dialogs().Queue(QString());
    item("SuggestionsItem")->trigger();
    const test::TAskedDialog& asked = fixture.Dialogs().Asked().back();
    QCOMPARE(asked.kind, QStringLiteral("input"));
    QCOMPARE(asked.caption, QStringLiteral("Write bugreport"));
    QCOMPARE(asked.text, QStringLiteral("Please, send your suggestions or bugreport to:"));
    QCOMPARE(asked.detail, QStringLiteral("feedback@zelvora.example"));

    fixture.Dialogs().Queue(test::TDialogScript([](QDialog& about) {
      return about.findChild<QPushButton*>("CloseButton") ? int(QDialog::Accepted) : -1;
    }));
    item("AboutItem")->trigger();
    QCOMPARE(fixture.Dialogs().Asked().back().kind, QStringLiteral("dialog"));
  }

  void KeyboardAndScreenReader() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.List().InsertSeparator(0);  // step 1's check needs an entry
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(window.CurrentStep(), 2);
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(window.CurrentStep(), 1);

    // Tab walks step 4 top to bottom, past the disabled mask box.
    window.GoToStep(4, false);
    window.Step4()->OutputFolderBox()->setFocus();
    QTRY_VERIFY(window.Step4()->OutputFolderBox()->hasFocus());
    QStringList order;
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, QStringList({"Button2", "ConvertWebIncompatibleToJPEGCheckBox",
                                 "AutoRenameSrcImagesCheckBox", "UsefulLabel1",
                                 "KeepLocationOfImagesCheckBox"}));
    window.GoToStep(1, false);

    // Spin boxes and drop-downs are named by their labels; swatches and the
    // panel button by names of their own.
    for (const char* name : {"ThumbVNumSpinEdit", "ThumbHNumSpinEdit", "HomeLinkComboBox",
                             "OutputFolderNameEdit", "RenameMaskEdit1", "TextColorPanel",
                             "DisabledLinkColorPanel", "Step2MoreButton", "BGColorPanel"}) {
      QWidget* control = window.findChild<QWidget*>(QLatin1String(name));
      QVERIFY2(control, name);
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), name);
    }
    for (int step = 1; step <= 5; ++step) {
      auto* heading = window.Page(step)->findChild<QLabel*>(QStringLiteral("Step%1HeadingLabel").arg(step));
      QVERIFY(heading);
      QCOMPARE(QAccessible::queryAccessibleInterface(heading)->text(QAccessible::Name), heading->text());
    }
  }

  void FrameTextsAndScreenshots() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.Banner()->text(), QStringLiteral("Create your own photo gallery!"));
    const QString headings[] = {"Step 1:  Select source images", "Step 2:  Set the style of the gallery",
                                "Step 3:  Set the style of  thumbnails", "Step 4:  Set the output path",
                                "Step 5:  Create the gallery"};
    for (int step = 1; step <= 5; ++step) {
      window.GoToStep(step, false);
      QCOMPARE(window.HelpContext(), 40 + 10 * step);
      auto* heading = window.Page(step)->findChild<QLabel*>(QStringLiteral("Step%1HeadingLabel").arg(step));
      QCOMPARE(heading->text(), headings[step - 1]);
      // Every page's controls fit in the layout size.
      QVERIFY(window.Page(step)->minimumSizeHint().height() <= window.Page(step)->height());
      fixture.SaveScreenshot(QStringLiteral("step-%1").arg(step));
    }
  }

  void CloseWhileABoxIsUpAnswersItFirst() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    QDialog box(&window);
    box.setModal(true);
    box.show();
    QVERIFY(QApplication::activeModalWidget() == &box);
    window.close();
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Rejected));
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(fixture.Store().ValueExists(kOptionsKeyPath, "HTMLPage_BGColor"));
  }
};

QTEST_MAIN(WizardTest)
#include "Wizard_uitest.moc"
