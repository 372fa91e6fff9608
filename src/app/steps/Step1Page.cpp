#include "app/steps/Step1Page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <set>

#include "app/BlockMove.h"
#include "app/Dialogs.h"
#include "app/ImageListModel.h"
#include "app/ListFileDialogs.h"
#include "app/ListMenu.h"
#include "app/PreviewLoader.h"
#include "app/TextConvert.h"
#include "app/WizardFrame.h"
#include "controls/UsefulFileBox.h"
#include "gallery/AddFolderImages.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "gallery/ImportGallery.h"
#include "settings/History.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "ui_Step1Page.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/Rounding.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

constexpr int kPreviewDelayMs = 150;
constexpr int kCountEvery = 50;
// The longest stretch a long piece of work runs without letting the
// window repaint and take a close request.
constexpr qint64 kEventsEveryMs = 25;
constexpr const char* kImageFileMask = "*.bmp;*.jpg;*.jpe;*.jpeg;*.gif;*.ico";

QString CaptionText() { return QApplication::applicationDisplayName(); }

// Editor text to a comment: every line followed by CR LF.
std::string CommentFromEditor(const QString& text) {
  if (text.isEmpty()) return {};
  std::string comment;
  for (const QString& line : text.split(QLatin1Char('\n'))) comment += ToBytes(line) + "\r\n";
  return comment;
}

QString EditorFromComment(const std::string& comment) {
  QString text = ToQString(comment);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

// A path for the status line: a line break after every 100 characters.
QString StatusTextOfPath(const std::string& path) {
  const QString text = ToQString(path);
  QString wrapped;
  for (qsizetype i = 0; i < text.size(); i += 100) {
    if (i > 0) wrapped += QLatin1Char('\n');
    wrapped += text.mid(i, 100);
  }
  return wrapped;
}

// The list's bulk-change bracket, closed on every way out.
class TUpdateBracket {
 public:
  TUpdateBracket(TImageGalleryList& list, bool open = true) : list_(open ? &list : nullptr) {
    if (list_) list_->BeginUpdate();
  }
  ~TUpdateBracket() {
    if (list_) list_->EndUpdate();
  }
  TUpdateBracket(const TUpdateBracket&) = delete;
  TUpdateBracket& operator=(const TUpdateBracket&) = delete;

 private:
  TImageGalleryList* list_;
};

QString FirstLine(const QString& text) { return text.section(QLatin1Char('\n'), 0, 0).trimmed(); }

}  // namespace

TStep1Page::TStep1Page(TWizardContext& context, QWidget* parent)
    : TStepPage(context, parent), ui_(std::make_unique<Ui::Step1Page>()) {
  ui_->setupUi(this);
  model_ = new TImageListModel(context_.list, this);
  ui_->GalleryImageListBox->setModel(model_);
  ui_->GalleryImageListBox->viewport()->setMouseTracking(true);
  ui_->ImageFilesListBox->SetMask(kImageFileMask);

  previewLoader_ = new TPreviewLoader(this);
  previewTimer_ = new QTimer(this);
  previewTimer_->setObjectName(QStringLiteral("ShowImageInPreviewTimer"));
  previewTimer_->setSingleShot(true);
  previewTimer_->setInterval(kPreviewDelayMs);

  QPalette white = ui_->Image1->palette();
  white.setColor(QPalette::Window, Qt::white);
  ui_->Image1->setPalette(white);

  const std::initializer_list<QAbstractButton*> signButtons = {
      ui_->AddToImgListButton,     ui_->AddAllToImgListButton, ui_->RemoveFromImgListButton,
      ui_->RemoveAllFromImgListButton, ui_->MoveUpButton1,     ui_->MoveDownButton1,
      ui_->InsertPageSeparatorButton, ui_->SpeedButton1};
  for (QAbstractButton* button : signButtons) {
    // Buttons that show only a sign are named by their hints, also after a
    // language file replaced a hint.
    button->setAccessibleName(FirstLine(button->toolTip()));
    button->installEventFilter(this);
  }
  ui_->CommentRE->setReadOnly(true);
  ui_->CommentRE->setContentsMargins(4, 2, 2, 0);  // the text inset

  BuildListMenu();
  ConnectControls();
  OnAutoFillToggled(ui_->AutoFillCheckBox->isChecked());
}

TStep1Page::~TStep1Page() {
  // The list outlives the page's model; it must not report to a dead one.
  context_.list.SetObserver(nullptr);
}

// ---- set-up ----

void TStep1Page::BuildListMenu() {
  listMenu_ = new TListMenu(this);
  connect(listMenu_, &TListMenu::SaveRequested, this, &TStep1Page::SaveListAs);
  connect(listMenu_, &TListMenu::LoadRequested, this, &TStep1Page::LoadListFrom);
  connect(listMenu_, &TListMenu::ImportRequested, this, &TStep1Page::ImportGalleryFolder);
  connect(listMenu_, &TListMenu::SplitByFoldersRequested, this, [this] {
    context_.list.SplitByFolders();
    AfterListCommand();
  });
  connect(listMenu_, &TListMenu::RemoveSeparatorsRequested, this, [this] {
    context_.list.RemoveSeparators();
    AfterListCommand();
  });
  connect(listMenu_, &TListMenu::SortRequested, this, &TStep1Page::SortCommand);
  connect(listMenu_, &TListMenu::ReverseRequested, this, [this] {
    context_.list.Reverse();
    AfterListCommand();
  });
}

void TStep1Page::ConnectControls() {
  Ui::Step1Page& ui = *ui_;
  connect(ui.Button1, &QPushButton::clicked, this, &TStep1Page::BrowseSourceFolder);
  connect(ui.SourceFolderNameEdit, qOverload<int>(&QComboBox::activated), this,
          &TStep1Page::OnSourcePicked);
  // Enter in the box opens the folder. The combo box keeps the focus and
  // hands keys to its line edit itself, so both are watched; taking the key
  // keeps the combo box from also "activating" a matching history entry.
  ui.SourceFolderNameEdit->installEventFilter(this);
  if (QLineEdit* edit = ui.SourceFolderNameEdit->lineEdit()) edit->installEventFilter(this);

  connect(ui.AutoFillCheckBox, &QCheckBox::toggled, this, &TStep1Page::OnAutoFillToggled);
  connect(ui.AutoFillCheckBox, &QCheckBox::clicked, this, [this](bool on) {
    context_.store.WriteBool(kOptionsKeyPath, "AutoFillImageList", on);
  });
  connect(ui.ClearListBeforeAddCheckBox, &QCheckBox::clicked, this, [this](bool on) {
    context_.store.WriteBool(kOptionsKeyPath, "ClearImageListBeforeAutoFill", on);
  });
  connect(ui.PreviewCheckBox, &QCheckBox::clicked, this, &TStep1Page::OnPreviewClicked);

  connect(ui.AddToImgListButton, &QPushButton::clicked, this, &TStep1Page::AddSelected);
  connect(ui.AddAllToImgListButton, &QPushButton::clicked, this, &TStep1Page::AddAll);
  connect(ui.RemoveFromImgListButton, &QPushButton::clicked, this, &TStep1Page::RemoveSelected);
  connect(ui.RemoveAllFromImgListButton, &QPushButton::clicked, this, &TStep1Page::RemoveAll);
  connect(ui.MoveUpButton1, &QPushButton::clicked, this, [this] { MoveSelection(-1); });
  connect(ui.MoveDownButton1, &QPushButton::clicked, this, [this] { MoveSelection(+1); });
  connect(ui.InsertPageSeparatorButton, &QPushButton::clicked, this, &TStep1Page::InsertPageSeparator);
  connect(ui.SpeedButton1, &QToolButton::clicked, this, &TStep1Page::ShowListMenuBelowCaption);
  connect(ui.ApplyCommentButton, &QPushButton::clicked, this, &TStep1Page::ApplyComment);
  connect(ui.CommentRE, &QPlainTextEdit::textChanged, this, &TStep1Page::OnCommentTextChanged);

  QListView* images = ui.GalleryImageListBox;
  connect(images, &QWidget::customContextMenuRequested, this, [this, images](const QPoint& at) {
    listMenu_->popup(images->viewport()->mapToGlobal(at));
  });
  connect(images, &QAbstractItemView::doubleClicked, this, &TStep1Page::OpenImageListEntry);
  connect(images->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TStep1Page::OnImageListSelectionChanged);
  connect(images->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TStep1Page::OnImageListSelectionChanged);
  images->installEventFilter(this);
  images->viewport()->installEventFilter(this);
  connect(model_, &TImageListModel::FilesDropped, this, &TStep1Page::AddDroppedPaths);

  TUsefulFileBox* files = ui.ImageFilesListBox;
  connect(files, &TUsefulFileBox::Changed, this, [this] {
    if (activeList_ == TActiveList::Files) UpdatePreview();
  });
  connect(files, &QAbstractItemView::doubleClicked, this, &TStep1Page::OpenFileListEntry);
  files->installEventFilter(this);
  ui.CommentRE->installEventFilter(this);

  connect(previewTimer_, &QTimer::timeout, this, [this] { ShowPreview(previewPath_); });
  connect(previewLoader_, &TPreviewLoader::Loaded, this, &TStep1Page::OnPreviewLoaded);
}

// ---- settings and the leave check ----

void TStep1Page::LoadStartupSetting(int step) {
  TUsefulRegistry& store = context_.store;
  switch (step) {
    case 2:
      ui_->ClearListBeforeAddCheckBox->setChecked(store.ReadBool(
          kOptionsKeyPath, "ClearImageListBeforeAutoFill", ui_->ClearListBeforeAddCheckBox->isChecked()));
      ui_->AutoFillCheckBox->setChecked(
          store.ReadBool(kOptionsKeyPath, "AutoFillImageList", ui_->AutoFillCheckBox->isChecked()));
      ui_->PreviewCheckBox->setChecked(
          store.ReadBool(kOptionsKeyPath, "ImagePreview", ui_->PreviewCheckBox->isChecked()));
      break;
    case 4: {
      const std::string stored = store.ReadString(kHistoryKeyPath, "ImageSourceFolder",
                                                  NormalizeFolder(context_.programFolder));
      std::string folder = ExistingFolderOf(stored);
      if (!DirectoryExists(folder)) folder = ExcludeTrailingDelimiters(context_.programFolder);
      ui_->SourceFolderNameEdit->setEditText(ToQString(folder));
      break;
    }
    case 5: {
      TStringList history;
      store.ReadList(kHistoryKeyPath, "ImageSourceFolderList", history);
      const QString text = ui_->SourceFolderNameEdit->currentText();
      ui_->SourceFolderNameEdit->clear();
      for (const std::string& entry : history) ui_->SourceFolderNameEdit->addItem(ToQString(entry));
      ui_->SourceFolderNameEdit->setEditText(text);
      // The folder is opened once the window is on the screen, so that a
      // large folder fills the list in front of the user.
      openAtFirstShow_ = true;
      break;
    }
    default:
      break;
  }
}

void TStep1Page::SaveCloseSetting(int stage) {
  if (stage != kCloseSourceFolder) return;
  const std::string folder = SourceFolderText();
  if (DirectoryExists(folder)) context_.store.WriteString(kHistoryKeyPath, "ImageSourceFolder", folder);
  TStringList history;
  for (int i = 0; i < ui_->SourceFolderNameEdit->count(); ++i) {
    history.push_back(ToBytes(ui_->SourceFolderNameEdit->itemText(i)));
  }
  context_.store.WriteList(kHistoryKeyPath, "ImageSourceFolderList", history);
}

bool TStep1Page::LeaveCheck() {
  const std::string folder = SourceFolderText();
  if (!DirectoryExists(folder)) {
    context_.dialogs.Message(window(), QMessageBox::Warning, CaptionText(),
                             ToQString(InterfaceText(TextId::SelectSourceFolder)), QMessageBox::Ok);
    return false;
  }
  if (context_.list.Count() == 0) {
    context_.dialogs.Message(window(), QMessageBox::Warning, CaptionText(),
                             ToQString(InterfaceText(TextId::SelectImages)), QMessageBox::Ok);
    return false;
  }
  context_.options.SourceFolder = NormalizeFolder(folder);
  context_.options.IncludeSubfolders = ui_->InclSubfoldersCheckBox->isChecked();
  return true;
}

void TStep1Page::Refresh() {
  window()->installEventFilter(this);  // a close request ends a folder scan
  ShowCount();
  UpdateCommentPanel();
  if (openAtFirstShow_) {
    openAtFirstShow_ = false;
    QTimer::singleShot(0, this, &TStep1Page::OpenSourceFolder);
  }
}

std::string TStep1Page::SourceFolderText() const {
  return Trim(ToBytes(ui_->SourceFolderNameEdit->currentText()));
}

// ---- long work ----

bool TStep1Page::BeginWork() {
  if (busy_) return false;
  busy_ = true;
  focusBeforeWork_ = QApplication::focusWidget();
  lastEventsRun_ = 0;  // the first chance to run events shows the busy window at once
  context_.frame.SetBusy(true);
  return true;
}

void TStep1Page::EndWork() {
  context_.frame.SetBusy(false);
  busy_ = false;
  if (focusBeforeWork_ && focusBeforeWork_->isEnabled()) focusBeforeWork_->setFocus();
}

void TStep1Page::ShowCountDuringWork(bool letEventsRun) {
  ShowCount();
  if (!letEventsRun) return;
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (now - lastEventsRun_ < kEventsEveryMs) return;
  lastEventsRun_ = now;
  QApplication::processEvents();
}

TAddFolderHooks TStep1Page::WorkHooks() {
  TAddFolderHooks hooks;
  hooks.ShowCount = [this](int) { ShowCountDuringWork(true); };
  hooks.ProcessEvents = [this] {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastEventsRun_ < kEventsEveryMs) return;
    lastEventsRun_ = now;
    QApplication::processEvents();
  };
  hooks.StopRequested = [this] { return closeRequested_; };
  return hooks;
}

void TStep1Page::ShowCount() {
  ui_->ImagesCountLabel->setText(QString::number(context_.list.ImageCount()));
  ui_->ImagesCountLabel->repaint();
}

// ---- the source folder ----

void TStep1Page::OpenSourceFolder() {
  if (!BeginWork()) return;
  try {
    const std::string folder = NormalizeFolder(SourceFolderText());
    if (DirectoryExists(folder)) {
      TUsefulFileBox* files = ui_->ImageFilesListBox;
      if (PathIdentityKey(files->Directory()) == PathIdentityKey(folder)) {
        files->Update();
      } else {
        files->SetDirectory(folder);
      }
      if (ui_->AutoFillCheckBox->isChecked()) {
        if (ui_->ClearListBeforeAddCheckBox->isChecked()) RemoveAll();
        AddFolderImages(context_.list, folder, ui_->InclSubfoldersCheckBox->isChecked(), WorkHooks());
      }
    }
  } catch (...) {
    // The window is enabled again below whatever happened.
  }
  ShowCount();
  EndWork();
}

void TStep1Page::OnSourcePicked(int index) {
  QComboBox* box = ui_->SourceFolderNameEdit;
  if (index < 0 || index >= box->count()) return;
  const QString text = box->itemText(index);
  box->removeItem(index);
  box->insertItem(0, text);
  box->setCurrentIndex(0);
  box->setEditText(text);
  OpenSourceFolder();
}

void TStep1Page::BrowseSourceFolder() {
  QComboBox* box = ui_->SourceFolderNameEdit;
  const std::optional<QString> chosen = context_.dialogs.ChooseFolder(window(), box->currentText());
  if (!chosen) return;
  chooserFolder_ = *chosen;
  const std::string folder = ToBytes(*chosen);
  if (!DirectoryExists(folder)) return;
  TStringList history;
  for (int i = 0; i < box->count(); ++i) history.push_back(ToBytes(box->itemText(i)));
  AddToHistory(history, NormalizeFolder(folder), HistoryLimit());
  box->clear();
  for (const std::string& entry : history) box->addItem(ToQString(entry));
  box->setEditText(*chosen);
  OpenSourceFolder();
}

void TStep1Page::OnAutoFillToggled(bool on) {
  ui_->InclSubfoldersCheckBox->setEnabled(on);
  ui_->ClearListBeforeAddCheckBox->setEnabled(on);
}

// ---- list buttons ----

void TStep1Page::AddSelected() {
  TUsefulFileBox* files = ui_->ImageFilesListBox;
  const int row = files->CurrentRow();
  if (row < 0) return;
  context_.list.AddFile(IncludeTrailingBackslash(files->Directory()) + files->Name(row));
  ShowCount();
}

void TStep1Page::AddAll() {
  if (!BeginWork()) return;
  TImageGalleryList& list = context_.list;
  TUsefulFileBox* files = ui_->ImageFilesListBox;
  try {
    std::set<std::string> known;
    for (int i = 0; i < list.Count(); ++i) {
      if (list.IsImage(i)) known.insert(PathIdentityKey(list.Items(i)->FileName));
    }
    const std::string folder = IncludeTrailingBackslash(files->Directory());
    TUpdateBracket bracket(list);
    for (int i = 0; i < files->Count() && !closeRequested_; ++i) {
      const std::string path = folder + files->Name(i);
      if (known.insert(PathIdentityKey(path)).second) list.AddFile(path);
      if (i % kCountEvery == 0) ShowCountDuringWork(true);
    }
  } catch (...) {
    // What was added stays; the window comes back below.
  }
  ShowCount();
  EndWork();
}

void TStep1Page::RemoveSelected() {
  TImageGalleryList& list = context_.list;
  QListView* view = ui_->GalleryImageListBox;
  const std::vector<int> selected = SelectedRows();
  if (selected.empty()) return;
  std::vector<bool> marked(static_cast<std::size_t>(list.Count()), false);
  for (int row : selected) marked[static_cast<std::size_t>(row)] = true;
  {
    TUpdateBracket bracket(list);
    int index = 0;
    std::size_t left = selected.size();
    std::size_t at = 0;  // position in marked, which keeps the deleted lines
    while (index < list.Count() && left > 0) {
      if (marked[at]) {
        list.Delete(index);
        --left;
      } else {
        ++index;
      }
      ++at;
      if (index % kCountEvery == 0) ShowCountDuringWork(false);
    }
  }
  // The line that took the place of the first removed one becomes current,
  // so the user can go on removing from there.
  if (list.Count() > 0) {
    const int current = std::min(selected.front(), list.Count() - 1);
    SelectRows(current, current, current);
    view->scrollTo(model_->index(current));
  }
  ShowCount();
  UpdatePreview();
  UpdateCommentPanel();
}

void TStep1Page::RemoveAll() {
  TImageGalleryList& list = context_.list;
  {
    TUpdateBracket bracket(list);
    for (int i = list.Count() - 1; i >= 0; --i) {
      list.Delete(i);
      if (i % kCountEvery == 0) ShowCountDuringWork(false);
    }
  }
  ShowCount();
  UpdatePreview();
  UpdateCommentPanel();
}

void TStep1Page::InsertPageSeparator() {
  TImageGalleryList& list = context_.list;
  const QModelIndex current = ui_->GalleryImageListBox->currentIndex();
  const int position = std::min(current.isValid() ? current.row() + 1 : 1, list.Count());
  if (list.InsertSeparator(position)) SelectRows(position, position, position);
  ShowCount();
}

std::vector<int> TStep1Page::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : ui_->GalleryImageListBox->selectionModel()->selectedIndexes()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void TStep1Page::SelectRows(int first, int last, int current) {
  QItemSelectionModel* selection = ui_->GalleryImageListBox->selectionModel();
  selection->setCurrentIndex(model_->index(current), QItemSelectionModel::NoUpdate);
  selection->select(QItemSelection(model_->index(first), model_->index(last)),
                    QItemSelectionModel::ClearAndSelect);
}

void TStep1Page::MoveSelection(int delta) {
  const std::vector<int> selected = SelectedRows();
  if (delta == 0 || selected.empty()) return;
  TImageGalleryList& list = context_.list;
  // A big block moves as one bulk change: one reset of the view instead of
  // a notification per line.
  TRowRange block;
  {
    TUpdateBracket bracket(list, selected.size() > 100);
    block = MoveBlock(list, selected, delta);
  }
  const int lead = delta < 0 ? block.first : block.last;
  SelectRows(block.first, block.last, lead);
  ui_->GalleryImageListBox->scrollTo(model_->index(lead));
}

// ---- the active list, preview and comments ----

void TStep1Page::ActivateList(TActiveList which) {
  if (which == activeList_) return;
  activeList_ = which;
  QListView* images = ui_->GalleryImageListBox;
  TUsefulFileBox* files = ui_->ImageFilesListBox;
  if (which == TActiveList::Images) {
    const QModelIndex caret = images->currentIndex();
    if (caret.isValid()) images->selectionModel()->select(caret, QItemSelectionModel::Select);
    files->SetCurrentRow(-1);
  } else if (which == TActiveList::Files) {
    const int caret = files->CurrentRow();
    if (caret >= 0) files->SetCurrentRow(caret);
    images->selectionModel()->clearSelection();
  }
}

void TStep1Page::UpdatePreview() {
  if (activeList_ == TActiveList::None) return;
  previewTimer_->stop();
  std::string path;
  if (activeList_ == TActiveList::Images) {
    QListView* view = ui_->GalleryImageListBox;
    const std::vector<int> selected = SelectedRows();
    int line = -1;
    if (!selected.empty()) {
      const QModelIndex current = view->currentIndex();
      if (current.isValid() && view->selectionModel()->isSelected(current)) {
        line = current.row();
      } else {
        const QModelIndex top = view->indexAt(QPoint(1, 1));
        const int topRow = top.isValid() ? top.row() : 0;
        auto below = std::lower_bound(selected.begin(), selected.end(), topRow);
        line = below != selected.end() ? *below : selected.front();
      }
    }
    if (!context_.list.IsImage(line)) {
      ShowPreview({});
      return;
    }
    path = context_.list.Items(line)->FileName;
  } else {
    path = ui_->ImageFilesListBox->PathOf(ui_->ImageFilesListBox->CurrentRow());
  }
  previewPath_ = path;
  previewTimer_->start();
}

void TStep1Page::BlankPreview() {
  QPixmap blank(ui_->Image1->size());
  blank.fill(Qt::white);
  ui_->Image1->setPixmap(blank);
}

void TStep1Page::ShowPreview(const std::string& path) {
  if (path == shownPath_) return;
  previewLoader_->Cancel();
  BlankPreview();
  shownPath_ = path;
  if (path.empty() || !FileExists(path)) {
    ui_->ImageSizesLabel->clear();
    return;
  }
  if (!ui_->PreviewCheckBox->isChecked()) {
    // Nothing shown, so nothing to skip when "Preview" comes back on.
    ui_->ImageSizesLabel->clear();
    shownPath_.clear();
    return;
  }
  previewLoader_->Request(path, ui_->Image1->size());
}

bool TStep1Page::PreviewPending() const {
  return previewTimer_->isActive() || previewLoader_->Pending();
}

void TStep1Page::OnPreviewLoaded(const QByteArray& path, const QImage& preview, QSize size) {
  if (path.toStdString() != shownPath_) return;
  if (preview.isNull()) {
    ui_->ImageSizesLabel->clear();
    return;
  }
  ui_->Image1->setPixmap(QPixmap::fromImage(preview));
  ui_->ImageSizesLabel->setText(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
}

void TStep1Page::OnPreviewClicked(bool on) {
  context_.store.WriteBool(kOptionsKeyPath, "ImagePreview", on);
  if (on) {
    UpdatePreview();
  } else {
    ShowPreview({});
  }
  UpdateCommentPanel();
}

void TStep1Page::SetCommentText(const std::string& comment) {
  settingComment_ = true;
  ui_->CommentRE->setPlainText(EditorFromComment(comment));
  settingComment_ = false;
}

void TStep1Page::UpdateCommentPanel() {
  const std::vector<int> selected = SelectedRows();
  std::string comment;
  if (activeList_ == TActiveList::Images) {
    for (int row : selected) {
      const TImageGalleryItem* item = context_.list.Items(row);
      if (item && !IsBlank(item->Comment)) {
        comment = item->Comment;
        break;
      }
    }
    ui_->ApplyCommentButton->setVisible(selected.size() >= 2);
  }
  SetCommentText(comment);
  UpdateCommentState();
}

void TStep1Page::UpdateCommentState() {
  const std::vector<int> selected = SelectedRows();
  QWidget* focus = QApplication::focusWidget();
  ui_->ApplyCommentButton->setEnabled(focus == ui_->CommentRE || focus == ui_->GalleryImageListBox ||
                                      focus == ui_->ApplyCommentButton);
  const bool editing = focus == ui_->CommentRE && !selected.empty();
  ui_->CommentREInnerPanel->setFrameShape(editing ? QFrame::Box : QFrame::NoFrame);
  ui_->CommentREInnerPanel->setLineWidth(1);
  ui_->CommentRE->setReadOnly(!editing);
  if (editing) ui_->ImageFilesListBox->SetCurrentRow(-1);
}

void TStep1Page::OnCommentTextChanged() {
  if (settingComment_ || !ui_->CommentRE->hasFocus()) return;
  const std::vector<int> selected = SelectedRows();
  if (selected.size() != 1 || ui_->GalleryImageListBox->currentIndex().row() != selected.front()) return;
  TImageGalleryItem* item = context_.list.Items(selected.front());
  if (!item) return;
  const QString text = ui_->CommentRE->toPlainText();
  if (item->IsImage()) {
    item->Comment = CommentFromEditor(text);
  } else if (Trim(ToBytes(text)) != Trim(item->Comment)) {
    // A separator's comment is the separator's own text: undo the typing.
    SetCommentText(item->Comment);
    ui_->CommentRE->moveCursor(QTextCursor::End);
  }
}

void TStep1Page::ApplyComment() {
  const std::string comment = CommentFromEditor(ui_->CommentRE->toPlainText());
  for (int row : SelectedRows()) {
    if (context_.list.IsImage(row)) context_.list.Items(row)->Comment = comment;
  }
  ui_->CommentRE->setFocus();
  UpdateCommentPanel();
}

void TStep1Page::OnImageListSelectionChanged() {
  if (activeList_ != TActiveList::Images) return;
  UpdatePreview();
  UpdateCommentPanel();
}

// ---- keys, mouse and focus ----

bool TStep1Page::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Close && watched == window()) {
    closeRequested_ = true;
    return false;
  }
  if (type == QEvent::ToolTipChange) {
    if (auto* button = qobject_cast<QAbstractButton*>(watched)) {
      button->setAccessibleName(FirstLine(button->toolTip()));
    }
    return false;
  }
  QListView* images = ui_->GalleryImageListBox;
  TUsefulFileBox* files = ui_->ImageFilesListBox;
  if (type == QEvent::FocusIn) {
    if (watched == files) {
      ActivateList(TActiveList::Files);
    } else if (watched == images || watched == ui_->CommentRE) {
      ActivateList(TActiveList::Images);
    } else {
      return false;
    }
    UpdatePreview();
    UpdateCommentPanel();
    return false;
  }
  // The focus is still moving on a focus-out; look once it has arrived.
  if (type == QEvent::FocusOut && watched == images) {
    QTimer::singleShot(0, this, &TStep1Page::UpdateCommentPanel);
    return false;
  }
  if (type == QEvent::FocusOut && watched == ui_->CommentRE) {
    // Only the editor's state: its text may be on its way to "Apply".
    QTimer::singleShot(0, this, &TStep1Page::UpdateCommentState);
    return false;
  }
  if (type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == images) {
      bool consumed = false;
      OnListKey(key, &consumed);
      return consumed;
    }
    QComboBox* source = ui_->SourceFolderNameEdit;
    if ((watched == source || watched == source->lineEdit()) &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      OpenSourceFolder();
      return true;
    }
  }
  if (type == QEvent::MouseMove && watched == images->viewport()) {
    OnImageListMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
  }
  return false;
}

void TStep1Page::OnListKey(QKeyEvent* key, bool* consumed) {
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  QListView* view = ui_->GalleryImageListBox;
  if (modifiers == (Qt::ControlModifier | Qt::AltModifier) && key->key() == Qt::Key_N) {
    *consumed = true;
    const QModelIndex current = view->currentIndex();
    if (current.isValid()) {
      context_.dialogs.Message(window(), QMessageBox::Information, CaptionText(),
                               QString::number(current.row()), QMessageBox::Ok);
    }
    return;
  }
  if (modifiers != Qt::ControlModifier || SelectedRows().empty()) return;
  const int lineHeight = std::max(1, view->sizeHintForRow(0));
  const int page = std::max(1, static_cast<int>(RoundHalfAway(
                                    static_cast<double>(view->viewport()->height()) / lineHeight)));
  const int count = context_.list.Count();
  int delta = 0;
  switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: delta = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: delta = 1; break;
    case Qt::Key_PageUp: delta = -page; break;
    case Qt::Key_PageDown: delta = page; break;
    case Qt::Key_Home: delta = -count; break;
    case Qt::Key_End: delta = count; break;
    default: return;
  }
  *consumed = true;
  MoveSelection(delta);
}

void TStep1Page::OnImageListMouseMove(const QPoint& position) {
  const QModelIndex index = ui_->GalleryImageListBox->indexAt(position);
  const TImageGalleryItem* item = index.isValid() ? context_.list.Items(index.row()) : nullptr;
  if (!item) return;
  const QString text = item->IsSeparator() ? EditorFromComment(item->Comment) : StatusTextOfPath(item->FileName);
  if (ui_->StatusLabel1->text() != text) ui_->StatusLabel1->setText(text);
}

void TStep1Page::OpenFileListEntry() {
  const std::string path = ui_->ImageFilesListBox->FileName();
  if (!path.empty()) OpenDocument(path);
}

void TStep1Page::OpenImageListEntry() {
  const QModelIndex current = ui_->GalleryImageListBox->currentIndex();
  if (current.isValid() && context_.list.IsImage(current.row())) {
    OpenDocument(context_.list.Items(current.row())->FileName);
  }
}

void TStep1Page::ShowListMenuBelowCaption() {
  QWidget* caption = ui_->ImageListCaptionPanel;
  listMenu_->popup(caption->mapToGlobal(QPoint(0, caption->height())));
}

// ---- the list menu ----

void TStep1Page::AfterListCommand() {
  ShowCount();
  UpdatePreview();
  UpdateCommentPanel();
}

void TStep1Page::SortCommand(int key) {
  if (key < 0) {
    context_.list.SortByDisplayName();
  } else {
    context_.list.SortByKey(static_cast<TSortKey>(key));
  }
  AfterListCommand();
}

void TStep1Page::SaveListAs() { SaveListWithDialogs(context_.dialogs, window(), context_.list); }

void TStep1Page::LoadListFrom() {
  TListLoadHooks hooks;
  hooks.ClearList = [this] { RemoveAll(); };
  hooks.ShowCount = [this] { ShowCount(); };
  LoadListWithDialogs(context_.dialogs, window(), context_.list,
                      ui_->ClearListBeforeAddCheckBox->isChecked(), hooks);
  UpdateCommentPanel();
}

void TStep1Page::ImportGalleryFolder() {
  const std::optional<QString> chosen = context_.dialogs.ChooseFolder(window(), chooserFolder_);
  if (!chosen) return;
  chooserFolder_ = *chosen;
  const TImportResult result = ImportGallery(ToBytes(*chosen), context_.options, context_.list);
  context_.frame.ShowOptionSet(context_.options);
  ShowCount();
  UpdatePreview();
  UpdateCommentPanel();
  if (result.Kind == TImportMessageKind::Information) {
    context_.dialogs.Message(window(), QMessageBox::Information, CaptionText(),
                             ToQString(result.Message), QMessageBox::Ok);
  } else if (result.Kind == TImportMessageKind::Error) {
    context_.dialogs.Message(window(), QMessageBox::Critical, ToQString(InterfaceText(TextId::ErrorTitle)),
                             ToQString(result.Message), QMessageBox::Ok);
  }
}

// ---- drag and drop ----

void TStep1Page::AddDroppedPaths(const QStringList& paths, int row) {
  if (!BeginWork()) return;
  TImageGalleryList& list = context_.list;
  const int before = list.Count();
  try {
    for (const QString& dropped : paths) {
      const std::string path = ToBytes(dropped);
      if (DirectoryExists(path)) {
        AddFolderImages(list, path, true, WorkHooks());
      } else {
        list.AddFile(path);
      }
      if (closeRequested_) break;
    }
    const int added = list.Count() - before;
    const int at = std::clamp(row, 0, before);
    if (added > 0 && at < before) {
      TUpdateBracket bracket(list);
      for (int k = 0; k < added; ++k) list.Move(before + k, at + k);
    }
    if (added > 0) SelectRows(at, at + added - 1, at);
  } catch (...) {
  }
  ShowCount();
  EndWork();
}

}  // namespace zelvora
