#include "app/MainForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/StepIndicator.h"
#include "app/TextConvert.h"
#include "app/steps/Step1Page.h"
#include "app/steps/Step2Page.h"
#include "app/steps/Step3Page.h"
#include "app/steps/Step4Page.h"
#include "app/steps/Step5Page.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "settings/History.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {

constexpr int kStepCount = 5;

int NextModeTextId(TNextMode mode) {
  switch (mode) {
    case TNextMode::Next: return TextId::NextCaption;
    case TNextMode::Create: return TextId::CreateCaption;
    case TNextMode::Freeze: return TextId::FreezeCaption;
    case TNextMode::Continue: return TextId::ContinueCaption;
    case TNextMode::ShowMe: return TextId::ShowMeCaption;
  }
  return TextId::NextCaption;
}

}  // namespace

TMainForm::TMainForm(TUsefulRegistry& store, IDialogs& dialogs, std::string programFolder,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      options_(std::make_unique<TGallerySet>()),
      list_(std::make_unique<TImageGalleryList>()) {
  context_.reset(new TWizardContext{store, dialogs, *options_, *list_, *this,
                                    std::move(programFolder)});
  setObjectName(QStringLiteral("MainForm"));
  setProperty("tag", 5001);
  setWindowTitle(QStringLiteral(" Zelvora"));
  BuildFrame();
  // A language file that replaces a button caption shows at once.
  textObserver_ = AddInterfaceTextObserver([this](int number) {
    if (number >= TextId::PrevCaption && number <= TextId::ShowMeCaption) UpdateButtonCaptions();
  });
  LoadSettings();
  GoToStep(1, false);
}

TMainForm::~TMainForm() {
  // The pages go after the list and the option set; a run still working on
  // them (a window destroyed without closing) must end first.
  step5_->StopRunForClose();
  RemoveInterfaceTextObserver(textObserver_);
}

void TMainForm::BuildFrame() {
  banner_ = new QLabel(QStringLiteral("Create your own photo gallery!"), this);
  banner_->setObjectName(QStringLiteral("BannerLabel"));
  banner_->setProperty("tag", 2002);
  QFont bannerFont = banner_->font();
  bannerFont.setBold(true);
  bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.6);
  banner_->setFont(bannerFont);
  banner_->setMargin(8);

  indicator_ = new TStepIndicator(this);
  indicator_->setObjectName(QStringLiteral("StepIndicator"));

  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("StepPages"));
  step1_ = new TStep1Page(*context_);
  step2_ = new TStep2Page(*context_);
  step3_ = new TStep3Page(*context_);
  step4_ = new TStep4Page(*context_);
  step5_ = new TStep5Page(*context_);
  for (TStepPage* page : {static_cast<TStepPage*>(step1_), static_cast<TStepPage*>(step2_),
                          static_cast<TStepPage*>(step3_), static_cast<TStepPage*>(step4_),
                          static_cast<TStepPage*>(step5_)}) {
    pages_->addWidget(page);
  }

  helpButton_ = new QPushButton(QStringLiteral("Help"), this);
  helpButton_->setObjectName(QStringLiteral("HelpButton"));
  helpButton_->setProperty("tag", 2001);
  prevButton_ = new QPushButton(this);
  prevButton_->setObjectName(QStringLiteral("PrevButton"));
  prevButton_->setProperty("tag", 1001);
  nextButton_ = new QPushButton(this);
  nextButton_->setObjectName(QStringLiteral("NextButton"));
  nextButton_->setProperty("tag", 1002);
  nextButton_->setDefault(true);
  abortButton_ = new QPushButton(this);
  abortButton_->setObjectName(QStringLiteral("AbortButton"));
  abortButton_->setProperty("tag", 1003);
  abortButton_->hide();
  UpdateButtonCaptions();

  connect(nextButton_, &QPushButton::clicked, this, &TMainForm::OnNextButtonClick);
  connect(prevButton_, &QPushButton::clicked, this, &TMainForm::OnPrevButtonClick);
  connect(abortButton_, &QPushButton::clicked, this, &TMainForm::OnAbortButtonClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(helpButton_);
  buttons->addStretch(1);
  buttons->addWidget(abortButton_);
  buttons->addWidget(prevButton_);
  buttons->addWidget(nextButton_);

  auto* middle = new QHBoxLayout;
  middle->addWidget(indicator_);
  middle->addWidget(pages_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(banner_);
  layout->addLayout(middle, 1);
  layout->addLayout(buttons);
  setMinimumSize(kLayoutWidth, kLayoutHeight);
}

TStepPage* TMainForm::Page(int step) const {
  if (step < 1 || step > kStepCount) return nullptr;
  return static_cast<TStepPage*>(pages_->widget(step - 1));
}

bool TMainForm::GoToStep(int step, bool check) {
  if (step < 1 || step > kStepCount) return false;
  if (check) {
    for (int k = 1; k < step; ++k) {
      // A check whose step already lies behind has passed before.
      if (currentStep_ > k) continue;
      if (!Page(k)->LeaveCheck()) return false;
    }
  }
  TickSteps(step - 1);
  pages_->setCurrentIndex(step - 1);
  helpContext_ = 40 + 10 * step;
  if (step != kStepCount) SetNextButtonMode(TNextMode::Next);
  SetPrevEnabled(step != 1);
  if (step == kStepCount) SetNextButtonMode(TNextMode::Create);
  currentStep_ = step;
  Page(step)->Entered();
  return true;
}

void TMainForm::SetNextButtonMode(TNextMode mode) {
  nextMode_ = mode;
  nextButton_->setText(ToQString(InterfaceText(NextModeTextId(mode))));
}

void TMainForm::UpdateButtonCaptions() {
  prevButton_->setText(ToQString(InterfaceText(TextId::PrevCaption)));
  abortButton_->setText(ToQString(InterfaceText(TextId::AbortCaption)));
  SetNextButtonMode(nextMode_);
}

void TMainForm::SetAbortVisible(bool visible) { abortButton_->setVisible(visible); }
void TMainForm::SetPrevEnabled(bool enabled) { prevButton_->setEnabled(enabled); }
void TMainForm::SetNextEnabled(bool enabled) { nextButton_->setEnabled(enabled); }

void TMainForm::TickSteps(int last) {
  for (int k = 1; k <= kStepCount; ++k) indicator_->SetTicked(k, k <= last);
}

void TMainForm::FocusNextButton() { nextButton_->setFocus(); }

void TMainForm::SetBusy(bool busy) {
  // The window keeps painting; only input is refused.
  for (QWidget* child : {static_cast<QWidget*>(pages_), static_cast<QWidget*>(helpButton_),
                         static_cast<QWidget*>(prevButton_), static_cast<QWidget*>(nextButton_),
                         static_cast<QWidget*>(abortButton_)}) {
    child->setEnabled(!busy);
  }
  if (!busy) SetPrevEnabled(currentStep_ != 1);
}

void TMainForm::ShowOptionSet(const TGallerySet& options) {
  for (int k = 1; k <= kStepCount; ++k) Page(k)->ShowOptionSet(options);
}

void TMainForm::OpenHelpContext(int context) { Q_UNUSED(context); }
void TMainForm::OpenHelpTopic(const std::string& topic) { Q_UNUSED(topic); }

void TMainForm::BackgroundImageChanged(bool on) { step3_->SetShadowChecked(!on); }

std::string TMainForm::BackgroundImage() const {
  // Step 2 writes the chosen picture to the store at every click of its box
  // while the box is ticked and the file exists, and an empty text otherwise.
  std::string path = context_->store.ReadString(kOptionsKeyPath, "HTMLPage_Background", {});
  return !path.empty() && FileExists(path) ? path : std::string();
}

void TMainForm::OnNextButtonClick() {
  switch (nextMode_) {
    case TNextMode::Next: GoToStep(currentStep_ + 1, true); break;
    case TNextMode::Create: step5_->OnCreateGalleryClick(); break;
    case TNextMode::Freeze: step5_->OnStopClick(); break;
    case TNextMode::Continue: step5_->OnContinueClick(); break;
    case TNextMode::ShowMe: step5_->OnPreviewGalleryClick(); break;
  }
}

void TMainForm::OnPrevButtonClick() { GoToStep(currentStep_ - 1, true); }

void TMainForm::OnAbortButtonClick() { step5_->OnAbortClick(); }

void TMainForm::LoadSettings() {
  TUsefulRegistry& store = context_->store;
  store.DeleteValue(kOptionsKeyPath, kObsoleteIncludeSubfoldersSetting);
  for (int step = 2; step <= 13; ++step) {
    if (step == 3) {
      SetHistoryLimit(store.ReadInteger(kOptionsKeyPath, "FolderHistoryLimit", HistoryLimit()));
    }
    if (step == 11) {
      SetDateDisplayFormat(store.ReadString(kOptionsKeyPath, "GalPage_DateFormat",
                                            DateDisplayFormat()));
      SetTimeDisplayFormat(store.ReadString(kOptionsKeyPath, "GalPage_TimeFormat",
                                            TimeDisplayFormat()));
    }
    for (int k = 1; k <= kStepCount; ++k) Page(k)->LoadStartupSetting(step);
  }
}

void TMainForm::SaveSettings() {
  TUsefulRegistry& store = context_->store;
  for (int stage = kCloseHomeLinkHistory; stage <= kCloseRenameMask; ++stage) {
    if (stage == kCloseHistoryLimit) {
      store.WriteInteger(kOptionsKeyPath, "FolderHistoryLimit", HistoryLimit());
    }
    for (int k = 1; k <= kStepCount; ++k) Page(k)->SaveCloseSetting(stage);
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    FirstShow();
  }
}

void TMainForm::FirstShow() { step1_->Refresh(); }

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    // A run works on the list and the option set: it must be stopped at its
    // check point before they go.
    step5_->StopRunForClose();
    SaveSettings();
  }
  event->accept();
}

}  // namespace zelvora
