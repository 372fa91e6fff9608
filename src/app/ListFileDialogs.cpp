#include "app/ListFileDialogs.h"

#include <QApplication>

#include "app/Dialogs.h"
#include "app/TextConvert.h"
#include "gallery/ListFiles.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"

namespace zelvora {
namespace {

TFileRequest ListFileRequest() {
  TFileRequest request;
  request.filter = ToQString(kListFileFilter);
  return request;
}

void ShowFileError(IDialogs& dialogs, QWidget* parent, int textId, const std::string& path) {
  dialogs.Message(parent, QMessageBox::Critical, ToQString(InterfaceText(TextId::ErrorTitle)),
                  ToQString(InterfaceText(textId)) + QStringLiteral("\n") + ToQString(path),
                  QMessageBox::Ok);
}

}  // namespace

void SaveListWithDialogs(IDialogs& dialogs, QWidget* parent, const TImageGalleryList& list) {
  int filter = 0;
  const QString typed = dialogs.SaveFile(parent, ListFileRequest(), &filter);
  if (typed.isEmpty()) return;
  const int filterIndex = filter + 1;
  const std::string path = ListFileNameFor(ToBytes(typed), filterIndex);
  if (path.empty()) return;
  if (FileExists(path)) {
    const QMessageBox::StandardButton answer = dialogs.Message(
        parent, QMessageBox::Question, ToQString(InterfaceText(TextId::OverwriteConfirmation)),
        ToQString(OverwriteQuestionText(path)), QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
  }
  if (!SaveListFile(list, path, ListFormOfFilter(filterIndex))) {
    ShowFileError(dialogs, parent, TextId::FileWriteError, path);
  }
}

bool LoadListWithDialogs(IDialogs& dialogs, QWidget* parent, TImageGalleryList& list,
                         bool clearFirst, const TListLoadHooks& hooks) {
  int filter = 0;
  const QString chosen = dialogs.OpenFile(parent, ListFileRequest(), &filter);
  if (chosen.isEmpty()) return false;
  const std::string path = ToBytes(chosen);
  if (!FileExists(path)) return false;
  const std::optional<std::string> text = ReadTextFile(path);
  if (!text) {
    ShowFileError(dialogs, parent, TextId::ErrorTitle, path);
    return false;
  }
  // Cleared only now: the user's list is never given up for a file that
  // was not chosen or could not be read.
  if (clearFirst && hooks.ClearList) hooks.ClearList();
  const std::string message = LoadFromText(list, *text, ListFormOfFilter(filter + 1));
  if (hooks.ShowCount) hooks.ShowCount();
  if (!message.empty()) {
    dialogs.Message(parent, QMessageBox::Information, QApplication::applicationDisplayName(),
                    ToQString(message), QMessageBox::Ok);
  }
  return true;
}

}  // namespace zelvora
