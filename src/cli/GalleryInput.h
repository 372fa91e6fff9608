#pragma once
// Turns zelvora-make's arguments into what the wizard would hand the run:
// the option set, the image list and the run's parameters.

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"

namespace zelvora::cli {

// The folder of the running executable, with a trailing separator.
std::string ProgramFolder(const char* argv0);
// Templates/ beside the executable, else ../share/zelvora/Templates/; empty
// when neither exists.
std::string FindTemplatesFolder(const std::string& programFolder);

// Applies "KEY=VALUE" lines on top of the option set as lines of an options
// file would set them; options not named keep their values (the Default mark
// of a colour too). False with the reason for an unknown key or a value that
// does not suit its key (CheckOptionValue).
bool ApplyOptionLines(TGallerySet& options, const std::vector<std::string>& lines,
                      std::string& error);

// The pictures of a folder for zelvora-make, in the order the wizard adds
// them (ascending full paths, letter case ignored). With subfolders the tree
// is walked, but the output folder and every folder that holds a gallery (a
// GalleryOptions.gof beside an ImageIndex.igl) are left out with their
// subtrees; when the start folder itself is such a folder, its own pictures
// count and only its gallery's thumbnail and picture folders are left out.
struct TFolderPictures {
  std::vector<std::string> Paths;
  std::vector<std::string> SkippedFolders;
};
bool CollectFolderPictures(const std::string& folder, bool subfolders,
                           const std::string& outputFolder, const TGallerySet& options,
                           TFolderPictures& result);

// True when folder holds a gallery written by Zelvora.
bool HoldsGallery(const std::string& folder);

// Options: defaults, the start-up files of Templates/, the options file, the
// --set lines, then what leaving step 4 of the wizard does to them. List:
// the list file or the folder's pictures. notes gets what the user should
// read on standard error: lines of the options file that were not taken as
// written, what loading the list reported (missing files, duplicates), the
// folders the scan left out. False with the reason in error for an input
// that cannot be read or a --set that does not suit its key.
bool PrepareGalleryInput(const TCommandLine& line, const std::string& programFolder,
                         TGallerySet& options, TImageGalleryList& list, TGenerationParams& params,
                         std::vector<std::string>& notes, std::string& error);

}  // namespace zelvora::cli
