#pragma once
// Step 1 of the wizard: the source folder and its file list, the image list
// with its editing buttons and menu, the preview and the comment editor.
// The page only calls the image list's own operations and shows the
// result; the list itself is the one the window owns.

#include <QPointer>
#include <QSize>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/steps/StepPage.h"

class QImage;
class QTimer;
class QKeyEvent;

namespace Ui {
class Step1Page;
}

namespace zelvora {

class TImageListModel;
class TListMenu;
class TPreviewLoader;
class TUsefulFileBox;
struct TAddFolderHooks;

class TStep1Page : public TStepPage {
  Q_OBJECT
 public:
  enum class TActiveList { None, Files, Images };

  explicit TStep1Page(TWizardContext& context, QWidget* parent = nullptr);
  ~TStep1Page() override;

  bool LeaveCheck() override;
  void LoadStartupSetting(int step) override;
  void SaveCloseSetting(int stage) override;
  // Refreshes the controls when the window is first shown and opens the
  // remembered source folder.
  void Refresh();

  // Lists the source box's folder and, when asked, adds its pictures.
  void OpenSourceFolder();
  // Shows the picture count and paints it at once.
  void ShowCount();
  void ActivateList(TActiveList list);
  void UpdatePreview();
  void ShowPreview(const std::string& path);
  void UpdateCommentPanel();
  // Moves the selected lines as one block by delta lines.
  void MoveSelection(int delta);

  // The commands of the buttons and the list menu.
  void AddSelected();
  void AddAll();
  void RemoveSelected();
  void RemoveAll();
  void InsertPageSeparator();
  void BrowseSourceFolder();
  void SaveListAs();
  void LoadListFrom();
  void ImportGalleryFolder();
  void ApplyComment();
  // Adds dropped files (and the pictures of dropped folders) at row.
  void AddDroppedPaths(const QStringList& paths, int row);

  TActiveList ActiveList() const { return activeList_; }
  const std::string& ShownPath() const { return shownPath_; }
  // True while a folder is being read or a long addition runs.
  bool Busy() const { return busy_; }
  // True while a preview is being decoded.
  bool PreviewPending() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildListMenu();
  void ConnectControls();
  void SortCommand(int key);
  void AfterListCommand();
  void OnAutoFillToggled(bool on);
  void OnPreviewClicked(bool on);
  void OnSourcePicked(int index);
  void OnPreviewLoaded(const QByteArray& path, const QImage& preview, QSize size);
  void OnCommentTextChanged();
  void OnImageListSelectionChanged();
  void OnListKey(QKeyEvent* key, bool* consumed);
  void OnImageListMouseMove(const QPoint& position);
  void OpenFileListEntry();
  void OpenImageListEntry();
  void ShowListMenuBelowCaption();
  void SetCommentText(const std::string& comment);
  // Apply's state, the editor's frame and whether it takes typing.
  void UpdateCommentState();
  void BlankPreview();
  // Selected rows of the image list, ascending.
  std::vector<int> SelectedRows() const;
  void SelectRows(int first, int last, int current);
  // The count, repainted; with letEventsRun the window also repaints and
  // takes a close request (never more than every few dozen ms).
  void ShowCountDuringWork(bool letEventsRun);
  TAddFolderHooks WorkHooks();
  // Marks the window busy for a long piece of work; false when busy already.
  bool BeginWork();
  void EndWork();
  std::string SourceFolderText() const;

  std::unique_ptr<Ui::Step1Page> ui_;
  TImageListModel* model_ = nullptr;
  TPreviewLoader* previewLoader_ = nullptr;
  QTimer* previewTimer_ = nullptr;
  TListMenu* listMenu_ = nullptr;

  TActiveList activeList_ = TActiveList::None;
  std::string previewPath_;
  std::string shownPath_;
  QString chooserFolder_;  // where the folder chooser opens next for an import
  bool busy_ = false;
  bool closeRequested_ = false;
  bool settingComment_ = false;
  bool openAtFirstShow_ = false;
  QPointer<QWidget> focusBeforeWork_;
  qint64 lastEventsRun_ = 0;
};

}  // namespace zelvora
