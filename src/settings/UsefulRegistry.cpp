#include "settings/UsefulRegistry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "util/FileUtils.h"

namespace zelvora {
namespace {

// Insertion order keeps the file readable: list entries stay 1, 2, ... 10.
using TJson = nlohmann::ordered_json;
namespace fs = std::filesystem;

enum class TFileState { Missing, Good, Damaged, Unreadable };

struct TStore {
  TFileState state = TFileState::Missing;
  TJson doc = TJson::object();
};

const char* RootName(TRegistryRoot root) {
  return root == TRegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Names of keys and values are compared without regard to letter case, as
// in the platform store the program was first written for.
TJson::iterator FindMember(TJson& object, std::string_view name) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (SameName(it.key(), name)) return it;
  }
  return object.end();
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The store nests the root, "Software", the vendor, the program and its
// keys; callers add a few levels at most. A file nested far deeper was not
// written by us, and copying or writing such a tree would recurse once per
// level, deep enough to overflow the stack.
constexpr int kMaxNesting = 64;

// True when objects or arrays nest deeper than limit. Counts brackets
// outside strings without building anything.
bool NestsDeeperThan(std::string_view text, int limit) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      if (++depth > limit) return true;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return false;
}

TStore LoadStore(const std::string& filePath) {
  TStore store;
  std::error_code ec;
  if (filePath.empty()) {
    store.state = TFileState::Unreadable;
    return store;
  }
  if (!fs::exists(filePath, ec)) {
    store.state = ec ? TFileState::Unreadable : TFileState::Missing;
    return store;
  }
  std::ifstream in(filePath, std::ios::binary);
  if (!in) {
    store.state = TFileState::Unreadable;
    return store;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) {
    store.state = TFileState::Unreadable;
    return store;
  }
  std::string text = bytes.str();
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    store.state = TFileState::Good;  // an empty file holds nothing worth keeping
    return store;
  }
  if (NestsDeeperThan(text, kMaxNesting)) {
    store.state = TFileState::Damaged;
    return store;
  }
  TJson doc = TJson::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    store.state = TFileState::Damaged;
    return store;
  }
  store.state = TFileState::Good;
  store.doc = std::move(doc);
  return store;
}

bool SaveStore(const std::string& filePath, const TStore& store) {
  // A file we could not read may still hold the user's settings: never
  // overwrite it blindly.
  if (store.state == TFileState::Unreadable) return false;
  std::string text = store.doc.dump(2) + "\n";  // throws on bytes that are not UTF-8
  std::error_code ec;
  fs::path target(filePath);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  if (store.state == TFileState::Damaged) {
    // Keep the damaged file for the user before it is replaced.
    fs::rename(target, fs::path(filePath + ".damaged"), ec);
    if (ec) return false;
  }
  return WriteFileAtomically(filePath, text);
}

// The key object at the path, or null. With create, missing keys are made
// and created is set.
TJson* Navigate(TJson& doc, TRegistryRoot root, std::string_view path, bool create,
                bool* created) {
  TJson* key = &doc;
  std::vector<std::string> parts = SplitKeyPath(path);
  parts.insert(parts.begin(), RootName(root));
  for (const std::string& part : parts) {
    auto it = FindMember(*key, part);
    if (it == key->end()) {
      if (!create) return nullptr;
      (*key)[part] = TJson::object();
      if (created) *created = true;
      key = &(*key)[part];
    } else if (it->is_object()) {
      key = &*it;
    } else {
      return nullptr;  // a value holds that name
    }
  }
  return key;
}

// The parent of the key at the path and the key's own name; null for the root.
TJson* ParentOf(TJson& doc, TRegistryRoot root, std::string_view path, std::string& name) {
  std::vector<std::string> parts = SplitKeyPath(path);
  if (parts.empty()) return nullptr;
  name = parts.back();
  std::string parentPath;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
  return Navigate(doc, root, parentPath, false, nullptr);
}

void DeleteKeyIfEmpty(TJson& doc, TRegistryRoot root, std::string_view path) {
  std::string name;
  TJson* parent = ParentOf(doc, root, path, name);
  if (!parent) return;
  auto it = FindMember(*parent, name);
  if (it != parent->end() && it->is_object() && it->empty()) parent->erase(it);
}

bool IsValue(const TJson& member) { return !member.is_object(); }

std::optional<std::int32_t> AsInteger(const TJson& member) {
  if (!member.is_number_integer()) return std::nullopt;
  if (member.is_number_unsigned()) {
    auto value = member.get<std::uint64_t>();
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
  }
  auto value = member.get<std::int64_t>();
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// Reads the store and looks the value up; null when the key or value is missing.
const TJson* FindValue(TJson& doc, TRegistryRoot root,
                       std::string_view path, std::string_view name) {
  TJson* key = Navigate(doc, root, path, false, nullptr);
  if (!key) return nullptr;
  auto it = FindMember(*key, name);
  if (it == key->end() || !IsValue(*it)) return nullptr;
  return &*it;
}

// Sets one value in an open key; false when a subkey holds the name.
bool PutValue(TJson& key, std::string_view name, TJson value) {
  auto it = FindMember(key, name);
  if (it == key.end()) {
    key[std::string(name)] = std::move(value);
    return true;
  }
  if (it->is_object()) return false;
  *it = std::move(value);
  return true;
}

std::string IndexedName(std::string_view baseName, long long index) {
  return std::string(baseName) + std::to_string(index);
}

}  // namespace

TUsefulRegistry::TUsefulRegistry() : filePath_(DefaultSettingsPath()) {}

TUsefulRegistry::TUsefulRegistry(std::string filePath) : filePath_(std::move(filePath)) {}

std::string TUsefulRegistry::DefaultSettingsPath() {
  try {
    const char* explicitPath = std::getenv("ZELVORA_SETTINGS");
    if (explicitPath && *explicitPath) return explicitPath;
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    if (appData && *appData) return (fs::path(appData) / "zelvora" / "settings.json").string();
    return "settings.json";
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // Relative XDG paths are invalid by the base-directory rules and are ignored.
    if (xdg && *xdg == '/') return (fs::path(xdg) / "zelvora" / "settings.json").string();
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
      home = h;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
      home = pw->pw_dir;
    }
    if (home.empty()) return std::string();
    return (fs::path(home) / ".config" / "zelvora" / "settings.json").string();
#endif
  } catch (...) {
    return std::string();
  }
}

void TUsefulRegistry::SetRootKey(TRegistryRoot root) {
  root_ = root;
  currentPath_.clear();
}

bool TUsefulRegistry::OpenKey(std::string_view path, bool canCreate) {
  try {
    CloseKey();
    TStore store = LoadStore(filePath_);
    bool created = false;
    TJson* key = Navigate(store.doc, root_, path, canCreate, &created);
    if (!key) return false;
    if (created && !SaveStore(filePath_, store)) return false;
    currentPath_ = std::string(path);
    return true;
  } catch (...) {
    return false;
  }
}

void TUsefulRegistry::CloseKey() { currentPath_.clear(); }

bool TUsefulRegistry::ValueExists(std::string_view path, std::string_view name) {
  try {
    TStore store = LoadStore(filePath_);
    return FindValue(store.doc, root_, path, name) != nullptr;
  } catch (...) {
    return false;
  }
}

std::string TUsefulRegistry::ReadString(std::string_view path, std::string_view name,
                                        const std::string& defaultValue) {
  try {
    TStore store = LoadStore(filePath_);
    const TJson* value = FindValue(store.doc, root_, path, name);
    if (!value || !value->is_string()) return defaultValue;
    return value->get<std::string>();
  } catch (...) {
    return defaultValue;
  }
}

std::int32_t TUsefulRegistry::ReadInteger(std::string_view path, std::string_view name,
                                          std::int32_t defaultValue) {
  try {
    TStore store = LoadStore(filePath_);
    const TJson* value = FindValue(store.doc, root_, path, name);
    if (!value) return defaultValue;
    return AsInteger(*value).value_or(defaultValue);
  } catch (...) {
    return defaultValue;
  }
}

bool TUsefulRegistry::ReadBool(std::string_view path, std::string_view name, bool defaultValue) {
  return ReadInteger(path, name, defaultValue ? 1 : 0) != 0;
}

TColor TUsefulRegistry::ReadColor(std::string_view path, std::string_view name,
                                  TColor defaultValue) {
  return static_cast<TColor>(ReadInteger(path, name, static_cast<std::int32_t>(defaultValue)));
}

namespace {

bool WriteOne(const std::string& filePath, TRegistryRoot root, std::string_view path,
              std::string_view name, TJson value) {
  TStore store = LoadStore(filePath);
  TJson* key = Navigate(store.doc, root, path, true, nullptr);
  if (!key || !PutValue(*key, name, std::move(value))) return false;
  return SaveStore(filePath, store);
}

}  // namespace

bool TUsefulRegistry::WriteString(std::string_view path, std::string_view name,
                                  const std::string& value) {
  try {
    return WriteOne(filePath_, root_, path, name, TJson(value));
  } catch (...) {
    return false;
  }
}

bool TUsefulRegistry::WriteInteger(std::string_view path, std::string_view name,
                                   std::int32_t value) {
  try {
    return WriteOne(filePath_, root_, path, name, TJson(value));
  } catch (...) {
    return false;
  }
}

bool TUsefulRegistry::WriteBool(std::string_view path, std::string_view name, bool value) {
  return WriteInteger(path, name, value ? 1 : 0);
}

bool TUsefulRegistry::WriteColor(std::string_view path, std::string_view name, TColor value) {
  return WriteInteger(path, name, static_cast<std::int32_t>(value));
}

bool TUsefulRegistry::DeleteValue(std::string_view path, std::string_view name) {
  try {
    TStore store = LoadStore(filePath_);
    // Opening with creation and deleting the emptied key again leaves nothing
    // behind, so a missing key simply means nothing was deleted.
    TJson* key = Navigate(store.doc, root_, path, false, nullptr);
    if (!key) return false;
    auto it = FindMember(*key, name);
    if (it == key->end() || !IsValue(*it)) return false;
    key->erase(it);
    if (key->empty()) DeleteKeyIfEmpty(store.doc, root_, path);
    return SaveStore(filePath_, store);
  } catch (...) {
    return false;
  }
}

bool TUsefulRegistry::ReadList(std::string_view path, std::string_view baseName,
                               TStringList& list, int firstIndex) {
  try {
    list.clear();
    TStore store = LoadStore(filePath_);
    TJson* key = Navigate(store.doc, root_, path, false, nullptr);
    if (!key) return false;
    for (long long index = firstIndex; index <= std::numeric_limits<int>::max(); ++index) {
      auto it = FindMember(*key, IndexedName(baseName, index));
      if (it == key->end() || !IsValue(*it)) break;
      list.push_back(it->is_string() ? it->get<std::string>() : std::string());
    }
    return !list.empty();
  } catch (...) {
    return false;
  }
}

bool TUsefulRegistry::WriteList(std::string_view path, std::string_view baseName,
                                const TStringList& list, int firstIndex) {
  try {
    TStore store = LoadStore(filePath_);
    bool created = false;
    TJson* key = Navigate(store.doc, root_, path, !list.empty(), &created);
    bool changed = created;
    if (key) {
      for (long long index = firstIndex; index <= std::numeric_limits<int>::max(); ++index) {
        auto it = FindMember(*key, IndexedName(baseName, index));
        if (it == key->end() || !IsValue(*it)) break;
        key->erase(it);
        changed = true;
      }
      if (list.empty() && changed && key->empty()) DeleteKeyIfEmpty(store.doc, root_, path);
    } else if (!list.empty()) {
      return false;
    }
    long long lastIndex = static_cast<long long>(firstIndex) + static_cast<long long>(list.size());
    if (lastIndex - 1 > std::numeric_limits<int>::max()) return false;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!PutValue(*key, IndexedName(baseName, firstIndex + static_cast<long long>(i)),
                    TJson(list[i]))) {
        return false;  // nothing saved: the stored list stays as it was
      }
      changed = true;
    }
    return !changed || SaveStore(filePath_, store);
  } catch (...) {
    return false;
  }
}

}  // namespace zelvora
