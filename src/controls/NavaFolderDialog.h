#pragma once
// The folder chooser of the Browse buttons: Qt's own directory dialog (with
// its new-folder button), opening at a given folder.

#include <QString>

class QWidget;

namespace zelvora {

class TNavaFolderDialog {
 public:
  explicit TNavaFolderDialog(QWidget* owner = nullptr) : owner_(owner) {}

  void SetFolder(const QString& folder) { folder_ = folder; }
  const QString& Folder() const { return folder_; }

  // Shows the chooser modally; true with Folder() set, false when cancelled.
  bool Execute();

 private:
  QWidget* owner_;
  QString folder_;
};

}  // namespace zelvora
