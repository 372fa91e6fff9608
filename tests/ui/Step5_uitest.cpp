// Step 5: the Create run on its worker thread as the window shows it — the
// bars, the Next button's modes, Abort, the messages, the overwrite question,
// the full disk, Show me! and closing the window mid-run.

#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <filesystem>
#include <set>

#include "app/StepIndicator.h"
#include "app/steps/Step5Page.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "settings/SettingsTable.h"
#include "support/PictureWriters.h"
#include "support/TestFileSystem.h"
#include "support/WizardFixture.h"
#include "util/PathUtils.h"

using namespace zelvora;

Q_DECLARE_METATYPE(zelvora::TRunOutcome)

namespace {

// Holds the worker inside the write of one file until the test lets it go:
// the test can press a button while a picture is being made.
class TWriteGate {
 public:
  explicit TWriteGate(std::string target) : state_(std::make_shared<TState>()) {
    state_->target = std::move(target);
  }
  // A test that failed half-way must not leave the worker waiting here.
  ~TWriteGate() { Open(); }
  void Install(test::TTestFileSystem& fs) {
    fs.BeforeWrite = [state = state_](const std::string& path) {
      if (!state->passed && path.ends_with(state->target)) {
        state->passed = true;
        state->reached = true;
        state->go.acquire();
      }
    };
  }
  bool Reached() const { return state_->reached; }
  void Open() { state_->go.release(); }

 private:
  struct TState {
    std::string target;
    std::atomic<bool> passed{false}, reached{false};
    QSemaphore go;
  };
  std::shared_ptr<TState> state_;
};

// A window on step 5 with three JPEG pictures in its list and an output
// folder in the fixture's temporary folder.
class TStep5Window {
 public:
  // No beta note and no automatic filling of the list at the first showing:
  // the list holds the test's pictures and the boxes its questions alone.
  static test::TWizardFixture& Quiet(test::TWizardFixture& fixture) {
    fixture.Store().WriteString(kBaseKeyPath, "CurrVersion", std::string(kCurrVersionText));
    fixture.Store().WriteBool(kOptionsKeyPath, "AutoFillImageList", false);
    return fixture;
  }

  TStep5Window() : window(Quiet(fixture).Window()) {
    page = static_cast<TStep5Page*>(window.Page(5));
    page->SetRunFileSystem(fs);
    page->SetPageOpener([this](const QUrl& url) {
      opened << url;
      return true;
    });
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) AddPicture(name);
    output = fixture.Temp().File("out") + "/";
    window.Options().OutputFolder = output;
    window.Options().ThumbTableRowCount = 2;
    window.Options().ThumbTableColumnCount = 2;
    window.show();
    window.GoToStep(5, false);
  }

  void AddPicture(const std::string& name) {
    const std::string path =
        fixture.Temp().Write("src/" + name, test::MakeJpeg(test::MakePhotoLikePicture(64, 48)));
    window.List().AddFile(path);
  }
  QProgressBar* Bar(const char* name) { return window.findChild<QProgressBar*>(name); }
  void Click() { QTest::mouseClick(window.NextButton(), Qt::LeftButton); }
  bool Exists(const std::string& name) const { return FileExists(output + name); }
  // Waits for the run to end and says how.
  TRunOutcome WaitForEnd(QSignalSpy& finished) {
    if (finished.isEmpty() && !finished.wait(10000)) return TRunOutcome::Stopped;
    return finished.takeFirst().at(0).value<TRunOutcome>();
  }

  // The file system outlives the window, whose end stops any run.
  test::TTestFileSystem fs;
  test::TWizardFixture fixture;
  TMainForm& window;
  TStep5Page* page = nullptr;
  std::string output;
  QList<QUrl> opened;
};

}  // namespace

class Step5Test : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qRegisterMetaType<TRunOutcome>(); }

  void ThreePicturesEndDoneWithShowMe() {
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.Click();
    // The buttons change at once, before the worker has done anything.
    QCOMPARE(w.window.NextMode(), TNextMode::Freeze);
    QVERIFY(!w.window.PrevButton()->isEnabled());
    QVERIFY(w.page->RunActive());

    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
    QCOMPARE(w.window.NextMode(), TNextMode::ShowMe);
    QCOMPARE(w.window.NextButton()->text(), QStringLiteral("&Show me!"));
    QVERIFY(w.window.PrevButton()->isEnabled());
    QVERIFY(w.window.NextButton()->isEnabled());
    QVERIFY(w.window.AbortButton()->isHidden());
    QVERIFY(w.window.NextButton()->hasFocus());
    for (int k = 1; k <= 5; ++k) QVERIFY(w.window.Indicator()->Ticked(k));
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->maximum(), 3);
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->value(), 3);
    QCOMPARE(w.Bar("PagesProgressBar")->maximum(), 5);
    QCOMPARE(w.Bar("PagesProgressBar")->value(), 5);
    QCOMPARE(w.Bar("PagesProgressBar")->accessibleName(), QStringLiteral("Pages..."));
    QVERIFY(w.Exists("thumbnails/c_thumb.jpg"));
    QVERIFY(w.Exists("GalleryOptions.gof"));
    w.fixture.SaveScreenshot(QStringLiteral("step5-done"));

    w.Click();
    QCOMPARE(w.opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(w.output +
                                                                              "index.html"))});
    QCOMPARE(w.window.NextMode(), TNextMode::ShowMe);  // Show me! keeps its mode

    // A second run with nothing to write still shows the earlier gallery.
    w.window.GoToStep(4, false);
    w.window.GoToStep(5, false);
    w.window.List().Clear();
    w.window.List().InsertSeparator(0);
    w.Click();
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
    QCOMPARE(w.window.NextMode(), TNextMode::ShowMe);
    w.Click();
    QCOMPARE(w.opened.size(), 2);
    QCOMPARE(w.opened.last(), w.opened.first());
  }

  void FreezeLetsThePictureFinishThenContinueAndAbort() {
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    TWriteGate gate("a_thumb.jpg"), second("c_thumb.jpg");
    gate.Install(w.fs);
    w.Click();
    QTRY_VERIFY(gate.Reached());
    w.Click();  // Free&ze while the first thumbnail is being written
    QCOMPARE(w.window.NextMode(), TNextMode::Freeze);
    gate.Open();
    QTRY_COMPARE(w.window.NextMode(), TNextMode::Continue);
    QTRY_VERIFY(w.window.NextButton()->isEnabled());  // the run waits
    QVERIFY(w.window.AbortButton()->isVisible());
    QVERIFY(!w.window.PrevButton()->isEnabled());
    // The picture under way was finished, thumbnail and copy; nothing more.
    QVERIFY(w.Exists("thumbnails/a_thumb.jpg"));
    QVERIFY(w.Exists("images/a.jpg"));
    QVERIFY(!w.Exists("thumbnails/b_thumb.jpg"));
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->value(), 1);

    second.Install(w.fs);
    w.Click();  // &Continue
    QCOMPARE(w.window.NextMode(), TNextMode::Freeze);
    QTRY_VERIFY(second.Reached());
    QTRY_VERIFY(w.window.AbortButton()->isHidden());
    QTRY_VERIFY(w.window.NextButton()->isEnabled());
    w.fixture.SaveScreenshot(QStringLiteral("step5-running"));
    w.Click();  // Free&ze again
    second.Open();
    QTRY_COMPARE(w.window.NextMode(), TNextMode::Continue);
    QTRY_VERIFY(w.window.NextButton()->isEnabled());  // the run waits
    QVERIFY(w.window.AbortButton()->isVisible());
    w.fixture.SaveScreenshot(QStringLiteral("step5-paused"));

    QTest::mouseClick(w.window.AbortButton(), Qt::LeftButton);
    QCOMPARE(w.window.NextMode(), TNextMode::Create);
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->value(), 0);
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Stopped);
    QCOMPARE(w.window.NextMode(), TNextMode::Create);
    QVERIFY(w.window.AbortButton()->isHidden());
    QVERIFY(w.window.PrevButton()->isEnabled());
    QVERIFY(w.window.NextButton()->isEnabled());
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->value(), 0);
    QCOMPARE(w.Bar("PagesProgressBar")->value(), 0);
    QVERIFY(!w.Exists("index.html"));
    QVERIFY(!w.window.Indicator()->Ticked(5));
  }

  void OverwriteAnsweredNoToAllKeepsCopiesAndCancelStops() {
    {
      TStep5Window w;
      QSignalSpy finished(w.page, &TStep5Page::RunFinished);
      test::TempDir& temp = w.fixture.Temp();
      temp.Write("out/images/a.jpg", "old a");
      temp.Write("out/images/b.jpg", "old b");
      w.fixture.Dialogs().Queue(TOverwriteReply::NoToAll);
      w.Click();
      QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
      const auto& asked = w.fixture.Dialogs().Asked();
      QCOMPARE(asked.size(), size_t{1});  // "N&o to All" stands for the rest
      QCOMPARE(asked[0].kind, QStringLiteral("overwrite"));
      QCOMPARE(asked[0].text, QStringLiteral("File already exists:\n%1\nYou are sure to rewrite "
                                             "this file?")
                                  .arg(QString::fromStdString(w.output + "images/a.jpg")));
      QCOMPARE(test::ReadFileBytes(w.output + "images/a.jpg"), std::string("old a"));
      QCOMPARE(test::ReadFileBytes(w.output + "images/b.jpg"), std::string("old b"));
      QVERIFY(w.Exists("images/c.jpg"));
      QVERIFY(w.Exists("thumbnails/a_thumb.jpg"));
    }
    {
      TStep5Window w;
      QSignalSpy finished(w.page, &TStep5Page::RunFinished);
      w.fixture.Temp().Write("out/images/b.jpg", "old b");
      w.fixture.Dialogs().Queue(TOverwriteReply::Cancel);
      w.Click();
      QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Stopped);
      QCOMPARE(w.fixture.Dialogs().Asked().size(), size_t{1});
      QCOMPARE(w.window.NextMode(), TNextMode::Create);
      QVERIFY(w.Exists("images/a.jpg"));  // what was written before stays
      QVERIFY(!w.Exists("thumbnails/c_thumb.jpg"));
      QCOMPARE(test::ReadFileBytes(w.output + "images/b.jpg"), std::string("old b"));
    }
  }

  void FullDiskWaitsPausedAndContinueRetriesTheSameFile() {
    std::atomic<bool> filled = false;
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    w.fs.BeforeWrite = [&](const std::string& target) {
      if (target.ends_with("b_thumb.jpg") && !filled) w.fs.DiskFull = filled = true;
    };
    w.Click();
    QTRY_COMPARE(w.fixture.Dialogs().Asked().size(), size_t{1});
    const test::TAskedDialog message = w.fixture.Dialogs().Asked()[0];
    QCOMPARE(message.caption, QStringLiteral(" Write Error"));
    QCOMPARE(message.text,
             QStringLiteral("There is no free space on the disk \"/test-volume\"\nPlease, free the "
                            "space for files and press the Continue button\nto continue making "
                            "of gallery, or press the Abort button to abort."));
    QTRY_COMPARE(w.window.NextMode(), TNextMode::Continue);
    QTRY_VERIFY(w.window.NextButton()->isEnabled());  // the run waits
    QVERIFY(w.window.AbortButton()->isVisible());
    QVERIFY(w.page->RunActive());
    QVERIFY(!w.Exists("thumbnails/b_thumb.jpg"));

    w.fs.DiskFull = false;  // the user frees space
    w.Click();
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
    QVERIFY(w.Exists("thumbnails/b_thumb.jpg"));
    const auto written = w.fs.WrittenBelow(w.fixture.Temp().File("out"));
    QCOMPARE(std::count(written.begin(), written.end(), "thumbnails/b_thumb.jpg"), 1);
    QCOMPARE(w.fixture.Dialogs().Asked().size(), size_t{1});
  }

  void FailedWriteAndCopyStopWithTheirMessage() {
    {
      TStep5Window w;
      QSignalSpy finished(w.page, &TStep5Page::RunFinished);
      w.fs.FailWritesTo = "page1.html";
      w.Click();
      QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Stopped);
      const auto& asked = w.fixture.Dialogs().Asked();
      QCOMPARE(asked.size(), size_t{1});
      QCOMPARE(asked[0].caption, QStringLiteral(" Write Error"));
      QCOMPARE(asked[0].text, QStringLiteral("There was a file write error.\nThe creation of the "
                                             "gallery is aborted."));
      QCOMPARE(w.window.NextMode(), TNextMode::Create);
      QVERIFY(w.window.PrevButton()->isEnabled());
    }
    {
      TStep5Window w;
      QSignalSpy finished(w.page, &TStep5Page::RunFinished);
      w.fs.FailCopiesTo = "images/b.jpg";
      w.Click();
      QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Stopped);
      const auto& asked = w.fixture.Dialogs().Asked();
      QCOMPARE(asked.size(), size_t{1});
      QCOMPARE(asked[0].caption, QStringLiteral(" Copy Error"));
      QCOMPARE(asked[0].text,
               QStringLiteral("There was a file copy error:\n\n%1\n\nThe creation of the gallery "
                              "is aborted.")
                   .arg(QString::fromStdString(w.output + "images/b.jpg")));
    }
  }

  void ClosingMidRunStopsTheRunAndWritesTheSettings() {
    // Paused at its check point, the run cannot write on once it is told.
    for (bool close : {true, false}) {
      TStep5Window w;
      TWriteGate gate("a_thumb.jpg");
      gate.Install(w.fs);
      w.Click();
      QTRY_VERIFY(gate.Reached());
      w.Click();
      gate.Open();
      QTRY_COMPARE(w.window.NextMode(), TNextMode::Continue);
      QTRY_VERIFY(w.window.NextButton()->isEnabled());  // the run waits
      QVERIFY(w.page->RunActive());
      if (!close) continue;  // destroyed without a close
      w.fixture.CloseWindow();
      QVERIFY(!FileExists(w.output + "thumbnails/b_thumb.jpg"));
      QVERIFY(!FileExists(w.output + "index.html"));
      QVERIFY(w.fixture.Store().ValueExists(kOptionsKeyPath, "FolderHistoryLimit"));
    }
    {
      // Closed while a picture is being written: the run stops wherever it
      // stands, and the window still goes and saves.
      TStep5Window w;
      TWriteGate gate("b_thumb.jpg");
      gate.Install(w.fs);
      w.Click();
      QTRY_VERIFY(gate.Reached());
      gate.Open();
      w.fixture.CloseWindow();
      QVERIFY(w.fixture.Store().ValueExists(kOptionsKeyPath, "FolderHistoryLimit"));
    }
  }

  void BackgroundPictureOfStepTwoGoesIntoTheGallery() {
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    // The picture chosen with step 2's "Change..." button.
    const std::string background = w.fixture.Temp().Write(
        "bg/paper.jpg", test::MakeJpeg(test::MakePhotoLikePicture(32, 32)));
    w.fixture.Dialogs().Queue(QString::fromStdString(background));
    w.window.findChild<QPushButton*>("BackgroundImageChangeButton")->click();
    w.Click();
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
    QCOMPARE(test::ReadFileBytes(w.output + "thumbnails/paper.jpg"),
             test::ReadFileBytes(background));
    QCOMPARE(w.window.Options().HTMLPage_Background, std::string("thumbnails/paper.jpg"));
  }

  void AStoppedRunsLateReportsLeaveTheNextRunAlone() {
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    TWriteGate gate("a_thumb.jpg");
    gate.Install(w.fs);
    w.Click();
    QTRY_VERIFY(gate.Reached());
    gate.Open();
    // Stopped and started again before the first run's reports come in.
    w.page->StopRunForClose();
    w.fixture.Dialogs().Queue(TOverwriteReply::YesToAll);  // the first copy is there
    w.page->OnCreateGalleryClick();
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);
    QVERIFY(!w.page->RunActive());
    QCOMPARE(w.window.NextMode(), TNextMode::ShowMe);
    QCOMPARE(w.Bar("ThumbnailsProgressBar")->value(), 3);
    QTest::qWait(50);  // anything still queued from the first run
    QCOMPARE(finished.size(), 0);
  }

  void WizardAndZelvoraMakeWriteTheSameGallery() {
    TStep5Window w;
    QSignalSpy finished(w.page, &TStep5Page::RunFinished);
    test::TempDir& temp = w.fixture.Temp();
    temp.Write("src/d.bmp", test::MakeBmp(test::MakeTestPattern(50, 40)));
    w.window.List().InsertSeparator(1);
    w.window.List().AddFile(temp.File("src/d.bmp"));
    w.window.Options().Thumb_Description.Set(Show_ImageName, true);
    w.window.Options().RenameImageMask.clear();
    w.Click();
    QCOMPARE(w.WaitForEnd(finished), TRunOutcome::Done);

    // The same list and options, given to zelvora-make. An options file
    // cannot carry the Default mark of a colour; leaving the line out keeps
    // the marked default.
    TStringList lines;
    QVERIFY(w.window.Options().SaveToStrings(lines));
    std::string optionsText;
    for (const std::string& line : lines) {
      if (line.starts_with("HTMLPage_DisabledLinkColor=") &&
          IsDefaultColor(w.window.Options().HTMLPage_DisabledLinkColor))
        continue;
      optionsText += line + "\r\n";
    }
    temp.Write("options.gof", optionsText);
    const std::string list = temp.Write(
        "list.txt", temp.File("src/a.jpg") + "\r\n\r\n" + temp.File("src/b.jpg") + "\r\n" +
                        temp.File("src/c.jpg") + "\r\n" + temp.File("src/d.bmp") + "\r\n");
    QProcess make;
    make.start(QString::fromLocal8Bit(qgetenv("ZELVORA_BUILD_DIR")) + "/zelvora-make",
               {"--options", QString::fromStdString(temp.File("options.gof")), "--list",
                QString::fromStdString(list), QString::fromStdString(temp.File("cli"))});
    QVERIFY(make.waitForFinished(60000));
    QCOMPARE(make.exitCode(), 0);

    auto filesBelow = [](const std::string& folder) {
      std::set<std::string> names;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
          names.insert(std::filesystem::relative(entry.path(), folder).string());
      return names;
    };
    const auto files = filesBelow(temp.File("out"));
    QCOMPARE(files, filesBelow(temp.File("cli")));
    QVERIFY(files.count("images/d.jpg"));
    for (const std::string& name : files) {
      QVERIFY2(test::ReadFileBytes(temp.File("out/" + name)) ==
                   test::ReadFileBytes(temp.File("cli/" + name)),
               name.c_str());
    }
  }

};

QTEST_MAIN(Step5Test)
#include "Step5_uitest.moc"
