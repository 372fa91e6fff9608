#include "app/StepIndicator.h"

#include <QPainter>

namespace zelvora {
namespace {

constexpr int kRowHeight = 64;
constexpr int kTopMargin = 16;
const QChar kCheckMark(0x2714);

void DrawWithShadow(QPainter& painter, const QRect& box, const QString& text, const QColor& color) {
  painter.setPen(QColor(128, 128, 128));
  painter.drawText(box.translated(2, 2), Qt::AlignCenter, text);
  painter.setPen(color);
  painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

TStepIndicator::TStepIndicator(QWidget* parent) : QWidget(parent) {
  setMinimumWidth(sizeHint().width());
  setAccessibleName(tr("Steps"));
}

void TStepIndicator::SetTicked(int step, bool ticked) {
  if (step < 1 || step > kSteps || ticked_[step - 1] == ticked) return;
  ticked_[step - 1] = ticked;
  update();
}

bool TStepIndicator::Ticked(int step) const {
  return step >= 1 && step <= kSteps && ticked_[step - 1];
}

QSize TStepIndicator::sizeHint() const { return {72, kTopMargin + kSteps * kRowHeight}; }

void TStepIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont digitFont = font();
  digitFont.setBold(true);
  digitFont.setPixelSize(36);
  QFont markFont = font();
  markFont.setBold(true);
  markFont.setPixelSize(20);
  for (int i = 0; i < kSteps; ++i) {
    const QRect row(0, kTopMargin + i * kRowHeight, width(), kRowHeight);
    painter.setFont(digitFont);
    DrawWithShadow(painter, QRect(row.left() + 4, row.top(), 36, row.height()),
                   QString::number(i + 1), palette().color(QPalette::WindowText));
    if (ticked_[i]) {
      painter.setFont(markFont);
      DrawWithShadow(painter, QRect(row.left() + 40, row.top(), 26, row.height()),
                     QString(kCheckMark), QColor(0, 128, 0));
    }
  }
}

}  // namespace zelvora
