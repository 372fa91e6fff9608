#include "controls/BorderedPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "imaging/Colors.h"
#include "util/Rounding.h"

namespace zelvora {
namespace {

TColor ToValue(const QColor& c) { return MakeColor(c.red(), c.green(), c.blue()); }
QColor FromValue(TColor v) { return QColor(RedOf(v), GreenOf(v), BlueOf(v)); }

// A frame of the given width: top and left in one colour, bottom and right in the other.
void DrawFrame(QPainter& painter, QRect& rect, int width, const QColor& topLeft,
               const QColor& bottomRight) {
  // Whole logical pixels, so the frame stays crisp at any device pixel ratio.
  for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top() + 1, 1, rect.height() - 1), bottomRight);
    rect.adjust(1, 1, -1, -1);
  }
}

}  // namespace

QColor DerivedLightColor(const QColor& base) {
  const int l = ColorLightness(ToValue(base));
  return FromValue(SetColorLightness(ToValue(base),
                                     255 - static_cast<int>(RoundHalfAway((255 - l) / 9.0))));
}

QColor DerivedDarkColor(const QColor& base) {
  const int l = ColorLightness(ToValue(base));
  return FromValue(SetColorLightness(ToValue(base), static_cast<int>(RoundHalfAway(l * 2 / 3.0))));
}

TBorderedPanel::TBorderedPanel(QWidget* parent) : QWidget(parent) {
  color_ = palette().color(QPalette::Button);
  borderColor_ = palette().color(QPalette::Button);
  RecomputeColors();
}

void TBorderedPanel::RecomputeColors() {
  panelLight_ = DerivedLightColor(color_);
  panelDark_ = DerivedDarkColor(color_);
  borderLight_ = DerivedLightColor(borderColor_);
  borderDark_ = DerivedDarkColor(borderColor_);
}

void TBorderedPanel::SetColor(const QColor& color) {
  if (color_ == color) return;
  color_ = color;
  RecomputeColors();
  update();
}

void TBorderedPanel::SetBorderColor(const QColor& color) {
  borderColor_ = color;
  RecomputeColors();
  update();
}

void TBorderedPanel::SetBorderWidth(int width) {
  borderWidth_ = std::max(0, width);
  update();
}
void TBorderedPanel::SetBevelOuter(TBevelCut cut) {
  bevelOuter_ = cut;
  update();
}
void TBorderedPanel::SetBevelInner(TBevelCut cut) {
  bevelInner_ = cut;
  update();
}
void TBorderedPanel::SetBevelWidth(int width) {
  bevelWidth_ = std::max(0, width);
  update();
}
void TBorderedPanel::SetBevelOuterColorAs(TBevelColorSource source) {
  outerSource_ = source;
  RecomputeColors();
  update();
}
void TBorderedPanel::SetBevelInnerColorAs(TBevelColorSource source) {
  innerSource_ = source;
  RecomputeColors();
  update();
}
void TBorderedPanel::SetCaption(const QString& caption) {
  caption_ = caption;
  updateGeometry();
  update();
}
void TBorderedPanel::SetAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}
void TBorderedPanel::SetActsAsButton(bool on) {
  actsAsButton_ = on;
  setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
  setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QColor TBorderedPanel::LightColorOf(TBevelColorSource source) const {
  switch (source) {
    case TBevelColorSource::bcsPanelColor: return panelLight_;
    case TBevelColorSource::bcsBorderColor: return borderLight_;
    case TBevelColorSource::bcsDefaultColor: break;
  }
  return palette().color(QPalette::Light);
}

QColor TBorderedPanel::DarkColorOf(TBevelColorSource source) const {
  switch (source) {
    case TBevelColorSource::bcsPanelColor: return panelDark_;
    case TBevelColorSource::bcsBorderColor: return borderDark_;
    case TBevelColorSource::bcsDefaultColor: break;
  }
  return palette().color(QPalette::Dark);
}

QSize TBorderedPanel::sizeHint() const {
  const QFontMetrics metrics(font());
  const int edge = 2 * (borderWidth_ + 2 * bevelWidth_) + 8;
  return {metrics.horizontalAdvance(caption_) + edge, metrics.height() + edge};
}

void TBorderedPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect rect = this->rect();
  auto bevel = [&](TBevelCut cut, TBevelColorSource source) {
    if (cut == TBevelCut::None) return;
    const QColor light = LightColorOf(source);
    const QColor dark = DarkColorOf(source);
    if (cut == TBevelCut::Lowered) {
      DrawFrame(painter, rect, bevelWidth_, dark, light);
    } else {
      DrawFrame(painter, rect, bevelWidth_, light, dark);
    }
  };
  bevel(bevelOuter_, outerSource_);
  DrawFrame(painter, rect, borderWidth_, borderColor_, borderColor_);
  bevel(bevelInner_, innerSource_);
  painter.fillRect(rect, color_);
  if (caption_.isEmpty()) return;
  // Centred by the height of "W", so captions with and without descenders
  // sit on the same line.
  const QFontMetrics metrics(font());
  QString text = caption_;
  text.replace(QLatin1Char('\t'), QStringLiteral("        "));
  const int textWidth = metrics.horizontalAdvance(text);
  int x = rect.left() + (rect.width() - textWidth) / 2;
  if (alignment_ & Qt::AlignLeft) x = rect.left();
  if (alignment_ & Qt::AlignRight) x = rect.right() - textWidth;
  const QRect w = metrics.tightBoundingRect(QStringLiteral("W"));
  const int baseline = rect.top() + (rect.height() + w.height()) / 2;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(x, baseline, text);
}

void TBorderedPanel::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit MouseEnter();
}

void TBorderedPanel::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit MouseLeave();
}

void TBorderedPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  emit MousePressed();
}

void TBorderedPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  const bool inside = rect().contains(event->position().toPoint());
  emit MouseReleased(inside);
  if (inside) emit Clicked();
}

void TBorderedPanel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (actsAsButton_ && event->modifiers() == Qt::NoModifier &&
      (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    emit Clicked();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace zelvora
