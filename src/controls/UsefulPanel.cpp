#include "controls/UsefulPanel.h"

#include <QEvent>

namespace zelvora {

TUsefulPanel::TUsefulPanel(QWidget* parent) : QFrame(parent) {}

void TUsefulPanel::PassEnabledStateOn() {
  // The panel's own state, not the one it inherits from a disabled parent.
  const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    child->setEnabled(enabled);
  }
}

void TUsefulPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) PassEnabledStateOn();
  QFrame::changeEvent(event);
}

bool TUsefulPanel::event(QEvent* event) {
  // A panel made disabled in a form is disabled before its children exist;
  // they learn it once the panel is polished, before it is first shown.
  if (event->type() == QEvent::Polish && testAttribute(Qt::WA_ForceDisabled)) {
    PassEnabledStateOn();
  }
  return QFrame::event(event);
}

}  // namespace zelvora
