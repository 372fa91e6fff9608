#pragma once
// The column of step digits 1 to 5 at the window's left, each with a check
// mark once its step is done. Digits and marks are drawn over a grey shadow
// copy, so the column reads on any background.

#include <QWidget>
#include <array>

namespace zelvora {

class TStepIndicator : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kSteps = 5;
  explicit TStepIndicator(QWidget* parent = nullptr);

  void SetTicked(int step, bool ticked);  // step 1..5
  bool Ticked(int step) const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<bool, kSteps> ticked_{};
};

}  // namespace zelvora
