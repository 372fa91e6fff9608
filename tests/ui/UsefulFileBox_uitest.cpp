// The file list box: which entries it lists and in what order, re-reading,
// and that it finds folders without ever changing the current folder.

#include <QSignalSpy>
#include <QtTest>
#include <filesystem>

#include "controls/UsefulFileBox.h"
#include "support/TestSupport.h"

using namespace zelvora;

namespace {

constexpr const char* kWizardMask = "*.bmp;*.jpg;*.jpe;*.jpeg;*.gif;*.ico";

std::vector<std::string> Names(const TUsefulFileBox& box) {
  std::vector<std::string> names;
  for (int i = 0; i < box.Count(); ++i) names.push_back(box.Name(i));
  return names;
}

}  // namespace

class UsefulFileBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void ListsMatchingOrdinaryFilesByName() {
    test::TempDir temp;
    for (const char* name : {"photo2.gif", "notes.txt", "Photo.JPG", ".hidden.jpg", "a.jpeg.txt"}) {
      temp.Write(name, "x");
    }
    std::filesystem::create_directory(temp.Path() / "folder.jpg");
    std::filesystem::create_symlink(temp.Path() / "missing.jpg", temp.Path() / "dangling.jpg");

    TUsefulFileBox box;
    box.SetMask(kWizardMask);
    box.SetDirectory(temp.Path().string());
    QCOMPARE(Names(box), (std::vector<std::string>{"Photo.JPG", "photo2.gif"}));
    QCOMPARE(box.CurrentRow(), -1);
    QVERIFY(box.FileName().empty());

    box.SetMask("*.txt");
    QCOMPARE(Names(box), (std::vector<std::string>{"a.jpeg.txt", "notes.txt"}));
  }

  void UpdateKeepsTheCurrentNameWhileItIsListed() {
    test::TempDir temp;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) temp.Write(name, "x");
    TUsefulFileBox box;
    box.SetMask(kWizardMask);
    box.SetDirectory(temp.Path().string());
    box.SetCurrentRow(1);
    QCOMPARE(box.FileName(), temp.File("b.jpg"));

    QSignalSpy changed(&box, &TUsefulFileBox::Changed);
    std::filesystem::remove(temp.Path() / "a.jpg");
    box.Update();
    QCOMPARE(Names(box), (std::vector<std::string>{"b.jpg", "c.jpg"}));
    QCOMPARE(box.CurrentRow(), 0);
    QCOMPARE(box.FileName(), temp.File("b.jpg"));
    QVERIFY(changed.count() >= 1);

    std::filesystem::remove(temp.Path() / "b.jpg");
    box.Update();
    QCOMPARE(Names(box), (std::vector<std::string>{"c.jpg"}));
    QCOMPARE(box.CurrentRow(), -1);
  }

  void RelativeFoldersResolveAgainstTheListedFolder() {
    test::TempDir temp;
    temp.Write("A/one.jpg", "x");
    temp.Write("B/two.jpg", "x");
    const std::filesystem::path before = std::filesystem::current_path();

    TUsefulFileBox box;
    box.SetMask(kWizardMask);
    box.SetDirectory(temp.File("A"));
    box.SetDirectory("../B");
    QCOMPARE(box.Directory(), temp.File("B"));
    QCOMPARE(Names(box), (std::vector<std::string>{"two.jpg"}));
    QCOMPARE(std::filesystem::current_path(), before);

    box.SetDirectory(temp.File("missing"));
    QCOMPARE(box.Count(), 0);
  }

  void ApplyFilePathShowsFolderPatternOrFile() {
    test::TempDir temp;
    for (const char* name : {"a.jpg", "b.gif", "c.png"}) temp.Write(name, "x");
    TUsefulFileBox box;
    box.SetMask(kWizardMask);
    QVERIFY(box.ApplyFilePath(temp.Path().string()));
    QCOMPARE(Names(box), (std::vector<std::string>{"a.jpg", "b.gif"}));

    QVERIFY(box.ApplyFilePath(temp.File("b.gif")));
    QCOMPARE(box.FileName(), temp.File("b.gif"));

    // A file the mask leaves out is shown by its own name.
    QVERIFY(box.ApplyFilePath(temp.File("c.png")));
    QCOMPARE(box.Mask(), std::string("c.png"));
    QCOMPARE(box.FileName(), temp.File("c.png"));

    QVERIFY(box.ApplyFilePath("*.gif"));
    QCOMPARE(Names(box), (std::vector<std::string>{"b.gif"}));
  }
};

QTEST_MAIN(UsefulFileBoxTest)
#include "UsefulFileBox_uitest.moc"
