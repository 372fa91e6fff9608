#pragma once
// Step 2 of the wizard: thumbnails per row and column, background colour and
// image, navigation links, the home link, frames, the five link colours and
// the " Advanced..." button.

#include <QImage>
#include <array>
#include <memory>
#include <string>

#include "app/steps/StepPage.h"
#include "imaging/Colors.h"

namespace Ui {
class Step2Page;
}

class QCheckBox;
class QComboBox;

namespace zelvora {

class TBorderedPanel;

class TStep2Page : public TStepPage {
  Q_OBJECT
 public:
  static constexpr int kLinkColorCount = 5;

  explicit TStep2Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep2Page() override;

  bool LeaveCheck() override;
  void ShowOptionSet(const TGallerySet& options) override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;

  // The chosen background picture, empty when none; and whether the box
  // that puts it on the pages is checked.
  const std::string& BackgroundImagePath() const { return backgroundImagePath_; }
  bool BackgroundImageChecked() const;
  // Paints the five link swatches again (a language file may have changed "Default").
  void RepaintLinkSwatches();

  // The parts tests and the language pass reach.
  QComboBox* HomeLinkBox() const;
  TBorderedPanel* LinkSwatch(int index) const;  // Text, Link, Visited, Active, Disabled
  QCheckBox* LinkCheckBox(int index) const;
  TBorderedPanel* BackgroundSwatch() const;
  TBorderedPanel* MoreButton() const;

 signals:
  // " Advanced..." was pressed; the window opens the advanced dialog.
  void AdvancedRequested();

 private:
  TColor& LinkColor(int index) const;
  void PaintLinkSwatch(int index);
  void PaintBackground();
  void OnLinkCheckBoxClick(int index, bool checked);
  void OnLinkSwatchClick(int index);
  void OnBGColorChangeClick();
  void OnBackgroundImageChangeClick();
  void OnBackgroundImageClick();
  // Loads a picture into the preview; false (preview unchanged) when it cannot be read.
  bool ShowBackgroundImage(const std::string& path);
  void OnHomeLinkActivated(int index);
  void WireSwatchFeedback(TBorderedPanel* swatch);
  void WireMoreButton();

  std::unique_ptr<Ui::Step2Page> ui_;
  std::string backgroundImagePath_;
  QImage backgroundImage_;  // the picture as loaded, scaled into the preview on demand
};

}  // namespace zelvora
