// Step 3: the thumbnail controls, their live preview, what they put into the
// option set and the store, and the limit-size panel.

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include "app/TextConvert.h"
#include "app/steps/Step3Page.h"
#include "controls/UsefulPanel.h"
#include "gallery/GallerySet.h"
#include "imaging/Colors.h"
#include "settings/SettingsTable.h"
#include "support/WizardFixture.h"

using namespace zelvora;

namespace {

class TStep3Window {
 public:
  TStep3Window() : window(fixture.Window()) {
    page = static_cast<TStep3Page*>(window.Page(3));
    window.show();
    window.GoToStep(3, false);
  }
  template <typename T>
  T* Get(const char* name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", name);
    return control;
  }
  QSpinBox* Spin(const char* name) { return Get<QSpinBox>(name); }
  QCheckBox* Box(const char* name) { return Get<QCheckBox>(name); }
  QLabel* Thumb() { return Get<QLabel>("ThumbSizePanel"); }
  // Types a number into a spin box as a user would.
  void Type(QSpinBox* spin, int value) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
  }
  QColor PixelOfThumb(int x, int y) { return Thumb()->grab().toImage().pixelColor(x, y); }

  test::TWizardFixture fixture;
  TMainForm& window;
  TStep3Page* page = nullptr;
};

}  // namespace

class Step3Test : public QObject {
  Q_OBJECT
 private slots:
  void PreviewSizeAndCaptionFollowTheBox() {
    TStep3Window w;
    QCOMPARE(w.Thumb()->geometry(), QRect(30, 30, 100, 100));
    QCOMPARE(w.Thumb()->text(), QString());

    // Square carries the width over; past 160 pixels the panel is scaled
    // down and captioned.
    w.Type(w.Spin("ThumbWidthSpinEdit"), 200);
    QCOMPARE(w.Spin("ThumbHeightSpinEdit")->value(), 200);
    QCOMPARE(w.Thumb()->geometry(), QRect(0, 0, 160, 160));
    QCOMPARE(w.Thumb()->text(), QStringLiteral("200 x 200"));

    w.Box("SquareThumbCheckBox")->click();
    w.Type(w.Spin("ThumbHeightSpinEdit"), 150);
    QCOMPARE(w.Spin("ThumbWidthSpinEdit")->value(), 200);
    QCOMPARE(w.Thumb()->geometry(), QRect(0, 20, 160, 120));
    QCOMPARE(w.Thumb()->text(), QStringLiteral("200 x 150"));

    // 160 itself still fits; truncation, not rounding, below it.
    w.Type(w.Spin("ThumbWidthSpinEdit"), 160);
    QCOMPARE(w.Thumb()->geometry(), QRect(0, 5, 160, 150));
    QCOMPARE(w.Thumb()->text(), QString());
    w.Type(w.Spin("ThumbWidthSpinEdit"), 170);
    w.Type(w.Spin("ThumbHeightSpinEdit"), 100);
    QCOMPARE(w.Thumb()->geometry(), QRect(0, 33, 160, 94));  // 160 / 170 * 100 = 94.1

    // Ticking Square again makes the height follow the width.
    w.Box("SquareThumbCheckBox")->click();
    QCOMPARE(w.Spin("ThumbHeightSpinEdit")->value(), 170);
  }

  void PreviewColoursShowFrameAndShadow() {
    TStep3Window w;
    const QColor grey128 = ToQColor(SetColorLightness(kColorWhite, 127));
    QCOMPARE(w.PixelOfThumb(0, 0), QColor(Qt::black));  // the frame
    QCOMPARE(w.PixelOfThumb(5, 5), grey128);

    w.Box("ThumbFrameCheckBox")->click();
    QCOMPARE(w.PixelOfThumb(0, 0), grey128);

    // A dark shadow gets a light caption.
    w.Type(w.Spin("ThumbWidthSpinEdit"), 1000);
    w.Get<QSlider>("ThumbShadowTrackBar")->setValue(230);
    const QImage dark = w.Thumb()->grab().toImage();
    QCOMPARE(dark.pixelColor(2, 2), ToQColor(SetColorLightness(kColorWhite, 25)));
    bool lightText = false;
    for (int x = 0; x < dark.width() && !lightText; ++x)
      for (int y = 0; y < dark.height() && !lightText; ++y)
        lightText = dark.pixelColor(x, y).lightness() > 200;
    QVERIFY(lightText);

    w.Box("ShadowCheckBox")->click();
    QCOMPARE(w.PixelOfThumb(2, 2).rgb(), QApplication::palette().color(QPalette::Dark).rgb());
  }

  void DisabledTrackBarIgnoresMoves() {
    TStep3Window w;
    QSlider* bar = w.Get<QSlider>("ThumbShadowTrackBar");
    QLabel* value = w.Get<QLabel>("ShadowValueLabel");
    QCOMPARE(value->text(), QStringLiteral("128"));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_End);
    QCOMPARE(value->text(), QStringLiteral("255"));

    w.Box("ShadowCheckBox")->click();
    QVERIFY(!bar->isEnabled());
    QTest::keyClick(bar, Qt::Key_Home);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(2, bar->height() / 2));
    QCOMPARE(bar->value(), 255);
    bar->setValue(10);  // even a move from elsewhere leaves label and preview
    QCOMPARE(value->text(), QStringLiteral("255"));

    // Step 2's background picture clears the shadow as if clicked.
    w.Box("ShadowCheckBox")->click();
    QVERIFY(bar->isEnabled());
    w.window.BackgroundImageChanged(true);
    QVERIFY(!w.Box("ShadowCheckBox")->isChecked());
    QVERIFY(!bar->isEnabled());
  }

  void ControlsFeedTheOptionSet() {
    TStep3Window w;
    TGallerySet& options = w.window.Options();
    w.Type(w.Spin("JPEGQualitySpinEdit"), 75);
    QCOMPARE(options.Thumb_JPEGQuality, 75);
    QCOMPARE(options.Image_JPEGQuality, 75);

    // Description boxes set their bits at once.
    w.Box("FileNameCheckBox")->click();
    w.Box("DimensionsCheckBox")->click();
    QCOMPARE(options.Thumb_Description.ShowFlags, std::uint8_t(Show_ImageName | Show_ImageSides));
    w.Box("FileNameCheckBox")->click();
    QCOMPARE(options.Thumb_Description.ShowFlags, std::uint8_t(Show_ImageSides));

    // Sizes, limits and effects wait for the leave check; the density is
    // taken only while the shadow is on.
    w.Type(w.Spin("ThumbWidthSpinEdit"), 120);
    w.Get<QSlider>("ThumbShadowTrackBar")->setValue(40);
    QCOMPARE(options.Thumb_MaxWidth, 100);
    QVERIFY(w.page->LeaveCheck());
    QCOMPARE(options.Thumb_MaxWidth, 120);
    QCOMPARE(options.Thumb_MaxHeight, 120);
    QCOMPARE(options.Thumb_Effects_ShadowDensity, 40);
    w.Get<QSlider>("ThumbShadowTrackBar")->setValue(90);
    w.Box("ShadowCheckBox")->click();
    w.Box("ThumbFrameCheckBox")->click();
    QVERIFY(w.page->LeaveCheck());
    QVERIFY(!options.Thumb_Effects_Shadow);
    QVERIFY(!options.Thumb_Effects_ContrastFrame);
    QCOMPARE(options.Thumb_Effects_ShadowDensity, 40);
  }

  void LimitSizeControlsShowTheirPanelAndWriteTheStore() {
    TStep3Window w;
    TUsefulRegistry& store = w.fixture.Store();
    auto* panel = w.Get<TUsefulPanel>("LimitSizePanel");
    QVERIFY(panel->isHidden());
    w.Box("LimitImageSizeCheckBox")->click();
    QVERIFY(panel->isVisible());
    QVERIFY(store.ReadBool(kOptionsKeyPath, "Image_LimitWebPageImageSize", false));

    w.Type(w.Spin("MaxImageWidthSpinEdit1"), 800);
    QCOMPARE(store.ReadInteger(kOptionsKeyPath, "Image_MaxWidth", 0), 800);
    w.Spin("MaxImageHeightSpinEdit1")->stepUp();
    QCOMPARE(store.ReadInteger(kOptionsKeyPath, "Image_MaxHeight", 0), 610);
    w.Box("ResizeImagesCheckBox")->click();
    QVERIFY(store.ReadBool(kOptionsKeyPath, "Image_ResizeSrcImages", false));

    QVERIFY(w.page->LeaveCheck());
    const TGallerySet& options = w.window.Options();
    QVERIFY(options.Image_LimitWebPageImageSize);
    QCOMPARE(options.Image_MaxWidth, 800);
    QCOMPARE(options.Image_MaxHeight, 610);
    QVERIFY(options.Image_ResizeSrcImages);

    w.Box("LimitImageSizeCheckBox")->click();
    QVERIFY(panel->isHidden());
    QVERIFY(!store.ReadBool(kOptionsKeyPath, "Image_LimitWebPageImageSize", true));
  }

  void UsefulPanelPassesItsStateToItsChildren() {
    TUsefulPanel panel;
    auto* first = new QSpinBox(&panel);
    auto* second = new QCheckBox(&panel);
    second->setEnabled(false);
    panel.setEnabled(true);  // no change: a child disabled on its own stays so
    QVERIFY(!second->isEnabled());
    panel.setEnabled(false);
    QVERIFY(!first->isEnabledTo(&panel));
    QVERIFY(!second->isEnabledTo(&panel));
    panel.setEnabled(true);
    QVERIFY(first->isEnabled());
    QVERIFY(second->isEnabled());

    // Made disabled before its children exist, as a form loads it.
    TUsefulPanel loaded;
    loaded.setEnabled(false);
    auto* child = new QCheckBox(&loaded);
    loaded.ensurePolished();
    QVERIFY(!child->isEnabledTo(&loaded));
  }

  void StoredSettingsAndImportedOptionsReachTheControls() {
    test::TWizardFixture fixture;
    TUsefulRegistry& store = fixture.Store();
    store.WriteBool(kOptionsKeyPath, "Thumb_Shadow", false);
    store.WriteInteger(kOptionsKeyPath, "Thumb_ShadowValue", 300);
    store.WriteString(kOptionsKeyPath, "Thumb_JPEGQualityValue", "75");
    store.WriteBool(kOptionsKeyPath, "Thumb_DescribeComment", true);
    store.WriteBool(kOptionsKeyPath, "Image_LimitWebPageImageSize", true);
    store.WriteInteger(kOptionsKeyPath, "Image_MaxWidth", 1024);
    TMainForm& window = fixture.Window();
    const TGallerySet& options = window.Options();
    QVERIFY(!window.findChild<QSlider*>("ThumbShadowTrackBar")->isEnabled());
    // Out of range is kept in range, in the control and the options alike.
    QCOMPARE(window.findChild<QLabel*>("ShadowValueLabel")->text(), QStringLiteral("255"));
    QCOMPARE(options.Thumb_Effects_ShadowDensity, 255);
    // A number stored as text reads as the default.
    QCOMPARE(options.Thumb_JPEGQuality, 90);
    QCOMPARE(options.Image_JPEGQuality, 90);
    QCOMPARE(options.Thumb_Description.ShowFlags, std::uint8_t(Show_ImageComment));
    QVERIFY(options.Image_LimitWebPageImageSize);
    QCOMPARE(options.Image_MaxWidth, 1024);
    QCOMPARE(options.Image_MaxHeight, 600);
    // Reading the store does not write it back.
    QVERIFY(!store.ValueExists(kOptionsKeyPath, "Image_MaxHeight"));

    // An imported set: Square only when the sides are equal, and it must
    // not carry the width over to the height on the way in.
    TGallerySet imported;
    imported.Thumb_MaxWidth = 200;
    imported.Thumb_MaxHeight = 150;
    imported.Thumb_Effects_Shadow = true;
    imported.Thumb_Effects_ShadowDensity = 64;
    window.ShowOptionSet(imported);
    QCOMPARE(window.findChild<QSpinBox*>("ThumbWidthSpinEdit")->value(), 200);
    QCOMPARE(window.findChild<QSpinBox*>("ThumbHeightSpinEdit")->value(), 150);
    QVERIFY(!window.findChild<QCheckBox*>("SquareThumbCheckBox")->isChecked());
    QVERIFY(window.findChild<QSlider*>("ThumbShadowTrackBar")->isEnabled());
    QCOMPARE(window.findChild<QLabel*>("ShadowValueLabel")->text(), QStringLiteral("64"));
    QCOMPARE(window.findChild<QLabel*>("ThumbSizePanel")->text(), QStringLiteral("200 x 150"));
  }

  void SpinBoxesAreNamedAfterTheirLabels() {
    TStep3Window w;
    QCOMPARE(w.Spin("ThumbWidthSpinEdit")->accessibleName(),
             QStringLiteral("Width, not more than"));
    QCOMPARE(w.Spin("JPEGQualitySpinEdit")->accessibleName(), QStringLiteral("JPEG quality (%)"));
    QCOMPARE(w.Spin("MaxImageHeightSpinEdit1")->accessibleName(),
             QStringLiteral("Height, not more than"));
    QVERIFY(!w.Get<QWidget>("MainSizePanel")->accessibleName().isEmpty());
    w.fixture.SaveScreenshot(QStringLiteral("step3"));
  }
};

QTEST_MAIN(Step3Test)
#include "Step3_uitest.moc"
