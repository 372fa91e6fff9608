#pragma once
// A wizard window over a settings file of its own in a temporary folder,
// with scripted dialogs, for the UI tests.

#include <memory>
#include <string>

#include "app/MainForm.h"
#include "settings/UsefulRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

namespace zelvora::test {

class TWizardFixture {
 public:
  // The program folder is the build folder (Languages/, Templates/, help/
  // are copied there); the settings file lives in a fresh temporary folder.
  TWizardFixture();
  ~TWizardFixture();

  // Creates the window (reading the settings as it is made); show it to run
  // the first-show steps.
  TMainForm& Window();
  void CloseWindow();  // closes (writing the settings) and destroys it

  TempDir& Temp() { return temp_; }
  TUsefulRegistry& Store() { return *store_; }
  TScriptedDialogs& Dialogs() { return dialogs_; }
  const std::string& ProgramFolder() const { return programFolder_; }

  // Saves a screenshot of the window as a build artifact (ZELVORA_ARTIFACTS).
  void SaveScreenshot(const QString& name);

 private:
  TempDir temp_;
  std::unique_ptr<TUsefulRegistry> store_;
  TScriptedDialogs dialogs_;
  std::string programFolder_;
  std::unique_ptr<TMainForm> window_;
};

}  // namespace zelvora::test
