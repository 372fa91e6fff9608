#pragma once
// The wizard window: banner, step indicator, the five step pages, and the
// Help, Prev, Next and Abort buttons. It owns the one image list and the one
// option set and hands them to its pages through TWizardContext.

#include <QWidget>
#include <array>
#include <memory>

#include "app/WizardFrame.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace zelvora {

class TStepIndicator;
class TStepPage;
class TStep1Page;
class TStep2Page;
class TStep3Page;
class TStep4Page;
class TStep5Page;

class TMainForm : public QWidget, public IWizardFrame {
  Q_OBJECT
 public:
  // The layout size the client area never goes below.
  static constexpr int kLayoutWidth = 690;
  static constexpr int kLayoutHeight = 465;

  // Builds the window and reads the settings (the start-up steps).
  TMainForm(TUsefulRegistry& store, IDialogs& dialogs, std::string programFolder,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // The one way to change the step; with check, the leave checks of the
  // steps passed on the way run first and the first failure stops the move.
  bool GoToStep(int step, bool check);

  TGallerySet& Options() { return *options_; }
  TImageGalleryList& List() { return *list_; }
  TStepPage* Page(int step) const;
  TStepIndicator* Indicator() const { return indicator_; }
  QPushButton* PrevButton() const { return prevButton_; }
  QPushButton* NextButton() const { return nextButton_; }
  QPushButton* AbortButton() const { return abortButton_; }
  QPushButton* HelpButton() const { return helpButton_; }
  TNextMode NextMode() const { return nextMode_; }

  // IWizardFrame
  int CurrentStep() const override { return currentStep_; }
  void SetNextButtonMode(TNextMode mode) override;
  void SetAbortVisible(bool visible) override;
  void SetPrevEnabled(bool enabled) override;
  void SetNextEnabled(bool enabled) override;
  void TickSteps(int last) override;
  void FocusNextButton() override;
  void SetBusy(bool busy) override;
  void ShowOptionSet(const TGallerySet& options) override;
  void OpenHelpContext(int context) override;
  void OpenHelpTopic(const std::string& topic) override;
  void BackgroundImageChanged(bool on) override;
  std::string BackgroundImage() const override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildFrame();
  void LoadSettings();
  void SaveSettings();
  void FirstShow();
  void OnNextButtonClick();
  void OnPrevButtonClick();
  void OnAbortButtonClick();
  // Re-reads the captions of Prev, Next (in its mode) and Abort.
  void UpdateButtonCaptions();

  std::unique_ptr<TGallerySet> options_;
  std::unique_ptr<TImageGalleryList> list_;
  std::unique_ptr<TWizardContext> context_;

  QLabel* banner_ = nullptr;
  TStepIndicator* indicator_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  TStep1Page* step1_ = nullptr;
  TStep2Page* step2_ = nullptr;
  TStep3Page* step3_ = nullptr;
  TStep4Page* step4_ = nullptr;
  TStep5Page* step5_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QPushButton* prevButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
  QPushButton* abortButton_ = nullptr;

  int currentStep_ = 1;
  int helpContext_ = 50;
  TNextMode nextMode_ = TNextMode::Next;
  bool shownOnce_ = false;
  bool closing_ = false;
  int textObserver_ = 0;
};

}  // namespace zelvora
