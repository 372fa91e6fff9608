#pragma once
// Step 5 of the wizard: the two progress bars and the Create run around
// them. The page only starts the engine and shows what it reports; the run
// itself works on a worker thread (TRunController).

#include <QUrl>
#include <functional>
#include <memory>
#include <string>

#include "app/steps/StepPage.h"
#include "generation/GenerationRun.h"

namespace Ui {
class Step5Page;
}

namespace zelvora {

class IRunFileSystem;
class TRunController;

class TStep5Page : public TStepPage {
  Q_OBJECT
 public:
  // Opens a page in the user's web browser; true when the desktop took it.
  using TPageOpener = std::function<bool(const QUrl& url)>;

  explicit TStep5Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep5Page() override;

  // The Next and Abort buttons while this step is on show, by the Next
  // button's mode.
  void OnCreateGalleryClick();
  void OnStopClick();
  void OnContinueClick();
  void OnPreviewGalleryClick();
  void OnAbortClick();
  // Both bars back to 0 (leaving step 4).
  void ResetProgress();
  // True while a run is going (also while it is paused).
  bool RunActive() const;
  // The window is closing: abort a run and wait until it has stopped at its
  // check point, so the list and the option set outlive it.
  void StopRunForClose();

  // Full path of the page Show me! opens; kept across runs.
  std::string GalleryStartPage() const;
  // The file system the next run writes through (tests make it fail).
  void SetRunFileSystem(IRunFileSystem& fileSystem);
  // How Show me! opens the start page (the desktop's handler by default).
  void SetPageOpener(TPageOpener opener);

 signals:
  // A run has ended, done or stopped, and the buttons show it.
  void RunFinished(zelvora::TRunOutcome outcome);

 private:
  void ShowProgress(TProgressBar bar, int position, int maximum);
  void ShowRunState(TRunState state);
  void EndRun(TRunOutcome outcome);

  std::unique_ptr<Ui::Step5Page> ui_;
  std::unique_ptr<TRunController> controller_;
  TPageOpener openPage_;
};

}  // namespace zelvora
