#include "generation/GenerationRun.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "gallery/ListFiles.h"
#include "generation/PicturePipeline.h"
#include "generation/PictureWork.h"
#include "html/HtmlHelpers.h"
#include "html/ImagePages.h"
#include "html/PageIndex.h"
#include "html/ThumbTablePages.h"
#include "imaging/Bitmap.h"
#include "imaging/ImageKind.h"
#include "imaging/JpegWriter.h"
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

bool TGenerationRun::WriteEncodedJPEGGuarded(const std::string& path,
                                             const std::optional<std::string>& bytes, int width,
                                             int height) {
  // A picture the encoder failed on is a write that fails, as if encoded here.
  return Guarded([&] { return bytes.has_value() && fs_.WriteFile(path, *bytes); },
                 UncompressedBmpSize(width, height), path, TGuardKind::JPEG, true, true);
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

// What the phases of one run share.
struct TGenerationRun::TRunPlan {
  TRunPlan(TImageGalleryList& list, TGallerySet& options, const TGenerationParams& params)
      : List(list), Options(options), Params(params) {}
  TImageGalleryList& List;
  TGallerySet& Options;
  const TGenerationParams& Params;
  int PerPage = 1;
  int Count = 0;
  // The pictures PrepareNames took: an entry whose file has gone keeps
  // stale names and gets nothing.
  std::vector<bool> Prepared;
  int ExistingPictures = 0;
  std::string OutputFolder, ThumbFolder, ImageFolder;
  bool CopyImages = false;
};

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

  TRunPlan plan(list, options, params);
  if (!PrepareNames(plan)) return Stop();
  // Nothing to show: nothing is written.
  if (list.ImageCount() == 0 || plan.ExistingPictures == 0) return Finish();
  switch (MakeFolders(plan)) {
    case TFolders::Refused:
      return Stop();
    case TFolders::Missing:
      return Finish();
    case TFolders::Made:
      break;
  }
  if (!CopyBackground(plan) || !WritePictures(plan) || !WriteImagePages(plan) ||
      !WriteTablePages(plan) || !WriteIndexAndFrameset(plan) || !WriteListAndOptions(plan))
    return Stop();
  return Finish();
}

bool TGenerationRun::PrepareNames(TRunPlan& plan) {
  // Which pictures PrepareNames takes is noted first. The page writers page
  // the list by the same rule; numbering by another would break pages for a
  // count below 1.
  plan.PerPage = ThumbsPerPage(plan.Options);
  plan.Count = plan.List.Count();
  plan.Prepared.assign(static_cast<std::size_t>(plan.Count), false);
  for (int i = 0; i < plan.Count; ++i) {
    if (plan.List.IsImage(i) && fs_.FileExists(plan.List.Items(i)->FileName)) {
      plan.Prepared[static_cast<std::size_t>(i)] = true;
      ++plan.ExistingPictures;
    }
  }
  plan.List.RenameMask = plan.Options.RenameImages ? plan.Options.RenameImageMask : std::string();
  return plan.List.PrepareNames(
      plan.Options.KeepLocationOfImages, plan.PerPage,
      NameTargetsFor(plan.Options, plan.Params.CopySourceImages, plan.Params.ConvertToJPEG));
}

TGenerationRun::TFolders TGenerationRun::MakeFolders(TRunPlan& plan) {
  TGallerySet& options = plan.Options;
  plan.OutputFolder = IncludeTrailingBackslash(options.OutputFolder);
  const std::string thumbSub = FolderFromURLPath(options.Thumb_URLPath);
  const std::string imageSub = FolderFromURLPath(options.Image_URLPath);
  if (!StaysInside(thumbSub) || (!options.KeepLocationOfImages && !StaysInside(imageSub))) {
    ShowWriteError();
    return TFolders::Refused;
  }
  plan.ThumbFolder = thumbSub.empty() ? plan.OutputFolder
                                      : IncludeTrailingBackslash(plan.OutputFolder + thumbSub);
  if (!options.KeepLocationOfImages)
    plan.ImageFolder = imageSub.empty() ? plan.OutputFolder
                                        : IncludeTrailingBackslash(plan.OutputFolder + imageSub);
  options.ThumbFolder = plan.ThumbFolder;
  options.ImageFolder = plan.ImageFolder;
  fs_.ForceFolders(ExcludeTrailingDelimiters(plan.ThumbFolder));
  if (!plan.ImageFolder.empty()) fs_.ForceFolders(ExcludeTrailingDelimiters(plan.ImageFolder));
  if (!fs_.DirectoryExists(ExcludeTrailingDelimiters(plan.ThumbFolder))) return TFolders::Missing;
  plan.CopyImages = plan.Params.CopySourceImages && !plan.ImageFolder.empty();
  return TFolders::Made;
}

bool TGenerationRun::CopyBackground(TRunPlan& plan) {
  // Replaced without asking.
  const TGenerationParams& params = plan.Params;
  if (params.UseBackgroundImage && !params.BackgroundImagePath.empty() &&
      fs_.FileExists(params.BackgroundImagePath)) {
    const std::string name = FreeNameForCopy(plan.List, plan.ThumbFolder,
                                             FileNameOf(params.BackgroundImagePath),
                                             params.BackgroundImagePath);
    if (!CopyFileGuarded(params.BackgroundImagePath, plan.ThumbFolder + name, true, true))
      return false;
    plan.Options.HTMLPage_Background = plan.Options.Thumb_URLPath + name;
  } else {
    plan.Options.HTMLPage_Background.clear();
  }
  return true;
}

bool TGenerationRun::WritePictures(TRunPlan& plan) {
  thumbMaximum_ = plan.Count;
  thumbPosition_ = 0;
  host_.SetProgress(TProgressBar::Thumbnails, 0, thumbMaximum_);

  // Workers may load and scale the next pictures while this thread writes
  // the current one; files are written here only, in list order.
  std::vector<TPictureTask> tasks;
  for (int i = 0; i < plan.Count; ++i) {
    if (!plan.List.IsImage(i)) continue;
    TPictureTask task;
    task.Index = i;
    task.FileName = plan.List.Items(i)->FileName;
    task.Load = plan.Prepared[static_cast<std::size_t>(i)];
    task.CopyImages = plan.CopyImages;
    task.ConvertToJPEG = plan.Params.ConvertToJPEG;
    tasks.push_back(std::move(task));
  }
  const int jobs = plan.Params.Jobs > 0 ? plan.Params.Jobs : DefaultJobCount();
  TPicturePipeline pipeline(std::move(tasks), plan.Options, jobs,
                            [this] { return paused_.load() || abortRequested_.load(); });

  std::size_t next = 0;
  for (int i = 0; i < plan.Count; ++i) {
    if (TImageGalleryItem* item = plan.List.IsImage(i) ? plan.List.Items(i) : nullptr) {
      // These sizes stay when the picture cannot be read.
      item->ThumbWidth = plan.Options.Thumb_MaxWidth;
      item->ThumbHeight = plan.Options.Thumb_MaxHeight;
      item->ImageWidth = plan.Options.Image_MaxWidth;
      item->ImageHeight = plan.Options.Image_MaxHeight;
      if (!WritePicture(plan, *item, pipeline.Take(next++))) return false;
    }
    Advance(TProgressBar::Thumbnails);
    if (CheckPoint()) return false;
  }
  return true;
}

bool TGenerationRun::WritePicture(TRunPlan& plan, TImageGalleryItem& item,
                                  const TPreparedPicture& picture) {
  if (!picture.HasThumbnail) return true;  // unreadable: no thumbnail, no copy
  if (!IsPlainFileName(item.ThumbName) || !IsPlainFileName(item.ImageName)) {
    ShowWriteError();
    return false;
  }
  const std::string thumbPath = plan.ThumbFolder + item.ThumbName;
  if (!WriteEncodedJPEGGuarded(thumbPath, picture.ThumbJpeg, picture.ThumbWidth,
                               picture.ThumbHeight))
    return false;
  item.ImageWidth = picture.ImageWidth;
  item.ImageHeight = picture.ImageHeight;
  item.ThumbFileSize = fs_.FileSize(thumbPath);
  item.ThumbWidth = picture.ThumbWidth;
  item.ThumbHeight = picture.ThumbHeight;
  if (!plan.CopyImages) return true;

  if (picture.WriteCopyAsJpeg) {
    item.ImageName = BaseNameOf(item.ImageName) + ".jpg";
    const std::string target = plan.ImageFolder + item.ImageName;
    if (ConfirmOverwrite(target) &&
        !WriteEncodedJPEGGuarded(target, picture.CopyJpeg, picture.CopyWidth,
                                 picture.CopyHeight))
      return false;
    if (overwriteAnswer_ == kOverwriteCancelled) return false;
    item.FileSize = fs_.FileSize(target);
    fs_.SetFileDate(target, item.FileDate);
  } else {
    const std::string target = plan.ImageFolder + item.ImageName;
    if (ConfirmOverwrite(target) && !CopyFileGuarded(item.FileName, target, true, true))
      return false;
    if (overwriteAnswer_ == kOverwriteCancelled) return false;
  }
  return true;
}

bool TGenerationRun::WriteImagePages(TRunPlan& plan) {
  TImageGalleryList& list = plan.List;
  pageMaximum_ = (plan.Options.Framed_ThumbTablePage ? 1 : 0) + list.PageCount(plan.PerPage) +
                 list.ImageCount() + 1;
  pagePosition_ = 0;
  host_.SetProgress(TProgressBar::Pages, 0, pageMaximum_);

  for (int i = 0; i < plan.Count; ++i) {
    if (plan.Prepared[static_cast<std::size_t>(i)] && list.IsImage(i) &&
        IsWebCompatibleImage(list.Items(i)->ImageName)) {
      const std::string path =
          plan.OutputFolder + "image" + std::to_string(list.Items(i)->Number) + ".html";
      if (!WriteTextFileGuarded(path, WriteImagePage(i, list, plan.Options), true, true))
        return false;
      Advance(TProgressBar::Pages);
    }
    if (CheckPoint()) return false;
  }
  return true;
}

bool TGenerationRun::WriteTablePages(TRunPlan& plan) {
  const int pageCount = plan.List.PageCount(plan.PerPage);
  int position = 0;
  for (int page = 1; position < plan.Count; ++page) {
    const int start = position;
    const std::string text =
        WriteThumbTablePage(position, page, pageCount, plan.List, plan.Options);
    if (!WriteTextFileGuarded(plan.OutputFolder + "page" + std::to_string(page) + ".html", text,
                              true, true))
      return false;
    Advance(TProgressBar::Pages);
    if (CheckPoint()) return false;
    if (position <= start) break;  // a writer that does not move on must not loop forever
  }
  return true;
}

bool TGenerationRun::WriteIndexAndFrameset(TRunPlan& plan) {
  const bool framed = plan.Options.Framed_ThumbTablePage;
  const std::string indexPath = plan.OutputFolder + (framed ? "pageindex.html" : "index.html");
  if (!WriteTextFileGuarded(indexPath, WritePageIndexPage(plan.List, plan.Options), true, true))
    return false;
  galleryStartPage_ = indexPath;
  Advance(TProgressBar::Pages);
  if (CheckPoint()) return false;
  if (!framed) return true;

  const std::string framesetPath = plan.OutputFolder + "index.html";
  if (!WriteTextFileGuarded(framesetPath, WriteFramesetPage(plan.Options), true, true))
    return false;
  galleryStartPage_ = framesetPath;
  Advance(TProgressBar::Pages);
  return !CheckPoint();
}

bool TGenerationRun::WriteListAndOptions(TRunPlan& plan) {
  const std::string listText = SaveToText(plan.List, TListForm::Igl, DefaultGeneratorText());
  if (listText.empty() ||
      !WriteTextFileGuarded(plan.OutputFolder + "ImageIndex.igl", listText, true, true))
    return false;
  std::string optionsText;
  return plan.Options.SaveToText(optionsText) &&
         WriteTextFileGuarded(plan.OutputFolder + "GalleryOptions.gof", optionsText, true, true);
}

void TGenerationRun::ShowWriteError() {
  host_.ShowMessage(TRunMessage::WriteError, InterfaceText(TextId::WriteErrorTitle),
                    InterfaceText(TextId::FileWriteError) + "\n" +
                        InterfaceText(TextId::CreationAborted));
}

}  // namespace zelvora
