#pragma once
// Step 1 of the wizard.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step1Page;
}

namespace zelvora {

class TStep1Page : public TStepPage {
  Q_OBJECT
 public:
  explicit TStep1Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep1Page() override;

  bool LeaveCheck() override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;
  // Refreshes the controls when the window is first shown.
  void Refresh();

 private:
  std::unique_ptr<Ui::Step1Page> ui_;
};

}  // namespace zelvora
