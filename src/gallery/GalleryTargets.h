#pragma once
// Where a gallery run puts the pictures and thumbnails it writes, as the
// list's name preparation needs to know it: names are chosen so that no
// file of the run lands on a picture of the list, and so that no two
// files of the run share a name in one folder.

#include <string>

namespace zelvora {

class TGallerySet;
class TImageGalleryList;

struct TNameTargets {
  // Folder of the copied, converted or reduced pictures; empty when
  // pictures are not copied.
  std::string ImageFolder;
  // Folder of the thumbnails; empty when not known (no check is made).
  std::string ThumbFolder;
  // Pictures browsers cannot show are written as JPEG: their gallery names
  // end in ".jpg" from the start.
  bool ConvertWebIncompatible = false;
  // Large pictures may be reduced and then written as JPEG under their
  // name with ".jpg": that name must be free as well.
  bool MayReduce = false;
};

// The folders a run derives from the options: the output folder with
// Thumb_URLPath and Image_URLPath below it ("/" read as the separator).
// copyImages and convertToJPEG are the run's "Copy source images" and
// "Convert Web-incompatible images to JPEG" boxes.
TNameTargets NameTargetsFor(const TGallerySet& options, bool copyImages, bool convertToJPEG);

// The name under which a run copies one more file (the page background,
// from sourcePath) into folder, after PrepareNames: name itself, or name
// with "_1", "_2" ... before its extension when the copy would replace a
// picture of the list or land on the name of a thumbnail.
// A file that already is the source keeps its name.
std::string FreeNameForCopy(const TImageGalleryList& list, const std::string& folder,
                            const std::string& name, const std::string& sourcePath);

}  // namespace zelvora
