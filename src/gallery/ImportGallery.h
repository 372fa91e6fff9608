#pragma once
// Importing an earlier gallery: its GalleryOptions.gof into the option set
// and its ImageIndex.igl into the image list, so it can be changed and
// made again. The folder chooser and the refresh of the window's controls
// are the caller's.

#include <string>
#include <string_view>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"

namespace zelvora {

enum class TImportMessageKind {
  None,         // nothing to show
  Information,  // an information box with an OK button
  Error,        // an error box with an OK button
};

struct TImportResult {
  bool OptionsLoaded = false;  // GalleryOptions.gof was found and read
  bool ListLoaded = false;     // ImageIndex.igl was found and replaced the list
  TImportMessageKind Kind = TImportMessageKind::None;
  std::string Message;
};

// The text of the error box: CR LF, two blanks, "Error", thirteen blanks.
std::string ImportErrorText();

// Loads folder/GalleryOptions.gof into options when it exists and, when
// folder/ImageIndex.igl exists, replaces the list by its entries. A list
// file that cannot be read leaves the list as it was and gives the error.
// The caller shows the options afterwards in every case.
TImportResult ImportGallery(std::string_view folder, TGallerySet& options,
                            TImageGalleryList& list);

}  // namespace zelvora
