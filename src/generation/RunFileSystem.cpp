#include "generation/RunFileSystem.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "util/FileUtils.h"
#include "util/PathUtils.h"

namespace zelvora {

namespace {

// The folder the target will live in, or the nearest one above it that
// exists: free space and the mount point are asked of that.
std::string ExistingFolderFor(const std::string& path) {
  std::string folder = ExistingFolderOf(FolderOf(path));
  return folder.empty() ? std::string(1, PathSeparator()) : folder;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), ec) &&
         !ec;
}

}  // namespace

bool TRealFileSystem::FileExists(const std::string& path) { return zelvora::FileExists(path); }

bool TRealFileSystem::DirectoryExists(const std::string& path) {
  return zelvora::DirectoryExists(path);
}

bool TRealFileSystem::ForceFolders(const std::string& path) {
  return zelvora::ForceFolders(path);
}

bool TRealFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // A full disk often shows only when the buffer is flushed.
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool TRealFileSystem::CopyFile(const std::string& source, const std::string& target) {
  // Copying a file onto itself would truncate it: the picture already is
  // where it should be.
  if (SameFile(source, target)) return true;
  return CopyFileWithDate(source, target);
}

bool TRealFileSystem::SetFileDate(const std::string& path, TDateTime date) {
  return SetFileDateOf(path, date);
}

std::int64_t TRealFileSystem::FileSize(const std::string& path) { return FileSizeOf(path); }

std::int64_t TRealFileSystem::FreeSpace(const std::string& path) {
  return FreeDiskSpace(ExistingFolderFor(path));
}

std::string TRealFileSystem::VolumeOf(const std::string& path) {
  return RootOf(ExistingFolderFor(path));
}

}  // namespace zelvora
