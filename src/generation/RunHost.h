#pragma once
// What the generation run needs from its caller: the two progress bars, the
// check point where the caller's events run, the state the buttons show,
// the error and disk-full messages, and the overwrite question. The wizard
// implements it for the window, zelvora-make for the terminal, the tests
// with scripted answers.

#include <string>

namespace zelvora {

enum class TProgressBar { Thumbnails, Pages };

// The run's state as the Next and Abort buttons show it:
//   Ready   - Next "&Create", Abort hidden (before a run and after a stop);
//   Running - Next "Free&ze", Abort hidden, Prev disabled;
//   Paused  - Next "&Continue", Abort shown, Prev disabled;
//   Done    - Next "&Show me!", Abort hidden, every step ticked.
enum class TRunState { Ready, Running, Paused, Done };

enum class TRunMessage {
  WriteError,  // a page, list, options or JPEG file could not be written
  CopyError,   // a picture or the background image could not be copied
  DiskFull,    // the target disk is full; the run waits paused and retries
  Unexpected,  // an internal failure ended the run
};

// The five buttons of the overwrite question, and Closed for a box that was
// closed any other way (or a host that cannot ask).
enum class TOverwriteReply { Yes, No, NoToAll, YesToAll, Cancel, Closed };

class IRunHost {
 public:
  virtual ~IRunHost() = default;

  // Minimum is always 0. Called with the new position and the bar's maximum.
  virtual void SetProgress(TProgressBar bar, int position, int maximum) = 0;

  // Lets pending events run: this is where Freeze, Continue and Abort reach
  // the run. While the run is paused it calls this in a loop with waiting set;
  // the host may then block until something happens, or return at once (the
  // run waits up to a short while for a flag change before it calls again).
  virtual void ProcessEvents(bool waiting) = 0;

  virtual void SetRunState(TRunState state) = 0;

  // An error message box with an OK button.
  virtual void ShowMessage(TRunMessage kind, const std::string& caption,
                           const std::string& text) = 0;

  // The overwrite question about path; text is the whole question.
  virtual TOverwriteReply AskOverwrite(const std::string& path, const std::string& caption,
                                       const std::string& text) = 0;
};

}  // namespace zelvora
