#pragma once
// Lets a plain part of a window (a picture, a button strip) drag the whole
// window with the left mouse button, as a title bar does.

#include <QObject>
#include <QPoint>

class QWidget;

namespace zelvora {

class TWindowDrag : public QObject {
 public:
  // Watches handle; owned by it.
  explicit TWindowDrag(QWidget* handle);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* handle_;
  QPoint offset_;
};

}  // namespace zelvora
