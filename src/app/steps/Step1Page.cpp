#include "app/steps/Step1Page.h"

#include "app/WizardFrame.h"
#include "gallery/GallerySet.h"
#include "ui_Step1Page.h"

namespace zelvora {

TStep1Page::TStep1Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step1Page>()) {
  ui_->setupUi(this);
}

TStep1Page::~TStep1Page() = default;

bool TStep1Page::LeaveCheck() { return true; }
void TStep1Page::LoadStartupSetting(int step) { Q_UNUSED(step); }
void TStep1Page::SaveCloseSetting(int stage) { Q_UNUSED(stage); }
void TStep1Page::Refresh() {}

}  // namespace zelvora
