#include "util/FileUtils.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <thread>

#include "util/PathUtils.h"

extern char** environ;

namespace zelvora {

namespace {

bool UsablePath(std::string_view path) {
  return !path.empty() && path.find('\0') == std::string_view::npos;
}

// Closes the descriptor on every path out of a function.
class TFileHandle {
 public:
  explicit TFileHandle(int fd) : fd_(fd) {}
  ~TFileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close succeeded (it can report a
  // delayed write error).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool EnsureFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  return folder.empty() || DirectoryExists(folder) || ForceFolders(folder);
}

bool SetModificationTime(const std::string& path, const std::timespec& time) {
  std::timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = time;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

// Temporary files are named ".zelvora-<pid>-<n>.tmp": short, so a target
// name near the length limit still works, and easy to tell from a gallery's
// own files.
constexpr std::string_view kTemporaryPrefix = ".zelvora-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// Creates a new, empty file beside target; its descriptor, or -1.
int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = FilePathOf(target) + std::string(kTemporaryPrefix) + std::to_string(::getpid()) +
                "-" + std::to_string(counter.fetch_add(1)) + std::string(kTemporarySuffix);
    const int fd = OpenRetrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Replace what a link points to, not the link itself.
std::string LinkTargetOf(const std::string& path) {
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string target = resolved;
      ::free(resolved);
      return target;
    }
  }
  return path;
}

void FsyncFolderOf(const std::string& path) {
  std::string folder = FolderOf(path);
  if (folder.empty()) folder = ".";
  TFileHandle dir(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.Valid()) ::fsync(dir.Get());
}

}  // namespace

std::int64_t FileSizeOf(std::string_view path) {
  if (!UsablePath(path)) return -1;
  struct stat info {};
  if (::stat(std::string(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<std::int64_t>(info.st_size);
}

TDateTime FileDateOf(std::string_view path) {
  if (!UsablePath(path)) return 0.0;
  struct stat info {};
  if (::stat(std::string(path).c_str(), &info) != 0) return 0.0;
  return DateFromUnixTime(info.st_mtim.tv_sec);
}

bool SetFileDateOf(std::string_view path, TDateTime date) {
  if (!UsablePath(path) || !std::isfinite(date)) return false;
  const TDateParts parts = DecodeDateTime(date);
  const std::time_t seconds = UnixTimeFromDate(date);
  if (seconds == static_cast<std::time_t>(-1) && parts.year != 1969) return false;
  std::timespec time{};
  time.tv_sec = seconds;
  time.tv_nsec = static_cast<long>(parts.millisecond) * 1'000'000;
  return SetModificationTime(std::string(path), time);
}

std::int64_t FreeDiskSpace(std::string_view path) {
  std::string folder = ExistingFolderOf(path);
  if (folder.empty()) folder = RootOf(path);
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return -1;
  return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
}

bool HasRoomFor(std::string_view path, std::int64_t bytes) {
  const std::int64_t free = FreeDiskSpace(path);
  // A platform that cannot tell must not stop every write as "disk full".
  if (free < 0) return true;
  const std::int64_t existing = std::max<std::int64_t>(FileSizeOf(path), 0);
  return bytes < free + existing;
}

std::optional<std::string> ReadTextFile(std::string_view path) {
  if (!UsablePath(path)) return std::nullopt;
  TFileHandle file(OpenRetrying(std::string(path).c_str(), O_RDONLY));
  if (!file.Valid()) return std::nullopt;
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
  std::string text;
  try {
    if (S_ISREG(info.st_mode) && info.st_size > 0)
      text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
      const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (got == 0) break;
      text.append(buffer, static_cast<std::size_t>(got));
    }
  } catch (...) {
    return std::nullopt;
  }
  return text;
}

bool WriteTextFile(std::string_view path, std::string_view text) {
  if (!UsablePath(path)) return false;
  const std::string target(path);
  if (!EnsureFolderOf(target)) return false;
  TFileHandle file(OpenRetrying(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666));
  if (!file.Valid()) return false;
  if (!WriteAll(file.Get(), text)) return false;
  return file.Close();
}

bool WriteFileAtomically(std::string_view path, std::string_view bytes, bool durable) {
  if (!UsablePath(path)) return false;
  return EnsureFolderOf(LinkTargetOf(std::string(path))) &&
         ReplaceFileAtomically(path, bytes, durable);
}

bool ReplaceFileAtomically(std::string_view path, std::string_view bytes, bool durable) {
  if (!UsablePath(path)) return false;
  const std::string target = LinkTargetOf(std::string(path));
  std::string temporary;
  TFileHandle file(CreateTemporaryBeside(target, temporary));
  if (!file.Valid()) return false;

  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    ::fchmod(file.Get(), existing.st_mode & 07777);

  const bool written = WriteAll(file.Get(), bytes) && (!durable || ::fsync(file.Get()) == 0) &&
                       file.Close();
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  if (durable) FsyncFolderOf(target);
  return true;
}

bool IsTemporaryFileName(std::string_view name) {
  return name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix);
}

namespace {

// Copies from in to out inside the kernel, from both files' offsets on,
// until the kernel has nothing more to give. False only for a real failure
// (a full disk, an I/O error); a kernel or file system that cannot copy
// this way leaves the rest to the caller.
bool CopyInKernel(int in, int out) {
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  for (;;) {
    const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
    if (copied > 0) continue;
    if (copied == 0) return true;
    switch (errno) {
      case EINTR:
        continue;
      case ENOSYS:
      case EXDEV:
      case EINVAL:
      case EOPNOTSUPP:
      case EBADF:
      case EPERM:
        return true;
      default:
        return false;
    }
  }
}

}  // namespace

bool CopyFileWithDate(std::string_view source, std::string_view target) {
  if (!UsablePath(source) || !UsablePath(target)) return false;
  const std::string from(source), to = LinkTargetOf(std::string(target));
  TFileHandle in(OpenRetrying(from.c_str(), O_RDONLY));
  if (!in.Valid()) return false;
  struct stat sourceInfo {};
  if (::fstat(in.Get(), &sourceInfo) != 0 || S_ISDIR(sourceInfo.st_mode)) return false;

  // Copying a file onto itself would truncate it before reading it.
  struct stat targetInfo {};
  if (::stat(to.c_str(), &targetInfo) == 0) {
    if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
      return true;
    if (S_ISDIR(targetInfo.st_mode)) return false;
  }

  std::string temporary;
  TFileHandle out(CreateTemporaryBeside(to, temporary));
  if (!out.Valid()) return false;
  bool ok = CopyInKernel(in.Get(), out.Get());
  // What the kernel did not copy (a file system or kernel without the call,
  // a file that reports no size) goes through a buffer of ours, from where
  // the kernel stopped.
  char buffer[65536];
  while (ok) {
    const ssize_t got = ::read(in.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (got == 0) break;
    ok = WriteAll(out.Get(), std::string_view(buffer, static_cast<std::size_t>(got)));
  }
  ok = out.Close() && ok;
  // A half-written copy must not pass for the picture, nor replace one.
  if (!ok || !SetModificationTime(temporary, sourceInfo.st_mtim) ||
      ::rename(temporary.c_str(), to.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool OpenDocument(std::string_view pathOrAddress) {
  if (!UsablePath(pathOrAddress)) return false;
  std::string argument(pathOrAddress);
  if (argument[0] == '-') argument = "./" + argument;  // never read as an option

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // Its own session, so closing our terminal does not take the browser along.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

  char program[] = "xdg-open";
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, program, &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return false;
  // Reap the child in the background so it leaves no zombie behind.
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // Without a thread the child stays a zombie until we exit; it still ran.
  }
  return true;
}

}  // namespace zelvora
