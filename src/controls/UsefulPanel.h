#pragma once
// A panel that passes its own enabled state on to its child controls, so a
// group of controls is switched as one: disabling the panel disables every
// child, enabling it enables every child again (also one that had been
// disabled on its own).

#include <QFrame>

namespace zelvora {

class TUsefulPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TUsefulPanel(QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void PassEnabledStateOn();
};

}  // namespace zelvora
