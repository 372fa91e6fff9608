#pragma once
// Every setting the wizard keeps in the settings store: value name, key,
// type and default, with the orders in which the window reads them as it is
// created and writes them as it closes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/UsefulRegistry.h"
#include "util/TextUtils.h"

namespace zelvora {

inline constexpr std::string_view kBaseKeyPath = "Software\\Brennvik Software\\Zelvora";
inline constexpr std::string_view kOptionsKeyPath = "Software\\Brennvik Software\\Zelvora\\Options";
inline constexpr std::string_view kHistoryKeyPath = "Software\\Brennvik Software\\Zelvora\\History";

// Deleted from the options key at every start, never written.
inline constexpr std::string_view kObsoleteIncludeSubfoldersSetting =
    "AutoFillImageListIncludeSubfolders";
// The version text stored as CurrVersion when the window is first shown.
inline constexpr std::string_view kCurrVersionText = "1.26 beta";

enum class TSettingKey { Base, Options, History };
enum class TSettingType { Boolean, Integer, Color, Text, TextList };
enum class TSettingWritten {
  WhenClicked,       // as soon as its check box is clicked
  WhenChanged,       // at every change of its field
  AtClose,           // as the window closes
  AtCloseIfExists,   // as the window closes, only when the box names an existing folder
  AfterLanguageLoad, // after every successful load of a language file
  AtFirstShow,       // each time the window is first shown
  NeverReadBack,     // written when its box changes, never read
};

struct TSettingDef {
  std::string name;
  TSettingKey key;
  TSettingType type;
  std::int64_t number = 0;  // default of a boolean (0 or 1), integer or colour
  std::string text;         // default of a text
  TStringList list;         // default of a text list
  bool programFolderDefault = false;  // the default is the normalized program folder
  TSettingWritten written = TSettingWritten::AtClose;
};

// A value as the wizard holds it: number for booleans, integers and colours
// (a colour's 32 bits as they are), text, or list.
struct TSettingValue {
  std::int64_t number = 0;
  std::string text;
  TStringList list;
  bool operator==(const TSettingValue&) const = default;
};

// The options key in its table order, then the history key, then the base key.
const std::vector<TSettingDef>& SettingsTable();
// Null for a name that is no setting.
const TSettingDef* FindSetting(std::string_view name);
std::string_view SettingKeyPath(TSettingKey key);

// Names read as the window is created (after deleting the obsolete value),
// in order; and those read when it is first shown.
const std::vector<std::string_view>& StartupReadOrder();
const std::vector<std::string_view>& FirstShowReadOrder();
// Names written as the window closes, in order.
const std::vector<std::string_view>& CloseWriteOrder();

// The default of a setting; the program folder is only used for the source folder.
TSettingValue DefaultSettingValue(const TSettingDef& def, std::string_view programFolder = {});
// Reads the setting, giving the fallback when it is missing or of another
// type. A list with no first entry gives the fallback list.
TSettingValue ReadSetting(TUsefulRegistry& store, const TSettingDef& def,
                          const TSettingValue& fallback);
bool WriteSetting(TUsefulRegistry& store, const TSettingDef& def, const TSettingValue& value);

}  // namespace zelvora
