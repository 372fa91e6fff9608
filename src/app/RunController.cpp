#include "app/RunController.h"

#include <QThread>
#include <QWidget>

#include "app/Dialogs.h"
#include "app/TextConvert.h"

namespace zelvora {

TRunController::TRunController(IDialogs& dialogs, QWidget* dialogParent,
                               IRunFileSystem* fileSystem, QObject* parent)
    : QObject(parent),
      dialogs_(dialogs),
      dialogParent_(dialogParent),
      fileSystem_(fileSystem ? fileSystem : &realFileSystem_) {}

TRunController::~TRunController() { StopAndWait(); }

void TRunController::SetFileSystem(IRunFileSystem& fileSystem) {
  if (!worker_) fileSystem_ = &fileSystem;
}

bool TRunController::Start(TImageGalleryList& list, TGallerySet& options,
                           const TGenerationParams& params) {
  if (worker_) return false;
  {
    std::lock_guard<std::mutex> lock(requestMutex_);
    stopping_ = false;
  }
  // A fresh engine per run; only the start page carries over, so Show me!
  // still finds an earlier gallery after a run that wrote nothing.
  run_ = std::make_unique<TGenerationRun>(static_cast<IRunHost&>(*this), *fileSystem_);
  run_->SetGalleryStartPage(galleryStartPage_);
  TGenerationRun* run = run_.get();
  const int serial = ++runSerial_;
  worker_ = QThread::create([this, run, serial, &list, &options, params] {
    const TRunOutcome outcome = run->Execute(list, options, params);
    QMetaObject::invokeMethod(this, [this, serial, outcome] { WorkerEnded(serial, outcome); },
                              Qt::QueuedConnection);
  });
  worker_->setObjectName(QStringLiteral("GenerationRun"));
  worker_->start();
  return true;
}

void TRunController::Freeze() {
  if (run_) run_->Freeze();
}

void TRunController::Continue() {
  if (run_) run_->Continue();
}

void TRunController::Abort() {
  if (run_) run_->Abort();
}

void TRunController::StopAndWait() {
  if (!worker_) return;
  run_->Abort();
  {
    std::lock_guard<std::mutex> lock(requestMutex_);
    stopping_ = true;
  }
  requestDone_.notify_all();
  JoinWorker();
}

void TRunController::JoinWorker() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  galleryStartPage_ = run_->GalleryStartPage();
}

void TRunController::WorkerEnded(int serial, TRunOutcome outcome) {
  // Already joined when the window stopped the run itself.
  if (!Current(serial)) return;
  JoinWorker();
  emit Finished(outcome);
}

// ---- the host, called on the worker ----

void TRunController::SetProgress(TProgressBar bar, int position, int maximum) {
  QMetaObject::invokeMethod(
      this,
      [this, serial = runSerial_, bar, position, maximum] {
        if (Current(serial)) emit ProgressChanged(bar, position, maximum);
      },
      Qt::QueuedConnection);
}

void TRunController::ProcessEvents(bool waiting) {
  // The window's events run on their own thread; the engine waits on its
  // own flags while paused, and calls here with waiting set from inside
  // that wait.
  if (!waiting || !pauseAnnounced_) return;
  pauseAnnounced_ = false;
  QMetaObject::invokeMethod(
      this,
      [this, serial = runSerial_] {
        if (Current(serial)) emit WaitingForUser();
      },
      Qt::QueuedConnection);
}

void TRunController::SetRunState(TRunState state) {
  // The run says "paused" before it waits (a full disk even before its
  // message); the wait itself shows up in ProcessEvents.
  pauseAnnounced_ = state == TRunState::Paused;
  QMetaObject::invokeMethod(
      this,
      [this, serial = runSerial_, state] {
        if (Current(serial)) emit RunStateChanged(state);
      },
      Qt::QueuedConnection);
}

void TRunController::ShowMessage(TRunMessage kind, const std::string& caption,
                                 const std::string& text) {
  Q_UNUSED(kind);
  CallOnWindowThread([this, caption = ToQString(caption), text = ToQString(text)] {
    dialogs_.Message(dialogParent_, QMessageBox::Critical, caption, text, QMessageBox::Ok);
  });
}

TOverwriteReply TRunController::AskOverwrite(const std::string& path, const std::string& caption,
                                             const std::string& text) {
  Q_UNUSED(path);
  // Shared, so a question given up while its box is still open writes its
  // answer into memory that still exists.
  auto reply = std::make_shared<TOverwriteReply>(TOverwriteReply::Closed);
  CallOnWindowThread([this, reply, caption = ToQString(caption), text = ToQString(text)] {
    *reply = dialogs_.AskOverwrite(dialogParent_, caption, text);
  });
  return *reply;
}

bool TRunController::CallOnWindowThread(std::function<void()> call) {
  auto request = std::make_shared<TRequest>();
  request->call = std::move(call);
  std::unique_lock<std::mutex> lock(requestMutex_);
  if (stopping_) return false;
  QMetaObject::invokeMethod(this, [this, request] { Serve(request); }, Qt::QueuedConnection);
  requestDone_.wait(lock, [&] { return request->done || stopping_; });
  if (!request->done) request->givenUp = true;
  return request->done;
}

void TRunController::Serve(const std::shared_ptr<TRequest>& request) {
  {
    std::lock_guard<std::mutex> lock(requestMutex_);
    if (request->givenUp || stopping_) return;
  }
  request->call();
  {
    std::lock_guard<std::mutex> lock(requestMutex_);
    request->done = true;
  }
  requestDone_.notify_all();
}

}  // namespace zelvora
