#pragma once
// IDialogs for tests: every question is recorded and answered from a script
// queued beforehand. A question with no queued answer fails the test and is
// answered as if cancelled, so no test ever blocks on a box.

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <variant>

#include "app/Dialogs.h"

namespace zelvora::test {

struct TAskedDialog {
  QString kind;     // "message", "overwrite", "input", "open", "save", "folder", "color", "dialog"
  QString caption;  // box caption or chooser caption
  QString text;     // message text, prompt, or the chooser's filter
  QString detail;   // the chooser's start folder or file name, the input box's text
};

// Drives one of the program's own modal windows as a user would (keys,
// typing) and returns its result.
using TDialogScript = std::function<int(QDialog&)>;

class TScriptedDialogs : public IDialogs {
 public:
  using TAnswer =
      std::variant<QMessageBox::StandardButton, TOverwriteReply, QString, QColor, TDialogScript>;

  // Answers, used in order by the next questions of any kind. A QString
  // answers input boxes, file and folder choosers (empty = cancelled); a
  // QColor the colour chooser (invalid = cancelled); a TDialogScript the
  // program's own windows (unscripted, they are closed as cancelled).
  void Queue(TAnswer answer) { answers_.push_back(std::move(answer)); }
  int SelectedFilter = 0;  // what OpenFile and SaveFile report as the chosen filter

  const std::vector<TAskedDialog>& Asked() const { return asked_; }
  void ClearAsked() { asked_.clear(); }
  int Pending() const { return static_cast<int>(answers_.size()); }

  QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& caption,
                                      const QString& text,
                                      QMessageBox::StandardButtons buttons) override;
  TOverwriteReply AskOverwrite(QWidget*, const QString& caption, const QString& text) override;
  std::optional<QString> InputBox(QWidget*, const QString& caption, const QString& prompt,
                                  const QString& text) override;
  QString OpenFile(QWidget*, const TFileRequest& request, int* selectedFilter) override;
  QString SaveFile(QWidget*, const TFileRequest& request, int* selectedFilter) override;
  std::optional<QString> ChooseFolder(QWidget*, const QString& startFolder) override;
  std::optional<QColor> ChooseColor(QWidget*, const QColor& initial) override;
  int ExecDialog(QDialog& dialog) override;

 private:
  template <typename T>
  std::optional<T> Next(const char* kind);

  std::deque<TAnswer> answers_;
  std::vector<TAskedDialog> asked_;
};

}  // namespace zelvora::test
