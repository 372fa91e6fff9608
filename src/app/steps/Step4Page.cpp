#include "app/steps/Step4Page.h"

#include "app/Application.h"
#include "app/ComboItems.h"
#include "app/Dialogs.h"
#include "app/TextConvert.h"
#include "app/WizardFrame.h"
#include "controls/UsefulLabel.h"
#include "gallery/GallerySet.h"
#include "settings/History.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "ui_Step4Page.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {


// Picking an entry from the drop-down moves it to the top.
void MoveToTop(QComboBox* box, int index) {
  if (index <= 0 || index >= box->count()) return;
  const QString text = box->itemText(index);
  box->removeItem(index);
  box->insertItem(0, text);
  box->setCurrentIndex(0);
}

}  // namespace

TStep4Page::TStep4Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step4Page>()) {
  ui_->setupUi(this);
  ui_->CopySrcImagesCheckBox->hide();
  const TSettingDef* masks = FindSetting("AutoRenMaskList");
  SetItems(ui_->RenameMaskEdit1, masks ? masks->list : TStringList{});
  ui_->RenameMaskEdit1->setEditText(QStringLiteral("img-%4c"));

  TUsefulLabel* howTo = ui_->UsefulLabel1;
  howTo->SetActiveText(true);
  howTo->SetColorIdle(palette().color(QPalette::ButtonText));
  howTo->SetColorActive(palette().color(QPalette::Highlight));
  howTo->SetColorDown(palette().color(QPalette::Highlight));
  howTo->SetStartLinkOnClick(false);
  howTo->setCursor(Qt::PointingHandCursor);
  connect(howTo, &TUsefulLabel::Clicked, this,
          [this] { context_.frame.OpenHelpTopic("AutomaticRenamingOfImages_link"); });

  connect(ui_->AutoRenameSrcImagesCheckBox, &QCheckBox::toggled, this, &TStep4Page::OnRenameToggled);
  connect(ui_->KeepLocationOfImagesCheckBox, &QCheckBox::toggled, this,
          &TStep4Page::OnKeepLocationToggled);
  connect(ui_->CopySrcImagesCheckBox, &QCheckBox::toggled, this, &TStep4Page::OnCopyToggled);
  connect(ui_->ConvertWebIncompatibleToJPEGCheckBox, &QCheckBox::toggled, this, [this](bool on) {
    context_.store.WriteBool(kOptionsKeyPath, "ConvertWebIncompatibleImagesToJPEG", on);
  });
  connect(ui_->Button2, &QPushButton::clicked, this, &TStep4Page::OnBrowseClick);
  connect(ui_->OutputFolderNameEdit, &QComboBox::activated, this,
          [this](int index) { MoveToTop(ui_->OutputFolderNameEdit, index); });
  connect(ui_->RenameMaskEdit1, &QComboBox::activated, this,
          [this](int index) { MoveToTop(ui_->RenameMaskEdit1, index); });
  // The mask box's look as built; nothing is written before the settings are read.
  ApplyRenameRule(false);
}

TStep4Page::~TStep4Page() = default;

QComboBox* TStep4Page::OutputFolderBox() const { return ui_->OutputFolderNameEdit; }
QComboBox* TStep4Page::MaskBox() const { return ui_->RenameMaskEdit1; }
QCheckBox* TStep4Page::CopyBox() const { return ui_->CopySrcImagesCheckBox; }
QCheckBox* TStep4Page::ConvertBox() const { return ui_->ConvertWebIncompatibleToJPEGCheckBox; }
QCheckBox* TStep4Page::RenameBox() const { return ui_->AutoRenameSrcImagesCheckBox; }
QCheckBox* TStep4Page::KeepLocationBox() const { return ui_->KeepLocationOfImagesCheckBox; }
TUsefulLabel* TStep4Page::HowToLabel() const { return ui_->UsefulLabel1; }
bool TStep4Page::CopySourceImages() const { return ui_->CopySrcImagesCheckBox->isChecked(); }

void TStep4Page::OnRenameToggled(bool on) {
  ApplyRenameRule(on);
  context_.store.WriteBool(kOptionsKeyPath, "AutoRenameSourceImages", on);
}

void TStep4Page::ApplyRenameRule(bool on) {
  ui_->RenameMaskEdit1->setEnabled(on);
  ui_->MaskLabel->setEnabled(on);
  QPalette colors = ui_->RenameMaskEdit1->palette();
  colors.setColor(QPalette::Base, palette().color(on ? QPalette::Base : QPalette::Button));
  ui_->RenameMaskEdit1->setPalette(colors);
  if (on) {
    // Renamed copies need copies: renaming and keeping in place exclude each other.
    ui_->CopySrcImagesCheckBox->setChecked(true);
    ui_->CopySrcImagesCheckBox->setEnabled(false);
    ui_->KeepLocationOfImagesCheckBox->setChecked(false);
  } else {
    ui_->CopySrcImagesCheckBox->setEnabled(true);
  }
}

void TStep4Page::OnKeepLocationToggled(bool on) {
  if (on) {
    ui_->AutoRenameSrcImagesCheckBox->setChecked(false);
    ui_->CopySrcImagesCheckBox->setChecked(false);
    ui_->CopySrcImagesCheckBox->setEnabled(false);
  } else {
    ui_->CopySrcImagesCheckBox->setChecked(true);
    ui_->CopySrcImagesCheckBox->setEnabled(true);
  }
  context_.store.WriteBool(kOptionsKeyPath, "KeepLocationOfImages", on);
}

void TStep4Page::OnCopyToggled(bool on) {
  // Pictures left where they are cannot be converted.
  if (on) {
    ui_->ConvertWebIncompatibleToJPEGCheckBox->setEnabled(true);
  } else {
    ui_->ConvertWebIncompatibleToJPEGCheckBox->setChecked(false);
    ui_->ConvertWebIncompatibleToJPEGCheckBox->setEnabled(false);
  }
  context_.store.WriteBool(kOptionsKeyPath, "CopySourceImages", on);
}

void TStep4Page::OnBrowseClick() {
  QComboBox* box = ui_->OutputFolderNameEdit;
  const std::string start = ExistingFolderOf(ToBytes(box->currentText()));
  std::optional<QString> chosen = context_.dialogs.ChooseFolder(this, ToQString(start));
  if (!chosen || !DirectoryExists(ToBytes(*chosen))) return;
  const std::string folder = NormalizeFolder(ToBytes(*chosen));
  TStringList items = ItemsOf(box);
  AddToHistory(items, folder, HistoryLimit());
  SetItems(box, items);
  box->setEditText(ToQString(folder));
}

bool TStep4Page::LeaveCheck() {
  if (context_.frame.CurrentStep() > 4) return true;
  try {
    return Check();
  } catch (...) {
    return false;
  }
}

bool TStep4Page::Check() {
  TGallerySet& options = context_.options;
  QComboBox* folderBox = ui_->OutputFolderNameEdit;
  const std::string folder = ToBytes(folderBox->currentText());
  if (folder.empty() || !DirectoryExists(folder)) {
    context_.dialogs.Message(this, QMessageBox::Information, ApplicationTitle(),
                             ToQString(InterfaceText(TextId::SelectOutputFolder)), QMessageBox::Ok);
    return false;
  }
  options.OutputFolder = folder;
  const std::string normalized = NormalizeFolder(folder);
  TStringList folders = ItemsOf(folderBox);
  AddToHistory(folders, normalized, HistoryLimit());
  SetItems(folderBox, folders);
  folderBox->setEditText(ToQString(normalized));

  QComboBox* maskBox = ui_->RenameMaskEdit1;
  const QString mask = maskBox->currentText();
  TStringList masks = ItemsOf(maskBox);
  AddToHistory(masks, ToBytes(mask), HistoryLimit());
  SetItems(maskBox, masks);
  maskBox->setEditText(mask);

  options.RenameImages = ui_->AutoRenameSrcImagesCheckBox->isChecked();
  options.RenameImageMask = options.RenameImages ? ToBytes(mask) : std::string();
  options.KeepLocationOfImages = ui_->KeepLocationOfImagesCheckBox->isChecked();
  // Pictures that stay where they are are never rewritten smaller.
  if (options.KeepLocationOfImages) options.Image_ResizeSrcImages = false;
  options.ConvertWebIncompatibleImagesToJPEG = ui_->ConvertWebIncompatibleToJPEGCheckBox->isChecked();
  context_.frame.ResetProgress();
  return true;
}

void TStep4Page::ShowOptionSet(const TGallerySet& options) {
  ui_->ConvertWebIncompatibleToJPEGCheckBox->setChecked(options.ConvertWebIncompatibleImagesToJPEG);
  ui_->KeepLocationOfImagesCheckBox->setChecked(options.KeepLocationOfImages);
  ui_->AutoRenameSrcImagesCheckBox->setChecked(options.RenameImages);
  if (!options.RenameImageMask.empty()) ui_->RenameMaskEdit1->setEditText(ToQString(options.RenameImageMask));
  OnRenameToggled(ui_->AutoRenameSrcImagesCheckBox->isChecked());
}

void TStep4Page::LoadStartupSetting(int step) {
  TUsefulRegistry& store = context_.store;
  switch (step) {
    case 6: {
      ui_->OutputFolderNameEdit->setEditText(
          ToQString(store.ReadString(kHistoryKeyPath, "OutputFolder", std::string())));
      TStringList items;
      store.ReadList(kHistoryKeyPath, "OutputFolderList", items, 1);
      SetItems(ui_->OutputFolderNameEdit, items);
      break;
    }
    case 7: {
      QCheckBox* convert = ui_->ConvertWebIncompatibleToJPEGCheckBox;
      QCheckBox* keep = ui_->KeepLocationOfImagesCheckBox;
      QCheckBox* rename = ui_->AutoRenameSrcImagesCheckBox;
      convert->setChecked(store.ReadBool(kOptionsKeyPath, "ConvertWebIncompatibleImagesToJPEG",
                                         convert->isChecked()));
      keep->setChecked(store.ReadBool(kOptionsKeyPath, "KeepLocationOfImages", keep->isChecked()));
      context_.options.KeepLocationOfImages = keep->isChecked();
      rename->setChecked(store.ReadBool(kOptionsKeyPath, "AutoRenameSourceImages", rename->isChecked()));
      break;
    }
    case 8: {
      QComboBox* mask = ui_->RenameMaskEdit1;
      mask->setEditText(ToQString(
          store.ReadString(kHistoryKeyPath, "AutoRenMask", ToBytes(mask->currentText()))));
      if (store.ValueExists(kHistoryKeyPath, "AutoRenMaskList1")) {
        TStringList items;
        store.ReadList(kHistoryKeyPath, "AutoRenMaskList", items, 1);
        SetItems(mask, items);
      }
      ApplyRenameRule(ui_->AutoRenameSrcImagesCheckBox->isChecked());
      break;
    }
    default:
      break;
  }
}

void TStep4Page::SaveCloseSetting(int stage) {
  TUsefulRegistry& store = context_.store;
  if (stage == kCloseOutputFolder) {
    const std::string folder = ToBytes(ui_->OutputFolderNameEdit->currentText());
    if (!folder.empty() && DirectoryExists(folder)) {
      store.WriteString(kHistoryKeyPath, "OutputFolder", folder);
    }
    store.WriteList(kHistoryKeyPath, "OutputFolderList", ItemsOf(ui_->OutputFolderNameEdit), 1);
  } else if (stage == kCloseRenameMask) {
    store.WriteString(kHistoryKeyPath, "AutoRenMask", ToBytes(ui_->RenameMaskEdit1->currentText()));
    store.WriteList(kHistoryKeyPath, "AutoRenMaskList", ItemsOf(ui_->RenameMaskEdit1), 1);
  }
}

}  // namespace zelvora
