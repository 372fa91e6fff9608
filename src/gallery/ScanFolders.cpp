#include "gallery/ScanFolders.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

// Names are read first and the folder closed before anything is reported,
// so that a deep tree does not hold one open folder per level.
std::vector<std::string> ReadFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    // "." and ".." (and any name made only of dots, trimmed).
    const std::string trimmed = Trim(name);
    if (!trimmed.empty() && ContainsOnly(".", trimmed)) continue;
    names.push_back(std::move(name));
  }
  ::closedir(dir);
  return names;
}

int AttributesOf(const std::string& name, const struct stat& info, bool isLink) {
  int attributes = 0;
  if (S_ISDIR(info.st_mode))
    attributes |= kFileAttrDirectory;
  else if (S_ISREG(info.st_mode))
    attributes |= kFileAttrArchive;
  else
    attributes |= kFileAttrSysFile;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= kFileAttrReadOnly;
  if (!name.empty() && name[0] == '.') attributes |= kFileAttrHidden;
  if (isLink) attributes |= kFileAttrSymLink;
  return attributes;
}

}  // namespace

bool TScanFolders::Execute() {
  stopped_ = false;
  entered_.clear();
  std::string folder = ExcludeTrailingDelimiters(StartFolder);
  if (folder.empty() && !StartFolder.empty() && DirectoryExists(StartFolder))
    folder = std::string(1, PathSeparator());  // the root itself
  if (!DirectoryExists(folder)) return false;
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return false;
  try {
    entered_.insert({info.st_dev, info.st_ino});
    Scan(folder);
  } catch (...) {
    stopped_ = true;
    return false;
  }
  return true;
}

void TScanFolders::Scan(const std::string& folder) {
  const std::vector<std::string> names = ReadFolderNames(folder);
  for (const std::string& name : names) {
    if (stopped_) return;
    const std::string fullName = JoinPath(folder, name);
    struct stat linkInfo {};
    if (::lstat(fullName.c_str(), &linkInfo) != 0) continue;  // gone meanwhile
    const bool isLink = S_ISLNK(linkInfo.st_mode);
    struct stat info = linkInfo;
    // A dangling link is reported as what it is: a link, no folder.
    if (isLink && ::stat(fullName.c_str(), &info) != 0) info = linkInfo;
    const bool isFolder = S_ISDIR(info.st_mode);

    if (OnFileFound) {
      TDateTime time = DateFromUnixTime(info.st_mtim.tv_sec);
      if (time == 0.0) time = FileDateOf(fullName);
      const std::int64_t size = isFolder ? 0 : static_cast<std::int64_t>(info.st_size);
      OnFileFound(fullName, AttributesOf(name, info, isLink), time, size);
    }

    if (!ScanSubfolders || !isFolder || stopped_) continue;
    const TFolderId id{info.st_dev, info.st_ino};
    // No folder is entered twice: a link back up cannot loop, and a folder
    // reached both directly and through a link gives its pictures once.
    if (!entered_.insert(id).second) continue;
    Scan(fullName);
  }
}

}  // namespace zelvora
