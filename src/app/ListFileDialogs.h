#pragma once
// Saving and loading the image list through the window's file choosers:
// the filter's extension rule, the overwrite question, the load message,
// and a failed save or read said out loud.

#include <functional>

class QWidget;

namespace zelvora {

class IDialogs;
class TImageGalleryList;

// Asks for a name and saves the list in the form of the chosen filter.
// An existing file is replaced only after a Yes; a failed write shows an
// error box naming the file.
void SaveListWithDialogs(IDialogs& dialogs, QWidget* parent, const TImageGalleryList& list);

struct TListLoadHooks {
  std::function<void()> ClearList;  // empties the list, refreshing what shows it
  std::function<void()> ShowCount;  // shows the new picture count
};

// Asks for a list file, reads it whole and only then (when clearFirst)
// empties the list and appends the file's entries in the form of the
// chosen filter; shows the load message. A cancelled or unreadable load
// leaves the list as it was. True when the list was loaded.
bool LoadListWithDialogs(IDialogs& dialogs, QWidget* parent, TImageGalleryList& list,
                         bool clearFirst, const TListLoadHooks& hooks);

}  // namespace zelvora
