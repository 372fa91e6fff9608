#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStyle>

#include "app/Dialogs.h"
#include "app/MainForm.h"
#include "app/TextConvert.h"
#include "settings/UsefulRegistry.h"
#include "util/PathUtils.h"

namespace zelvora {

std::string ProgramFolderOfExecutable() {
  return IncludeTrailingBackslash(ToBytes(QCoreApplication::applicationDirPath()));
}

std::string DataFolder(const std::string& programFolder) {
  const QDir beside(ToQString(programFolder));
  if (beside.exists(QStringLiteral("Languages"))) return programFolder;
  const QString installed = beside.absoluteFilePath(QStringLiteral("../share/zelvora"));
  if (QDir(installed).exists()) return IncludeTrailingBackslash(ToBytes(QDir::cleanPath(installed)));
  return programFolder;
}

namespace {
QString& TitleStorage() {
  static QString title = QStringLiteral(" Zelvora!");
  return title;
}
}  // namespace

QString ApplicationTitle() { return TitleStorage(); }
void SetApplicationTitle(const QString& title) { TitleStorage() = title; }

int RunWizard(QApplication& application) {
  application.setApplicationName(QStringLiteral("zelvora"));
  SetApplicationTitle(QStringLiteral(" Zelvora!"));
  TUsefulRegistry store;
  TQtDialogs dialogs;
  TMainForm window(store, dialogs, DataFolder(ProgramFolderOfExecutable()));
  window.resize(window.minimumSizeHint().expandedTo(
      QSize(TMainForm::kLayoutWidth, TMainForm::kLayoutHeight)));
  if (QScreen* screen = application.primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.show();
  return application.exec();
}

}  // namespace zelvora
