#include "cli/TerminalHost.h"

#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <iostream>

#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora::cli {

namespace {

volatile std::sig_atomic_t interruptCount = 0;

extern "C" void OnInterrupt(int) {
  interruptCount = interruptCount + 1;
}

std::string Bar(const char* label, int position, int maximum) {
  constexpr int kWidth = 20;
  int filled = maximum > 0 ? static_cast<int>(static_cast<long long>(position) * kWidth / maximum)
                           : 0;
  if (filled > kWidth) filled = kWidth;
  std::string text = label;
  text += " [";
  text.append(static_cast<std::size_t>(filled), '#');
  text.append(static_cast<std::size_t>(kWidth - filled), ' ');
  text += "] " + std::to_string(position) + "/" + std::to_string(maximum);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Trimmed(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace

TTerminalHost::TTerminalHost(bool interactive, bool showBars, TOverwriteMode mode)
    : interactive_(interactive), showBars_(showBars && interactive) {
  switch (mode) {
    case TOverwriteMode::Default:
    case TOverwriteMode::Ask:
      standing_ = interactive ? TStanding::Ask : TStanding::ByPicture;
      break;
    case TOverwriteMode::Never:
      standing_ = TStanding::ByPicture;
      break;
    case TOverwriteMode::Always:
      standing_ = TStanding::ReplaceAll;
      break;
  }
}

void TTerminalHost::Watch(const TImageGalleryList* list, const TGallerySet* options) {
  list_ = list;
  options_ = options;
  copyIndex_.clear();
  copyIndexMade_ = false;
}

bool TTerminalHost::PictureChanged(const std::string& picture, const std::string& copy,
                                   bool writtenAsJpeg) {
  struct stat source {}, target {};
  if (::stat(picture.c_str(), &source) != 0 || ::stat(copy.c_str(), &target) != 0) return false;
  // A second of slack: copies keep their picture's time to the second.
  if (source.st_mtim.tv_sec > target.st_mtim.tv_sec + 1) return true;
  return !writtenAsJpeg && source.st_size != target.st_size;
}

bool TTerminalHost::CopyIsStale(const std::string& path) {
  if (!list_ || !options_ || options_->ImageFolder.empty()) return false;
  if (!copyIndexMade_) {
    // After PrepareNames: the run asks only once every copy has its name.
    for (int i = 0; i < list_->Count(); ++i) {
      const TImageGalleryItem* item = list_->Items(i);
      if (item->IsImage() && item->Number > 0) copyIndex_.emplace(BaseNameOf(item->ImageName), i);
    }
    copyIndexMade_ = true;
  }
  if (FilePathOf(path) != options_->ImageFolder) return false;
  const auto it = copyIndex_.find(BaseNameOf(path));
  if (it == copyIndex_.end()) return false;
  const std::string& picture = list_->Items(it->second)->FileName;
  const bool reducible = options_->Image_LimitWebPageImageSize && options_->Image_ResizeSrcImages;
  const bool writtenAsJpeg = !SameText(ExtensionOf(picture), ExtensionOf(path)) ||
                             (reducible && SameText(ExtensionOf(path), ".jpg"));
  return PictureChanged(picture, path, writtenAsJpeg);
}

void TTerminalHost::InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a question waiting for its answer sees the interrupt.
  // SA_RESETHAND: a second Ctrl+C ends the program the usual way.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

bool TTerminalHost::Interrupted() { return interruptCount > 0; }

void TTerminalHost::ClearBars() {
  if (barsShown_) {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    barsShown_ = false;
  }
}

void TTerminalHost::DrawBars() {
  if (!showBars_) return;
  std::string line = "\r" + Bar("Thumbnails", thumbPosition_, thumbMaximum_) + "  " +
                     Bar("Pages", pagePosition_, pageMaximum_) + "\033[K";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  barsShown_ = true;
}

void TTerminalHost::SetProgress(TProgressBar bar, int position, int maximum) {
  if (bar == TProgressBar::Thumbnails) {
    thumbPosition_ = position;
    thumbMaximum_ = maximum;
  } else {
    pagePosition_ = position;
    pageMaximum_ = maximum;
  }
  DrawBars();
}

std::optional<std::string> TTerminalHost::ReadAnswer(const std::string& prompt) {
  ClearBars();
  std::fputs(prompt.c_str(), stderr);
  std::fflush(stderr);
  std::string answer;
  int c;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') answer.push_back(static_cast<char>(c));
  if (c == EOF) {
    std::fputc('\n', stderr);
    if (std::ferror(stdin) && !std::feof(stdin)) {
      std::clearerr(stdin);  // interrupted by Ctrl+C: the caller looks at the flag
      return std::string();
    }
    return std::nullopt;
  }
  return Lower(Trimmed(answer));
}

void TTerminalHost::ProcessEvents(bool waiting) {
  if (!run_) return;
  if (Interrupted() && !abortNoted_) {
    abortNoted_ = true;
    ClearBars();
    std::fputs("zelvora-make: abort requested; stopping at the next check point\n", stderr);
    run_->Abort();
    return;
  }
  if (!waiting || !interactive_) return;
  // Only a full disk pauses this run: ask until the user decides.
  while (!Interrupted()) {
    std::optional<std::string> answer =
        ReadAnswer("Type continue (after freeing space) or abort: ");
    if (Interrupted() || !answer) break;
    if (*answer == "continue" || *answer == "c") {
      run_->Continue();
      DrawBars();
      return;
    }
    if (*answer == "abort" || *answer == "a") {
      run_->Abort();
      return;
    }
  }
  run_->Abort();
}

void TTerminalHost::SetRunState(TRunState state) {
  if (state != TRunState::Running) ClearBars();
}

void TTerminalHost::ShowMessage(TRunMessage kind, const std::string& caption,
                                const std::string& text) {
  ClearBars();
  std::string title = Trimmed(caption);
  std::cerr << "zelvora-make: " << title << ": " << text << "\n";
  // Without a terminal nobody can free the disk: the run stops.
  if (kind == TRunMessage::DiskFull && !interactive_ && run_) run_->Abort();
}

TOverwriteReply TTerminalHost::AskOverwrite(const std::string& path, const std::string& caption,
                                            const std::string& text) {
  std::lock_guard<std::mutex> lock(askMutex_);
  bool replace = false;
  switch (standing_) {
    case TStanding::ReplaceAll:
      replace = true;
      break;
    case TStanding::KeepAll:
      replace = false;
      break;
    case TStanding::ByPicture:
      replace = CopyIsStale(path);
      break;
    case TStanding::Ask: {
      std::string shown = path;
      if (options_ && !options_->OutputFolder.empty() && path.starts_with(options_->OutputFolder))
        shown = path.substr(options_->OutputFolder.size());
      const std::string prompt =
          shown + " exists. Overwrite it? [y]es, [n]o, n[o] to all, y[e]s to all, [c]ancel ";
      std::optional<std::string> answer;
      while (!Interrupted()) {
        answer = ReadAnswer(prompt);
        if (!answer || Interrupted()) break;
        if (*answer == "y" || *answer == "yes") {
          replace = true;
        } else if (*answer == "n" || *answer == "no") {
          replace = false;
        } else if (*answer == "o" || *answer == "no to all") {
          standing_ = TStanding::KeepAll;
        } else if (*answer == "e" || *answer == "yes to all") {
          standing_ = TStanding::ReplaceAll;
          replace = true;
        } else if (*answer == "c" || *answer == "cancel") {
          return TOverwriteReply::Cancel;
        } else {
          continue;
        }
        break;
      }
      if (Interrupted()) return TOverwriteReply::Cancel;
      if (!answer) {
        // Input ended: nobody is left to ask; the pictures decide.
        standing_ = TStanding::ByPicture;
        replace = CopyIsStale(path);
      }
      DrawBars();
      break;
    }
  }
  // The run keeps its own standing answer at "ask", so that every existing
  // copy comes here and is counted.
  if (replace) {
    ++replaced_;
  } else {
    ++kept_;
    keptPaths_.push_back(path);
  }
  return replace ? TOverwriteReply::Yes : TOverwriteReply::No;
}

}  // namespace zelvora::cli
