#pragma once
// The folder chooser of the Browse buttons: Qt's own (non-native) directory
// dialog, which has a new-folder button, opening at a given folder, with a
// title and a new-folder caption chosen by the user's locale.

#include <QLocale>
#include <QString>
#include <QStringList>

class QWidget;

namespace zelvora {

// The user's locale as a four-digit upper-case hexadecimal language code
// ("0407" for German); "0409" when the language has no code of its own here.
QString LocaleCodeOf(const QLocale& locale);

// From "Code=Caption" entries: the entry of that code, else "Default", else
// the first entry; an empty list gives an empty caption.
QString ChooseLocaleCaption(const QStringList& captions, const QString& localeCode);

// A path cut to at most n characters for the path line: the first component
// with its separator, "...", and as many trailing components as fit.
QString ShortenPath(const QString& path, int n = 50, QChar separator = QChar('/'));

class TNavaFolderDialog {
 public:
  explicit TNavaFolderDialog(QWidget* owner = nullptr);

  void SetFolder(const QString& folder) { folder_ = folder; }
  const QString& Folder() const { return folder_; }

  // The caption lists; replacing one chooses its caption again.
  void SetLabelCaptions(const QStringList& captions);
  void SetNewFolderCaptions(const QStringList& captions);
  void SetLocaleCode(const QString& code);
  const QString& LabelCaption() const { return labelCaption_; }
  const QString& NewFolderCaption() const { return newFolderCaption_; }

  // Shows the chooser modally; true with Folder() set, false when cancelled.
  bool Execute();

 private:
  void ChooseCaptions();

  QWidget* owner_;
  QString folder_;
  QString localeCode_;
  QStringList labelCaptions_;
  QStringList newFolderCaptions_;
  QString labelCaption_;
  QString newFolderCaption_;
};

}  // namespace zelvora
