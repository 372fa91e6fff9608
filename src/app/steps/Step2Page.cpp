#include "app/steps/Step2Page.h"

#include "app/WizardFrame.h"
#include "gallery/GallerySet.h"
#include "ui_Step2Page.h"

namespace zelvora {

TStep2Page::TStep2Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step2Page>()) {
  ui_->setupUi(this);
}

TStep2Page::~TStep2Page() = default;

bool TStep2Page::LeaveCheck() { return true; }
void TStep2Page::ShowOptionSet(const TGallerySet& options) { Q_UNUSED(options); }
void TStep2Page::LoadStartupSetting(int step) { Q_UNUSED(step); }
void TStep2Page::SaveCloseSetting(int stage) { Q_UNUSED(stage); }

}  // namespace zelvora
