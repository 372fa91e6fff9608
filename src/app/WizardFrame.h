#pragma once
// What a step page may ask of the wizard window around it, and what the
// window shares with its pages. Pages never reach into each other: anything
// that crosses pages goes through the frame.

#include <string>

class QWidget;

namespace zelvora {

class IDialogs;
class TGallerySet;
class TImageGalleryList;
class TUsefulRegistry;

// The Next button's modes; the numbers are the button's identifying numbers.
enum class TNextMode {
  Next = 1,      // "  &Next  >>"
  Create = 2,    // "&Create"
  Freeze = 3,    // "Free&ze"
  Continue = 4,  // "&Continue"
  ShowMe = 6,    // "&Show me!"
};

class IWizardFrame {
 public:
  virtual ~IWizardFrame() = default;

  virtual int CurrentStep() const = 0;
  virtual void SetNextButtonMode(TNextMode mode) = 0;
  virtual void SetAbortVisible(bool visible) = 0;
  virtual void SetPrevEnabled(bool enabled) = 0;
  virtual void SetNextEnabled(bool enabled) = 0;
  // Ticks the check marks of steps 1..last (and clears the rest).
  virtual void TickSteps(int last) = 0;
  virtual void FocusNextButton() = 0;
  // While busy (a folder scan), the window takes no commands but keeps painting.
  virtual void SetBusy(bool busy) = 0;
  // Shows a whole option set in every page's controls (importing a gallery).
  virtual void ShowOptionSet(const TGallerySet& options) = 0;
  // The help topic of a context number (50..90) or a named topic.
  virtual void OpenHelpContext(int context) = 0;
  virtual void OpenHelpTopic(const std::string& topic) = 0;
  // The step 2 background-image box turned on or off: step 3's "Shadow"
  // box takes the opposite state.
  virtual void BackgroundImageChanged(bool on) = 0;
  // The background picture a run copies into the gallery: its full path
  // while step 2's background-image box is ticked and the file exists,
  // empty otherwise.
  virtual std::string BackgroundImage() const = 0;
};

// Shared by the window and its pages; owned by the window.
struct TWizardContext {
  TUsefulRegistry& store;
  IDialogs& dialogs;
  TGallerySet& options;
  TImageGalleryList& list;
  IWizardFrame& frame;
  std::string programFolder;  // with a trailing separator
};

}  // namespace zelvora
