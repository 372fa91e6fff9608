#pragma once
// A panel that paints its own bevels and border band and reports the pointer
// entering, leaving, pressing and releasing. Step 2's colour swatches and its
// " Advanced..." button are made of it.

#include <QColor>
#include <QString>
#include <QWidget>

namespace zelvora {

enum class TBevelCut { None, Lowered, Raised };
// Where a bevel takes its light and dark colours from.
enum class TBevelColorSource { bcsDefaultColor, bcsPanelColor, bcsBorderColor };

// The light and dark colours derived from a base colour: luminance
// 255 - (255 - L) / 9 and L * 2 / 3 on 0..255 scales, hue and saturation kept.
QColor DerivedLightColor(const QColor& base);
QColor DerivedDarkColor(const QColor& base);

class TBorderedPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TBorderedPanel(QWidget* parent = nullptr);

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  QColor BorderColor() const { return borderColor_; }
  void SetBorderColor(const QColor& color);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut cut);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut cut);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  TBevelColorSource BevelOuterColorAs() const { return outerSource_; }
  void SetBevelOuterColorAs(TBevelColorSource source);
  TBevelColorSource BevelInnerColorAs() const { return innerSource_; }
  void SetBevelInnerColorAs(TBevelColorSource source);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  Qt::Alignment Alignment() const { return alignment_; }
  void SetAlignment(Qt::Alignment alignment);
  // Also answers Space and Enter with Clicked(), so a panel acting as a
  // button works from the keyboard.
  void SetActsAsButton(bool on);

  // The colours a bevel of that source is painted in.
  QColor LightColorOf(TBevelColorSource source) const;
  QColor DarkColorOf(TBevelColorSource source) const;

  QSize sizeHint() const override;

 signals:
  void MouseEnter();
  void MouseLeave();
  void MousePressed();
  // After a release of the left button; inside says where the pointer was.
  void MouseReleased(bool inside);
  // A release inside, or Space or Enter on a panel acting as a button.
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RecomputeColors();

  QColor color_;
  QColor borderColor_;
  int borderWidth_ = 0;
  TBevelCut bevelOuter_ = TBevelCut::Raised;
  TBevelCut bevelInner_ = TBevelCut::None;
  int bevelWidth_ = 1;
  TBevelColorSource outerSource_ = TBevelColorSource::bcsDefaultColor;
  TBevelColorSource innerSource_ = TBevelColorSource::bcsDefaultColor;
  QString caption_;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  bool actsAsButton_ = false;
  // Derived colours of the panel colour and the border colour.
  QColor panelLight_, panelDark_, borderLight_, borderDark_;
};

}  // namespace zelvora
