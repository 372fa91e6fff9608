#pragma once
// The wizard window: banner, step indicator, the five step pages, and the
// Help, Prev, Next and Abort buttons. It owns the one image list and the one
// option set and hands them to its pages through TWizardContext.

#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/WizardFrame.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace zelvora {

class TAdvancedTuningForm;
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
  TStep2Page* Step2() const { return step2_; }
  TStep4Page* Step4() const { return step4_; }
  TAdvancedTuningForm* AdvancedForm() const { return advanced_; }
  QMenu* ProgramMenu() const { return menu_; }
  QLabel* Banner() const { return banner_; }
  int HelpContext() const { return helpContext_; }

  // Where web addresses, mail addresses and help pages go; the desktop's
  // handler unless replaced (tests record them instead).
  using TUrlOpener = std::function<bool(const QUrl&)>;
  void SetUrlOpener(TUrlOpener opener) { urlOpener_ = std::move(opener); }

  // Loads a language file over the built-in or present texts: the message
  // texts first, then every tagged caption and hint of the window, the
  // advanced dialog and the application. False when there is no such file.
  bool LoadLanguageFile(const std::string& path);
  const std::string& LanguageFileName() const { return languageFileName_; }

  // The help page address of a context (50..90) or a named topic.
  QUrl HelpUrl(int context) const;
  QUrl HelpTopicUrl(const std::string& topic) const;
  // The menu's commands.
  void SendSuggestions();
  void ShowAbout();
  void BrowseLanguage();
  void OpenAdvancedDialog();

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
  void ResetProgress() override;
  std::string BackgroundImagePath() const override;
  bool CopySourceImages() const override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildFrame();
  void BuildMenu();
  void SaveOptionSettings();
  void ReadThumbnailSettings();
  bool OpenUrl(const QUrl& url);
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
  QMenu* menu_ = nullptr;
  QAction* suggestionsAction_ = nullptr;
  TAdvancedTuningForm* advanced_ = nullptr;
  TUrlOpener urlOpener_;
  std::string languageFileName_;

  int currentStep_ = 1;
  int helpContext_ = 50;
  TNextMode nextMode_ = TNextMode::Next;
  bool shownOnce_ = false;
  bool busy_ = false;
  std::array<bool, 5> enabledBeforeBusy_{};
  bool closing_ = false;
  int textObserver_ = 0;
};

}  // namespace zelvora

namespace zelvora {
// The suggestions e-mail's address: the feedback address, a subject naming
// the version (every byte of it %-escaped) and the start of a body.
QString SuggestionsMailto(const std::string& version);
inline constexpr const char* kFeedbackAddress = "feedback@zelvora.example";
inline constexpr const char* kWebSite = "http://www.zelvora.example/";
}  // namespace zelvora
