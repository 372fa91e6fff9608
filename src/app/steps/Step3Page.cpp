#include "app/steps/Step3Page.h"

#include "app/WizardFrame.h"
#include "gallery/GallerySet.h"
#include "ui_Step3Page.h"

namespace zelvora {

TStep3Page::TStep3Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step3Page>()) {
  ui_->setupUi(this);
}

TStep3Page::~TStep3Page() = default;

bool TStep3Page::LeaveCheck() { return true; }
void TStep3Page::ShowOptionSet(const TGallerySet& options) { Q_UNUSED(options); }
void TStep3Page::LoadStartupSetting(int step) { Q_UNUSED(step); }
void TStep3Page::SetShadowChecked(bool on) { Q_UNUSED(on); }

}  // namespace zelvora
