#pragma once
// Step 3 of the wizard.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step3Page;
}

namespace zelvora {

class TStep3Page : public TStepPage {
  Q_OBJECT
 public:
  explicit TStep3Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep3Page() override;

  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  void LoadStartupSetting(int step) override;
  // The background-image interlock of step 2: the "Shadow" box as if clicked.
  void SetShadowChecked(bool on);

 private:
  std::unique_ptr<Ui::Step3Page> ui_;
};

}  // namespace zelvora
