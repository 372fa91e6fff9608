#include "app/steps/Step4Page.h"

#include "app/WizardFrame.h"
#include "gallery/GallerySet.h"
#include "ui_Step4Page.h"

namespace zelvora {

TStep4Page::TStep4Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step4Page>()) {
  ui_->setupUi(this);
}

TStep4Page::~TStep4Page() = default;

bool TStep4Page::LeaveCheck() { return true; }
void TStep4Page::ShowOptionSet(const TGallerySet& options) { Q_UNUSED(options); }
void TStep4Page::LoadStartupSetting(int step) { Q_UNUSED(step); }
void TStep4Page::SaveCloseSetting(int stage) { Q_UNUSED(stage); }

}  // namespace zelvora
