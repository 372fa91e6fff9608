// The wizard's frame: steps, leave checks in order, the Next button's modes.

#include <QPushButton>
#include <QtTest>

#include "app/StepIndicator.h"
#include "support/WizardFixture.h"

using namespace zelvora;

class WizardTest : public QObject {
  Q_OBJECT
 private slots:
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
};

QTEST_MAIN(WizardTest)
#include "Wizard_uitest.moc"
