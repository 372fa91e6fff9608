// How step 1 of the wizard holds up with big input, measured on the real
// window: opening a folder of 10,000 pictures with automatic adding, and
// stepping through a list of 24-megapixel JPEGs with the arrow key.
// For each, the wall time and the longest stretch in which the window's
// event loop could not run (a 1 ms probe timer notes every late tick).
//
//   step1_window_bench [PICTURES] [PHOTOS]   (default 10000 and 12)
// Run it offscreen: QT_QPA_PLATFORM=offscreen build/bench/step1_window_bench

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/Dialogs.h"
#include "app/MainForm.h"
#include "app/steps/Step1Page.h"
#include "controls/UsefulFileBox.h"
#include "gallery/ImageGalleryList.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"

using namespace zelvora;

namespace {

// Notes the longest gap between the ticks of a 1 ms timer.
class TBlockProbe {
 public:
  TBlockProbe() {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.elapsed();
      longest_ = std::max(longest_, now - last_);
      last_ = now;
    });
  }
  void Start() {
    clock_.start();
    last_ = 0;
    longest_ = 0;
    timer_.start();
  }
  qint64 Stop() {
    timer_.stop();
    return std::max(longest_, clock_.elapsed() - last_);
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

// Runs work from inside the event loop, as a click would, and returns the
// longest block while it ran.
template <typename Work>
qint64 RunInLoop(TBlockProbe& probe, Work work, qint64* elapsedMs) {
  qint64 blocked = 0;
  QTimer::singleShot(0, [&] {
    probe.Start();
    QElapsedTimer clock;
    clock.start();
    work();
    *elapsedMs = clock.elapsed();
    QCoreApplication::processEvents();
    blocked = probe.Stop();
    QCoreApplication::exit(0);
  });
  QCoreApplication::exec();
  return blocked;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const int pictures = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int photos = argc > 2 ? std::atoi(argv[2]) : 12;

  test::TempDir temp;
  std::filesystem::create_directories(temp.Path() / "many");
  for (int i = 0; i < pictures; ++i) {
    temp.Write("many/picture" + std::to_string(100000 + i) + ".jpg", "");
  }
  std::printf("making %d JPEGs of 6000 x 4000...\n", photos);
  const std::string photo = test::MakeJpeg(test::MakePhotoLikePicture(6000, 4000, 5), {85});
  for (int i = 0; i < photos; ++i) temp.Write("photos/photo" + std::to_string(10 + i) + ".jpg", photo);
  std::filesystem::create_directories(temp.Path() / "empty");

  TUsefulRegistry store(temp.File("settings.json"));
  store.WriteString(kHistoryKeyPath, "ImageSourceFolder", temp.File("empty"));
  TQtDialogs dialogs;
  TMainForm window(store, dialogs, temp.File("empty") + "/");
  window.resize(TMainForm::kLayoutWidth, TMainForm::kLayoutHeight);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  auto* page = static_cast<TStep1Page*>(window.Page(1));
  // The remembered (empty) folder opens once the window is shown.
  auto* files = page->findChild<TUsefulFileBox*>(QStringLiteral("ImageFilesListBox"));
  if (!QTest::qWaitFor([&] { return !page->Busy() && files->Directory() == temp.File("empty"); }, 5000)) {
    return 1;
  }
  auto* box = page->findChild<QComboBox*>(QStringLiteral("SourceFolderNameEdit"));
  TBlockProbe probe;

  qint64 openMs = 0;
  box->setEditText(QString::fromStdString(temp.File("many")));
  const qint64 openBlocked = RunInLoop(probe, [&] { page->OpenSourceFolder(); }, &openMs);
  std::printf("open %d pictures: %lld ms, %d listed, window blocked at most %lld ms\n", pictures,
              static_cast<long long>(openMs), window.List().Count(), static_cast<long long>(openBlocked));

  box->setEditText(QString::fromStdString(temp.File("photos")));
  qint64 ignored = 0;
  RunInLoop(probe, [&] { page->OpenSourceFolder(); }, &ignored);
  auto* list = page->findChild<QListView*>(QStringLiteral("GalleryImageListBox"));
  auto* sizes = page->findChild<QLabel*>(QStringLiteral("ImageSizesLabel"));
  list->setFocus();
  list->setCurrentIndex(list->model()->index(0, 0));
  // One key every 60 ms (a held key repeats about that fast), then wait for
  // the last picture's preview.
  qint64 stepMs = 0;
  const qint64 stepBlocked = RunInLoop(probe, [&] {
    for (int i = 1; i < photos; ++i) {
      QTest::keyClick(list, Qt::Key_Down);
      QElapsedTimer pause;
      pause.start();
      while (pause.elapsed() < 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QElapsedTimer wait;
    wait.start();
    while ((page->PreviewPending() || sizes->text().isEmpty()) && wait.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
  }, &stepMs);
  std::printf("step through %d photos: %lld ms, size label \"%s\", window blocked at most %lld ms\n",
              photos, static_cast<long long>(stepMs), qPrintable(sizes->text()),
              static_cast<long long>(stepBlocked));
  std::fflush(stdout);
  return 0;
}
