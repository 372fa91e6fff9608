#pragma once
// The generation run's host for zelvora-make: progress bars, questions and
// messages on the terminal, or fixed answers when there is none.

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/CommandLine.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "generation/RunHost.h"

namespace zelvora::cli {

class TTerminalHost : public IRunHost {
 public:
  // interactive: standard input and standard error are a terminal. mode:
  // what to do with a picture copy that is already in the output folder.
  TTerminalHost(bool interactive, bool showBars, TOverwriteMode mode = TOverwriteMode::Default);
  void Attach(TGenerationRun* run) { run_ = run; }
  // The list and options of the run, so that an overwrite question about a
  // copy can be answered by its picture. The run must start from
  // kOverwriteAsk: every existing copy then comes to this host, which
  // answers by the mode and counts the answers.
  void Watch(const TImageGalleryList* list, const TGallerySet* options);

  // Installs the Ctrl+C handler: the first one asks the run to abort, a
  // second one ends the program at once.
  static void InstallInterruptHandler();
  static bool Interrupted();

  void SetProgress(TProgressBar bar, int position, int maximum) override;
  void ProcessEvents(bool waiting) override;
  void SetRunState(TRunState state) override;
  void ShowMessage(TRunMessage kind, const std::string& caption,
                   const std::string& text) override;
  TOverwriteReply AskOverwrite(const std::string& path, const std::string& caption,
                               const std::string& text) override;

  // Removes the bars from the screen before other output.
  void ClearBars();

  // Picture copies that were already there, replaced and kept.
  int ReplacedCopies() const { return replaced_; }
  int KeptCopies() const { return kept_; }
  const std::vector<std::string>& KeptCopyPaths() const { return keptPaths_; }
  // Whether the picture of a copy changed since the copy was made: the
  // picture is newer, or, for a plain copy, differs in size. A converted or
  // reduced copy carries its picture's date, so its size says nothing.
  static bool PictureChanged(const std::string& picture, const std::string& copy,
                             bool writtenAsJpeg);

 private:
  void DrawBars();
  // What the overwrite rule says about an existing copy: replace it when its
  // picture changed. A copy of no picture of the list is kept.
  bool CopyIsStale(const std::string& path);
  // The answer typed, lower-cased; nullopt at the end of input.
  std::optional<std::string> ReadAnswer(const std::string& prompt);

  // The standing answer: ask, decide by the picture, replace or keep all.
  enum class TStanding { Ask, ByPicture, ReplaceAll, KeepAll };

  bool interactive_;
  TStanding standing_;
  const TImageGalleryList* list_ = nullptr;
  const TGallerySet* options_ = nullptr;
  // Base names are unique among the copies and stay when a copy is
  // converted to ".jpg": base name -> list index, made at the first question.
  std::unordered_map<std::string, int> copyIndex_;
  bool copyIndexMade_ = false;
  std::mutex askMutex_;
  int replaced_ = 0, kept_ = 0;
  std::vector<std::string> keptPaths_;
  bool showBars_;
  TGenerationRun* run_ = nullptr;
  bool barsShown_ = false;
  bool abortNoted_ = false;
  bool diskFullPending_ = false;
  int thumbPosition_ = 0, thumbMaximum_ = 0;
  int pagePosition_ = 0, pageMaximum_ = 0;
};

}  // namespace zelvora::cli
