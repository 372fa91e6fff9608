#pragma once
// Adding every picture of a folder (and, if asked, of its subfolders) to the
// image list: what step 1's "Add to the list automatically" does.

#include <functional>
#include <string_view>

#include "gallery/ImageGalleryList.h"

namespace zelvora {

// How the addition talks to the window around it. Every hook may be empty.
struct TAddFolderHooks {
  // Called with the list's picture count for path 0, 50, 100, ... added.
  std::function<void(int imageCount)> ShowCount;
  // Called after every entry the scan finds, so that the window stays alive.
  std::function<void()> ProcessEvents;
  // Asked between entries; true ends the scan (and the addition) there.
  std::function<bool()> StopRequested;
};

// Appends the loadable pictures of the folder in ascending order of their
// full paths (letter case ignored), never one that is already in the list.
// False when the folder does not exist or on an unexpected failure; the
// pictures added until then stay. A stop request still returns true.
bool AddFolderImages(TImageGalleryList& list, std::string_view folder, bool includeSubfolders,
                     const TAddFolderHooks& hooks = {});

}  // namespace zelvora
