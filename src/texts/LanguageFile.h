#pragma once
// Language files: lines of "number=text" and "number h=hint" after a header
// that ends at the first blank line. Numbers of the interface-text table
// replace those texts; other numbers address the caption or hint of the
// object carrying that tag.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "util/TextUtils.h"

namespace zelvora {

class TUsefulRegistry;

// One usable line of a language file, its value already unescaped.
struct TLanguageEntry {
  int lineNumber = 0;  // 1-based, in the file
  std::string key;     // the key text as written before the "="
  int number = 0;
  bool hint = false;
  std::string value;
};

struct TLanguageFile {
  bool hasHeader = false;  // a blank line ended a header; without one nothing applies
  std::vector<TLanguageEntry> entries;
  // Lines after the header that were neither blank nor usable: no "=", a key
  // that is no number or 0, or a bad "%" escape.
  std::vector<int> skippedLines;
};

// Parses the lines of a file (CR, LF or CR LF already split off).
TLanguageFile ParseLanguageLines(const TStringList& lines);
TLanguageFile ParseLanguageText(std::string_view text);

// An object whose caption or hint a language file may set: a window, a
// control, a menu item, the application. Each kind decides which property a
// caption text sets (a control without a caption ignores it).
class ILanguageTarget {
 public:
  virtual ~ILanguageTarget() = default;
  virtual int LanguageTag() const = 0;
  // False when the object refuses the text; only that line is skipped.
  virtual bool SetLanguageCaption(const std::string& text) = 0;
  virtual bool SetLanguageHint(const std::string& text) = 0;
};

// The objects by tag. The first object registered for a tag keeps it; tag 0
// means "never translated" and is not registered.
class TTagDirectory {
 public:
  // True when the object now answers to its tag.
  bool Register(ILanguageTarget* target);
  ILanguageTarget* Find(int tag) const;
  std::size_t Count() const { return targets_.size(); }

 private:
  std::map<int, ILanguageTarget*> targets_;
};

// What a load did, for callers that want to know.
struct TLanguageLoadReport {
  int interfaceTexts = 0;  // texts of the interface-text table replaced
  int objectTexts = 0;     // captions and hints set on objects
  int ignoredLines = 0;    // unusable lines and numbers that name nothing
};

// First pass: every caption line whose number is an interface text replaces it.
int ApplyInterfaceTexts(const TLanguageFile& file);
// Second pass: every line whose number names an object sets its caption or hint.
int ApplyObjectTexts(const TLanguageFile& file, const TTagDirectory& directory);

// Reads the file and applies both passes. False, changing nothing, when no
// file exists at the path or it cannot be read. On success the full path
// goes into the store as DefLanguageFileName (when a store is given), even
// when the file had no header and applied nothing.
bool LoadLanguageFile(const std::string& path, const TTagDirectory& directory,
                      TUsefulRegistry* store, TLanguageLoadReport* report = nullptr);

}  // namespace zelvora
