// Step 1 of the wizard: opening folders, the list buttons and keys, the
// preview, comments, and saving, loading and importing lists.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/steps/Step1Page.h"
#include "controls/UsefulFileBox.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "gallery/ListFiles.h"
#include "settings/SettingsTable.h"
#include "support/PictureWriters.h"
#include "support/WizardFixture.h"

using namespace zelvora;

namespace {

// A window on step 1 whose remembered source folder is the given one, with
// automatic adding as asked; returns once that folder has been opened.
class TStep1 {
 public:
  explicit TStep1(const std::string& folder, bool autoFill = true) {
    fixture.Store().WriteString(kHistoryKeyPath, "ImageSourceFolder", folder);
    fixture.Store().WriteBool(kOptionsKeyPath, "AutoFillImageList", autoFill);
    window = &fixture.Window();
    page = static_cast<TStep1Page*>(window->Page(1));
    files = page->findChild<TUsefulFileBox*>("ImageFilesListBox");
    images = page->findChild<QListView*>("GalleryImageListBox");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(!page->Busy() && files->Directory() == folder);
  }

  template <typename T>
  T* Find(const char* name) const {
    T* found = page->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  void Click(const char* button) { QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton); }
  void Trigger(const char* item) { Find<QAction>(item)->trigger(); }
  TImageGalleryList& List() { return window->List(); }
  QString Count() { return Find<QLabel>("ImagesCountLabel")->text(); }
  void SelectImageRows(std::initializer_list<int> rows) {
    images->setFocus();
    QItemSelectionModel* selection = images->selectionModel();
    selection->clearSelection();
    for (int row : rows) selection->select(images->model()->index(row, 0), QItemSelectionModel::Select);
    selection->setCurrentIndex(images->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < List().Count(); ++i) names.push_back(List().LineText(i));
    // The view must show exactly the list's lines.
    [&] {
      QCOMPARE(images->model()->rowCount(), List().Count());
      for (int i = 0; i < List().Count(); ++i) {
        QCOMPARE(images->model()->index(i, 0).data().toString().toStdString(), names[i]);
      }
    }();
    return names;
  }

  test::TWizardFixture fixture;
  TMainForm* window = nullptr;
  TStep1Page* page = nullptr;
  TUsefulFileBox* files = nullptr;
  QListView* images = nullptr;
};

std::string Jpeg(int width, int height) { return test::MakeJpeg(test::MakeTestPattern(width, height)); }

}  // namespace

class Step1PageTest : public QObject {
  Q_OBJECT
 private slots:
  void OpeningAFolderReplacesTheListInPathOrder() {
    test::TempDir temp;
    for (const char* name : {"A/b.jpg", "A/a.JPG", "A/sub/c.gif", "A/notes.txt", "B/y.bmp", "B/x.jpg"}) {
      temp.Write(name, "");
    }
    TStep1 step(temp.File("A"));
    QCOMPARE(step.Names(), (std::vector<std::string>{"a.JPG", "b.jpg"}));
    QCOMPARE(step.Count(), QStringLiteral("2"));

    // Enter in the box opens what it names; the list is replaced.
    QComboBox* box = step.Find<QComboBox>("SourceFolderNameEdit");
    box->setEditText(QString::fromStdString(temp.File("B")));
    QTest::keyClick(box, Qt::Key_Return);  // the combo box holds the focus
    QCOMPARE(step.Names(), (std::vector<std::string>{"x.jpg", "y.bmp"}));
    QCOMPARE(step.List().Items(0)->FileName, temp.File("B/x.jpg"));

    // Browse: the chosen folder heads the history and is opened, with its subfolders.
    step.Find<QCheckBox>("InclSubfoldersCheckBox")->setChecked(true);
    step.fixture.Dialogs().Queue(QString::fromStdString(temp.File("A")));
    step.Click("Button1");
    QCOMPARE(step.Names(), (std::vector<std::string>{"a.JPG", "b.jpg", "c.gif"}));
    QCOMPARE(box->itemText(0).toStdString(), temp.File("A"));
    QCOMPARE(step.Count(), QStringLiteral("3"));

    // Picking from the drop-down moves the entry to the top and opens it.
    box->addItem(QString::fromStdString(temp.File("B")));
    emit box->activated(1);
    QCOMPARE(box->itemText(0).toStdString(), temp.File("B"));
    QCOMPARE(step.Names(), (std::vector<std::string>{"x.jpg", "y.bmp"}));
    box->setEditText(QString::fromStdString(temp.File("A")));
    QTest::keyClick(box, Qt::Key_Return);  // the combo box holds the focus

    // Without clearing, the same folder again adds nothing.
    step.Find<QCheckBox>("ClearListBeforeAddCheckBox")->click();
    QTest::keyClick(box, Qt::Key_Return);  // the combo box holds the focus
    QCOMPARE(step.List().Count(), 3);
    QVERIFY(!step.fixture.Store().ReadBool(kOptionsKeyPath, "ClearImageListBeforeAutoFill", true));

    // Closing remembers the folder and its history.
    step.fixture.CloseWindow();
    QCOMPARE(step.fixture.Store().ReadString(kHistoryKeyPath, "ImageSourceFolder", ""), temp.File("A"));
    TStringList history;
    step.fixture.Store().ReadList(kHistoryKeyPath, "ImageSourceFolderList", history);
    QCOMPARE(history, (TStringList{temp.File("B"), temp.File("A")}));
  }

  void ABigFolderKeepsTheWindowAliveButTakesNoCommand() {
    test::TempDir temp;
    temp.Write("small/one.jpg", "");
    for (int i = 0; i < 3000; ++i) temp.Write("big/p" + std::to_string(10000 + i) + ".jpg", "");
    TStep1 step(temp.File("small"));
    bool ranDuringWork = false;
    bool disabledMeanwhile = false;
    int listedMeanwhile = -1;
    // Posted now, delivered at the work's first chance to let events run.
    QObject probe;
    QMetaObject::invokeMethod(&probe, [&] {
      if (!step.page->Busy()) return;
      ranDuringWork = true;
      disabledMeanwhile = !step.page->isEnabled();
      // A second command while the folder is read is turned away.
      step.page->AddAll();
      step.page->OpenSourceFolder();
      listedMeanwhile = step.List().Count();
    }, Qt::QueuedConnection);
    QComboBox* box = step.Find<QComboBox>("SourceFolderNameEdit");
    box->setEditText(QString::fromStdString(temp.File("big")));
    QTest::keyClick(box, Qt::Key_Return);  // the combo box holds the focus
    QVERIFY(ranDuringWork);
    QVERIFY(disabledMeanwhile);
    QVERIFY(listedMeanwhile < 3000);
    QCOMPARE(step.List().Count(), 3000);
    QCOMPARE(step.Count(), QStringLiteral("3000"));
    QVERIFY(step.page->isEnabled());
  }

  void AddAllSkipsListedPicturesWhileAddSelectedDoesNot() {
    test::TempDir temp;
    for (const char* name : {"a.jpg", "b.gif"}) temp.Write(name, "");
    TStep1 step(temp.Path().string());
    QCOMPARE(step.List().Count(), 2);
    step.Click("AddAllToImgListButton");
    QCOMPARE(step.List().Count(), 2);
    step.files->SetCurrentRow(0);
    step.Click("AddToImgListButton");
    QCOMPARE(step.Names(), (std::vector<std::string>{"a.jpg", "b.gif", "a.jpg"}));
    QCOMPARE(step.Count(), QStringLiteral("3"));

    step.SelectImageRows({0, 2});
    step.Click("RemoveFromImgListButton");
    QCOMPARE(step.Names(), (std::vector<std::string>{"b.gif"}));
    QCOMPARE(step.images->currentIndex().row(), 0);
    step.Click("RemoveAllFromImgListButton");
    QCOMPARE(step.List().Count(), 0);
    QCOMPARE(step.Count(), QStringLiteral("0"));
  }

  void BlockMovesUpThenToTheEnd() {
    test::TempDir temp;
    for (int i = 1; i <= 10; ++i) temp.Write(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')).toStdString(), "");
    TStep1 step(temp.Path().string());
    step.SelectImageRows({1, 4});
    step.Click("MoveUpButton1");
    QCOMPARE(step.Names(), (std::vector<std::string>{"02.jpg", "05.jpg", "01.jpg", "03.jpg", "04.jpg",
                                                      "06.jpg", "07.jpg", "08.jpg", "09.jpg", "10.jpg"}));
    step.images->setFocus();
    QTest::keyClick(step.images, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(step.Names(), (std::vector<std::string>{"01.jpg", "03.jpg", "04.jpg", "06.jpg", "07.jpg",
                                                      "08.jpg", "09.jpg", "10.jpg", "02.jpg", "05.jpg"}));
    QCOMPARE(step.images->selectionModel()->selectedIndexes().size(), 2);
    QVERIFY(step.images->selectionModel()->isSelected(step.images->model()->index(8, 0)));
    QTest::keyClick(step.images, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(step.List().LineText(7), std::string("02.jpg"));

    // Ctrl+Alt+N tells the current line's index.
    QTest::keyClick(step.images, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(step.fixture.Dialogs().Asked().back().text, QStringLiteral("7"));
  }

  void ManualSeparatorWithoutACurrentLine() {
    test::TempDir temp;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) temp.Write(name, "");
    TStep1 step(temp.Path().string(), false);
    step.Click("InsertPageSeparatorButton");
    QVERIFY(step.List().IsSeparator(0));
    QCOMPARE(step.Count(), QStringLiteral("0"));
    step.Click("RemoveAllFromImgListButton");

    step.Click("AddAllToImgListButton");
    QCOMPARE(step.List().Count(), 3);
    QVERIFY(!step.images->currentIndex().isValid());
    step.Click("InsertPageSeparatorButton");
    QVERIFY(step.List().IsSeparator(1));
    QCOMPARE(step.images->currentIndex().row(), 1);
    // After a current line, not before it.
    step.Click("InsertPageSeparatorButton");
    QVERIFY(step.List().IsSeparator(2));
    QCOMPARE(step.List().Count(), 5);
  }

  void PreviewFollowsTheFileListAndTheBox() {
    test::TempDir temp;
    temp.Write("wide.jpg", Jpeg(64, 48));
    temp.Write("broken.jpg", "not a picture");
    TStep1 step(temp.Path().string(), false);
    QCOMPARE(step.List().Count(), 0);
    QLabel* sizes = step.Find<QLabel>("ImageSizesLabel");

    step.files->setFocus();
    step.files->SetCurrentRow(1);  // wide.jpg
    QTRY_COMPARE(sizes->text(), QStringLiteral("64 x 48"));
    QCOMPARE(step.page->ShownPath(), temp.File("wide.jpg"));

    step.files->SetCurrentRow(0);  // broken.jpg
    QTRY_VERIFY(!step.page->PreviewPending());
    QCOMPARE(sizes->text(), QString());

    QCheckBox* preview = step.Find<QCheckBox>("PreviewCheckBox");
    preview->click();
    QVERIFY(!step.fixture.Store().ReadBool(kOptionsKeyPath, "ImagePreview", true));
    step.files->SetCurrentRow(1);
    QTRY_VERIFY(!step.page->PreviewPending());
    QCOMPARE(sizes->text(), QString());
    const QImage blank = step.Find<QLabel>("Image1")->pixmap().toImage();
    QCOMPARE(blank.pixelColor(blank.width() / 2, blank.height() / 2), QColor(Qt::white));

    // Switched on again, the picture that was skipped shows.
    preview->click();
    QTRY_COMPARE(sizes->text(), QStringLiteral("64 x 48"));
  }

  void SeparatorCommentsStayAndApplySetsSeveral() {
    test::TempDir temp;
    for (const char* name : {"a.jpg", "b.jpg"}) temp.Write(name, "");
    TStep1 step(temp.Path().string());
    step.SelectImageRows({1});
    step.Click("InsertPageSeparatorButton");  // a.jpg, b.jpg, separator
    QPlainTextEdit* editor = step.Find<QPlainTextEdit>("CommentRE");

    step.SelectImageRows({2});
    editor->setFocus();
    QCOMPARE(editor->toPlainText(), QStringLiteral("The page separator"));
    QVERIFY(!editor->isReadOnly());
    QTest::keyClicks(editor, "x");
    QCOMPARE(editor->toPlainText(), QStringLiteral("The page separator"));
    QCOMPARE(step.List().Items(2)->Comment, std::string("The page separator"));

    step.SelectImageRows({0});
    editor->setFocus();
    QTest::keyClicks(editor, "Hi");
    QCOMPARE(step.List().Items(0)->Comment, std::string("Hi\r\n"));
    QVERIFY(!step.Find<QPushButton>("ApplyCommentButton")->isVisible());

    step.SelectImageRows({0, 1, 2});
    QVERIFY(step.Find<QPushButton>("ApplyCommentButton")->isVisible());
    QCOMPARE(editor->toPlainText(), QStringLiteral("Hi"));
    editor->setFocus();
    QCoreApplication::processEvents();  // the focus has arrived before the user types
    editor->setPlainText(QStringLiteral("Shared\nby two"));
    // The press takes the focus from the editor before the release applies.
    QPushButton* apply = step.Find<QPushButton>("ApplyCommentButton");
    apply->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    QVERIFY(apply->isEnabled());
    apply->click();
    QCOMPARE(step.List().Items(1)->Comment, std::string("Shared\r\nby two\r\n"));
    QCOMPARE(step.List().Items(0)->Comment, std::string("Shared\r\nby two\r\n"));
    QCOMPARE(step.List().Items(2)->Comment, std::string("The page separator"));

    // The line under the mouse: a separator's comment, a picture's path.
    QWidget* viewport = step.images->viewport();
    QTest::mouseMove(viewport, step.images->visualRect(step.images->model()->index(2, 0)).center());
    QCOMPARE(step.Find<QLabel>("StatusLabel1")->text(), QStringLiteral("The page separator"));
    QTest::mouseMove(viewport, step.images->visualRect(step.images->model()->index(0, 0)).center());
    QCOMPARE(step.Find<QLabel>("StatusLabel1")->text().toStdString(), temp.File("a.jpg"));
  }

  void SaveAppendsTheFilterExtensionAndAsksBeforeOverwriting() {
    test::TempDir temp;
    temp.Write("pics/a.jpg", "");
    TStep1 step(temp.File("pics"));
    test::TScriptedDialogs& dialogs = step.fixture.Dialogs();

    dialogs.Queue(QString::fromStdString(temp.File("list.IGL")));
    step.Trigger("SaveListItem");
    QVERIFY(std::filesystem::exists(temp.Path() / "list.IGL"));
    QVERIFY(!std::filesystem::exists(temp.Path() / "list.IGL.igl"));

    dialogs.Queue(QString::fromStdString(temp.File("list.dat")));
    step.Trigger("SaveListItem");
    QVERIFY(std::filesystem::exists(temp.Path() / "list.dat.igl"));

    temp.Write("raw.txt", "old");
    dialogs.SelectedFilter = 1;
    dialogs.ClearAsked();
    dialogs.Queue(QString::fromStdString(temp.File("raw")));
    dialogs.Queue(QMessageBox::No);
    step.Trigger("SaveListItem");
    QCOMPARE(dialogs.Asked().back().caption, QStringLiteral("Overwrite confirmation"));
    QVERIFY(dialogs.Asked().back().text.contains(QString::fromStdString(temp.File("raw.txt"))));
    QCOMPARE(test::ReadFileBytes(temp.File("raw.txt")), std::string("old"));
    dialogs.Queue(QString::fromStdString(temp.File("raw")));
    dialogs.Queue(QMessageBox::Yes);
    step.Trigger("SaveListItem");
    QCOMPARE(test::ReadFileBytes(temp.File("raw.txt")), temp.File("pics/a.jpg") + "\r\n");

    // A save that fails says so, with the path.
    temp.Write("blocker", "a file, not a folder");
    dialogs.SelectedFilter = 0;
    dialogs.ClearAsked();
    dialogs.Queue(QString::fromStdString(temp.File("blocker/list.igl")));
    step.Trigger("SaveListItem");
    QCOMPARE(dialogs.Asked().size(), std::size_t{2});
    QVERIFY(dialogs.Asked().back().text.contains(QString::fromStdString(temp.File("blocker/list.igl"))));
  }

  void LoadKeepsTheListUntilAFileIsRead() {
    test::TempDir temp;
    for (const char* name : {"pics/a.jpg", "pics/b.jpg"}) temp.Write(name, "");
    TStep1 step(temp.File("pics"));
    step.List().Items(0)->Comment = "kept\r\n";
    test::TScriptedDialogs& dialogs = step.fixture.Dialogs();
    QVERIFY(step.Find<QCheckBox>("ClearListBeforeAddCheckBox")->isChecked());

    dialogs.Queue(QString());  // cancelled
    step.Trigger("LoadListItem");
    QCOMPARE(step.List().Count(), 2);
    QCOMPARE(step.List().Items(0)->Comment, std::string("kept\r\n"));

    const std::string body = "Version=3\r\nContent=The image gallery list\r\nGenerator=x\r\n\r\n\"" +
                              temp.File("pics/b.jpg") + "\" \"loaded\" \"\"\r\n\"" +
                              temp.File("pics/gone.jpg") + "\" \"\" \"\"\r\n";
    temp.Write("list.igl", body);
    dialogs.ClearAsked();
    dialogs.Queue(QString::fromStdString(temp.File("list.igl")));
    step.Trigger("LoadListItem");
    QCOMPARE(step.Names(), (std::vector<std::string>{"b.jpg"}));
    QCOMPARE(step.List().Items(0)->Comment, std::string("loaded"));
    QCOMPARE(step.Count(), QStringLiteral("1"));
    QCOMPARE(dialogs.Asked().back().text, QStringLiteral("\r\n  1 files was not found.  "));

    // The raw form follows the chosen filter, whatever the file's name.
    temp.Write("paths.igl", temp.File("pics/a.jpg") + "\r\n\r\n");
    dialogs.SelectedFilter = 1;
    dialogs.Queue(QString::fromStdString(temp.File("paths.igl")));
    step.Trigger("LoadListItem");
    QCOMPARE(step.Names(), (std::vector<std::string>{"a.jpg", "------ new page ------"}));
  }

  void ImportFillsTheListAndTheOptions() {
    test::TempDir temp;
    temp.Write("pics/a.jpg", "");
    temp.Write("pics/b.jpg", "");
    TStep1 step(temp.File("pics"));
    TGallerySet made;
    made.Thumb_MaxWidth = 321;
    QVERIFY(made.SaveToFile(temp.File("gallery/GalleryOptions.gof")));
    temp.Write("gallery/ImageIndex.igl", "Version=3\r\nContent=The image gallery list\r\n\r\n\"" +
                                             temp.File("pics/b.jpg") + "\" \"from the gallery\" \"\"\r\n"
                                             "\"------ new page ------\" \"The page separator\" \"\"\r\n");
    step.fixture.Dialogs().Queue(QString::fromStdString(temp.File("gallery")));
    step.Trigger("ImportGalleryItem");
    QCOMPARE(step.window->Options().Thumb_MaxWidth, 321);
    QCOMPARE(step.Names(), (std::vector<std::string>{"b.jpg", "------ new page ------"}));
    QCOMPARE(step.List().Items(0)->Comment, std::string("from the gallery"));
    QCOMPARE(step.Count(), QStringLiteral("1"));

    // A folder with options only keeps the list.
    temp.Write("options-only/GalleryOptions.gof", "");
    QVERIFY(made.SaveToFile(temp.File("options-only/GalleryOptions.gof")));
    step.fixture.Dialogs().Queue(QString::fromStdString(temp.File("options-only")));
    step.Trigger("ImportGalleryItem");
    QCOMPARE(step.List().Count(), 2);
  }

  void MenuCommandsAndDropsKeepTheViewInStep() {
    test::TempDir temp;
    for (const char* name : {"pics/c.jpg", "pics/a.jpg", "other/x.gif", "other/sub/y.jpg", "z.bmp"}) {
      temp.Write(name, "");
    }
    TStep1 step(temp.File("pics"));
    step.Trigger("ReverseItem");
    QCOMPARE(step.Names(), (std::vector<std::string>{"c.jpg", "a.jpg"}));

    // A folder and a file dropped onto the second line go in front of it.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(temp.File("other"))),
                  QUrl::fromLocalFile(QString::fromStdString(temp.File("z.bmp")))});
    QVERIFY(step.images->model()->canDropMimeData(&data, Qt::CopyAction, 1, 0, {}));
    step.images->model()->dropMimeData(&data, Qt::CopyAction, 1, 0, {});
    QCOMPARE(step.Names(), (std::vector<std::string>{"c.jpg", "y.jpg", "x.gif", "z.bmp", "a.jpg"}));
    QCOMPARE(step.Count(), QStringLiteral("5"));

    step.Trigger("SplitByFoldersItem");
    QCOMPARE(step.List().Count(), 9);  // four folders
    step.Trigger("RemoveSeparatorsItem");
    step.Trigger("SortByNameItem");
    QCOMPARE(step.Names(), (std::vector<std::string>{"a.jpg", "c.jpg", "x.gif", "y.jpg", "z.bmp"}));
    step.Trigger("SortByTypeItem");
    QCOMPARE(step.List().LineText(0), std::string("z.bmp"));
  }

  void LeavingNeedsAFolderAndAnEntry() {
    test::TempDir temp;
    temp.Write("pics/a.jpg", "");
    TStep1 step(temp.File("pics"), false);
    test::TScriptedDialogs& dialogs = step.fixture.Dialogs();
    QVERIFY(!step.window->GoToStep(2, true));
    QCOMPARE(dialogs.Asked().back().text, QStringLiteral("Please, select images for the gallery."));

    step.Click("InsertPageSeparatorButton");
    step.Find<QComboBox>("SourceFolderNameEdit")->setEditText(QString::fromStdString(temp.File("gone")));
    QVERIFY(!step.window->GoToStep(2, true));
    QCOMPARE(dialogs.Asked().back().text, QStringLiteral("Please, select the right source directory."));

    step.Find<QComboBox>("SourceFolderNameEdit")->setEditText(QString::fromStdString(temp.File("pics")));
    step.Find<QCheckBox>("InclSubfoldersCheckBox")->setChecked(false);
    step.Find<QCheckBox>("AutoFillCheckBox")->click();  // on: subfolders can be chosen
    step.Find<QCheckBox>("InclSubfoldersCheckBox")->setChecked(true);
    QVERIFY(step.window->GoToStep(2, true));
    QCOMPARE(step.window->Options().SourceFolder, temp.File("pics"));
    QVERIFY(step.window->Options().IncludeSubfolders);
  }

  void StartsFromTheStoredChoices() {
    test::TempDir temp;
    temp.Write("pics/a.jpg", "");
    test::TWizardFixture fixture;
    fixture.Store().WriteString(kHistoryKeyPath, "ImageSourceFolder", temp.File("pics/gone/deeper"));
    fixture.Store().WriteBool(kOptionsKeyPath, "AutoFillImageList", false);
    fixture.Store().WriteBool(kOptionsKeyPath, "ImagePreview", false);
    fixture.Store().WriteList(kHistoryKeyPath, "ImageSourceFolderList", {"/one", "/two"});
    TMainForm& window = fixture.Window();
    auto* page = static_cast<TStep1Page*>(window.Page(1));
    auto* box = page->findChild<QComboBox*>("SourceFolderNameEdit");
    QCOMPARE(box->currentText().toStdString(), temp.File("pics"));
    QCOMPARE(box->count(), 2);
    QVERIFY(!page->findChild<QCheckBox*>("PreviewCheckBox")->isChecked());
    QVERIFY(!page->findChild<QCheckBox*>("InclSubfoldersCheckBox")->isEnabled());
    QVERIFY(!page->findChild<QCheckBox*>("ClearListBeforeAddCheckBox")->isEnabled());
    // Buttons that show a sign are named by their hints, in any language.
    auto* moveUp = page->findChild<QPushButton*>("MoveUpButton1");
    QCOMPARE(moveUp->accessibleName(), QStringLiteral("Move up"));
    moveUp->setToolTip(QStringLiteral("Nach oben\n\n  Ctrl+Up"));
    QCOMPARE(moveUp->accessibleName(), QStringLiteral("Nach oben"));

    window.show();
    auto* files = page->findChild<TUsefulFileBox*>("ImageFilesListBox");
    QTRY_COMPARE(files->Count(), 1);
    QCOMPARE(window.List().Count(), 0);  // listed, not added
  }

  void ScreenshotOfAFolderWithPictures() {
    test::TempDir temp;
    temp.Write("photos/harbour.jpg", test::MakeJpeg(test::MakePhotoLikePicture(640, 480, 3)));
    temp.Write("photos/tower.jpg", test::MakeJpeg(test::MakePhotoLikePicture(480, 640, 7)));
    temp.Write("photos/tiles.bmp", test::MakeBmp(test::MakeTestPattern(200, 150)));
    TStep1 step(temp.File("photos"));
    step.SelectImageRows({0});
    step.Click("InsertPageSeparatorButton");
    step.SelectImageRows({0});
    QTRY_COMPARE(step.Find<QLabel>("ImageSizesLabel")->text(), QStringLiteral("640 x 480"));
    step.fixture.SaveScreenshot(QStringLiteral("step1"));
  }
};

QTEST_MAIN(Step1PageTest)
#include "Step1Page_uitest.moc"
