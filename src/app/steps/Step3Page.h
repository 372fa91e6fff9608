#pragma once
// Step 3 of the wizard: the thumbnail box with its live size preview, the
// frame and shadow, JPEG quality, the descriptions under each thumbnail, and
// the limits for large pictures.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step3Page;
}

namespace zelvora {

class TStep3Page : public TStepPage {
  Q_OBJECT
 public:
  // The preview's outer panel measures this many pixels each way.
  static constexpr int kPreviewSize = 160;

  explicit TStep3Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep3Page() override;

  // Takes the box size, the limits, the frame and the shadow (its density
  // only while the shadow is on) into the option set. Always passes.
  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  // Start-up step 10 (frame, shadow, quality, descriptions) and the step 3
  // part of step 12 (the limits).
  void LoadStartupSetting(int step) override;
  // The background-image interlock of step 2: the "Shadow" box as if clicked.
  void SetShadowChecked(bool on);
  // Redraws the size preview from the present control values.
  void UpdateThumbPreview();

 private:
  void ConnectControls();
  void OnWidthChanged(int width);
  void OnHeightChanged(int height);
  void OnShadowToggled(bool on);
  void OnShadowValueChanged(int value);
  void ShowShadowValue();

  std::unique_ptr<Ui::Step3Page> ui_;
  // While the page reads the store, its controls do not write back to it.
  bool loading_ = false;
};

}  // namespace zelvora
