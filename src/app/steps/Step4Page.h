#pragma once
// Step 4 of the wizard.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step4Page;
}

namespace zelvora {

class TStep4Page : public TStepPage {
  Q_OBJECT
 public:
  explicit TStep4Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep4Page() override;

  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;

 private:
  std::unique_ptr<Ui::Step4Page> ui_;
};

}  // namespace zelvora
