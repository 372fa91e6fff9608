#pragma once
// The generation run's host for zelvora-make: progress bars, questions and
// messages on the terminal, or fixed answers when there is none.

#include <optional>
#include <string>

#include "generation/GenerationRun.h"
#include "generation/RunHost.h"

namespace zelvora::cli {

class TTerminalHost : public IRunHost {
 public:
  // interactive: standard input and standard error are a terminal.
  TTerminalHost(bool interactive, bool showBars);
  void Attach(TGenerationRun* run) { run_ = run; }

  // Installs the Ctrl+C handler: the first one asks the run to abort, a
  // second one ends the program at once.
  static void InstallInterruptHandler();
  static bool Interrupted();

  void SetProgress(TProgressBar bar, int position, int maximum) override;
  void ProcessEvents(bool waiting) override;
  void SetRunState(TRunState state) override;
  void ShowMessage(TRunMessage kind, const std::string& caption,
                   const std::string& text) override;
  TOverwriteReply AskOverwrite(const std::string& path, const std::string& caption,
                               const std::string& text) override;

  // Removes the bars from the screen before other output.
  void ClearBars();

 private:
  void DrawBars();
  // The answer typed, lower-cased; nullopt at the end of input.
  std::optional<std::string> ReadAnswer(const std::string& prompt);

  bool interactive_;
  bool showBars_;
  TGenerationRun* run_ = nullptr;
  bool barsShown_ = false;
  bool abortNoted_ = false;
  bool diskFullPending_ = false;
  int thumbPosition_ = 0, thumbMaximum_ = 0;
  int pagePosition_ = 0, pageMaximum_ = 0;
};

}  // namespace zelvora::cli
