#pragma once
// One page of the wizard: its controls, their interlocks, what it reads from
// the settings store at start and writes at close, and its leave check.

#include <QWidget>

namespace zelvora {

class TGallerySet;
struct TWizardContext;

// Close stages in their order. The window itself writes the option-set
// values (colours, thumbnails, descriptions, formats, frames, navigation,
// home link) and the history limit; the pages write their boxes' histories.
enum TCloseStage : int {
  kCloseHomeLinkHistory = 6,   // step 2: NavigHomeURLList
  kCloseSourceFolder = 7,      // step 1: ImageSourceFolder (if it exists), ImageSourceFolderList
  kCloseOutputFolder = 8,      // step 4: OutputFolder (if it exists), OutputFolderList
  kCloseHistoryLimit = 9,      // the window: FolderHistoryLimit
  kCloseRenameMask = 10,       // step 4: AutoRenMask, AutoRenMaskList
};

class TStepPage : public QWidget {
  Q_OBJECT
 public:
  TStepPage(TWizardContext& context, QWidget* parent = nullptr)
      : QWidget(parent), context_(context) {}

  // Runs when the user goes on from this step: checks the input (showing
  // its message on failure) and takes the values into the option set.
  virtual bool LeaveCheck() { return true; }
  // Shows an option set in this page's controls (import).
  virtual void ShowOptionSet(const TGallerySet& options) { Q_UNUSED(options); }
  // The window reads the settings store in numbered start-up steps (1..13)
  // and writes it in numbered close stages (TCloseStage); each page does its
  // part of each step or stage, so the store sees the one fixed order.
  virtual void LoadStartupSetting(int step) { Q_UNUSED(step); }
  virtual void SaveCloseSetting(int stage) { Q_UNUSED(stage); }
  // The page just came on show.
  virtual void Entered() {}

 protected:
  TWizardContext& context_;
};

}  // namespace zelvora
