#pragma once
// The advanced settings dialog: a small host that shows one prepared panel
// at a time, sized to it, with Ok, Cancel and an optional Help button.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class AdvancedTuningForm;
class Step2MorePanel;
}

namespace zelvora {

class IDialogs;
class TBorderedPanel;
class TGallerySet;

enum class TPanelResult { None, Ok, Cancel };

class TAdvancedTuningForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMargin = 4;  // the outer panel's inner frame

  explicit TAdvancedTuningForm(IDialogs& dialogs, QWidget* parent = nullptr);
  ~TAdvancedTuningForm() override;

  // Where F1 sends the remembered help topic.
  void SetHelpOpener(std::function<void(const std::string& topic)> opener) {
    helpOpener_ = std::move(opener);
  }

  // Shows the panel modally under the caption; the Help button only with
  // the flag and a topic. None for a missing panel.
  TPanelResult ShowPanel(QWidget* panel, const QString& caption, bool help,
                         const std::string& helpTopic);

  // The step 2 panel: the custom title, header and footer. Copies the five
  // options in, shows the panel, and copies them back only on Ok.
  TPanelResult EditStep2Options(TGallerySet& options);
  TBorderedPanel* Step2MorePanel() const { return step2Panel_; }

  QWidget* ButtonStrip() const;
  QWidget* ClosingPart() const;
  QWidget* HelpPart() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SizeToPanel(QWidget* panel, bool showHelp);

  IDialogs& dialogs_;
  std::unique_ptr<Ui::AdvancedTuningForm> ui_;
  std::unique_ptr<Ui::Step2MorePanel> step2Ui_;
  TBorderedPanel* step2Panel_ = nullptr;
  std::string helpTopic_;
  std::function<void(const std::string&)> helpOpener_;
};

}  // namespace zelvora
