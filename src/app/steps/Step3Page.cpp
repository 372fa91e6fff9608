#include "app/steps/Step3Page.h"

#include <QApplication>
#include <algorithm>

#include "app/TextConvert.h"
#include "app/WizardFrame.h"
#include "app/steps/BuddyNames.h"
#include "gallery/GallerySet.h"
#include "imaging/Colors.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "ui_Step3Page.h"

namespace zelvora {
namespace {

// The description boxes and the show flag each one sets.
struct TDescriptionBox {
  QCheckBox* Ui::Step3Page::*box;
  std::uint8_t flag;
  const char* setting;
};

constexpr TDescriptionBox kDescriptionBoxes[] = {
    {&Ui::Step3Page::FileSizeCheckBox, Show_FileSize, "Thumb_DescribeFileSize"},
    {&Ui::Step3Page::FileNameCheckBox, Show_ImageName, "Thumb_DescribeFileName"},
    {&Ui::Step3Page::FileDateCheckBox, Show_FileTime, "Thumb_DescribeFileDate"},
    {&Ui::Step3Page::CommentCheckBox, Show_ImageComment, "Thumb_DescribeComment"},
    {&Ui::Step3Page::DimensionsCheckBox, Show_ImageSides, "Thumb_DescribeDimensions"},
};

QString ColorName(TColor color) { return ToQColor(color).name(); }

}  // namespace

TStep3Page::TStep3Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step3Page>()) {
  ui_->setupUi(this);
  NameBuddiesAfterLabels(this);
  ConnectControls();
  // The outer panel stands for the room a thumbnail may take: make it show.
  ui_->MainSizePanel->setBackgroundRole(QPalette::Base);
  ui_->MainSizePanel->setAutoFillBackground(true);
  ui_->ThumbShadowTrackBar->setEnabled(ui_->ShadowCheckBox->isChecked());
  ShowShadowValue();
  UpdateThumbPreview();
}

TStep3Page::~TStep3Page() = default;

void TStep3Page::ConnectControls() {
  Ui::Step3Page& ui = *ui_;
  connect(ui.ThumbWidthSpinEdit, &QSpinBox::valueChanged, this, &TStep3Page::OnWidthChanged);
  connect(ui.ThumbHeightSpinEdit, &QSpinBox::valueChanged, this, &TStep3Page::OnHeightChanged);
  connect(ui.SquareThumbCheckBox, &QCheckBox::toggled, this, [this](bool on) {
    if (on) ui_->ThumbHeightSpinEdit->setValue(ui_->ThumbWidthSpinEdit->value());
  });
  connect(ui.ThumbFrameCheckBox, &QCheckBox::toggled, this, [this] { UpdateThumbPreview(); });
  connect(ui.ShadowCheckBox, &QCheckBox::toggled, this, &TStep3Page::OnShadowToggled);
  connect(ui.ThumbShadowTrackBar, &QSlider::valueChanged, this,
          &TStep3Page::OnShadowValueChanged);
  connect(ui.JPEGQualitySpinEdit, &QSpinBox::valueChanged, this, [this](int quality) {
    context_.options.Thumb_JPEGQuality = quality;
    context_.options.Image_JPEGQuality = quality;
  });
  for (const TDescriptionBox& entry : kDescriptionBoxes) {
    connect(ui.*entry.box, &QCheckBox::toggled, this, [this, flag = entry.flag](bool on) {
      context_.options.Thumb_Description.Set(flag, on);
    });
  }

  // The limits for large pictures go to the store at once; the option set
  // takes them when the user leaves the step.
  connect(ui.LimitImageSizeCheckBox, &QCheckBox::toggled, this, [this](bool on) {
    ui_->LimitSizePanel->setVisible(on);
    if (!loading_) context_.store.WriteBool(kOptionsKeyPath, "Image_LimitWebPageImageSize", on);
  });
  connect(ui.MaxImageWidthSpinEdit1, &QSpinBox::valueChanged, this, [this](int value) {
    if (!loading_) context_.store.WriteInteger(kOptionsKeyPath, "Image_MaxWidth", value);
  });
  connect(ui.MaxImageHeightSpinEdit1, &QSpinBox::valueChanged, this, [this](int value) {
    if (!loading_) context_.store.WriteInteger(kOptionsKeyPath, "Image_MaxHeight", value);
  });
  connect(ui.ResizeImagesCheckBox, &QCheckBox::toggled, this, [this](bool on) {
    if (!loading_) context_.store.WriteBool(kOptionsKeyPath, "Image_ResizeSrcImages", on);
  });
}

void TStep3Page::OnWidthChanged(int width) {
  if (ui_->SquareThumbCheckBox->isChecked()) ui_->ThumbHeightSpinEdit->setValue(width);
  UpdateThumbPreview();
}

void TStep3Page::OnHeightChanged(int height) {
  if (ui_->SquareThumbCheckBox->isChecked()) ui_->ThumbWidthSpinEdit->setValue(height);
  UpdateThumbPreview();
}

void TStep3Page::OnShadowToggled(bool on) {
  ui_->ThumbShadowTrackBar->setEnabled(on);
  UpdateThumbPreview();
}

void TStep3Page::OnShadowValueChanged(int value) {
  Q_UNUSED(value);
  // A disabled bar takes no moves.
  if (!ui_->ThumbShadowTrackBar->isEnabled()) return;
  ShowShadowValue();
  UpdateThumbPreview();
}

void TStep3Page::ShowShadowValue() {
  ui_->ShadowValueLabel->setText(QString::number(ui_->ThumbShadowTrackBar->value()));
}

void TStep3Page::SetShadowChecked(bool on) { ui_->ShadowCheckBox->setChecked(on); }

void TStep3Page::UpdateThumbPreview() {
  QLabel* thumb = ui_->ThumbSizePanel;
  const int outerWidth = kPreviewSize;
  const int outerHeight = kPreviewSize;
  int w = ui_->ThumbWidthSpinEdit->value();
  int h = ui_->ThumbHeightSpinEdit->value();
  const int m = std::max(w, h);
  if (m > outerWidth) {
    thumb->setText(QStringLiteral("%1 x %2").arg(w).arg(h));
    w = static_cast<int>(static_cast<double>(outerWidth) / m * w);
    h = static_cast<int>(static_cast<double>(outerWidth) / m * h);
  } else {
    thumb->clear();
  }
  thumb->setGeometry((outerWidth - w) / 2, (outerHeight - h) / 2, w, h);

  // A style sheet, so the frame stays black whatever colour the caption takes.
  QString fill;
  QString caption;
  if (ui_->ShadowCheckBox->isChecked()) {
    const TColor grey = SetColorLightness(kColorWhite, 255 - ui_->ThumbShadowTrackBar->value());
    fill = ColorName(grey);
    caption = ColorName(ContrastTextColor(grey));
  } else {
    fill = QApplication::palette().color(QPalette::Dark).name();
    caption = QApplication::palette().color(QPalette::WindowText).name();
  }
  const QString border = ui_->ThumbFrameCheckBox->isChecked() ? QStringLiteral("1px solid black")
                                                              : QStringLiteral("none");
  thumb->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border: %3; }")
                           .arg(fill, caption, border));
}

bool TStep3Page::LeaveCheck() {
  TGallerySet& options = context_.options;
  options.Thumb_MaxWidth = ui_->ThumbWidthSpinEdit->value();
  options.Thumb_MaxHeight = ui_->ThumbHeightSpinEdit->value();
  options.Image_LimitWebPageImageSize = ui_->LimitImageSizeCheckBox->isChecked();
  options.Image_MaxWidth = ui_->MaxImageWidthSpinEdit1->value();
  options.Image_MaxHeight = ui_->MaxImageHeightSpinEdit1->value();
  options.Image_ResizeSrcImages = ui_->ResizeImagesCheckBox->isChecked();
  options.Thumb_Effects_Shadow = ui_->ShadowCheckBox->isChecked();
  if (options.Thumb_Effects_Shadow) {
    options.Thumb_Effects_ShadowDensity = ui_->ThumbShadowTrackBar->value();
  }
  options.Thumb_Effects_ContrastFrame = ui_->ThumbFrameCheckBox->isChecked();
  return true;
}

void TStep3Page::ShowOptionSet(const TGallerySet& options) {
  Ui::Step3Page& ui = *ui_;
  ui.ThumbFrameCheckBox->setChecked(options.Thumb_Effects_ContrastFrame);
  ui.ShadowCheckBox->setChecked(options.Thumb_Effects_Shadow);
  ui.ThumbShadowTrackBar->setValue(options.Thumb_Effects_ShadowDensity);
  ShowShadowValue();
  for (const TDescriptionBox& entry : kDescriptionBoxes) {
    (ui.*entry.box)->setChecked(options.Thumb_Description.Has(entry.flag));
  }
  ui.JPEGQualitySpinEdit->setValue(options.Thumb_JPEGQuality);
  // "Square" would carry the width over to the height: clear it first.
  const int width = options.Thumb_MaxWidth;
  const int height = options.Thumb_MaxHeight;
  ui.SquareThumbCheckBox->setChecked(false);
  ui.ThumbWidthSpinEdit->setValue(width);
  ui.ThumbHeightSpinEdit->setValue(height);
  ui.SquareThumbCheckBox->setChecked(width == height);
  ui.LimitImageSizeCheckBox->setChecked(options.Image_LimitWebPageImageSize);
  ui.MaxImageWidthSpinEdit1->setValue(options.Image_MaxWidth);
  ui.MaxImageHeightSpinEdit1->setValue(options.Image_MaxHeight);
  ui.ResizeImagesCheckBox->setChecked(options.Image_ResizeSrcImages);
  UpdateThumbPreview();
}

void TStep3Page::LoadStartupSetting(int step) {
  Ui::Step3Page& ui = *ui_;
  TUsefulRegistry& store = context_.store;
  TGallerySet& options = context_.options;
  loading_ = true;
  if (step == 10) {
    ui.ThumbFrameCheckBox->setChecked(
        store.ReadBool(kOptionsKeyPath, "Thumb_Frame", ui.ThumbFrameCheckBox->isChecked()));
    ui.ShadowCheckBox->setChecked(
        store.ReadBool(kOptionsKeyPath, "Thumb_Shadow", ui.ShadowCheckBox->isChecked()));
    // The controls keep a stored value inside their ranges; the options
    // take what the controls show.
    ui.ThumbShadowTrackBar->setValue(
        store.ReadInteger(kOptionsKeyPath, "Thumb_ShadowValue", ui.ThumbShadowTrackBar->value()));
    ShowShadowValue();
    ui.JPEGQualitySpinEdit->setValue(store.ReadInteger(kOptionsKeyPath, "Thumb_JPEGQualityValue",
                                                       ui.JPEGQualitySpinEdit->value()));
    for (const TDescriptionBox& entry : kDescriptionBoxes) {
      (ui.*entry.box)->setChecked(
          store.ReadBool(kOptionsKeyPath, entry.setting, (ui.*entry.box)->isChecked()));
      options.Thumb_Description.Set(entry.flag, (ui.*entry.box)->isChecked());
    }
    options.Thumb_Effects_ContrastFrame = ui.ThumbFrameCheckBox->isChecked();
    options.Thumb_Effects_Shadow = ui.ShadowCheckBox->isChecked();
    options.Thumb_Effects_ShadowDensity = ui.ThumbShadowTrackBar->value();
    options.Thumb_JPEGQuality = ui.JPEGQualitySpinEdit->value();
    options.Image_JPEGQuality = ui.JPEGQualitySpinEdit->value();
    UpdateThumbPreview();
  } else if (step == 12) {
    ui.LimitImageSizeCheckBox->setChecked(store.ReadBool(
        kOptionsKeyPath, "Image_LimitWebPageImageSize", ui.LimitImageSizeCheckBox->isChecked()));
    ui.MaxImageWidthSpinEdit1->setValue(
        store.ReadInteger(kOptionsKeyPath, "Image_MaxWidth", ui.MaxImageWidthSpinEdit1->value()));
    ui.MaxImageHeightSpinEdit1->setValue(store.ReadInteger(kOptionsKeyPath, "Image_MaxHeight",
                                                           ui.MaxImageHeightSpinEdit1->value()));
    ui.ResizeImagesCheckBox->setChecked(store.ReadBool(kOptionsKeyPath, "Image_ResizeSrcImages",
                                                       ui.ResizeImagesCheckBox->isChecked()));
    options.Image_LimitWebPageImageSize = ui.LimitImageSizeCheckBox->isChecked();
    options.Image_MaxWidth = ui.MaxImageWidthSpinEdit1->value();
    options.Image_MaxHeight = ui.MaxImageHeightSpinEdit1->value();
    options.Image_ResizeSrcImages = ui.ResizeImagesCheckBox->isChecked();
  }
  loading_ = false;
}

}  // namespace zelvora
