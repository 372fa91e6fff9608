// The custom controls: derived bevel colours, the link label's states and
// link, and the folder chooser's caption choice and path shortening.

#include <QImage>
#include <QtTest>

#include "controls/BorderedPanel.h"
#include "controls/NavaFolderDialog.h"
#include "controls/UsefulLabel.h"

using namespace zelvora;

class ControlsTest : public QObject {
  Q_OBJECT
 private slots:
  void BevelsUseColoursDerivedFromThePanel() {
    const QColor grey(128, 128, 128);
    QCOMPARE(DerivedLightColor(grey), QColor(241, 241, 241));  // 255 - round(127 / 9)
    QCOMPARE(DerivedDarkColor(grey), QColor(85, 85, 85));      // round(128 * 2 / 3)

    TBorderedPanel panel;
    panel.resize(40, 20);
    panel.SetColor(grey);
    panel.SetBevelOuter(TBevelCut::Raised);
    panel.SetBevelOuterColorAs(TBevelColorSource::bcsPanelColor);
    const QImage raised = panel.grab().toImage();
    QCOMPARE(raised.pixelColor(0, 0), QColor(241, 241, 241));
    QCOMPARE(raised.pixelColor(39, 19), QColor(85, 85, 85));
    QCOMPARE(raised.pixelColor(20, 10), grey);

    panel.SetBevelOuter(TBevelCut::Lowered);
    panel.SetBorderWidth(2);
    panel.SetBorderColor(Qt::red);
    const QImage lowered = panel.grab().toImage();
    QCOMPARE(lowered.pixelColor(0, 0), QColor(85, 85, 85));
    QCOMPARE(lowered.pixelColor(2, 10), QColor(Qt::red));
    QCOMPARE(lowered.pixelColor(3, 10), grey);
  }

  void LabelFollowsThePointerAndOpensItsLink() {
    TUsefulLabel label;
    label.setText(QStringLiteral("http://www.zelvora.example/"));
    label.resize(200, 20);
    label.SetActiveText(true);
    QStringList opened;
    label.SetLinkOpener([&opened](const QString& target) {
      opened << target;
      return true;
    });
    label.SetStartLinkOnClick(true);
    QCOMPARE(label.TextColor(), label.ColorIdle());
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(label.State(), TUsefulLabel::TState::Down);
    QCOMPARE(label.TextColor(), label.ColorDown());
    // Released outside: nothing opens.
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 5));
    QCOMPARE(label.State(), TUsefulLabel::TState::Idle);
    QVERIFY(opened.isEmpty());
    // Released inside with no URL: the caption is the link.
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(opened, QStringList{QStringLiteral("http://www.zelvora.example/")});
    QCOMPARE(label.TextColor(), label.ColorActive());
    label.SetURL(QStringLiteral("mailto:a@b.example"));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(opened.last(), QStringLiteral("mailto:a@b.example"));
  }

  void CaptionByLocaleCode() {
    const QStringList captions = {"Default=Current folder:", "0407=Mappe gewählt:",
                                  "0413=Huidige map"};
    QCOMPARE(ChooseLocaleCaption(captions, "0407"), QStringLiteral("Mappe gewählt:"));
    QCOMPARE(ChooseLocaleCaption(captions, "041D"), QStringLiteral("Current folder:"));
    QCOMPARE(ChooseLocaleCaption({"0406=Ny mappe", "0413=Nieuwe map"}, "041D"),
             QStringLiteral("Ny mappe"));
    QCOMPARE(ChooseLocaleCaption({}, "0407"), QString());
    QCOMPARE(LocaleCodeOf(QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("0407"));

    TNavaFolderDialog dialog;
    dialog.SetLocaleCode("0407");
    QCOMPARE(dialog.LabelCaption(), QStringLiteral("Mappe gewählt:"));
    QCOMPARE(dialog.NewFolderCaption(), QStringLiteral("Neu Mappe"));
    dialog.SetLocaleCode("0419");
    QCOMPARE(dialog.LabelCaption(), QStringLiteral("Current folder:"));
  }

  void PathShortening() {
    const QChar bs('\\');
    // Short paths, tiny limits and paths with few separators are only cut.
    QCOMPARE(ShortenPath("C:\\Photos\\a.jpg", 50, bs), QStringLiteral("C:\\Photos\\a.jpg"));
    QCOMPARE(ShortenPath("C:\\Photos\\a-very-long-name", 5, bs), QStringLiteral("C:\\Ph"));
    QCOMPARE(ShortenPath(QString(60, 'x'), 50, bs), QString(50, 'x'));
    QCOMPARE(ShortenPath("C:\\" + QString(60, 'y'), 50, bs), ("C:\\" + QString(60, 'y')).left(50));

    const QString deep = "C:\\Documents and Settings\\Someone\\My Pictures\\2004\\Holiday\\Beach";
    const QString shortened = ShortenPath(deep, 50, bs);
    QCOMPARE(shortened, QStringLiteral("C:\\...\\Someone\\My Pictures\\2004\\Holiday\\Beach"));
    QVERIFY(shortened.size() <= 50);
    QCOMPARE(ShortenPath("\\\\server\\share\\one\\two\\three\\four\\five\\six\\seven", 30, bs),
             QStringLiteral("\\\\server\\...\\five\\six\\seven"));
    // Even the last component is too long: cut, with "..." at the end.
    const QString last = "C:\\a\\b\\" + QString(60, 'z');
    QCOMPARE(ShortenPath(last, 50, bs), ("C:\\...\\" + QString(60, 'z')).left(47) + "...");
    QCOMPARE(ShortenPath("/home/someone/Pictures/2004/Holiday/Beach/Day one", 30),
             QStringLiteral("/home/.../Beach/Day one"));
  }
};

QTEST_MAIN(ControlsTest)
#include "Controls_uitest.moc"
