#include "gallery/GalleryTargets.h"

#include "gallery/GallerySet.h"
#include "util/PathUtils.h"

namespace zelvora {

namespace {

// The folder of a URL path below the output folder, as the run makes it.
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

}  // namespace zelvora
