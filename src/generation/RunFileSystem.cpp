#include "generation/RunFileSystem.h"

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
  // Through a temporary file renamed over the target: a full disk leaves
  // the previous file of that name whole, never an empty or cut one. Not
  // flushed to the platter: gallery files are made again by the next run,
  // and a flush per file would cost more than the file itself.
  return ReplaceFileAtomically(path, bytes, false);
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
