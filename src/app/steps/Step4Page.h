#pragma once
// Step 4 of the wizard: the output folder with its history and Browse, and
// the four boxes of what happens to the pictures (copy, convert, rename,
// keep in place) with their interlocks and the renaming mask.

#include <memory>

#include "app/steps/StepPage.h"

namespace Ui {
class Step4Page;
}

class QCheckBox;
class QComboBox;

namespace zelvora {

class TUsefulLabel;

class TStep4Page : public TStepPage {
  Q_OBJECT
 public:
  explicit TStep4Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep4Page() override;

  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;

  // The hidden "Copy source images" box, which the run reads.
  bool CopySourceImages() const;

  QComboBox* OutputFolderBox() const;
  QComboBox* MaskBox() const;
  QCheckBox* CopyBox() const;
  QCheckBox* ConvertBox() const;
  QCheckBox* RenameBox() const;
  QCheckBox* KeepLocationBox() const;
  TUsefulLabel* HowToLabel() const;

 private:
  void OnRenameToggled(bool on);
  void ApplyRenameRule(bool on);
  void OnKeepLocationToggled(bool on);
  void OnCopyToggled(bool on);
  void OnBrowseClick();
  bool Check();

  std::unique_ptr<Ui::Step4Page> ui_;
};

}  // namespace zelvora
