#include "generation/PictureWork.h"

#include <exception>
#include <memory>
#include <utility>

#include "gallery/GallerySet.h"
#include "generation/Thumbnail.h"
#include "imaging/ImageKind.h"
#include "imaging/ImageLoader.h"
#include "imaging/JpegWriter.h"
#include "imaging/Resample.h"

namespace zelvora {

bool CopiedAsJpeg(const TPictureTask& task, bool resized) {
  return task.CopyImages &&
         ((task.ConvertToJPEG && !IsWebCompatibleImage(task.FileName)) || resized);
}

bool LoadPicture(const TPictureTask& task, TPictureWorkspace& workspace, bool bytesRead) {
  if (!task.Load) return false;
  if (!bytesRead && !ReadImageFileInto(task.FileName, workspace.FileBytes)) return false;
  return DecodeImageInto(ImageKindOfFile(task.FileName), workspace.FileBytes, workspace.Picture);
}

TPreparedPicture FinishPicture(const TPictureTask& task, const TGallerySet& options,
                               TPictureWorkspace& workspace) {
  TPreparedPicture result;
  try {
    const Bitmap& picture = workspace.Picture;
    std::unique_ptr<Bitmap> thumb = MakeThumbnail(picture, options);
    if (!thumb) return result;
    result.HasThumbnail = true;
    result.ThumbJpeg = EncodeBitmapAsJPEG(*thumb, options.Thumb_JPEGQuality, true);
    result.ThumbWidth = thumb->Width();
    result.ThumbHeight = thumb->Height();
    result.ImageWidth = picture.Width();
    result.ImageHeight = picture.Height();
    thumb.reset();

    // Large pictures: reduced only when the copies are ours to change.
    const Bitmap* published = &picture;
    Bitmap reduced;
    if (options.Image_LimitWebPageImageSize &&
        !(picture.Width() <= options.Image_MaxWidth &&
          picture.Height() <= options.Image_MaxHeight)) {
      const TPixelSize size = FitSize(picture.Width(), picture.Height(), options.Image_MaxWidth,
                                      options.Image_MaxHeight);
      if (options.Image_ResizeSrcImages && !options.KeepLocationOfImages &&
          ResampleExact(&picture, &reduced, size.Width, size.Height)) {
        published = &reduced;
        result.ImageWidth = reduced.Width();
        result.ImageHeight = reduced.Height();
        result.Resized = true;
      }
    }

    result.WriteCopyAsJpeg = CopiedAsJpeg(task, result.Resized);
    if (result.WriteCopyAsJpeg) {
      result.CopyWidth = published->Width();
      result.CopyHeight = published->Height();
      result.CopyJpeg = EncodeBitmapAsJPEG(*published, options.Image_JPEGQuality, true);
    }
  } catch (const std::exception&) {
    // Memory ran out on the way: the encoders' failures are reported when
    // the files are written; a picture that could not even be scaled is
    // skipped like an unreadable one.
    if (!result.HasThumbnail) return TPreparedPicture();
    result.WriteCopyAsJpeg = CopiedAsJpeg(task, result.Resized);
  }
  return result;
}

TPreparedPicture PreparePicture(const TPictureTask& task, const TGallerySet& options,
                                TPictureWorkspace& workspace) {
  if (!LoadPicture(task, workspace, false)) return TPreparedPicture();
  return FinishPicture(task, options, workspace);
}

}  // namespace zelvora
