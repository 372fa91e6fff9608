#include "app/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

#include "app/TextConvert.h"
#include "controls/NavaFolderDialog.h"

namespace zelvora {

QString QtFilterFromPipes(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    patterns.replace("*.*", "*");
    // The name already shows the patterns; Qt reads the ones in brackets.
    const int open = name.lastIndexOf('(');
    if (open >= 0) name = name.left(open).trimmed();
    entries << QStringLiteral("%1 (%2)").arg(name, patterns);
  }
  return entries.join(QStringLiteral(";;"));
}

QMessageBox::StandardButton TQtDialogs::Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, text, buttons, parent);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

TOverwriteReply TQtDialogs::AskOverwrite(QWidget* parent, const QString& caption,
                                         const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(QMessageBox::Yes);
  QPushButton* no = box.addButton(QMessageBox::No);
  QPushButton* noToAll = box.addButton(QStringLiteral("N&o to All"), QMessageBox::NoRole);
  QPushButton* yesToAll = box.addButton(QStringLiteral("Y&es to All"), QMessageBox::YesRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(yes);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == yes) return TOverwriteReply::Yes;
  if (clicked == no) return TOverwriteReply::No;
  if (clicked == noToAll) return TOverwriteReply::NoToAll;
  if (clicked == yesToAll) return TOverwriteReply::YesToAll;
  if (clicked == cancel) return TOverwriteReply::Cancel;
  return TOverwriteReply::Closed;
}

std::optional<QString> TQtDialogs::InputBox(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& text) {
  bool ok = false;
  QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
  if (!ok) return std::nullopt;
  return answer;
}

QString TQtDialogs::OpenFile(QWidget* parent, const TFileRequest& request, int* selectedFilter) {
  QFileDialog dialog(parent, request.caption, request.folder, QtFilterFromPipes(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  if (selectedFilter) {
    *selectedFilter = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
  }
  return dialog.selectedFiles().constFirst();
}

QString TQtDialogs::SaveFile(QWidget* parent, const TFileRequest& request, int* selectedFilter) {
  QFileDialog dialog(parent, request.caption, request.folder, QtFilterFromPipes(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The caller asks its own overwrite question with the program's texts.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  if (selectedFilter) {
    *selectedFilter = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
  }
  return dialog.selectedFiles().constFirst();
}

std::optional<QString> TQtDialogs::ChooseFolder(QWidget* parent, const QString& startFolder) {
  TNavaFolderDialog dialog(parent);
  dialog.SetFolder(startFolder);
  if (!dialog.Execute()) return std::nullopt;
  return dialog.Folder();
}

std::optional<QColor> TQtDialogs::ChooseColor(QWidget* parent, const QColor& initial) {
  // QColorDialog keeps its custom colours for the program's lifetime, so
  // every chooser of the window shares one set.
  QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace zelvora
