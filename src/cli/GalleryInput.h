#pragma once
// Turns zelvora-make's arguments into what the wizard would hand the run:
// the option set, the image list and the run's parameters.

#include <string>

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
// of a colour too). False with the reason for an unknown key or a malformed
// value.
bool ApplyOptionLines(TGallerySet& options, const std::vector<std::string>& lines,
                      std::string& error);

// Options: defaults, the start-up files of Templates/, the options file, the
// --set lines, then what leaving step 4 of the wizard does to them. List:
// the list file or the folder's pictures. listMessage gets what loading the
// list reported (missing files, duplicates). False with the reason in error
// for an input that cannot be read.
bool PrepareGalleryInput(const TCommandLine& line, const std::string& programFolder,
                         TGallerySet& options, TImageGalleryList& list, TGenerationParams& params,
                         std::string& listMessage, std::string& error);

}  // namespace zelvora::cli
