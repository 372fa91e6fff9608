// Start-up of the wizard to its first paint: the program's own start path
// (application, settings store, window with every start-up read, show),
// stopped at the first paint event of the window. Prints milliseconds since
// main() began. bench/run_startup_bench.sh runs it several times and adds
// the process start (library loading) by timing the whole process.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/MainForm.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"

namespace {

class TFirstPaint : public QObject {
 public:
  explicit TFirstPaint(std::chrono::steady_clock::time_point start) : start_(start) {}
  double Milliseconds() const { return milliseconds_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && milliseconds_ < 0) {
      milliseconds_ = std::chrono::duration<double, std::milli>(
                          std::chrono::steady_clock::now() - start_).count();
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::chrono::steady_clock::time_point start_;
  double milliseconds_ = -1;
};

}  // namespace

int main(int argc, char* argv[]) {
  const auto start = std::chrono::steady_clock::now();
  QApplication application(argc, argv);
  using namespace zelvora;
  // A settings file of its own that has seen this version, so no welcome note waits.
  const std::string settings =
      (std::filesystem::temp_directory_path() / "zelvora-startup-bench.json").string();
  std::filesystem::remove(settings);
  TUsefulRegistry store(settings);
  store.WriteString(kBaseKeyPath, "CurrVersion", std::string(kCurrVersionText));
  TQtDialogs dialogs;
  TMainForm window(store, dialogs, DataFolder(ProgramFolderOfExecutable()));
  TFirstPaint probe(start);
  window.installEventFilter(&probe);
  window.show();
  application.exec();
  std::filesystem::remove(settings);
  std::printf("first paint after %.1f ms\n", probe.Milliseconds());
  return probe.Milliseconds() < 0 ? 1 : 0;
}
