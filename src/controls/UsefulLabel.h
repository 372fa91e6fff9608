#pragma once
// A text label that changes its colour under the pointer (idle, active,
// down) and can open a link when clicked. Step 4's "How-to..." label.

#include <QColor>
#include <QLabel>
#include <functional>

namespace zelvora {

class TUsefulLabel : public QLabel {
  Q_OBJECT
 public:
  enum class TState { Idle, Active, Down };
  // Hands a link to the platform; true when it was opened.
  using TLinkOpener = std::function<bool(const QString& target)>;

  explicit TUsefulLabel(QWidget* parent = nullptr);

  bool ActiveText() const { return activeText_; }
  void SetActiveText(bool on);
  void SetColorIdle(const QColor& color);
  void SetColorActive(const QColor& color);
  void SetColorDown(const QColor& color);
  QColor ColorIdle() const { return colorIdle_; }
  QColor ColorActive() const { return colorActive_; }
  QColor ColorDown() const { return colorDown_; }
  bool StartLinkOnClick() const { return startLinkOnClick_; }
  void SetStartLinkOnClick(bool on);
  QString URL() const { return url_; }
  void SetURL(const QString& url) { url_ = url; }
  // Tests and the window may route links elsewhere; the default is the
  // desktop's handler.
  void SetLinkOpener(TLinkOpener opener) { opener_ = std::move(opener); }

  TState State() const { return state_; }
  // The colour the text shows now.
  QColor TextColor() const;
  // Opens URL, or the caption when URL is empty.
  bool OpenLink();

 signals:
  void MouseIn();
  void MouseOut();
  // A left click released over the label, or Space or Enter with the focus.
  void Clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetState(TState state);
  void Recolor();

  bool activeText_ = false;
  QColor colorIdle_{0, 0, 255};
  QColor colorActive_{255, 255, 0};
  QColor colorDown_{0, 255, 0};
  QColor madeColor_;  // the text colour the label was made with
  bool startLinkOnClick_ = false;
  QString url_;
  TState state_ = TState::Idle;
  TLinkOpener opener_;
};

}  // namespace zelvora
