#include "cli/TerminalHost.h"

#include <csignal>
#include <cstdio>
#include <iostream>

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

TTerminalHost::TTerminalHost(bool interactive, bool showBars)
    : interactive_(interactive), showBars_(showBars && interactive) {}

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
  if (!interactive_) return TOverwriteReply::Closed;
  std::cerr << "\r\033[K" << text << "\n";
  barsShown_ = false;
  while (!Interrupted()) {
    std::optional<std::string> answer =
        ReadAnswer("[y] Yes  [n] No  [o] No to All  [e] Yes to All  [c] Cancel: ");
    if (!answer) break;
    if (*answer == "y" || *answer == "yes") return TOverwriteReply::Yes;
    if (*answer == "n" || *answer == "no") return TOverwriteReply::No;
    if (*answer == "o" || *answer == "no to all") return TOverwriteReply::NoToAll;
    if (*answer == "e" || *answer == "yes to all") return TOverwriteReply::YesToAll;
    if (*answer == "c" || *answer == "cancel") return TOverwriteReply::Cancel;
  }
  return TOverwriteReply::Closed;
}

}  // namespace zelvora::cli
