#pragma once
// Program start: the application title, the program folder, the settings
// store, the wizard window, and the event loop.

#include <string>

class QApplication;

namespace zelvora {

// The folder of the running executable, with a trailing separator.
std::string ProgramFolderOfExecutable();
// The folder that holds Languages/, Templates/ and help/: the program folder,
// or ../share/zelvora/ of it in an installed layout.
std::string DataFolder(const std::string& programFolder);

int RunWizard(QApplication& application);

}  // namespace zelvora
