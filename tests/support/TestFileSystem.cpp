#include "support/TestFileSystem.h"

namespace zelvora::test {

bool TTestFileSystem::Fails(const std::string& target, const std::string& failText) {
  if (BeforeWrite) BeforeWrite(target);
  if (DiskFull || (!failText.empty() && target.find(failText) != std::string::npos)) {
    ++FailedAttempts;
    return true;
  }
  return false;
}

bool TTestFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  if (Fails(path, FailWritesTo)) return false;
  if (!TRealFileSystem::WriteFile(path, bytes)) return false;
  Written.push_back(path);
  return true;
}

bool TTestFileSystem::CopyFile(const std::string& source, const std::string& target) {
  if (Fails(target, FailCopiesTo)) return false;
  if (!TRealFileSystem::CopyFile(source, target)) return false;
  Written.push_back(target);
  return true;
}

std::int64_t TTestFileSystem::FreeSpace(const std::string& path) {
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
