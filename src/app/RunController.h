#pragma once
// Runs the Create engine on a worker thread for the window. The engine
// blocks at its check points on the worker; everything it shows (the bars,
// its state, message boxes, the overwrite question) is brought to the
// window's thread. Freeze, Continue and Abort go straight to the engine,
// whose flags are safe to set from here.

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "generation/GenerationRun.h"
#include "generation/RunFileSystem.h"
#include "generation/RunHost.h"

class QThread;
class QWidget;

namespace zelvora {

class IDialogs;
class TGallerySet;
class TImageGalleryList;

class TRunController : public QObject, private IRunHost {
  Q_OBJECT
 public:
  // Dialogs are shown over dialogParent. Without a file system the run
  // writes through the platform's own.
  TRunController(IDialogs& dialogs, QWidget* dialogParent,
                 IRunFileSystem* fileSystem = nullptr, QObject* parent = nullptr);
  // Stops a run that is still going and waits for the worker.
  ~TRunController() override;

  // The file system the next run writes through (tests make it fail).
  // Ignored while a run is going.
  void SetFileSystem(IRunFileSystem& fileSystem);

  // Starts a run on the worker thread. The list and the option set must
  // stay untouched by anyone else until Finished. False when a run is
  // already going.
  bool Start(TImageGalleryList& list, TGallerySet& options, const TGenerationParams& params);

  void Freeze();
  void Continue();
  void Abort();

  // True from Start until Finished has been emitted (also while paused).
  bool Active() const { return worker_ != nullptr; }
  // Aborts the run and waits until the worker has left the engine. A
  // question the worker is waiting on is given up (answered as closed), so
  // this never waits on a box the user no longer sees.
  void StopAndWait();

  // Full path of the start page of the last gallery written; kept across runs.
  std::string GalleryStartPage() const { return galleryStartPage_; }

 signals:
  // All on the window's thread, in the order the engine reported them.
  void ProgressChanged(zelvora::TProgressBar bar, int position, int maximum);
  void RunStateChanged(zelvora::TRunState state);
  // The paused run now waits at its check point, so Continue reaches it.
  // Comes after RunStateChanged(Paused); until then a Continue could be
  // undone by the run pausing just after it.
  void WaitingForUser();
  void Finished(zelvora::TRunOutcome outcome);

 private:
  // A call the worker hands to the window's thread and waits for.
  struct TRequest {
    std::function<void()> call;
    bool done = false;
    bool givenUp = false;
  };

  // IRunHost, called on the worker.
  void SetProgress(TProgressBar bar, int position, int maximum) override;
  void ProcessEvents(bool waiting) override;
  void SetRunState(TRunState state) override;
  void ShowMessage(TRunMessage kind, const std::string& caption,
                   const std::string& text) override;
  TOverwriteReply AskOverwrite(const std::string& path, const std::string& caption,
                               const std::string& text) override;

  // Runs call on the window's thread and waits for it; false when it was
  // given up because the window is stopping the run.
  bool CallOnWindowThread(std::function<void()> call);
  void Serve(const std::shared_ptr<TRequest>& request);
  void WorkerEnded(int serial, TRunOutcome outcome);
  // True for a report of the run going now, not of one already joined.
  bool Current(int serial) const { return worker_ && serial == runSerial_; }
  void JoinWorker();

  IDialogs& dialogs_;
  QPointer<QWidget> dialogParent_;
  TRealFileSystem realFileSystem_;
  IRunFileSystem* fileSystem_;
  std::unique_ptr<TGenerationRun> run_;
  QThread* worker_ = nullptr;
  // Counts the runs; the worker reads it, and it changes only while no
  // worker exists.
  int runSerial_ = 0;
  // Worker only: a pause was reported and its wait not yet.
  bool pauseAnnounced_ = false;
  std::string galleryStartPage_;

  std::mutex requestMutex_;
  std::condition_variable requestDone_;
  bool stopping_ = false;  // guarded by requestMutex_
};

}  // namespace zelvora
