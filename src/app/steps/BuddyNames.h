#pragma once
// Screen readers name a spin box or a bar by the label beside it: every
// label of a page that has a buddy lends the buddy its text (without the
// accelerator mark) as the accessible name.

class QWidget;

namespace zelvora {

void NameBuddiesAfterLabels(QWidget* page);

}  // namespace zelvora
