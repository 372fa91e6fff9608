#pragma once
// The per-user settings store: a tree of keys addressed by backslash-separated
// paths, whose values are texts or signed 32-bit integers. Kept in one JSON
// file (keys are objects, values strings or integers). Every operation opens
// the file, does one read or write and closes it again; nothing is cached.
// No failure is ever thrown or shown: reads give the default, writes false.

#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/Colors.h"
#include "util/TextUtils.h"

namespace zelvora {

enum class TRegistryRoot { CurrentUser, LocalMachine };

class TUsefulRegistry {
 public:
  // The store of DefaultSettingsPath().
  TUsefulRegistry();
  // The store kept in the given file (tests use a temporary one).
  explicit TUsefulRegistry(std::string filePath);

  // ZELVORA_SETTINGS, else $XDG_CONFIG_HOME/zelvora/settings.json, else
  // ~/.config/zelvora/settings.json.
  static std::string DefaultSettingsPath();
  const std::string& FilePath() const { return filePath_; }

  void SetRootKey(TRegistryRoot root);
  TRegistryRoot RootKey() const { return root_; }

  // Opens the key (creating missing keys when allowed) and remembers its path.
  bool OpenKey(std::string_view path, bool canCreate);
  void CloseKey();
  // The path of the key opened last; empty when none is open.
  const std::string& CurrentPath() const { return currentPath_; }

  bool ValueExists(std::string_view path, std::string_view name);
  // A missing key or value, or a value of the other type, gives the default.
  std::string ReadString(std::string_view path, std::string_view name,
                         const std::string& defaultValue);
  std::int32_t ReadInteger(std::string_view path, std::string_view name,
                           std::int32_t defaultValue);
  bool ReadBool(std::string_view path, std::string_view name, bool defaultValue);
  // Colours keep all 32 bits, the Default mark included.
  TColor ReadColor(std::string_view path, std::string_view name, TColor defaultValue);

  bool WriteString(std::string_view path, std::string_view name, const std::string& value);
  bool WriteInteger(std::string_view path, std::string_view name, std::int32_t value);
  bool WriteBool(std::string_view path, std::string_view name, bool value);
  bool WriteColor(std::string_view path, std::string_view name, TColor value);

  // True when the value was there and is gone. A key left with neither
  // values nor subkeys is deleted with it.
  bool DeleteValue(std::string_view path, std::string_view name);

  // Reads baseName + firstIndex, baseName + firstIndex + 1, ... up to the
  // first missing index. True when at least one entry was read.
  bool ReadList(std::string_view path, std::string_view baseName, TStringList& list,
                int firstIndex = 1);
  // Deletes the stored entries from firstIndex upward, then writes the list.
  // Done as one replacement of the file, so no half-written list remains.
  bool WriteList(std::string_view path, std::string_view baseName, const TStringList& list,
                 int firstIndex = 1);

 private:
  std::string filePath_;
  TRegistryRoot root_ = TRegistryRoot::CurrentUser;
  std::string currentPath_;
};

}  // namespace zelvora
