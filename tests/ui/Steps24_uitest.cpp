// Steps 2 and 4: leave checks and what they take, the step 4 interlocks,
// the link colour swatches and the background image.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "app/StepIndicator.h"
#include "app/steps/Step2Page.h"
#include "app/steps/Step4Page.h"
#include "controls/BorderedPanel.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "settings/SettingsTable.h"
#include "support/PictureWriters.h"
#include "support/WizardFixture.h"
#include "texts/InterfaceTexts.h"

using namespace zelvora;

namespace {

void Click(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

// The window on step 4 with an existing output folder typed in. A page
// separator in the list lets step 1's check pass.
void ToStep4(test::TWizardFixture& fixture, const QString& folder) {
  TMainForm& window = fixture.Window();
  window.List().InsertSeparator(0);
  QVERIFY(window.GoToStep(4, true));
  window.Step4()->OutputFolderBox()->setEditText(folder);
}

}  // namespace

class Steps24Test : public QObject {
  Q_OBJECT
 private slots:
  void StepFourRefusesAMissingOutputFolder() {
    test::TWizardFixture fixture;
    ToStep4(fixture, QString::fromStdString(fixture.Temp().File("missing")));
    TMainForm& window = fixture.Window();
    window.NextButton()->click();
    QCOMPARE(window.CurrentStep(), 4);
    QCOMPARE(fixture.Dialogs().Asked().size(), std::size_t{1});
    QCOMPARE(fixture.Dialogs().Asked()[0].text,
             QStringLiteral("Please, select the right output directory. Or create it."));

    // An existing folder passes; the box shows it normalised and it heads the history.
    const QString folder = QString::fromStdString(fixture.Temp().Path().string()) + "/";
    window.Step4()->OutputFolderBox()->setEditText(folder);
    window.NextButton()->click();
    QCOMPARE(window.CurrentStep(), 5);
    QCOMPARE(QString::fromStdString(window.Options().OutputFolder), folder);
    const QString normalized = folder.chopped(1);
    QCOMPARE(window.Step4()->OutputFolderBox()->currentText(), normalized);
    QCOMPARE(window.Step4()->OutputFolderBox()->itemText(0), normalized);
  }

  void GoingBackAndForthRerunsOnlyTheChecksAhead() {
    test::TWizardFixture fixture;
    const std::string folder = fixture.Temp().File("out");
    std::filesystem::create_directory(folder);
    ToStep4(fixture, QString::fromStdString(folder));
    TMainForm& window = fixture.Window();
    QVERIFY(window.GoToStep(5, true));
    QVERIFY(window.GoToStep(2, true));
    // Step 4's check would now fail, but it lies ahead of step 3 and is not run.
    std::filesystem::remove(folder);
    window.findChild<QSpinBox*>(QStringLiteral("ThumbVNumSpinEdit"))->setValue(7);
    window.NextButton()->click();
    window.NextButton()->click();
    QCOMPARE(window.CurrentStep(), 4);
    QVERIFY(fixture.Dialogs().Asked().empty());
    QCOMPARE(window.Options().ThumbTableRowCount, 7);  // step 2's check ran again
    for (int k = 1; k <= 5; ++k) QCOMPARE(window.Indicator()->Ticked(k), k < 4);
  }

  void RenamingAndKeepingInPlaceExcludeEachOther() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    window.GoToStep(4, false);
    TStep4Page& step = *window.Step4();
    QVERIFY(!step.MaskBox()->isEnabled());

    Click(step.RenameBox());
    QVERIFY(step.MaskBox()->isEnabled());
    QVERIFY(step.CopyBox()->isChecked());
    QVERIFY(!step.CopyBox()->isEnabled());
    QCOMPARE(fixture.Store().ReadInteger(kOptionsKeyPath, "AutoRenameSourceImages", -1), 1);

    Click(step.KeepLocationBox());
    QVERIFY(!step.RenameBox()->isChecked());
    QVERIFY(!step.MaskBox()->isEnabled());
    QVERIFY(!step.CopyBox()->isChecked());
    QVERIFY(!step.ConvertBox()->isChecked());
    QVERIFY(!step.ConvertBox()->isEnabled());
    QCOMPARE(fixture.Store().ReadInteger(kOptionsKeyPath, "KeepLocationOfImages", -1), 1);
    QCOMPARE(fixture.Store().ReadInteger(kOptionsKeyPath, "AutoRenameSourceImages", -1), 0);
    QCOMPARE(fixture.Store().ReadInteger(kOptionsKeyPath, "CopySourceImages", -1), 0);
    QCOMPARE(fixture.Store().ReadInteger(kOptionsKeyPath, "ConvertWebIncompatibleImagesToJPEG", -1), 0);

    Click(step.RenameBox());
    QVERIFY(!step.KeepLocationBox()->isChecked());
    QVERIFY(step.CopyBox()->isChecked());
    QVERIFY(step.ConvertBox()->isEnabled());
  }

  void LeavingStepFourTakesTheFlagsAndMask() {
    test::TWizardFixture fixture;
    ToStep4(fixture, QString::fromStdString(fixture.Temp().Path().string()));
    TMainForm& window = fixture.Window();
    TStep4Page& step = *window.Step4();
    step.MaskBox()->setEditText(QStringLiteral("pic-%3c"));
    window.Options().Image_ResizeSrcImages = true;
    step.KeepLocationBox()->setChecked(true);
    QVERIFY(window.GoToStep(5, true));
    // Renaming off: no mask goes into the set, though the box keeps its text.
    QCOMPARE(window.Options().RenameImages, false);
    QCOMPARE(window.Options().RenameImageMask, std::string());
    QCOMPARE(step.MaskBox()->currentText(), QStringLiteral("pic-%3c"));
    QCOMPARE(step.MaskBox()->itemText(0), QStringLiteral("pic-%3c"));
    // Pictures kept in place are never reduced.
    QCOMPARE(window.Options().KeepLocationOfImages, true);
    QCOMPARE(window.Options().Image_ResizeSrcImages, false);
    QCOMPARE(window.Options().ConvertWebIncompatibleImagesToJPEG, false);

    QVERIFY(window.GoToStep(4, true));
    step.RenameBox()->setChecked(true);
    QVERIFY(window.GoToStep(5, true));
    QCOMPARE(window.Options().RenameImages, true);
    QCOMPARE(window.Options().RenameImageMask, std::string("pic-%3c"));
    QCOMPARE(window.Options().KeepLocationOfImages, false);
  }

  void ClearedLinkColourShowsDefaultOnTheBackground() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.show();
    window.GoToStep(2, false);
    TStep2Page& step = *window.Step2();
    // The disabled-link colour starts without a colour of its own.
    QVERIFY(!step.LinkCheckBox(4)->isChecked());
    QCOMPARE(step.LinkSwatch(4)->Caption(), QStringLiteral("Default"));

    Click(step.LinkCheckBox(1));
    QVERIFY(IsDefaultColor(window.Options().HTMLPage_LinkColor));
    QCOMPARE(step.LinkSwatch(1)->Caption(), QStringLiteral("Default"));
    QCOMPARE(step.LinkSwatch(1)->Color(), QColor(Qt::white));

    fixture.Dialogs().Queue(QColor(0x33, 0x66, 0x99));
    window.findChild<QPushButton*>(QStringLiteral("BGColorChangeButton"))->click();
    QCOMPARE(window.Options().HTMLPage_BGColor, MakeColor(0x33, 0x66, 0x99));
    QCOMPARE(step.LinkSwatch(1)->Color(), QColor(0x33, 0x66, 0x99));
    QCOMPARE(step.BackgroundSwatch()->Color(), QColor(0x33, 0x66, 0x99));
    QCOMPARE(step.LinkSwatch(0)->Color(), QColor(Qt::black));  // a colour of its own stays

    // Choosing a colour on a swatch gives it that colour and checks its box.
    fixture.Dialogs().Queue(QColor(0xAA, 0x00, 0x11));
    emit step.LinkSwatch(1)->Clicked();
    QCOMPARE(fixture.Dialogs().Asked().back().text, QStringLiteral("#0000ff"));  // offered without the mark
    QCOMPARE(window.Options().HTMLPage_LinkColor, MakeColor(0xAA, 0x00, 0x11));
    QVERIFY(step.LinkCheckBox(1)->isChecked());
    QCOMPARE(step.LinkSwatch(1)->Caption(), QString());
  }

  void BackgroundImageTurnsTheShadowOffAndIsRemembered() {
    test::TWizardFixture fixture;
    const std::string picture =
        fixture.Temp().Write("paper.jpg", test::MakeJpeg(test::MakeTestPattern(40, 30)));
    TMainForm& window = fixture.Window();
    window.GoToStep(2, false);
    fixture.Dialogs().Queue(QString::fromStdString(picture));
    window.findChild<QPushButton*>(QStringLiteral("BackgroundImageChangeButton"))->click();
    const test::TAskedDialog& asked = fixture.Dialogs().Asked().back();
    QCOMPARE(asked.text, QStringLiteral(
        "Background Images (*.gif;*.jpg;*.jpeg)|*.gif;*.jpg;*.jpeg|All Files (*.*)|*.*"));
    auto* box = window.findChild<QCheckBox*>(QStringLiteral("BackgroundImageCheckBox"));
    QVERIFY(box->isChecked());
    QCOMPARE(window.BackgroundImagePath(), picture);
    QCOMPARE(fixture.Store().ReadString(kOptionsKeyPath, "HTMLPage_Background", "?"), picture);
    // Step 3's "Shadow" box follows the opposite state.
    QCheckBox* shadow = nullptr;
    for (QCheckBox* candidate : window.Page(3)->findChildren<QCheckBox*>()) {
      if (candidate->text() == QStringLiteral("Shadow")) shadow = candidate;
    }
    if (shadow) QVERIFY(!shadow->isChecked());

    // The next start shows the remembered picture.
    fixture.CloseWindow();
    TMainForm& again = fixture.Window();
    QCOMPARE(again.BackgroundImagePath(), picture);
    box = again.findChild<QCheckBox*>(QStringLiteral("BackgroundImageCheckBox"));
    QVERIFY(box->isChecked());
    QVERIFY(!again.findChild<QLabel*>(QStringLiteral("BackgroundImagePreview"))->pixmap().isNull());

    box->click();
    QCOMPARE(fixture.Store().ReadString(kOptionsKeyPath, "HTMLPage_Background", "?"), std::string());
    QCOMPARE(again.BackgroundImagePath(), std::string());
  }

  void HomeLinkFollowsTheBoxAndLeavingAddsItToTheHistory() {
    test::TWizardFixture fixture;
    TMainForm& window = fixture.Window();
    window.GoToStep(2, false);
    QComboBox* box = window.Step2()->HomeLinkBox();
    QCOMPARE(box->count(), 6);
    QCOMPARE(box->itemText(0), QStringLiteral("<none>"));
    QCOMPARE(box->currentText(), QStringLiteral("index.html"));
    box->setEditText(QStringLiteral("../Index.HTML"));
    QCOMPARE(window.Options().Navig_HomeURL, std::string("../Index.HTML"));
    QVERIFY(window.GoToStep(3, true));
    QCOMPARE(box->itemText(0), QStringLiteral("../Index.HTML"));
    QCOMPARE(box->count(), 7);
  }
};

QTEST_MAIN(Steps24Test)
#include "Steps24_uitest.moc"
