#include "generation/GenerationRun.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "gallery/ListFiles.h"
#include "generation/Thumbnail.h"
#include "html/HtmlHelpers.h"
#include "html/ImagePages.h"
#include "html/PageIndex.h"
#include "html/ThumbTablePages.h"
#include "imaging/Bitmap.h"
#include "imaging/ImageKind.h"
#include "imaging/ImageLoader.h"
#include "imaging/JpegWriter.h"
#include "imaging/Resample.h"
#include "texts/InterfaceTexts.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

constexpr auto kPauseWait = std::chrono::milliseconds(50);

// A gallery subfolder from its URL path: "/" becomes the native separator,
// trailing delimiters go.
std::string FolderFromURLPath(const std::string& urlPath) {
  std::string folder = urlPath;
  for (char& c : folder)
    if (c == '/') c = PathSeparator();
  return ExcludeTrailingDelimiters(folder);
}

// URL paths and names come from option files and rename masks; a gallery
// must never write outside its own folder.
bool StaysInside(const std::string& relative) {
  if (relative.empty()) return true;
  if (IsPathDelimiter(relative.front())) return false;
  if (kNativePathStyle == PathStyle::Windows && relative.size() > 1 && relative[1] == ':')
    return false;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = start;
    while (end < relative.size() && !IsPathDelimiter(relative[end])) ++end;
    if (relative.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (IsPathDelimiter(c)) return false;
  return true;
}

}  // namespace

std::int64_t UncompressedBmpSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  std::int64_t rowBytes = (static_cast<std::int64_t>(width) * 3 + 3) / 4 * 4;
  return 14 + 40 + rowBytes * height;
}

TGenerationParams ParamsForOptions(const TGallerySet& options) {
  TGenerationParams params;
  params.CopySourceImages = !options.KeepLocationOfImages;
  params.ConvertToJPEG = params.CopySourceImages && options.ConvertWebIncompatibleImagesToJPEG;
  return params;
}

TGenerationRun::TGenerationRun(IRunHost& host, IRunFileSystem& fileSystem)
    : host_(host), fs_(fileSystem) {}

void TGenerationRun::Freeze() {
  {
    std::lock_guard<std::mutex> lock(flagMutex_);
    paused_ = true;
    abortRequested_ = false;
  }
  flagChanged_.notify_all();
}

void TGenerationRun::Continue() {
  {
    std::lock_guard<std::mutex> lock(flagMutex_);
    paused_ = false;
    abortRequested_ = false;
  }
  flagChanged_.notify_all();
}

void TGenerationRun::Abort() {
  {
    std::lock_guard<std::mutex> lock(flagMutex_);
    paused_ = false;
    abortRequested_ = true;
  }
  flagChanged_.notify_all();
}

void TGenerationRun::WaitWhilePaused() {
  bool waited = false;
  if (paused_) {
    host_.SetRunState(TRunState::Paused);
    waited = true;
  }
  while (paused_ && !abortRequested_) {
    host_.ProcessEvents(true);
    std::unique_lock<std::mutex> lock(flagMutex_);
    flagChanged_.wait_for(lock, kPauseWait, [this] { return !paused_ || abortRequested_; });
  }
  if (abortRequested_) paused_ = false;
  // Continue put the run back to work: Next reads "Free&ze" again.
  else if (waited) host_.SetRunState(TRunState::Running);
  host_.ProcessEvents(false);
}

bool TGenerationRun::CheckPoint() {
  host_.ProcessEvents(false);
  WaitWhilePaused();
  return abortRequested_;
}

void TGenerationRun::Advance(TProgressBar bar) {
  if (bar == TProgressBar::Thumbnails) {
    if (thumbPosition_ < thumbMaximum_) ++thumbPosition_;
    host_.SetProgress(bar, thumbPosition_, thumbMaximum_);
  } else {
    if (pagePosition_ < pageMaximum_) ++pagePosition_;
    host_.SetProgress(bar, pagePosition_, pageMaximum_);
  }
}

TRunOutcome TGenerationRun::Stop() {
  // The one way out of a stopped run, as the Abort button takes it.
  thumbPosition_ = 0;
  pagePosition_ = 0;
  host_.SetProgress(TProgressBar::Thumbnails, 0, thumbMaximum_);
  host_.SetProgress(TProgressBar::Pages, 0, pageMaximum_);
  {
    std::lock_guard<std::mutex> lock(flagMutex_);
    paused_ = false;
    abortRequested_ = true;
  }
  flagChanged_.notify_all();
  host_.SetRunState(TRunState::Ready);
  host_.ProcessEvents(false);
  return TRunOutcome::Stopped;
}

TRunOutcome TGenerationRun::Finish() {
  host_.SetRunState(TRunState::Done);
  return TRunOutcome::Done;
}

void TGenerationRun::ShowDiskFull(const std::string& target) {
  std::string volume = fs_.VolumeOf(target);
  // Drive letters are shown in capitals; a POSIX mount point keeps its case,
  // or the message would name a folder that does not exist.
  if (kNativePathStyle == PathStyle::Windows) volume = UpperCase(volume);
  std::string text = InterfaceText(TextId::NoFreeSpace) + " \"" + volume + "\"\n" +
                     InterfaceText(TextId::FreeSpaceAndContinue);
  host_.ShowMessage(TRunMessage::DiskFull, InterfaceText(TextId::WriteErrorTitle), text);
}

template <typename Operation>
bool TGenerationRun::Guarded(Operation&& operation, std::int64_t neededSize,
                             const std::string& target, TGuardKind kind, bool retry,
                             bool report) {
  bool ok = operation();
  while (!ok && retry && !abortRequested_) {
    std::int64_t freeSpace = fs_.FreeSpace(target);
    std::int64_t existing = fs_.FileSize(target);
    if (existing > 0) freeSpace += existing;
    if (neededSize < freeSpace) {
      // There is room: the failure is not the disk's size.
      if (report) {
        if (kind == TGuardKind::Copy) {
          host_.ShowMessage(TRunMessage::CopyError, InterfaceText(TextId::CopyErrorTitle),
                            InterfaceText(TextId::FileCopyError) + "\n\n" + target + "\n\n" +
                                InterfaceText(TextId::CreationAborted));
        } else {
          host_.ShowMessage(TRunMessage::WriteError, InterfaceText(TextId::WriteErrorTitle),
                            InterfaceText(TextId::FileWriteError) + "\n" +
                                InterfaceText(TextId::CreationAborted));
        }
      }
      Abort();
    } else {
      host_.SetRunState(TRunState::Paused);
      if (report) ShowDiskFull(target);
      {
        std::lock_guard<std::mutex> lock(flagMutex_);
        paused_ = true;
      }
      WaitWhilePaused();
    }
    if (!abortRequested_) ok = operation();
  }
  return ok;
}

bool TGenerationRun::WriteTextFileGuarded(const std::string& path, const std::string& text,
                                          bool retry, bool report) {
  return Guarded([&] { return fs_.WriteFile(path, text); },
                 static_cast<std::int64_t>(text.size()), path, TGuardKind::Text, retry, report);
}

bool TGenerationRun::WriteJPEGFileGuarded(const std::string& path, const Bitmap& bitmap,
                                          int quality, bool retry, bool report,
                                          bool progressive, bool smoothing) {
  // Smoothing only matters when a JPEG is read back; encode once, write as
  // often as the disk needs.
  (void)smoothing;
  std::optional<std::string> bytes = EncodeBitmapAsJPEG(bitmap, quality, progressive);
  return Guarded([&] { return bytes.has_value() && fs_.WriteFile(path, *bytes); },
                 UncompressedBmpSize(bitmap.Width(), bitmap.Height()), path, TGuardKind::JPEG,
                 retry, report);
}

bool TGenerationRun::CopyFileGuarded(const std::string& source, const std::string& target,
                                     bool retry, bool report) {
  return Guarded([&] { return fs_.CopyFile(source, target); }, fs_.FileSize(source), target,
                 TGuardKind::Copy, retry, report);
}

bool TGenerationRun::ConfirmOverwrite(const std::string& path) {
  if (overwriteAnswer_ == kOverwriteAlways) return true;
  if (!fs_.FileExists(path)) return true;
  if (overwriteAnswer_ == kOverwriteNever) return false;
  std::string text = "File already exists:\n" + path + "\nYou are sure to rewrite this file?";
  switch (host_.AskOverwrite(path, "Confirm", text)) {
    case TOverwriteReply::Yes:
      return true;
    case TOverwriteReply::NoToAll:
      overwriteAnswer_ = kOverwriteNever;
      return false;
    case TOverwriteReply::YesToAll:
      overwriteAnswer_ = kOverwriteAlways;
      return true;
    case TOverwriteReply::Cancel:
      overwriteAnswer_ = kOverwriteCancelled;
      return false;
    case TOverwriteReply::No:
    case TOverwriteReply::Closed:
      break;
  }
  return false;
}

TRunOutcome TGenerationRun::Execute(TImageGalleryList& list, TGallerySet& options,
                                    const TGenerationParams& params) {
  try {
    return Run(list, options, params);
  } catch (const std::exception& e) {
    Stop();
    host_.ShowMessage(TRunMessage::Unexpected, InterfaceText(TextId::ErrorTitle), e.what());
  } catch (...) {
    Stop();
    host_.ShowMessage(TRunMessage::Unexpected, InterfaceText(TextId::ErrorTitle),
                      InterfaceText(TextId::ErrorTitle));
  }
  return TRunOutcome::Stopped;
}

TRunOutcome TGenerationRun::Run(TImageGalleryList& list, TGallerySet& options,
                                const TGenerationParams& params) {
  // 1. A fresh run.
  overwriteAnswer_ = params.InitialOverwriteAnswer;
  {
    std::lock_guard<std::mutex> lock(flagMutex_);
    paused_ = false;
    abortRequested_ = false;
  }
  host_.SetRunState(TRunState::Running);

  // 2. Descriptions are printed exactly when there is something to print.
  options.Thumb_Description.ShowDescription = options.Thumb_Description.ShowFlags != 0;

  // 3. Numbers, pages and names. Which pictures PrepareNames takes is noted
  // first: an entry whose file has gone keeps stale names and gets nothing.
  // The page writers page the list by the same rule; numbering by another
  // would break the links when an options file holds a count below 1.
  const int perPage = ThumbsPerPage(options);
  const int count = list.Count();
  std::vector<bool> prepared(static_cast<std::size_t>(count), false);
  int existingPictures = 0;
  for (int i = 0; i < count; ++i) {
    if (list.IsImage(i) && fs_.FileExists(list.Items(i)->FileName)) {
      prepared[static_cast<std::size_t>(i)] = true;
      ++existingPictures;
    }
  }
  list.RenameMask = options.RenameImages ? options.RenameImageMask : std::string();
  if (!list.PrepareNames(options.KeepLocationOfImages, perPage,
                         NameTargetsFor(options, params.CopySourceImages, params.ConvertToJPEG)))
    return Stop();

  // 4. Nothing to show: nothing is written.
  if (list.ImageCount() == 0 || existingPictures == 0) return Finish();

  // 5. Folders.
  const std::string outputFolder = IncludeTrailingBackslash(options.OutputFolder);
  const std::string thumbSub = FolderFromURLPath(options.Thumb_URLPath);
  const std::string imageSub = FolderFromURLPath(options.Image_URLPath);
  if (!StaysInside(thumbSub) || (!options.KeepLocationOfImages && !StaysInside(imageSub))) {
    host_.ShowMessage(TRunMessage::WriteError, InterfaceText(TextId::WriteErrorTitle),
                      InterfaceText(TextId::FileWriteError) + "\n" +
                          InterfaceText(TextId::CreationAborted));
    return Stop();
  }
  const std::string thumbFolder =
      thumbSub.empty() ? outputFolder : IncludeTrailingBackslash(outputFolder + thumbSub);
  std::string imageFolder;
  if (!options.KeepLocationOfImages)
    imageFolder =
        imageSub.empty() ? outputFolder : IncludeTrailingBackslash(outputFolder + imageSub);
  options.ThumbFolder = thumbFolder;
  options.ImageFolder = imageFolder;
  fs_.ForceFolders(ExcludeTrailingDelimiters(thumbFolder));
  if (!imageFolder.empty()) fs_.ForceFolders(ExcludeTrailingDelimiters(imageFolder));
  if (!fs_.DirectoryExists(ExcludeTrailingDelimiters(thumbFolder))) return Finish();

  // 6. Background image, replaced without asking.
  if (params.UseBackgroundImage && !params.BackgroundImagePath.empty() &&
      fs_.FileExists(params.BackgroundImagePath)) {
    const std::string name = FreeNameForCopy(list, thumbFolder,
                                             FileNameOf(params.BackgroundImagePath),
                                             params.BackgroundImagePath);
    if (!CopyFileGuarded(params.BackgroundImagePath, thumbFolder + name, true, true))
      return Stop();
    options.HTMLPage_Background = options.Thumb_URLPath + name;
  } else {
    options.HTMLPage_Background.clear();
  }

  // 7. Thumbnails bar.
  thumbMaximum_ = count;
  thumbPosition_ = 0;
  host_.SetProgress(TProgressBar::Thumbnails, 0, thumbMaximum_);

  // 8. Thumbnails and copies.
  const bool copyImages = params.CopySourceImages && !imageFolder.empty();
  for (int i = 0; i < count; ++i) {
    TImageGalleryItem* item = list.IsImage(i) ? list.Items(i) : nullptr;
    if (item) {
      item->ThumbWidth = options.Thumb_MaxWidth;
      item->ThumbHeight = options.Thumb_MaxHeight;
      item->ImageWidth = options.Image_MaxWidth;
      item->ImageHeight = options.Image_MaxHeight;
      std::unique_ptr<Bitmap> picture =
          prepared[static_cast<std::size_t>(i)] ? LoadImageFile(item->FileName) : nullptr;
      std::unique_ptr<Bitmap> thumb = picture ? MakeThumbnail(*picture, options) : nullptr;
      if (thumb) {
        if (!IsPlainFileName(item->ThumbName) || !IsPlainFileName(item->ImageName)) {
          host_.ShowMessage(TRunMessage::WriteError, InterfaceText(TextId::WriteErrorTitle),
                            InterfaceText(TextId::FileWriteError) + "\n" +
                                InterfaceText(TextId::CreationAborted));
          return Stop();
        }
        const std::string thumbPath = thumbFolder + item->ThumbName;
        if (!WriteJPEGFileGuarded(thumbPath, *thumb, options.Thumb_JPEGQuality, true, true, true,
                                  false))
          return Stop();
        item->ImageWidth = picture->Width();
        item->ImageHeight = picture->Height();
        item->ThumbFileSize = fs_.FileSize(thumbPath);
        item->ThumbWidth = thumb->Width();
        item->ThumbHeight = thumb->Height();
        thumb.reset();
        bool resized = false;

        if (options.Image_LimitWebPageImageSize &&
            !(picture->Width() <= options.Image_MaxWidth &&
              picture->Height() <= options.Image_MaxHeight)) {
          TPixelSize reduced = FitSize(picture->Width(), picture->Height(), options.Image_MaxWidth,
                                  options.Image_MaxHeight);
          if (options.Image_ResizeSrcImages && !options.KeepLocationOfImages) {
            std::unique_ptr<Bitmap> smaller = std::make_unique<Bitmap>();
            if (ResampleExact(picture.get(), smaller.get(), reduced.Width, reduced.Height)) {
              picture = std::move(smaller);
              item->ImageWidth = picture->Width();
              item->ImageHeight = picture->Height();
              resized = true;
            }
          }
        }

        if (copyImages) {
          if ((params.ConvertToJPEG && !IsWebCompatibleImage(item->FileName)) || resized) {
            item->ImageName = BaseNameOf(item->ImageName) + ".jpg";
            const std::string target = imageFolder + item->ImageName;
            if (ConfirmOverwrite(target) &&
                !WriteJPEGFileGuarded(target, *picture, options.Image_JPEGQuality, true, true,
                                      true, false))
              return Stop();
            if (overwriteAnswer_ == kOverwriteCancelled) return Stop();
            item->FileSize = fs_.FileSize(target);
            fs_.SetFileDate(target, item->FileDate);
          } else {
            const std::string target = imageFolder + item->ImageName;
            if (ConfirmOverwrite(target) && !CopyFileGuarded(item->FileName, target, true, true))
              return Stop();
            if (overwriteAnswer_ == kOverwriteCancelled) return Stop();
          }
        }
      }
    }
    Advance(TProgressBar::Thumbnails);
    if (CheckPoint()) return Stop();
  }

  // 9. Pages bar.
  const int pageCount = list.PageCount(perPage);
  pageMaximum_ = (options.Framed_ThumbTablePage ? 1 : 0) + pageCount + list.ImageCount() + 1;
  pagePosition_ = 0;
  host_.SetProgress(TProgressBar::Pages, 0, pageMaximum_);

  // 10. Image pages.
  for (int i = 0; i < count; ++i) {
    if (prepared[static_cast<std::size_t>(i)] && list.IsImage(i) &&
        IsWebCompatibleImage(list.Items(i)->ImageName)) {
      const std::string path =
          outputFolder + "image" + std::to_string(list.Items(i)->Number) + ".html";
      if (!WriteTextFileGuarded(path, WriteImagePage(i, list, options), true, true))
        return Stop();
      Advance(TProgressBar::Pages);
    }
    if (CheckPoint()) return Stop();
  }

  // 11. Thumbnail table pages.
  int position = 0;
  for (int page = 1; position < count; ++page) {
    const int start = position;
    const std::string text = WriteThumbTablePage(position, page, pageCount, list, options);
    if (!WriteTextFileGuarded(outputFolder + "page" + std::to_string(page) + ".html", text, true,
                              true))
      return Stop();
    Advance(TProgressBar::Pages);
    if (CheckPoint()) return Stop();
    if (position <= start) break;  // a writer that does not move on must not loop forever
  }

  // 12. Page index.
  const std::string indexPath =
      outputFolder + (options.Framed_ThumbTablePage ? "pageindex.html" : "index.html");
  if (!WriteTextFileGuarded(indexPath, WritePageIndexPage(list, options), true, true))
    return Stop();
  galleryStartPage_ = indexPath;
  Advance(TProgressBar::Pages);
  if (CheckPoint()) return Stop();

  // 13. Frameset.
  if (options.Framed_ThumbTablePage) {
    const std::string framesetPath = outputFolder + "index.html";
    if (!WriteTextFileGuarded(framesetPath, WriteFramesetPage(options), true, true))
      return Stop();
    galleryStartPage_ = framesetPath;
    Advance(TProgressBar::Pages);
    if (CheckPoint()) return Stop();
  }

  // 14. The list file.
  const std::string listText = SaveToText(list, TListForm::Igl, DefaultGeneratorText());
  if (listText.empty() ||
      !WriteTextFileGuarded(outputFolder + "ImageIndex.igl", listText, true, true))
    return Stop();

  // 15. The options file.
  std::string optionsText;
  if (!options.SaveToText(optionsText) ||
      !WriteTextFileGuarded(outputFolder + "GalleryOptions.gof", optionsText, true, true))
    return Stop();

  // 17. The end.
  return Finish();
}

}  // namespace zelvora
