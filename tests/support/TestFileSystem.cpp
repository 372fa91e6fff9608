#include "support/TestFileSystem.h"

#include <sys/resource.h>

#include <csignal>

#include "util/FileUtils.h"

namespace zelvora::test {

bool TTestFileSystem::Fails(const std::string& target, const std::string& failText) {
  ++Attempts;
  cutNow_ = CutAttempt > 0 && Attempts == CutAttempt;
  if (BeforeWrite) BeforeWrite(target);
  if (DiskFull || (!failText.empty() && target.find(failText) != std::string::npos)) {
    ++FailedAttempts;
    return true;
  }
  return false;
}

template <typename Write>
bool TTestFileSystem::CutShort(std::int64_t limit, Write&& write) {
  // Past the limit a write fails with EFBIG instead of raising SIGXFSZ.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit cut = saved;
  cut.rlim_cur = static_cast<rlim_t>(limit);
  ::setrlimit(RLIMIT_FSIZE, &cut);
  const bool ok = write();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  if (!ok) ++FailedAttempts;
  return ok;
}

bool TTestFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  if (Fails(path, FailWritesTo)) return false;
  const bool ok = cutNow_ ? CutShort(static_cast<std::int64_t>(bytes.size() / 2),
                                     [&] { return TRealFileSystem::WriteFile(path, bytes); })
                          : TRealFileSystem::WriteFile(path, bytes);
  if (!ok) return false;
  Written.push_back(path);
  return true;
}

bool TTestFileSystem::CopyFile(const std::string& source, const std::string& target) {
  if (Fails(target, FailCopiesTo)) return false;
  const bool ok = cutNow_ ? CutShort(FileSizeOf(source) / 2,
                                     [&] { return TRealFileSystem::CopyFile(source, target); })
                          : TRealFileSystem::CopyFile(source, target);
  if (!ok) return false;
  Written.push_back(target);
  return true;
}

std::int64_t TTestFileSystem::FreeSpace(const std::string& path) {
  if (cutNow_ && DiskFullOnCut) return 0;
  return DiskFull ? 0 : FreeBytes;
}

std::vector<std::string> TTestFileSystem::WrittenBelow(const std::string& folder) const {
  std::vector<std::string> names;
  for (const std::string& path : Written) {
    std::string name = path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size())
                                                                   : path;
    while (!name.empty() && name.front() == '/') name.erase(0, 1);
    names.push_back(name);
  }
  return names;
}

}  // namespace zelvora::test
