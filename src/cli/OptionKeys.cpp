#include "cli/OptionKeys.h"

#include <algorithm>
#include <unordered_map>

#include "util/TextUtils.h"

namespace zelvora::cli {

namespace {

// Read from a file but never written: the reader derives them from the
// show flags.
constexpr TOptionKeyInfo kReadOnlyKeys[] = {
    {"Thumb_Description_ShowDescription", TOptionType::Bool, 0, 0, "",
     "read, then set exactly when a show flag is on"},
    {"Image_Description_ShowDescription", TOptionType::Bool, 0, 0, "",
     "read, then set exactly when a show flag is on"},
};

std::string TypeText(const TOptionKeyInfo& key) {
  switch (key.Type) {
    case TOptionType::Text:
      return "text";
    case TOptionType::Bool:
      return "yes/no";
    case TOptionType::Int:
      return "number " + std::to_string(key.Min) + ".." + std::to_string(key.Max);
    case TOptionType::Color:
      return "colour";
    case TOptionType::URLPath:
      return "folder";
    case TOptionType::EscapedText:
      return "%-escaped text";
  }
  return "text";
}

bool IsStrictBool(std::string_view value) {
  const std::string word = LowerCase(value);
  return word == "yes" || word == "no" || word == "true" || word == "false" || word == "1" ||
         word == "0";
}

bool IsStrictColor(std::string_view value) {
  if (!value.empty() && value.front() == '#') value.remove_prefix(1);
  return value.size() == 6 && std::all_of(value.begin(), value.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
         });
}

std::string KeyOf(const std::string& line) { return line.substr(0, line.find('=')); }

}  // namespace

const TOptionKeyInfo* FindOptionKey(std::string_view key) {
  for (const TOptionKeyInfo& info : OptionKeyTable())
    if (SameText(info.Key, key)) return &info;
  for (const TOptionKeyInfo& info : kReadOnlyKeys)
    if (SameText(info.Key, key)) return &info;
  return nullptr;
}

std::optional<std::string> CheckOptionValue(const TOptionKeyInfo& key, std::string_view value) {
  // The reader trims blanks and control characters off every value.
  const std::string trimmed = Trim(value);
  switch (key.Type) {
    case TOptionType::Text:
    case TOptionType::URLPath:
      return std::nullopt;
    case TOptionType::Bool:
      if (IsStrictBool(trimmed)) return std::nullopt;
      return "yes or no (or true/false, 1/0)";
    case TOptionType::Int: {
      const std::optional<std::int32_t> number = ParseInt(trimmed);
      if (number && *number >= key.Min && *number <= key.Max) return std::nullopt;
      return "a whole number from " + std::to_string(key.Min) + " to " + std::to_string(key.Max);
    }
    case TOptionType::Color:
      if (IsStrictColor(trimmed)) return std::nullopt;
      return "a colour #RRGGBB";
    case TOptionType::EscapedText:
      if (UnescapeText(trimmed)) return std::nullopt;
      return "text in which every \"%\" is followed by two hexadecimal digits";
  }
  return std::nullopt;
}

std::string OptionKeysText() {
  const auto table = OptionKeyTable();
  std::size_t keyWidth = 0, typeWidth = 0, defaultWidth = 0;
  std::vector<std::string> defaults;
  for (const TOptionKeyInfo& key : table) {
    defaults.push_back(key.Default.empty() ? "(empty)" : std::string(key.Default));
    keyWidth = std::max(keyWidth, key.Key.size());
    typeWidth = std::max(typeWidth, TypeText(key).size());
    defaultWidth = std::max(defaultWidth, defaults.back().size());
  }
  std::string text;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const TOptionKeyInfo& key = table[i];
    const std::string type = TypeText(key);
    text += std::string(key.Key) + std::string(keyWidth + 2 - key.Key.size(), ' ');
    text += type + std::string(typeWidth + 2 - type.size(), ' ');
    text += defaults[i] + std::string(defaultWidth + 2 - defaults[i].size(), ' ');
    text += std::string(key.Meaning) + "\n";
  }
  return text;
}

std::vector<std::string> CheckOptionsFileLines(const std::string& fileName,
                                               const TStringList& lines,
                                               const TGallerySet& loaded) {
  // What the reader made of each key, as the set writes it back.
  std::unordered_map<std::string, std::string> readAs;
  TStringList written;
  if (loaded.SaveToStrings(written))
    for (const std::string& line : written)
      readAs[LowerCase(KeyOf(line))] = line.substr(line.find('=') + 1);

  std::vector<std::string> messages;
  std::unordered_map<std::string, std::size_t> firstLine;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;  // the reader skips such lines silently
    const std::string key = line.substr(0, eq);
    const std::string where = fileName + " line " + std::to_string(i + 1) + ": ";
    const TOptionKeyInfo* info = FindOptionKey(key);
    if (!info) {
      messages.push_back(where + "unknown key \"" + key + "\", ignored");
      continue;
    }
    const auto [first, isFirst] = firstLine.emplace(LowerCase(key), i + 1);
    if (!isFirst) {
      messages.push_back(where + "a second " + std::string(info->Key) + " line, ignored (line " +
                         std::to_string(first->second) + " counts)");
      continue;
    }
    const std::string value = line.substr(eq + 1);
    if (std::optional<std::string> expected = CheckOptionValue(*info, value)) {
      std::string message = where + std::string(info->Key) + " takes " + *expected + ", not \"" +
                            Trim(value) + "\"";
      if (auto it = readAs.find(LowerCase(info->Key)); it != readAs.end())
        message += "; read as " + std::string(info->Key) + "=" + it->second;
      messages.push_back(message);
    }
  }
  return messages;
}

}  // namespace zelvora::cli
