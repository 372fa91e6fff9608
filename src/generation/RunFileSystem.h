#pragma once
// The few file-system operations through which the generation run writes a
// gallery. Tests put a file system in between that fails a write, reports a
// full disk until space is freed, or fails a copy.

#include <cstdint>
#include <string>
#include <string_view>

#include "util/DateValue.h"

namespace zelvora {

class IRunFileSystem {
 public:
  virtual ~IRunFileSystem() = default;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates the folder with every missing parent.
  virtual bool ForceFolders(const std::string& path) = 0;
  // Creates or replaces the file with every byte; true when all were
  // written. A failed write leaves an existing file of that name as it was.
  virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;
  // Replaces an existing target; the copy keeps the source's modification
  // time. A failed copy leaves an existing target as it was.
  virtual bool CopyFile(const std::string& source, const std::string& target) = 0;
  virtual bool SetFileDate(const std::string& path, TDateTime date) = 0;
  // -1 when there is no such file.
  virtual std::int64_t FileSize(const std::string& path) = 0;
  // Free bytes on the volume that would hold path; -1 when unknown.
  virtual std::int64_t FreeSpace(const std::string& path) = 0;
  // The drive or mount point that holds path, as the disk-full message names it.
  virtual std::string VolumeOf(const std::string& path) = 0;
};

// The platform's file system.
class TRealFileSystem : public IRunFileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ForceFolders(const std::string& path) override;
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool CopyFile(const std::string& source, const std::string& target) override;
  bool SetFileDate(const std::string& path, TDateTime date) override;
  std::int64_t FileSize(const std::string& path) override;
  std::int64_t FreeSpace(const std::string& path) override;
  std::string VolumeOf(const std::string& path) override;
};

}  // namespace zelvora
