#pragma once
// The work on one picture of a run that needs no file written: load it,
// make and encode its thumbnail, reduce it when it is too large, and encode
// the JPEG copy when it is converted or reduced. A worker thread may do it
// ahead of the run; the run then writes the results in list order.

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/Bitmap.h"

namespace zelvora {

class TGallerySet;

// One picture entry as the run hands it to the work: copied out of the list,
// so that workers never touch the list the run goes on filling.
struct TPictureTask {
  int Index = 0;           // list index
  std::string FileName;    // the source picture
  bool Load = false;       // the file existed when the names were prepared
  bool CopyImages = false;     // copies go into the image folder
  bool ConvertToJPEG = false;  // pictures browsers cannot show are converted
};

// What the work found and made. Nothing here has been written yet.
struct TPreparedPicture {
  // Loaded and scaled; false for an unreadable or empty picture, which gets
  // no thumbnail and no copy.
  bool HasThumbnail = false;
  int ImageWidth = 0, ImageHeight = 0;  // the picture as published (reduced or not)
  int ThumbWidth = 0, ThumbHeight = 0;  // the decorated thumbnail
  std::optional<std::string> ThumbJpeg;  // nullopt when encoding failed
  bool Resized = false;                  // reduced: the copy must be a JPEG
  // The picture the JPEG copy is made of, and its bytes, when the copy is
  // written as JPEG (converted or reduced).
  bool WriteCopyAsJpeg = false;
  int CopyWidth = 0, CopyHeight = 0;
  std::optional<std::string> CopyJpeg;
};

// Memory kept from one picture to the next.
struct TPictureWorkspace {
  std::string FileBytes;
  Bitmap Picture;
};

// Whether the copy of this picture is written as JPEG rather than copied.
bool CopiedAsJpeg(const TPictureTask& task, bool resized);

// Loads the decoded picture into workspace.Picture; false when it cannot be
// read. The file's bytes must already be in workspace.FileBytes (see
// ReadImageFileInto) when bytesRead is set.
bool LoadPicture(const TPictureTask& task, TPictureWorkspace& workspace, bool bytesRead);

// The rest of the work on the loaded picture in workspace.Picture (which it
// may change).
TPreparedPicture FinishPicture(const TPictureTask& task, const TGallerySet& options,
                               TPictureWorkspace& workspace);

// LoadPicture and FinishPicture.
TPreparedPicture PreparePicture(const TPictureTask& task, const TGallerySet& options,
                                TPictureWorkspace& workspace);

}  // namespace zelvora
