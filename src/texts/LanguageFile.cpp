#include "texts/LanguageFile.h"

#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"

namespace zelvora {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct TParsedKey {
  int number = 0;
  bool hint = false;
};

// A whole decimal number, optionally followed by "h" or "H" (blanks allowed
// between). Nothing else is a key.
std::optional<TParsedKey> ParseKey(std::string_view keyText) {
  std::string key = Trim(keyText);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < key.size() && (key[pos] == '+' || key[pos] == '-')) {
    negative = key[pos] == '-';
    ++pos;
  }
  std::size_t digitsStart = pos;
  long long number = 0;
  while (pos < key.size() && IsDigit(key[pos])) {
    number = number * 10 + (key[pos] - '0');
    if (number > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
      return std::nullopt;
    }
    ++pos;
  }
  if (pos == digitsStart) return std::nullopt;
  if (negative) number = -number;
  if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  TParsedKey parsed;
  parsed.number = static_cast<int>(number);
  std::size_t afterNumber = pos;
  while (pos < key.size() && static_cast<unsigned char>(key[pos]) <= ' ') ++pos;
  if (pos < key.size()) {
    if ((key[pos] != 'h' && key[pos] != 'H') || pos + 1 != key.size()) return std::nullopt;
    parsed.hint = true;
  } else if (afterNumber != key.size()) {
    return std::nullopt;
  }
  if (parsed.number == 0) return std::nullopt;
  return parsed;
}

}  // namespace

TLanguageFile ParseLanguageLines(const TStringList& lines) {
  TLanguageFile file;
  try {
    std::size_t first = 0;
    while (first < lines.size() && !IsBlank(lines[first])) ++first;
    if (first == lines.size()) return file;
    file.hasHeader = true;

    // Every line of a key takes the value of its first line.
    std::unordered_map<std::string, std::string> firstValues;
    for (std::size_t i = first + 1; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (IsBlank(line)) continue;
      int lineNumber = static_cast<int>(i) + 1;
      std::size_t equals = line.find('=');
      if (equals == std::string::npos) {
        file.skippedLines.push_back(lineNumber);
        continue;
      }
      std::string key = line.substr(0, equals);
      auto [it, inserted] = firstValues.emplace(LowerCase(key), line.substr(equals + 1));
      std::optional<TParsedKey> parsed = ParseKey(key);
      std::optional<std::string> value = UnescapeText(it->second);
      if (!parsed || !value) {
        file.skippedLines.push_back(lineNumber);
        continue;
      }
      file.entries.push_back({lineNumber, key, parsed->number, parsed->hint, std::move(*value)});
    }
  } catch (...) {
    // What was parsed so far stays usable.
  }
  return file;
}

TLanguageFile ParseLanguageText(std::string_view text) {
  try {
    return ParseLanguageLines(SplitLines(text));
  } catch (...) {
    return TLanguageFile();
  }
}

bool TTagDirectory::Register(ILanguageTarget* target) {
  try {
    if (!target) return false;
    int tag = target->LanguageTag();
    if (tag == 0) return false;
    auto [it, inserted] = targets_.emplace(tag, target);
    return inserted || it->second == target;
  } catch (...) {
    return false;
  }
}

ILanguageTarget* TTagDirectory::Find(int tag) const {
  auto it = targets_.find(tag);
  return it == targets_.end() ? nullptr : it->second;
}

int ApplyInterfaceTexts(const TLanguageFile& file) {
  int applied = 0;
  for (const TLanguageEntry& entry : file.entries) {
    if (entry.hint || !IsInterfaceTextNumber(entry.number)) continue;
    if (SetInterfaceText(entry.number, entry.value)) ++applied;
  }
  return applied;
}

int ApplyObjectTexts(const TLanguageFile& file, const TTagDirectory& directory) {
  int applied = 0;
  for (const TLanguageEntry& entry : file.entries) {
    ILanguageTarget* target = directory.Find(entry.number);
    if (!target) continue;
    try {
      bool done = entry.hint ? target->SetLanguageHint(entry.value)
                             : target->SetLanguageCaption(entry.value);
      if (done) ++applied;
    } catch (...) {
      // An object that refuses its text costs only its own line.
    }
  }
  return applied;
}

bool LoadLanguageFile(const std::string& path, const TTagDirectory& directory,
                      TUsefulRegistry* store, TLanguageLoadReport* report) {
  try {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    std::optional<std::string> text = ReadTextFile(path);
    if (!text) return false;
    TLanguageFile file = ParseLanguageText(*text);

    TLanguageLoadReport counts;
    counts.interfaceTexts = ApplyInterfaceTexts(file);
    counts.objectTexts = ApplyObjectTexts(file, directory);
    counts.ignoredLines = static_cast<int>(file.skippedLines.size());
    for (const TLanguageEntry& entry : file.entries) {
      bool isText = !entry.hint && IsInterfaceTextNumber(entry.number);
      if (!isText && !directory.Find(entry.number)) ++counts.ignoredLines;
    }
    if (report) *report = counts;

    if (store) {
      std::filesystem::path full = std::filesystem::absolute(path, ec);
      store->WriteString(kOptionsKeyPath, "DefLanguageFileName",
                         ec ? path : full.lexically_normal().string());
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zelvora
