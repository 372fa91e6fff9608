#pragma once
// The keys of the options file as zelvora-make shows and checks them: the
// core's key table, the values each key takes, and what an options file
// holds that its reader could not take as written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gallery/GallerySet.h"

namespace zelvora::cli {

// The key's entry, found without regard to letter case as the options file
// reader finds it; also the two ShowDescription keys that are read but
// never written. nullptr for an unknown key.
const TOptionKeyInfo* FindOptionKey(std::string_view key);

// Nothing when the value suits the key; else what the key takes ("a whole
// number from 1 to 100"). Stricter than the reader, which takes any text:
// booleans are yes/no/true/false/1/0, colours #RRGGBB, numbers in range.
std::optional<std::string> CheckOptionValue(const TOptionKeyInfo& key, std::string_view value);

// Every key of the options file in file order, one line each: key, type,
// default and meaning, in aligned columns.
std::string OptionKeysText();

// The lines of an options file that its reader did not take as written
// (values that do not suit their key, unknown keys), each as a message
// that names the file, the line, and what the option was read as. loaded is
// the option set read from these lines.
std::vector<std::string> CheckOptionsFileLines(const std::string& fileName,
                                               const TStringList& lines,
                                               const TGallerySet& loaded);

}  // namespace zelvora::cli
