#include "controls/NavaFolderDialog.h"

#include <QDir>
#include <QFileDialog>

namespace zelvora {

bool TNavaFolderDialog::Execute() {
  QFileDialog dialog(owner_);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (QDir(folder_).exists()) dialog.setDirectory(folder_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  folder_ = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  return true;
}

}  // namespace zelvora
