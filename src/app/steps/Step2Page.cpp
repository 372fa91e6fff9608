#include "app/steps/Step2Page.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/ComboItems.h"
#include "app/Dialogs.h"
#include "app/TextConvert.h"
#include "app/WizardFrame.h"
#include "controls/BorderedPanel.h"
#include "gallery/GallerySet.h"
#include "imaging/ImageLoader.h"
#include "imaging/Preview.h"
#include "settings/History.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "ui_Step2Page.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {

constexpr TColor TGallerySet::*kLinkColorMembers[TStep2Page::kLinkColorCount] = {
    &TGallerySet::HTMLPage_TextColor, &TGallerySet::HTMLPage_LinkColor,
    &TGallerySet::HTMLPage_VisitedLinkColor, &TGallerySet::HTMLPage_ActiveLinkColor,
    &TGallerySet::HTMLPage_DisabledLinkColor};
constexpr const char* kLinkColorSettings[TStep2Page::kLinkColorCount] = {
    "HTMLPage_TextColor", "HTMLPage_LinkColor", "HTMLPage_VisitedLinkColor",
    "HTMLPage_ActiveLinkColor", "HTMLPage_DisabledLinkColor"};

const QString kBackgroundFilter =
    QStringLiteral("Background Images (*.gif;*.jpg;*.jpeg)|*.gif;*.jpg;*.jpeg|All Files (*.*)|*.*");

TSettingValue ReadNamed(TUsefulRegistry& store, std::string_view name,
                        const TSettingValue* fallback = nullptr) {
  const TSettingDef* def = FindSetting(name);
  if (!def) return fallback ? *fallback : TSettingValue{};
  return ReadSetting(store, *def, fallback ? *fallback : DefaultSettingValue(*def));
}

TSettingValue Number(std::int64_t number) {
  TSettingValue value;
  value.number = number;
  return value;
}


}  // namespace

TStep2Page::TStep2Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step2Page>()) {
  ui_->setupUi(this);

  const TSettingDef* homeItems = FindSetting("NavigHomeURLList");
  SetItems(ui_->HomeLinkComboBox, homeItems ? homeItems->list : TStringList{});
  ui_->HomeLinkComboBox->setEditText(QStringLiteral("index.html"));
  context_.options.Navig_HomeURL = "index.html";
  connect(ui_->HomeLinkComboBox, &QComboBox::editTextChanged, this,
          [this](const QString& text) { context_.options.Navig_HomeURL = ToBytes(text); });
  connect(ui_->HomeLinkComboBox, &QComboBox::activated, this, &TStep2Page::OnHomeLinkActivated);

  connect(ui_->NavigationTopCheckBox, &QCheckBox::toggled, this,
          [this](bool on) { context_.options.Navig_PageTop = on; });
  connect(ui_->NavigationBottomCheckBox, &QCheckBox::toggled, this,
          [this](bool on) { context_.options.Navig_PageBottom = on; });
  connect(ui_->FramesCheckBox, &QCheckBox::toggled, this,
          [this](bool on) { context_.options.Framed_ThumbTablePage = on; });

  // The backdrop of the link swatches and the preview frame show the
  // background colour; the swatches paint their own bevels.
  for (TBorderedPanel* panel : {ui_->BGColorPanel, ui_->BackgroundImagePanel}) {
    panel->SetBevelOuter(TBevelCut::Lowered);
  }
  ui_->LinkColorsBackdrop->SetBevelOuter(TBevelCut::None);
  auto* previewLayout = new QHBoxLayout(ui_->BackgroundImagePanel);
  previewLayout->setContentsMargins(2, 2, 2, 2);
  auto* preview = new QLabel(ui_->BackgroundImagePanel);
  preview->setObjectName(QStringLiteral("BackgroundImagePreview"));
  preview->setAlignment(Qt::AlignCenter);
  previewLayout->addWidget(preview);

  for (int i = 0; i < kLinkColorCount; ++i) {
    TBorderedPanel* swatch = LinkSwatch(i);
    swatch->SetBorderWidth(1);
    swatch->SetBorderColor(QColor(128, 128, 128));
    swatch->SetBevelOuter(TBevelCut::None);
    swatch->SetActsAsButton(true);
    WireSwatchFeedback(swatch);
    connect(swatch, &TBorderedPanel::Clicked, this, [this, i] { OnLinkSwatchClick(i); });
    connect(LinkCheckBox(i), &QCheckBox::clicked, this,
            [this, i](bool checked) { OnLinkCheckBoxClick(i, checked); });
  }

  connect(ui_->BGColorChangeButton, &QPushButton::clicked, this, &TStep2Page::OnBGColorChangeClick);
  connect(ui_->BackgroundImageChangeButton, &QPushButton::clicked, this,
          &TStep2Page::OnBackgroundImageChangeClick);
  connect(ui_->BackgroundImageCheckBox, &QCheckBox::toggled, this,
          &TStep2Page::OnBackgroundImageClick);
  WireMoreButton();

  PaintBackground();
}

TStep2Page::~TStep2Page() = default;

QComboBox* TStep2Page::HomeLinkBox() const { return ui_->HomeLinkComboBox; }
TBorderedPanel* TStep2Page::BackgroundSwatch() const { return ui_->BGColorPanel; }
TBorderedPanel* TStep2Page::MoreButton() const { return ui_->Step2MoreButton; }
bool TStep2Page::BackgroundImageChecked() const { return ui_->BackgroundImageCheckBox->isChecked(); }

TBorderedPanel* TStep2Page::LinkSwatch(int index) const {
  TBorderedPanel* swatches[kLinkColorCount] = {ui_->TextColorPanel, ui_->LinkColorPanel,
                                               ui_->VisitedLinkColorPanel,
                                               ui_->ActiveLinkColorPanel,
                                               ui_->DisabledLinkColorPanel};
  return index >= 0 && index < kLinkColorCount ? swatches[index] : nullptr;
}

QCheckBox* TStep2Page::LinkCheckBox(int index) const {
  QCheckBox* boxes[kLinkColorCount] = {ui_->TextColorCheckBox, ui_->LinkColorCheckBox,
                                       ui_->VisitedLinkColorCheckBox,
                                       ui_->ActiveLinkColorCheckBox,
                                       ui_->DisabledLinkColorCheckBox};
  return index >= 0 && index < kLinkColorCount ? boxes[index] : nullptr;
}

TColor& TStep2Page::LinkColor(int index) const { return context_.options.*kLinkColorMembers[index]; }

void TStep2Page::WireSwatchFeedback(TBorderedPanel* swatch) {
  connect(swatch, &TBorderedPanel::MouseEnter, swatch,
          [swatch] { swatch->SetBevelOuter(TBevelCut::Raised); });
  connect(swatch, &TBorderedPanel::MouseLeave, swatch,
          [swatch] { swatch->SetBevelOuter(TBevelCut::None); });
  connect(swatch, &TBorderedPanel::MousePressed, swatch, [swatch] {
    swatch->SetBevelWidth(1);
    swatch->SetBevelOuter(TBevelCut::Lowered);
  });
  connect(swatch, &TBorderedPanel::MouseReleased, swatch,
          [swatch](bool) { swatch->SetBevelOuter(TBevelCut::None); });
}

void TStep2Page::WireMoreButton() {
  TBorderedPanel* more = ui_->Step2MoreButton;
  more->SetCaption(QStringLiteral(" Advanced..."));
  more->SetBevelOuter(TBevelCut::Lowered);
  more->SetBevelInner(TBevelCut::Raised);
  more->SetBorderColor(QColor(0, 0, 0));
  more->SetActsAsButton(true);
  connect(more, &TBorderedPanel::MouseEnter, more, [more] {
    more->SetBorderWidth(1);
    more->SetBevelOuter(TBevelCut::None);
  });
  connect(more, &TBorderedPanel::MouseLeave, more, [more] {
    more->SetBorderWidth(0);
    more->SetBevelOuter(TBevelCut::Lowered);
  });
  connect(more, &TBorderedPanel::MousePressed, more,
          [more] { more->SetBevelInner(TBevelCut::None); });
  connect(more, &TBorderedPanel::MouseReleased, more,
          [more](bool) { more->SetBevelInner(TBevelCut::Raised); });
  connect(more, &TBorderedPanel::Clicked, this, &TStep2Page::AdvancedRequested);
}

void TStep2Page::PaintLinkSwatch(int index) {
  const TColor color = LinkColor(index);
  TBorderedPanel* swatch = LinkSwatch(index);
  // A colour the user left to the browser shows the page background with a word.
  if (IsDefaultColor(color)) {
    swatch->SetColor(ToQColor(context_.options.HTMLPage_BGColor));
    swatch->SetCaption(ToQString(InterfaceText(TextId::DefaultColorWord)));
    QPalette text = swatch->palette();
    text.setColor(QPalette::WindowText, ToQColor(ContrastTextColor(context_.options.HTMLPage_BGColor)));
    swatch->setPalette(text);
  } else {
    swatch->SetColor(ToQColor(color));
    swatch->SetCaption(QString());
  }
  LinkCheckBox(index)->setChecked(!IsDefaultColor(color));
}

void TStep2Page::RepaintLinkSwatches() {
  for (int i = 0; i < kLinkColorCount; ++i) PaintLinkSwatch(i);
}

void TStep2Page::PaintBackground() {
  const QColor background = ToQColor(context_.options.HTMLPage_BGColor);
  ui_->BGColorPanel->SetColor(background);
  ui_->BackgroundImagePanel->SetColor(background);
  ui_->LinkColorsBackdrop->SetColor(background);
  for (int i = 0; i < kLinkColorCount; ++i) PaintLinkSwatch(i);
  if (!backgroundImage_.isNull()) ShowBackgroundImage(backgroundImagePath_);
}

void TStep2Page::OnLinkCheckBoxClick(int index, bool checked) {
  TColor& color = LinkColor(index);
  color = checked ? (color & ~kDefaultColorMark) : WithDefaultMark(color);
  PaintLinkSwatch(index);
}

void TStep2Page::OnLinkSwatchClick(int index) {
  TColor& color = LinkColor(index);
  std::optional<QColor> chosen = context_.dialogs.ChooseColor(this, ToQColor(ColorRGB(color)));
  if (!chosen) return;
  color = FromQColor(*chosen);
  PaintLinkSwatch(index);
}

void TStep2Page::OnBGColorChangeClick() {
  std::optional<QColor> chosen =
      context_.dialogs.ChooseColor(this, ToQColor(ColorRGB(context_.options.HTMLPage_BGColor)));
  if (!chosen) return;
  context_.options.HTMLPage_BGColor = FromQColor(*chosen);
  PaintBackground();
}

void TStep2Page::OnBackgroundImageChangeClick() {
  TFileRequest request;
  request.filter = kBackgroundFilter;
  request.folder = ToQString(FilePathOf(backgroundImagePath_));
  request.fileName = ToQString(FileNameOf(backgroundImagePath_));
  const QString chosen = context_.dialogs.OpenFile(this, request);
  if (chosen.isEmpty()) return;
  backgroundImagePath_ = ToBytes(chosen);
  ShowBackgroundImage(backgroundImagePath_);
  if (ui_->BackgroundImageCheckBox->isChecked()) {
    OnBackgroundImageClick();  // the click handling runs even when already checked
  } else {
    ui_->BackgroundImageCheckBox->setChecked(true);
  }
}

void TStep2Page::OnBackgroundImageClick() {
  const bool on = ui_->BackgroundImageCheckBox->isChecked();
  const bool usable = on && FileExists(backgroundImagePath_);
  context_.store.WriteString(kOptionsKeyPath, "HTMLPage_Background",
                             usable ? backgroundImagePath_ : std::string());
  // A picture behind the page makes the thumbnail shadow look wrong.
  context_.frame.BackgroundImageChanged(on);
}

bool TStep2Page::ShowBackgroundImage(const std::string& path) {
  QLabel* preview = ui_->BackgroundImagePanel->findChild<QLabel*>(QStringLiteral("BackgroundImagePreview"));
  const QSize box = preview->size().expandedTo(QSize(16, 16));
  std::unique_ptr<Bitmap> bitmap = LoadImageFile(path);
  if (!bitmap) return false;
  std::unique_ptr<Bitmap> fitted = FitImageForPreview(
      bitmap.get(), box.width(), box.height(), ColorRGB(context_.options.HTMLPage_BGColor),
      kPreviewFast);
  if (!fitted) return false;
  backgroundImage_ = QImage(fitted->Row(0), fitted->Width(), fitted->Height(),
                            static_cast<qsizetype>(fitted->Stride()), QImage::Format_BGR888)
                         .copy();
  preview->setPixmap(QPixmap::fromImage(backgroundImage_));
  return true;
}

void TStep2Page::OnHomeLinkActivated(int index) {
  QComboBox* box = ui_->HomeLinkComboBox;
  if (index <= 0 || index >= box->count()) return;
  const QString text = box->itemText(index);
  const QSignalBlocker blocker(box);
  box->removeItem(index);
  box->insertItem(0, text);
  box->setCurrentIndex(0);
  context_.options.Navig_HomeURL = ToBytes(text);
}

bool TStep2Page::LeaveCheck() {
  if (context_.frame.CurrentStep() > 2) return true;
  context_.options.ThumbTableRowCount = ui_->ThumbVNumSpinEdit->value();
  context_.options.ThumbTableColumnCount = ui_->ThumbHNumSpinEdit->value();
  TStringList items = ItemsOf(ui_->HomeLinkComboBox);
  if (AddToHistory(items, ToBytes(ui_->HomeLinkComboBox->currentText()), HistoryLimit()) >= 0) {
    SetItems(ui_->HomeLinkComboBox, items);
  }
  return true;
}

void TStep2Page::ShowOptionSet(const TGallerySet& options) {
  ui_->NavigationTopCheckBox->setChecked(options.Navig_PageTop);
  ui_->NavigationBottomCheckBox->setChecked(options.Navig_PageBottom);
  ui_->HomeLinkComboBox->setEditText(ToQString(options.Navig_HomeURL));
  ui_->FramesCheckBox->setChecked(options.Framed_ThumbTablePage);
  ui_->ThumbVNumSpinEdit->setValue(options.ThumbTableRowCount);
  ui_->ThumbHNumSpinEdit->setValue(options.ThumbTableColumnCount);
  TGallerySet& own = context_.options;
  if (&own != &options) {
    own.HTMLPage_BGColor = options.HTMLPage_BGColor;
    for (const auto member : kLinkColorMembers) own.*member = options.*member;
  }
  std::string background;
  if (!options.HTMLPage_Background.empty()) {
    background = options.OptionsFolder + options.HTMLPage_Background;
  }
  if (!background.empty() && FileExists(background) && ShowBackgroundImage(background)) {
    backgroundImagePath_ = background;
    ui_->BackgroundImageCheckBox->setChecked(true);
  } else {
    backgroundImagePath_.clear();
    backgroundImage_ = QImage();
    ui_->BackgroundImagePanel->findChild<QLabel*>()->clear();
    ui_->BackgroundImageCheckBox->setChecked(false);
  }
  PaintBackground();
}

void TStep2Page::LoadStartupSetting(int step) {
  TUsefulRegistry& store = context_.store;
  TGallerySet& options = context_.options;
  switch (step) {
    case 9: {
      options.HTMLPage_BGColor = static_cast<TColor>(ReadNamed(store, "HTMLPage_BGColor").number);
      const std::string background = ReadNamed(store, "HTMLPage_Background").text;
      for (int i = 0; i < kLinkColorCount; ++i) {
        LinkColor(i) = static_cast<TColor>(ReadNamed(store, kLinkColorSettings[i]).number);
      }
      // Only shown here: the stored path is already right, and step 3 reads
      // its own "Shadow" state next.
      const QSignalBlocker quiet(ui_->BackgroundImageCheckBox);
      if (!background.empty() && FileExists(background) && ShowBackgroundImage(background)) {
        backgroundImagePath_ = background;
        ui_->BackgroundImageCheckBox->setChecked(true);
      } else {
        backgroundImagePath_.clear();
        ui_->BackgroundImageCheckBox->setChecked(false);
      }
      PaintBackground();
      break;
    }
    case 12: {
      const TSettingValue frames = Number(ui_->FramesCheckBox->isChecked());
      const TSettingValue top = Number(ui_->NavigationTopCheckBox->isChecked());
      const TSettingValue bottom = Number(ui_->NavigationBottomCheckBox->isChecked());
      ui_->FramesCheckBox->setChecked(ReadNamed(store, "GalPage_WithFrames", &frames).number != 0);
      ui_->NavigationTopCheckBox->setChecked(ReadNamed(store, "GalPage_NavigTop", &top).number != 0);
      ui_->NavigationBottomCheckBox->setChecked(
          ReadNamed(store, "GalPage_NavigBottom", &bottom).number != 0);
      options.Framed_ThumbTablePage = ui_->FramesCheckBox->isChecked();
      options.Navig_PageTop = ui_->NavigationTopCheckBox->isChecked();
      options.Navig_PageBottom = ui_->NavigationBottomCheckBox->isChecked();
      break;
    }
    case 13: {
      TSettingValue text;
      text.text = ToBytes(ui_->HomeLinkComboBox->currentText());
      ui_->HomeLinkComboBox->setEditText(ToQString(ReadNamed(store, "GalPage_NavigHomeURL", &text).text));
      options.Navig_HomeURL = ToBytes(ui_->HomeLinkComboBox->currentText());
      // The built-in items stay unless a stored list begins.
      if (store.ValueExists(kHistoryKeyPath, "NavigHomeURLList1")) {
        TStringList items;
        store.ReadList(kHistoryKeyPath, "NavigHomeURLList", items, 1);
        SetItems(ui_->HomeLinkComboBox, items);
      }
      break;
    }
    default:
      break;
  }
}

void TStep2Page::SaveCloseSetting(int stage) {
  if (stage != kCloseHomeLinkHistory) return;
  context_.store.WriteList(kHistoryKeyPath, "NavigHomeURLList", ItemsOf(ui_->HomeLinkComboBox), 1);
}

}  // namespace zelvora
