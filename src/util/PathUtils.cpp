#include "util/PathUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/TextUtils.h"

namespace zelvora {

namespace {

bool IsWindows(PathStyle style) { return style == PathStyle::Windows; }

// Delimiters that end a file name: under Windows the drive ":" as well.
bool IsNameDelimiter(char c, PathStyle style) {
  return IsPathDelimiter(c, style) || (IsWindows(style) && c == ':');
}

std::size_t LastNameDelimiter(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsNameDelimiter(path[i - 1], style)) return i - 1;
  return std::string_view::npos;
}

bool AllDelimiters(std::string_view path, PathStyle style) {
  if (path.empty()) return false;
  for (char c : path)
    if (!IsPathDelimiter(c, style)) return false;
  return true;
}

// The drive ("C:") or "\\server\share" part of a Windows path, else empty.
std::string WindowsDriveOf(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && IsPathDelimiter(path[0], PathStyle::Windows) &&
      IsPathDelimiter(path[1], PathStyle::Windows)) {
    // Server, then share: stop before the delimiter that follows the share.
    std::size_t i = 2;
    int delimiters = 0;
    while (i < path.size()) {
      if (IsPathDelimiter(path[i], PathStyle::Windows) && ++delimiters == 2) break;
      ++i;
    }
    return std::string(path.substr(0, i));
  }
  return std::string();
}

// A path the system calls can take: not empty and free of NUL bytes.
bool UsablePath(std::string_view path) {
  return !path.empty() && path.find('\0') == std::string_view::npos;
}

bool StatPath(std::string_view path, struct stat& info) {
  if (!UsablePath(path)) return false;
  return ::stat(std::string(path).c_str(), &info) == 0;
}

// POSIX: the absolute form of path, relative ones taken from the working folder.
std::string AbsolutePosix(std::string_view path) {
  if (!path.empty() && path[0] == '/') return std::string(path);
  std::string cwd;
  for (std::size_t size = 256; size <= 65536; size *= 2) {
    cwd.resize(size);
    if (::getcwd(cwd.data(), cwd.size()) != nullptr) {
      cwd.resize(cwd.find('\0'));
      return JoinPath(cwd, path, PathStyle::Posix);
    }
    if (errno != ERANGE) break;
  }
  return "/" + std::string(path);
}

std::string PosixMountPointOf(std::string_view path) {
  std::string current = ExistingFolderOf(AbsolutePosix(path), PathStyle::Posix);
  if (current.empty()) return "/";
  // A resolved path, so that ".." and links do not mislead the walk up.
  if (char* resolved = ::realpath(current.c_str(), nullptr)) {
    current = resolved;
    ::free(resolved);
  }
  struct stat info {};
  if (::stat(current.c_str(), &info) != 0) return "/";
  while (current != "/") {
    std::string parent = FolderOf(current, PathStyle::Posix);
    if (parent.empty()) parent = "/";
    struct stat parentInfo {};
    if (::stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != info.st_dev) break;
    current = parent;
  }
  return current;
}

}  // namespace

char PathSeparator(PathStyle style) { return IsWindows(style) ? '\\' : '/'; }

bool IsPathDelimiter(char c, PathStyle style) {
  return c == '/' || (IsWindows(style) && c == '\\');
}

std::string FileNameOf(std::string_view path, PathStyle style) {
  const std::size_t at = LastNameDelimiter(path, style);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string FilePathOf(std::string_view path, PathStyle style) {
  const std::size_t at = LastNameDelimiter(path, style);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string FolderOf(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathDelimiter(path[i - 1], style)) {
      // The POSIX root is a folder of its own: "/photo.jpg" lies in "/".
      if (i == 1 && !IsWindows(style)) return "/";
      return std::string(path.substr(0, i - 1));
    }
  }
  if (IsWindows(style)) {
    const std::size_t colon = path.rfind(':');
    if (colon != std::string_view::npos && colon > 0) return std::string(path.substr(0, colon));
  }
  return std::string();
}

std::string BaseNameOf(std::string_view path, PathStyle style) {
  std::string name = FileNameOf(path, style);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string ExtensionOf(std::string_view path, PathStyle style) {
  const std::string name = FileNameOf(path, style);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ExcludeTrailingDelimiters(std::string_view path, PathStyle style) {
  std::size_t end = path.size();
  while (end > 0 && IsPathDelimiter(path[end - 1], style)) --end;
  return std::string(path.substr(0, end));
}

std::string IncludeTrailingBackslash(std::string_view path, PathStyle style) {
  return ExcludeTrailingDelimiters(path, style) + PathSeparator(style);
}

std::string IncludeTrailingSlash(std::string_view path, PathStyle style) {
  return ExcludeTrailingDelimiters(path, style) + '/';
}

std::string NormalizeFolder(std::string_view text, PathStyle style) {
  const std::string trimmed = Trim(text);
  std::string result = ExcludeTrailingDelimiters(trimmed, style);
  if (IsWindows(style)) {
    if (!result.empty() && result == WindowsDriveOf(result)) result += '\\';
  } else if (result.empty() && AllDelimiters(trimmed, style)) {
    result = "/";
  }
  return result;
}

std::string ExistingFolderOf(std::string_view text, PathStyle style) {
  std::string current = Trim(text);
  while (!current.empty() && !DirectoryExists(current)) {
    std::size_t end = current.size();
    while (end > 0 && !IsPathDelimiter(current[end - 1], style)) --end;
    current.resize(end);
    if (!IsWindows(style) && AllDelimiters(current, style)) {
      current = "/";  // the root is as far up as a POSIX path goes
      continue;
    }
    current = ExcludeTrailingDelimiters(current, style);
  }
  return NormalizeFolder(current, style);
}

std::string RootOf(std::string_view path, PathStyle style) {
  if (IsWindows(style)) return WindowsDriveOf(path);
  return PosixMountPointOf(path);
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
  std::size_t skip = 0;
  while (skip < name.size() && IsPathDelimiter(name[skip], style)) ++skip;
  name.remove_prefix(skip);
  if (folder.empty()) return std::string(name);
  return ExcludeTrailingDelimiters(folder, style) + PathSeparator(style) + std::string(name);
}

bool DirectoryExists(std::string_view path) {
  std::string folder = ExcludeTrailingDelimiters(path);
  if (folder.empty() && AllDelimiters(path, kNativePathStyle)) folder = std::string(path);
  struct stat info {};
  return StatPath(folder, info) && S_ISDIR(info.st_mode);
}

bool FileExists(std::string_view path) {
  struct stat info {};
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool ForceFolders(std::string_view path) {
  const std::string folder = ExcludeTrailingDelimiters(path);
  if (folder.empty()) return DirectoryExists(path);
  if (!UsablePath(folder)) return false;
  if (DirectoryExists(folder)) return true;
  // Outermost first: every prefix that ends before a delimiter.
  for (std::size_t i = 1; i <= folder.size(); ++i) {
    if (i < folder.size() && !IsPathDelimiter(folder[i], kNativePathStyle)) continue;
    if (IsPathDelimiter(folder[i - 1], kNativePathStyle)) continue;
    const std::string prefix = folder.substr(0, i);
    if (prefix.size() <= 2 && IsWindows(kNativePathStyle)) continue;  // a drive
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return DirectoryExists(folder);
}

}  // namespace zelvora
