#pragma once
// Step 2 of the wizard.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step2Page;
}

namespace zelvora {

class TStep2Page : public TStepPage {
  Q_OBJECT
 public:
  explicit TStep2Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep2Page() override;

  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;

 private:
  std::unique_ptr<Ui::Step2Page> ui_;
};

}  // namespace zelvora
