#include "gallery/GalleryTargets.h"

#include <sys/stat.h>

#include <unordered_set>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

// The folder of a URL path below the output folder, as the run makes it.
bool StatOf(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string SubfolderOf(const std::string& outputFolder, const std::string& urlPath) {
  std::string sub = urlPath;
  for (char& c : sub)
    if (c == '/') c = PathSeparator();
  sub = ExcludeTrailingDelimiters(sub);
  const std::string base = IncludeTrailingBackslash(outputFolder);
  return sub.empty() ? base : IncludeTrailingBackslash(base + sub);
}

}  // namespace

TNameTargets NameTargetsFor(const TGallerySet& options, bool copyImages, bool convertToJPEG) {
  TNameTargets targets;
  if (options.OutputFolder.empty()) return targets;
  targets.ThumbFolder = SubfolderOf(options.OutputFolder, options.Thumb_URLPath);
  if (!options.KeepLocationOfImages && copyImages) {
    targets.ImageFolder = SubfolderOf(options.OutputFolder, options.Image_URLPath);
    targets.ConvertWebIncompatible = convertToJPEG;
    targets.MayReduce = options.Image_LimitWebPageImageSize && options.Image_ResizeSrcImages;
  }
  return targets;
}

std::string FreeNameForCopy(const TImageGalleryList& list, const std::string& folder,
                            const std::string& name, const std::string& sourcePath) {
  struct stat source {}, existing {};
  const std::string target = IncludeTrailingBackslash(folder) + name;
  if (StatOf(sourcePath, source) && StatOf(target, existing) && SameFile(source, existing))
    return name;
  // The pictures of the list as files, and the thumbnail names (the
  // thumbnails share the folder).
  std::vector<struct stat> pictures;
  std::unordered_set<std::string> thumbNames;
  for (int i = 0; i < list.Count(); ++i) {
    const TImageGalleryItem* item = list.Items(i);
    if (!item->IsImage()) continue;
    struct stat info {};
    if (StatOf(item->FileName, info)) pictures.push_back(info);
    thumbNames.insert(LowerCase(item->ThumbName));
  }
  auto taken = [&](const std::string& candidate) {
    if (thumbNames.contains(LowerCase(candidate))) return true;
    struct stat info {};
    if (!StatOf(IncludeTrailingBackslash(folder) + candidate, info)) return false;
    for (const struct stat& picture : pictures)
      if (SameFile(picture, info)) return true;
    return false;
  };
  if (!taken(name)) return name;
  const std::string ext = ExtensionOf(name);
  const std::string base = name.substr(0, name.size() - ext.size());
  for (int r = 1;; ++r) {
    const std::string candidate = base + "_" + std::to_string(r) + ext;
    if (!taken(candidate)) return candidate;
  }
}

}  // namespace zelvora
