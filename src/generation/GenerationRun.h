#pragma once
// The Create run: writes a whole gallery from an image list and an option
// set — thumbnails, copied, converted or reduced pictures, image pages,
// thumbnail pages, the page index, the frameset, ImageIndex.igl and
// GalleryOptions.gof — through a host (progress, check points, messages,
// the overwrite question) and a file system that tests can make fail.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "generation/RunFileSystem.h"
#include "generation/RunHost.h"

namespace zelvora {

class Bitmap;
class TGallerySet;
class TImageGalleryList;
struct TImageGalleryItem;
struct TPreparedPicture;

// The standing answer to overwrite questions during one run.
enum TOverwriteAnswer : int {
  kOverwriteAsk = 0,
  kOverwriteNever = 2,   // "N&o to All"
  kOverwriteAlways = 3,  // "Y&es to All"
  kOverwriteCancelled = 4,
};

// What the wizard adds to the option set: its background picture and the
// step 4 boxes that are not options.
struct TGenerationParams {
  std::string BackgroundImagePath;  // full path; used only when UseBackgroundImage
  bool UseBackgroundImage = false;  // BackgroundImageCheckBox
  bool CopySourceImages = true;     // "Copy source images"
  bool ConvertToJPEG = true;        // ConvertWebIncompatibleToJPEGCheckBox
  // The answer state a run starts with: the wizard always asks; a caller
  // that cannot ask starts from "never" or "always".
  int InitialOverwriteAnswer = kOverwriteAsk;
  // Threads that load and scale pictures while the run writes: 1 is a plain
  // loop on the calling thread, 0 or less as many as there are cores. The
  // gallery is the same whatever the number.
  int Jobs = 0;
};

// The boxes as the wizard's interlocks leave them for these options: copy
// exactly when pictures do not keep their location, convert only while
// copying and only when the option says so.
TGenerationParams ParamsForOptions(const TGallerySet& options);

enum class TRunOutcome {
  Done,     // the end was reached (also when nothing had to be written)
  Stopped,  // a failure, Cancel or Abort ended the run; what was written stays
};

class TGenerationRun {
 public:
  TGenerationRun(IRunHost& host, IRunFileSystem& fileSystem);

  // The run itself. Never throws; an unexpected failure stops the run and is
  // reported as TRunMessage::Unexpected. Pictures may be loaded and scaled on
  // worker threads (TGenerationParams::Jobs), but every file is written and
  // every host call made from the calling thread, in list order.
  TRunOutcome Execute(TImageGalleryList& list, TGallerySet& options,
                      const TGenerationParams& params);

  // The buttons. Safe to call from another thread or from the host's
  // ProcessEvents; they only set the flags the run checks.
  void Freeze();    // "Free&ze": pause at the next check point
  void Continue();  // "&Continue"
  void Abort();     // "&Abort", or the window closing

  bool Paused() const { return paused_; }
  bool AbortRequested() const { return abortRequested_; }
  int OverwriteAnswer() const { return overwriteAnswer_; }
  // Full path of the page "&Show me!" opens; kept across runs.
  const std::string& GalleryStartPage() const { return galleryStartPage_; }
  void SetGalleryStartPage(const std::string& path) { galleryStartPage_ = path; }

  // The guarded writers: try once, and while the try failed, retry is on and
  // no abort is requested, tell a write error (abort) from a full disk (wait
  // paused, then try again). True when the last try succeeded.
  bool WriteTextFileGuarded(const std::string& path, const std::string& text, bool retry,
                            bool report);
  bool WriteJPEGFileGuarded(const std::string& path, const Bitmap& bitmap, int quality,
                            bool retry, bool report, bool progressive, bool smoothing);
  bool CopyFileGuarded(const std::string& source, const std::string& target, bool retry,
                       bool report);
  // The overwrite question; updates OverwriteAnswer. True when the file may
  // be written.
  bool ConfirmOverwrite(const std::string& path);
  // The check point after every unit of work.
  void WaitWhilePaused();

 private:
  enum class TGuardKind { Text, JPEG, Copy };
  template <typename Operation>
  bool Guarded(Operation&& operation, std::int64_t neededSize, const std::string& target,
               TGuardKind kind, bool retry, bool report);
  TRunOutcome Run(TImageGalleryList& list, TGallerySet& options, const TGenerationParams& params);
  // The phases of a run, in order; false when the run must stop.
  struct TRunPlan;
  enum class TFolders { Made, Missing, Refused };
  bool PrepareNames(TRunPlan& plan);
  TFolders MakeFolders(TRunPlan& plan);
  bool CopyBackground(TRunPlan& plan);
  bool WritePictures(TRunPlan& plan);
  bool WritePicture(TRunPlan& plan, TImageGalleryItem& item, const TPreparedPicture& picture);
  bool WriteImagePages(TRunPlan& plan);
  bool WriteTablePages(TRunPlan& plan);
  bool WriteIndexAndFrameset(TRunPlan& plan);
  bool WriteListAndOptions(TRunPlan& plan);
  bool WriteEncodedJPEGGuarded(const std::string& path, const std::optional<std::string>& bytes,
                               int width, int height);
  void ShowWriteError();
  // Lets events run, waits while paused; true when the run must stop.
  bool CheckPoint();
  TRunOutcome Stop();
  TRunOutcome Finish();
  void Advance(TProgressBar bar);
  void ShowDiskFull(const std::string& target);

  IRunHost& host_;
  IRunFileSystem& fs_;
  std::atomic<bool> paused_{false};
  std::atomic<bool> abortRequested_{false};
  std::mutex flagMutex_;
  std::condition_variable flagChanged_;
  int overwriteAnswer_ = kOverwriteAsk;
  std::string galleryStartPage_;
  int thumbPosition_ = 0, thumbMaximum_ = 100;
  int pagePosition_ = 0, pageMaximum_ = 100;
};

// Bytes the bitmap takes as an uncompressed BMP stream: the room a JPEG of
// it needs at most, for the full-disk test.
std::int64_t UncompressedBmpSize(int width, int height);

}  // namespace zelvora
