#include "gallery/AddFolderImages.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "gallery/ScanFolders.h"
#include "imaging/ImageKind.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

// Folders and devices, pipes or sockets that merely carry a picture's name.
constexpr int kNotAPicture = kFileAttrDirectory | kFileAttrSysFile;
constexpr std::size_t kCountEvery = 50;

struct TCollected {
  std::string order;  // lower-cased: the ascending order ignores letter case
  std::string path;
};

bool Stopping(const TAddFolderHooks& hooks) { return hooks.StopRequested && hooks.StopRequested(); }

}  // namespace

bool AddFolderImages(TImageGalleryList& list, std::string_view folder, bool includeSubfolders,
                     const TAddFolderHooks& hooks) {
  try {
    if (folder.empty() || !DirectoryExists(folder)) return false;

    std::vector<TCollected> collected;
    bool stopped = false;
    TScanFolders scan;
    scan.StartFolder = std::string(folder);
    scan.ScanSubfolders = includeSubfolders;
    scan.OnFileFound = [&](const std::string& fullName, int attributes, TDateTime,
                           std::int64_t) {
      if ((attributes & kNotAPicture) == 0 && CanLoadImage(fullName))
        collected.push_back({LowerCase(fullName), fullName});
      if (hooks.ProcessEvents) hooks.ProcessEvents();
      if (Stopping(hooks)) {
        stopped = true;
        scan.Stop();
      }
    };
    // False only when the folder went away or the collector failed.
    if (!scan.Execute()) return false;

    // Sorted once and made duplicate-free afterwards: n log n however many
    // pictures the folder holds.
    std::sort(collected.begin(), collected.end(), [](const TCollected& a, const TCollected& b) {
      return a.order != b.order ? a.order < b.order : a.path < b.path;
    });
    collected.erase(std::unique(collected.begin(), collected.end(),
                                [](const TCollected& a, const TCollected& b) {
                                  return PathIdentityKey(a.path) == PathIdentityKey(b.path);
                                }),
                    collected.end());

    std::unordered_set<std::string> known;
    known.reserve(static_cast<std::size_t>(list.Count()) + collected.size());
    for (const TImageGalleryLine& line : list.Lines()) {
      if (line.Item->IsImage()) known.insert(PathIdentityKey(line.Item->FileName));
    }

    list.BeginUpdate();
    try {
      for (std::size_t i = 0; i < collected.size(); ++i) {
        if (stopped || (i > 0 && Stopping(hooks))) break;
        const std::string& path = collected[i].path;
        if (known.insert(PathIdentityKey(path)).second) list.AddFile(path);
        if (i % kCountEvery == 0 && hooks.ShowCount) hooks.ShowCount(list.ImageCount());
      }
    } catch (...) {
      list.EndUpdate();
      throw;
    }
    list.EndUpdate();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zelvora
