#include "app/steps/Step5Page.h"

#include <QDesktopServices>
#include <QProgressBar>

#include "app/RunController.h"
#include "app/TextConvert.h"
#include "app/WizardFrame.h"
#include "app/steps/BuddyNames.h"
#include "gallery/GallerySet.h"
#include "ui_Step5Page.h"
#include "util/PathUtils.h"

namespace zelvora {

TStep5Page::TStep5Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent),
      ui_(std::make_unique<Ui::Step5Page>()),
      openPage_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  ui_->setupUi(this);
  NameBuddiesAfterLabels(this);
  controller_ = std::make_unique<TRunController>(context_.dialogs, this);
  connect(controller_.get(), &TRunController::ProgressChanged, this, &TStep5Page::ShowProgress);
  connect(controller_.get(), &TRunController::RunStateChanged, this, &TStep5Page::ShowRunState);
  connect(controller_.get(), &TRunController::Finished, this, &TStep5Page::EndRun);
  connect(controller_.get(), &TRunController::WaitingForUser, this,
          [this] { context_.frame.SetNextEnabled(true); });
}

TStep5Page::~TStep5Page() = default;

void TStep5Page::OnCreateGalleryClick() {
  if (controller_->Active()) return;
  IWizardFrame& frame = context_.frame;
  // The buttons change before the worker starts, so Create cannot be
  // pressed twice.
  frame.SetPrevEnabled(false);
  frame.SetNextButtonMode(TNextMode::Freeze);
  frame.SetAbortVisible(false);
  TGenerationParams params = ParamsForOptions(context_.options);
  params.BackgroundImagePath = frame.BackgroundImagePath();
  params.CopySourceImages = frame.CopySourceImages();
  params.UseBackgroundImage = !params.BackgroundImagePath.empty();
  controller_->Start(context_.list, context_.options, params);
}

void TStep5Page::OnStopClick() {
  // The run pauses at its next check point: a picture being made is
  // finished first. Next reads "&Continue" once the run says it waits.
  controller_->Freeze();
}

void TStep5Page::OnContinueClick() {
  context_.frame.SetNextButtonMode(TNextMode::Freeze);
  // Until the run says it works again, a second press could freeze a run
  // that has not yet woken and leave it waiting under "Free&ze".
  if (controller_->Active()) context_.frame.SetNextEnabled(false);
  controller_->Continue();
}

void TStep5Page::OnAbortClick() {
  controller_->Abort();
  context_.frame.SetNextButtonMode(TNextMode::Create);
  ResetProgress();
  // Create again only once the worker has left the engine.
  if (controller_->Active()) context_.frame.SetNextEnabled(false);
}

void TStep5Page::OnPreviewGalleryClick() {
  const std::string page = controller_->GalleryStartPage();
  if (page.empty() || !FileExists(page)) return;
  openPage_(QUrl::fromLocalFile(ToQString(page)));
}

void TStep5Page::ResetProgress() {
  for (QProgressBar* bar : {ui_->ThumbnailsProgressBar, ui_->PagesProgressBar}) {
    bar->setMinimum(0);
    bar->setValue(0);
  }
}

bool TStep5Page::RunActive() const { return controller_->Active(); }

void TStep5Page::StopRunForClose() { controller_->StopAndWait(); }

std::string TStep5Page::GalleryStartPage() const { return controller_->GalleryStartPage(); }

void TStep5Page::SetRunFileSystem(IRunFileSystem& fileSystem) {
  controller_->SetFileSystem(fileSystem);
}

void TStep5Page::SetPageOpener(TPageOpener opener) { openPage_ = std::move(opener); }

void TStep5Page::ShowProgress(TProgressBar bar, int position, int maximum) {
  QProgressBar* target =
      bar == TProgressBar::Thumbnails ? ui_->ThumbnailsProgressBar : ui_->PagesProgressBar;
  target->setMinimum(0);
  target->setMaximum(maximum);
  target->setValue(position);
}

void TStep5Page::ShowRunState(TRunState state) {
  IWizardFrame& frame = context_.frame;
  switch (state) {
    case TRunState::Running:
      frame.SetNextButtonMode(TNextMode::Freeze);
      frame.SetAbortVisible(false);
      frame.SetNextEnabled(true);
      break;
    case TRunState::Paused:
      // "&Continue" is offered once the run really waits (WaitingForUser).
      frame.SetNextButtonMode(TNextMode::Continue);
      frame.SetAbortVisible(true);
      frame.SetNextEnabled(false);
      break;
    case TRunState::Ready:
    case TRunState::Done:
      // The end of the run is shown once the worker has left (EndRun).
      break;
  }
}

void TStep5Page::EndRun(TRunOutcome outcome) {
  IWizardFrame& frame = context_.frame;
  if (outcome == TRunOutcome::Done) {
    frame.TickSteps(5);
    frame.SetNextButtonMode(TNextMode::ShowMe);
  } else {
    frame.SetNextButtonMode(TNextMode::Create);
    ResetProgress();
  }
  frame.SetPrevEnabled(true);
  frame.SetNextEnabled(true);
  frame.SetAbortVisible(false);
  frame.FocusNextButton();
  emit RunFinished(outcome);
}

}  // namespace zelvora
