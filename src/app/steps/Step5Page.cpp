#include "app/steps/Step5Page.h"

#include "app/WizardFrame.h"
#include "gallery/GallerySet.h"
#include "ui_Step5Page.h"

namespace zelvora {

TStep5Page::TStep5Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step5Page>()) {
  ui_->setupUi(this);
}

TStep5Page::~TStep5Page() = default;

void TStep5Page::OnCreateGalleryClick() {}
void TStep5Page::OnStopClick() {}
void TStep5Page::OnContinueClick() {}
void TStep5Page::OnPreviewGalleryClick() {}
void TStep5Page::OnAbortClick() {}
void TStep5Page::ResetProgress() {}
bool TStep5Page::RunActive() const { return false; }
void TStep5Page::StopRunForClose() {}

}  // namespace zelvora
