#pragma once
// Program start: the application title, the program folder, the settings
// store, the wizard window, and the event loop.

#include <string>

#include <QString>

class QApplication;

namespace zelvora {

// The folder of the running executable, with a trailing separator.
std::string ProgramFolderOfExecutable();
// The folder that holds Languages/, Templates/ and help/: the program folder,
// or ../share/zelvora/ of it in an installed layout.
std::string DataFolder(const std::string& programFolder);

// The application title (" Zelvora!" until a language file names another);
// plain message boxes carry it as their caption. Kept apart from Qt's
// display name, which X11 would append to every window caption.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

int RunWizard(QApplication& application);

}  // namespace zelvora
