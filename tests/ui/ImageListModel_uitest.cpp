// The image list model follows every kind of change of the list, so a view
// never shows a line the list does not have.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "app/ImageListModel.h"
#include "support/TestSupport.h"

using namespace zelvora;

class ImageListModelTest : public QObject {
  Q_OBJECT
 private slots:
  void FollowsSingleAndBulkChanges() {
    test::TempDir temp;
    TImageGalleryList list;
    TImageListModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto shown = [&] {
      QStringList rows;
      for (int i = 0; i < model.rowCount(); ++i) rows << model.index(i, 0).data().toString();
      return rows.join(QLatin1Char(','));
    };

    for (const char* name : {"c.jpg", "a.jpg", "b.jpg", "d.jpg"}) list.AddFile(temp.Write(name, ""));
    QCOMPARE(shown(), QStringLiteral("c.jpg,a.jpg,b.jpg,d.jpg"));
    QVERIFY(list.InsertSeparator(1));
    QCOMPARE(model.index(1, 0).data(TImageListModel::KindRole).toInt(), 1);

    QVERIFY(list.Move(0, 3));  // downwards
    QCOMPARE(shown(), QStringLiteral("------ new page ------,a.jpg,b.jpg,c.jpg,d.jpg"));
    QVERIFY(list.Move(4, 0));  // upwards
    QCOMPARE(shown(), QStringLiteral("d.jpg,------ new page ------,a.jpg,b.jpg,c.jpg"));
    QVERIFY(list.Move(2, 2));  // in place
    QVERIFY(list.Delete(1));
    QCOMPARE(shown(), QStringLiteral("d.jpg,a.jpg,b.jpg,c.jpg"));

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    list.SortByKey(skFolderPath);
    list.SortByDisplayName();
    QCOMPARE(shown(), QStringLiteral("a.jpg,b.jpg,c.jpg,d.jpg"));
    list.Reverse();
    QCOMPARE(shown(), QStringLiteral("d.jpg,c.jpg,b.jpg,a.jpg"));
    QVERIFY(resets.count() >= 1);

    // Inside a bulk change the view keeps its row count until the end.
    list.BeginUpdate();
    list.Delete(0);
    list.Delete(0);
    QCOMPARE(model.rowCount(), 4);
    QVERIFY(!model.index(3, 0).data().isValid());
    list.EndUpdate();
    QCOMPARE(shown(), QStringLiteral("b.jpg,a.jpg"));
    list.Clear();
    QCOMPARE(model.rowCount(), 0);
  }
};

QTEST_MAIN(ImageListModelTest)
#include "ImageListModel_uitest.moc"
