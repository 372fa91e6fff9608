#pragma once
// Step 5 of the wizard.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step5Page;
}

namespace zelvora {

class TStep5Page : public TStepPage {
  Q_OBJECT
 public:
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

 private:
  std::unique_ptr<Ui::Step5Page> ui_;
};

}  // namespace zelvora
