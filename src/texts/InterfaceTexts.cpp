#include "texts/InterfaceTexts.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace zelvora {
namespace {

const char* const kPrevLinkPrefix = "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;";
const char* const kNextLinkSuffix = "&nbsp;&nbsp;<font size=\"-1\">&gt;</font>";

const std::map<int, std::string>& BuiltInTexts() {
  static const std::map<int, std::string> texts = {
      {TextId::PrevCaption, "<<  &Prev  "},
      {TextId::NextCaption, "  &Next  >>"},
      {TextId::AbortCaption, "&Abort"},
      {TextId::CreateCaption, "&Create"},
      {TextId::FreezeCaption, "Free&ze"},
      {TextId::ContinueCaption, "&Continue"},
      {TextId::ShowMeCaption, "&Show me!"},
      {TextId::SeparatorText, "------ new page ------"},
      {TextId::SeparatorComment, "The page separator"},
      {TextId::AdvancedTitle, "Step 2: Advanced"},
      {TextId::WriteErrorTitle, " Write Error"},
      {TextId::NoFreeSpace, "There is no free space on the disk"},
      {TextId::FreeSpaceAndContinue,
       "Please, free the space for files and press the Continue button\n"
       "to continue making of gallery, or press the Abort button to abort."},
      {TextId::SelectOutputFolder, "Please, select the right output directory. Or create it."},
      {TextId::FilesNotFound, "files was not found."},
      {TextId::DuplicatedFiles, "duplicated files was found."},
      {TextId::SelectSourceFolder, "Please, select the right source directory."},
      {TextId::SelectImages, "Please, select images for the gallery."},
      {TextId::FileWriteError, "There was a file write error."},
      {TextId::FileCopyError, "There was a file copy error:"},
      {TextId::CreationAborted, "The creation of the gallery is aborted."},
      {TextId::CopyErrorTitle, " Copy Error"},
      {TextId::FileAlreadyExists, "The file already exists"},
      {TextId::SureToOverwrite, "You are sure to overwrite it?"},
      {TextId::OverwriteConfirmation, "Overwrite confirmation"},
      {TextId::BugreportTitle, "Write bugreport"},
      {TextId::BugreportPrompt, "Please, send your suggestions or bugreport to:"},
      {TextId::TextColorsTitle, "Text colors of web pages"},
      {TextId::DefaultColorWord, "Default"},
      {TextId::FolderChooserTitle, "Current folder:"},
      {TextId::FolderChooserNewFolder, "New folder"},
      {TextId::ErrorTitle, "Error"},
      {TextId::UnknownFileFormat, "Unknown file format"},
      {TextId::PageWord, "Page"},
      {TextId::ImageWord, "Image"},
      {TextId::HomeWord, "Home"},
      {TextId::PrevWord, "Prev"},
      {TextId::NextWord, "Next"},
      {TextId::PageIndexTitle, "The Image Gallery Index"},
      {TextId::GalleryTitle, "The Image Gallery"},
      {TextId::ShowFullSizeImage, "Show full-size image"},
      {TextId::NameLabel, "name:"},
      {TextId::PixelsWord, "pixels"},
      {TextId::SizeLabel, "size:"},
      {TextId::DateLabel, "date:"},
      {TextId::TimeLabel, "time:"},
      {TextId::BytesWord, "bytes"},
  };
  return texts;
}

const char* const kDefaultDateFormat = "d mmm yyyy";
const char* const kDefaultTimeFormat = "hh:nn:ss ampm";

// Windows outside the pages show these; they hear of every change.
bool IsObservedNumber(int number) {
  return (number >= TextId::PrevCaption && number <= TextId::ShowMeCaption) ||
         number == TextId::FolderChooserTitle || number == TextId::FolderChooserNewFolder;
}

struct TTextState {
  std::mutex mutex;
  std::map<int, std::string> texts = BuiltInTexts();
  std::string prevLinkText = std::string(kPrevLinkPrefix) + "Prev";
  std::string nextLinkText = std::string("Next") + kNextLinkSuffix;
  std::string dateFormat = kDefaultDateFormat;
  std::string timeFormat = kDefaultTimeFormat;
  std::map<int, InterfaceTextObserver> observers;
  int nextHandle = 1;
};

TTextState& State() {
  static TTextState state;
  return state;
}

// Observers run without the lock held, so they may read texts themselves.
void NotifyObservers(const std::vector<int>& numbers) {
  if (numbers.empty()) return;
  std::vector<InterfaceTextObserver> observers;
  {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (const auto& [handle, observer] : state.observers) observers.push_back(observer);
  }
  for (int number : numbers) {
    for (const auto& observer : observers) {
      try {
        if (observer) observer(number);
      } catch (...) {
        // A failing window must not stop the language from loading.
      }
    }
  }
}

}  // namespace

std::string InterfaceText(int number) {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto it = state.texts.find(number);
    return it == state.texts.end() ? std::string() : it->second;
  } catch (...) {
    return std::string();
  }
}

bool IsInterfaceTextNumber(int number) { return BuiltInTexts().count(number) != 0; }

std::vector<int> InterfaceTextNumbers() {
  try {
    std::vector<int> numbers;
    for (const auto& entry : BuiltInTexts()) numbers.push_back(entry.first);
    return numbers;
  } catch (...) {
    return {};
  }
}

std::string BuiltInInterfaceText(int number) {
  try {
    auto it = BuiltInTexts().find(number);
    return it == BuiltInTexts().end() ? std::string() : it->second;
  } catch (...) {
    return std::string();
  }
}

bool SetInterfaceText(int number, const std::string& text) {
  if (!IsInterfaceTextNumber(number)) return false;
  try {
    {
      TTextState& state = State();
      std::lock_guard<std::mutex> lock(state.mutex);
      // The Home word lives in one place here, so both of its users follow it.
      state.texts[number] = text;
      if (number == TextId::PrevWord) state.prevLinkText = kPrevLinkPrefix + text;
      if (number == TextId::NextWord) state.nextLinkText = text + kNextLinkSuffix;
    }
    if (IsObservedNumber(number)) NotifyObservers({number});
    return true;
  } catch (...) {
    return false;
  }
}

void ResetInterfaceTexts() {
  try {
    std::vector<int> changed;
    {
      TTextState& state = State();
      std::lock_guard<std::mutex> lock(state.mutex);
      for (const auto& [number, text] : BuiltInTexts()) {
        if (IsObservedNumber(number) && state.texts[number] != text) changed.push_back(number);
      }
      state.texts = BuiltInTexts();
      state.prevLinkText = std::string(kPrevLinkPrefix) + "Prev";
      state.nextLinkText = std::string("Next") + kNextLinkSuffix;
      state.dateFormat = kDefaultDateFormat;
      state.timeFormat = kDefaultTimeFormat;
    }
    NotifyObservers(changed);
  } catch (...) {
  }
}

std::string PrevLinkText() {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.prevLinkText;
  } catch (...) {
    return std::string();
  }
}

std::string NextLinkText() {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.nextLinkText;
  } catch (...) {
    return std::string();
  }
}

std::string DateDisplayFormat() {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.dateFormat;
  } catch (...) {
    return std::string();
  }
}

std::string TimeDisplayFormat() {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.timeFormat;
  } catch (...) {
    return std::string();
  }
}

void SetDateDisplayFormat(const std::string& format) {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.dateFormat = format;
  } catch (...) {
  }
}

void SetTimeDisplayFormat(const std::string& format) {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.timeFormat = format;
  } catch (...) {
  }
}

int AddInterfaceTextObserver(InterfaceTextObserver observer) {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    int handle = state.nextHandle++;
    state.observers[handle] = std::move(observer);
    return handle;
  } catch (...) {
    return 0;
  }
}

void RemoveInterfaceTextObserver(int handle) {
  try {
    TTextState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.observers.erase(handle);
  } catch (...) {
  }
}

}  // namespace zelvora
