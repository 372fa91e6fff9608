#pragma once
// A file system for run tests: real files in a temporary folder, with
// failures on demand, and a log of every write and copy in order.

#include <functional>
#include <string>
#include <vector>

#include "generation/RunFileSystem.h"

namespace zelvora::test {

class TTestFileSystem : public TRealFileSystem {
 public:
  // Writes and copies whose target path contains this text fail, while the
  // disk reports plenty of room (a write error, not a full disk).
  std::string FailWritesTo;
  std::string FailCopiesTo;
  // While set, every write and copy fails and the disk reports no room.
  bool DiskFull = false;
  // Free space reported when the disk is not full; -1 means "cannot tell".
  std::int64_t FreeBytes = std::int64_t{1} << 40;
  // Called before each write or copy with its target.
  std::function<void(const std::string& target)> BeforeWrite;
  // The attempt of this number (counting every write and copy from 1) runs
  // on the real disk with the file size limited to half its bytes, so it
  // fails part way through as a filling disk makes it; 0 for none.
  // DiskFullOnCut makes the disk report no room while that attempt fails.
  int CutAttempt = 0;
  bool DiskFullOnCut = false;
  int Attempts = 0;

  // Targets of the successful writes and copies, in order.
  std::vector<std::string> Written;
  int FailedAttempts = 0;

  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool CopyFile(const std::string& source, const std::string& target) override;
  std::int64_t FreeSpace(const std::string& path) override;
  std::string VolumeOf(const std::string& path) override { return "/test-volume"; }

  // Names of Written relative to folder (with "/" between parts).
  std::vector<std::string> WrittenBelow(const std::string& folder) const;

 private:
  bool Fails(const std::string& target, const std::string& failText);
  // Runs write with the process's file size limited to limit bytes.
  template <typename Write>
  bool CutShort(std::int64_t limit, Write&& write);
  bool cutNow_ = false;
};

}  // namespace zelvora::test
