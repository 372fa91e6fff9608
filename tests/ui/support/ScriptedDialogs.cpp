#include "support/ScriptedDialogs.h"

#include <QTest>

namespace zelvora::test {

template <typename T>
std::optional<T> TScriptedDialogs::Next(const char* kind) {
  if (answers_.empty() || !std::holds_alternative<T>(answers_.front())) {
    QTest::qFail(qPrintable(QStringLiteral("unexpected %1 dialog").arg(QLatin1String(kind))),
                 __FILE__, __LINE__);
    return std::nullopt;
  }
  T answer = std::get<T>(answers_.front());
  answers_.pop_front();
  return answer;
}

QMessageBox::StandardButton TScriptedDialogs::Message(QWidget*, QMessageBox::Icon,
                                                      const QString& caption, const QString& text,
                                                      QMessageBox::StandardButtons buttons) {
  asked_.push_back({QStringLiteral("message"), caption, text, {}});
  // A box with only OK needs no script.
  if (buttons == QMessageBox::Ok &&
      (answers_.empty() || !std::holds_alternative<QMessageBox::StandardButton>(answers_.front()))) {
    return QMessageBox::Ok;
  }
  return Next<QMessageBox::StandardButton>("message").value_or(QMessageBox::NoButton);
}

TOverwriteReply TScriptedDialogs::AskOverwrite(QWidget*, const QString& caption,
                                               const QString& text) {
  asked_.push_back({QStringLiteral("overwrite"), caption, text, {}});
  return Next<TOverwriteReply>("overwrite").value_or(TOverwriteReply::Closed);
}

std::optional<QString> TScriptedDialogs::InputBox(QWidget*, const QString& caption,
                                                  const QString& prompt, const QString& text) {
  asked_.push_back({QStringLiteral("input"), caption, prompt, text});
  auto answer = Next<QString>("input");
  if (!answer || answer->isNull()) return std::nullopt;
  return answer;
}

QString TScriptedDialogs::OpenFile(QWidget*, const TFileRequest& request, int* selectedFilter) {
  asked_.push_back({QStringLiteral("open"), request.caption, request.filter,
                    request.folder + QLatin1Char('|') + request.fileName});
  if (selectedFilter) *selectedFilter = SelectedFilter;
  return Next<QString>("open").value_or(QString());
}

QString TScriptedDialogs::SaveFile(QWidget*, const TFileRequest& request, int* selectedFilter) {
  asked_.push_back({QStringLiteral("save"), request.caption, request.filter,
                    request.folder + QLatin1Char('|') + request.fileName});
  if (selectedFilter) *selectedFilter = SelectedFilter;
  return Next<QString>("save").value_or(QString());
}

std::optional<QString> TScriptedDialogs::ChooseFolder(QWidget*, const QString& startFolder) {
  asked_.push_back({QStringLiteral("folder"), {}, {}, startFolder});
  auto answer = Next<QString>("folder");
  if (!answer || answer->isEmpty()) return std::nullopt;
  return answer;
}

std::optional<QColor> TScriptedDialogs::ChooseColor(QWidget*, const QColor& initial) {
  asked_.push_back({QStringLiteral("color"), {}, initial.name(), {}});
  auto answer = Next<QColor>("color");
  if (!answer || !answer->isValid()) return std::nullopt;
  return answer;
}

int TScriptedDialogs::ExecDialog(QDialog& dialog) {
  asked_.push_back({QStringLiteral("dialog"), dialog.windowTitle(), dialog.objectName(), {}});
  if (answers_.empty() || !std::holds_alternative<TDialogScript>(answers_.front())) {
    return QDialog::Rejected;
  }
  TDialogScript script = std::get<TDialogScript>(answers_.front());
  answers_.pop_front();
  dialog.show();
  const int result = script(dialog);
  dialog.hide();
  return result;
}

}  // namespace zelvora::test
