#pragma once
// A run host that shows nothing: it notes the messages, answers every
// overwrite question the same way and lets a test act at the check points.

#include <functional>
#include <string>
#include <vector>

#include "generation/RunHost.h"

namespace zelvora::test {

class TQuietRunHost : public IRunHost {
 public:
  std::vector<TRunMessage> Kinds;
  std::function<void(bool waiting)> OnEvents;
  TOverwriteReply OverwriteReply = TOverwriteReply::Closed;

  void SetProgress(TProgressBar, int, int) override {}
  void ProcessEvents(bool waiting) override {
    if (OnEvents) OnEvents(waiting);
  }
  void SetRunState(TRunState) override {}
  void ShowMessage(TRunMessage kind, const std::string&, const std::string&) override {
    Kinds.push_back(kind);
  }
  TOverwriteReply AskOverwrite(const std::string&, const std::string&,
                               const std::string&) override {
    return OverwriteReply;
  }
};

}  // namespace zelvora::test
