#pragma once
// Helpers shared by the unit tests.

#include <filesystem>
#include <string>
#include <string_view>

namespace zelvora::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full path of a name inside the folder, as a native path string.
  std::string File(std::string_view name) const;
  // Writes bytes to a file inside the folder (folders made as needed).
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);

}  // namespace zelvora::test
