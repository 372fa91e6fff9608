#include "app/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>

namespace zelvora {

TWindowDrag::TWindowDrag(QWidget* handle) : QObject(handle), handle_(handle) {
  handle->installEventFilter(this);
}

bool TWindowDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != handle_) return false;
  QWidget* window = handle_->window();
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    offset_ = mouse->globalPosition().toPoint() - window->frameGeometry().topLeft();
    return true;
  }
  if (event->type() == QEvent::MouseMove) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->buttons() & Qt::LeftButton) window->move(mouse->globalPosition().toPoint() - offset_);
    return true;
  }
  return false;
}

}  // namespace zelvora
