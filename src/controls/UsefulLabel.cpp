#include "controls/UsefulLabel.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace zelvora {

TUsefulLabel::TUsefulLabel(QWidget* parent) : QLabel(parent) {
  madeColor_ = palette().color(QPalette::WindowText);
  setFocusPolicy(Qt::TabFocus);
  opener_ = [](const QString& target) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
  };
}

void TUsefulLabel::SetActiveText(bool on) {
  activeText_ = on;
  Recolor();
}
void TUsefulLabel::SetColorIdle(const QColor& color) {
  colorIdle_ = color;
  Recolor();
}
void TUsefulLabel::SetColorActive(const QColor& color) {
  colorActive_ = color;
  Recolor();
}
void TUsefulLabel::SetColorDown(const QColor& color) {
  colorDown_ = color;
  Recolor();
}

void TUsefulLabel::SetStartLinkOnClick(bool on) {
  startLinkOnClick_ = on;
  setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QColor TUsefulLabel::TextColor() const {
  if (!activeText_) return madeColor_;
  switch (state_) {
    case TState::Active: return colorActive_;
    case TState::Down: return colorDown_;
    case TState::Idle: break;
  }
  return colorIdle_;
}

void TUsefulLabel::Recolor() {
  QPalette colors = palette();
  colors.setColor(QPalette::WindowText, TextColor());
  setPalette(colors);
}

void TUsefulLabel::SetState(TState state) {
  if (state_ == state) return;
  state_ = state;
  Recolor();
}

bool TUsefulLabel::OpenLink() {
  const QString target = url_.isEmpty() ? text() : url_;
  return !target.isEmpty() && opener_ && opener_(target);
}

void TUsefulLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetState((event->buttons() & Qt::LeftButton) ? TState::Down : TState::Active);
  emit MouseIn();
}

void TUsefulLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  SetState(TState::Idle);
  emit MouseOut();
}

void TUsefulLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) SetState(TState::Down);
}

void TUsefulLabel::mouseMoveEvent(QMouseEvent* event) {
  const bool inside = rect().contains(event->position().toPoint());
  if (!inside) {
    SetState(TState::Idle);
  } else {
    SetState((event->buttons() & Qt::LeftButton) ? TState::Down : TState::Active);
  }
}

void TUsefulLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool inside = rect().contains(event->position().toPoint());
  SetState(inside ? TState::Active : TState::Idle);
  if (!inside) return;
  if (startLinkOnClick_) OpenLink();
  emit Clicked();
}

void TUsefulLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (startLinkOnClick_) OpenLink();
    emit Clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

}  // namespace zelvora
