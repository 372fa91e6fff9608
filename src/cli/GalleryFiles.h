#pragma once
// Which files make up a gallery in an output folder: those of the gallery
// written there before (as its ImageIndex.igl and GalleryOptions.gof name
// them) and those of this run, so that zelvora-make can tell the stale ones
// and, with --clean, remove exactly those.

#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/RunFileSystem.h"

namespace zelvora::cli {

// Paths are compared as they are made here: absolute, lexically normal.
std::string GalleryPathKey(std::string_view path);

// The existing files of the gallery written into outputFolder before:
// its pages, thumbnails, picture copies and background picture, named as
// the run named them from the list in its ImageIndex.igl and the options in
// its GalleryOptions.gof. Every listed picture counts as one the run found,
// whether it still exists or not. Nothing (an empty set) when the folder
// holds no ImageIndex.igl. Never a path outside the folder, never the list
// or the options file themselves.
std::set<std::string> PreviousGalleryFiles(const std::string& outputFolder);

// The files the gallery of a finished run refers to: its pages, and the
// thumbnail and copy of every picture that got a thumbnail.
std::set<std::string> FinishedGalleryFiles(const TImageGalleryList& list,
                                           const TGallerySet& options);

// The files of previous that are not in current and are no picture of the
// list (a gallery whose copies lie beside their pictures must not lose a
// picture), in path order.
std::vector<std::string> StaleGalleryFiles(const std::set<std::string>& previous,
                                           const std::set<std::string>& current,
                                           const TImageGalleryList& list);

// The platform's file system, noting every file the run writes or copies.
class TRecordingFileSystem : public TRealFileSystem {
 public:
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool CopyFile(const std::string& source, const std::string& target) override;

  std::set<std::string> Written() const;

 private:
  void Note(const std::string& path);

  mutable std::mutex mutex_;
  std::set<std::string> written_;
};

}  // namespace zelvora::cli
