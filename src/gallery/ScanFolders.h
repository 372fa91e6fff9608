#pragma once
// Walks a folder, and its subfolders when asked, depth first, and reports
// every entry found (folders too) to OnFileFound. Symbolic links are
// followed, but no folder is entered twice in one run (judged by device and
// inode), so a link cycle ends and a linked folder is not scanned again.

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "util/DateValue.h"

namespace zelvora {

// Entry attributes, the bits the program knows; only kFileAttrDirectory
// decides anything.
inline constexpr int kFileAttrReadOnly = 1;
inline constexpr int kFileAttrHidden = 2;    // name starts with "."
inline constexpr int kFileAttrSysFile = 4;   // neither file nor folder: device, pipe, socket
inline constexpr int kFileAttrDirectory = 16;
inline constexpr int kFileAttrArchive = 32;  // a regular file
inline constexpr int kFileAttrSymLink = 1024;

// fullName is the folder, the separator and the entry's name; size is 0 for
// a folder.
using TFileFoundEvent = std::function<void(const std::string& fullName, int attributes,
                                           TDateTime time, std::int64_t size)>;

class TScanFolders {
 public:
  std::string StartFolder;
  bool ScanSubfolders = true;
  TFileFoundEvent OnFileFound;

  // Clears the stop flag and scans StartFolder (trailing separators
  // ignored). False when the folder does not exist; then nothing is
  // reported. An exception from OnFileFound ends the scan and gives false.
  bool Execute();
  // Ends a running scan before its next entry, at every depth. May be
  // called from OnFileFound or from another thread.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }

 private:
  using TFolderId = std::pair<dev_t, ino_t>;
  void Scan(const std::string& folder);

  std::atomic<bool> stopped_{false};
  std::set<TFolderId> entered_;  // every folder entered in this run
};

}  // namespace zelvora
