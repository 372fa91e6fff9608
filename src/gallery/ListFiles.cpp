#include "gallery/ListFiles.h"

#include <unordered_map>

#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

namespace {

constexpr std::string_view kContentValue = "The image gallery list";
// Written and recognised as they stand, whatever the interface language says.
constexpr std::string_view kSeparatorPath = "------ new page ------";
constexpr std::string_view kSeparatorComment = "The page separator";
constexpr std::string_view kCRLF = "\r\n";

std::string EscapeField(std::string_view text) {
  static const std::string set = std::string(StandardEscapeSet()) + '"';
  return EscapeText(text, set);
}

void AppendEntryLine(std::string& out, std::string_view path, std::string_view comment) {
  out += '"';
  out += EscapeField(path);
  out += "\" \"";
  out += EscapeField(comment);
  out += "\" \"\"";
  out += kCRLF;
}

// A NUL byte ends the text.
TStringList SplitText(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return SplitLines(text);
}

bool IsContentHeaderValid(const TStringList& lines) {
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (!SameText(std::string_view(line).substr(0, eq), "Content")) continue;
    return LowerCase(Trim(std::string_view(line).substr(eq + 1))) == LowerCase(kContentValue);
  }
  return false;
}

std::string CountsMessage(int notFound, int duplicates) {
  std::string message;
  if (notFound > 0) {
    message += "\r\n  " + std::to_string(notFound) + " " + InterfaceText(TextId::FilesNotFound) +
               "  ";
  }
  if (duplicates > 0) {
    message += "\r\n  " + std::to_string(duplicates) + " " +
               InterfaceText(TextId::DuplicatedFiles) + "  ";
  }
  return message;
}

std::string LoadIgl(TImageGalleryList& list, const TStringList& lines) {
  if (!IsContentHeaderValid(lines)) return InterfaceText(TextId::UnknownFileFormat);

  std::unordered_map<std::string, TImageGalleryItem*> known;
  for (int i = 0; i < list.Count(); ++i) {
    TImageGalleryItem* item = list.Items(i);
    if (item->IsImage()) known.emplace(PathIdentityKey(item->FileName), item);
  }

  std::size_t body = 0;
  while (body < lines.size() && !IsBlank(lines[body])) ++body;
  while (body < lines.size() && IsBlank(lines[body])) ++body;

  int notFound = 0, duplicates = 0;
  for (std::size_t n = body; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (IsBlank(line)) continue;
    std::size_t position = 1;
    const std::string rawPath = ReadListField(line, position);
    const std::string rawComment = ReadListField(line, position);
    ReadListField(line, position);  // the spare field
    const std::optional<std::string> path = UnescapeText(rawPath);
    const std::optional<std::string> comment = UnescapeText(rawComment);
    // A malformed escape stops the load here; what was read so far stays.
    if (!path || !comment) return InterfaceText(TextId::ErrorTitle);

    TImageGalleryItem* taken = nullptr;
    if (*path == kSeparatorPath) {
      if (!list.InsertSeparator(list.Count())) return InterfaceText(TextId::ErrorTitle);
    } else if (!FileExists(*path)) {
      ++notFound;
    } else if (auto it = known.find(PathIdentityKey(*path)); it != known.end()) {
      taken = it->second;
      ++duplicates;
    } else {
      const int index = list.AddFile(*path);
      if (index >= 0) {
        taken = list.Items(index);
        known.emplace(PathIdentityKey(taken->FileName), taken);
      }
    }
    if (taken && !comment->empty()) taken->Comment = *comment;
  }
  return CountsMessage(notFound, duplicates);
}

std::string LoadRaw(TImageGalleryList& list, const TStringList& lines) {
  int notFound = 0;
  for (const std::string& line : lines) {
    if (IsBlank(line)) {
      if (!list.InsertSeparator(list.Count())) return InterfaceText(TextId::ErrorTitle);
      continue;
    }
    std::string path;
    if (line[0] == '"') {
      std::size_t position = 1;
      path = ReadListField(line, position);
    } else {
      path = Trim(line);
    }
    if (!FileExists(path))
      ++notFound;
    else
      list.AddFile(path);  // a refused type is skipped silently
  }
  return CountsMessage(notFound, 0);
}

}  // namespace

std::string DefaultGeneratorText() { return "\"Zelvora\" http://www.zelvora.example/"; }

std::optional<std::string> TrySaveToText(const TImageGalleryList& list, TListForm form,
                                         std::string_view generator) {
  try {
    std::string out;
    if (form == TListForm::Igl) {
      out += "Version=3\r\n";
      out += "Content=";
      out += kContentValue;
      out += kCRLF;
      out += "Generator=";
      out += generator;
      out += kCRLF;
      out += kCRLF;
      for (const TImageGalleryLine& line : list.Lines()) {
        if (line.Item->IsSeparator())
          AppendEntryLine(out, kSeparatorPath, kSeparatorComment);
        else
          AppendEntryLine(out, line.Item->FileName, line.Item->Comment);
      }
    } else {
      for (const TImageGalleryLine& line : list.Lines()) {
        if (line.Item->IsImage()) out += line.Item->FileName;
        out += kCRLF;
      }
    }
    return out;
  } catch (...) {
    return std::nullopt;
  }
}

std::string SaveToText(const TImageGalleryList& list, TListForm form, std::string_view generator) {
  std::optional<std::string> text = TrySaveToText(list, form, generator);
  return text ? std::move(*text) : std::string();
}

std::string LoadFromText(TImageGalleryList& list, std::string_view text, TListForm form) {
  try {
    const TStringList lines = SplitText(text);
    return form == TListForm::Igl ? LoadIgl(list, lines) : LoadRaw(list, lines);
  } catch (...) {
    try {
      return InterfaceText(TextId::ErrorTitle);
    } catch (...) {
      return "Error";
    }
  }
}

std::string ReadListField(std::string_view line, std::size_t& position) {
  std::size_t i = position < 1 ? 0 : position - 1;  // 0-based from here on
  const std::size_t n = line.size();
  while (i < n && static_cast<unsigned char>(line[i]) <= ' ') ++i;
  if (i >= n) {
    position = n + 1;
    return {};
  }
  std::string field;
  if (line[i] == '"') {
    ++i;
    while (i < n) {
      if (line[i] == '"') {
        if (i + 1 < n && line[i + 1] == '"') {
          field += '"';
          i += 2;
          continue;
        }
        position = i + 2;  // behind the closing quote
        return field;
      }
      field += line[i++];
    }
    position = n + 1;  // no closing quote: the field is empty
    return {};
  }
  while (i < n && static_cast<unsigned char>(line[i]) > ' ') field += line[i++];
  position = i + 1;
  return field;
}

TListForm ListFormOfFilter(int filterIndex) {
  return filterIndex == 2 ? TListForm::RawText : TListForm::Igl;
}

std::string ListFileNameFor(std::string_view typedName, int filterIndex) {
  if (typedName.empty()) return {};
  std::string name(typedName);
  const std::string_view ext = filterIndex == 1 ? ".igl" : filterIndex == 2 ? ".txt" : "";
  if (ext.empty() || name.back() == '.' || SameText(ExtensionOf(name), ext)) return name;
  return name + std::string(ext);
}

std::string OverwriteQuestionText(std::string_view path) {
  return InterfaceText(TextId::FileAlreadyExists) + ":\r\n" + std::string(path) + "\r\n\r\n" +
         InterfaceText(TextId::SureToOverwrite);
}

bool SaveListFile(const TImageGalleryList& list, std::string_view path, TListForm form) {
  try {
    if (path.empty()) return false;
    const std::optional<std::string> text = TrySaveToText(list, form, DefaultGeneratorText());
    if (!text) return false;  // never an empty file over the user's list
    return WriteFileAtomically(path, *text);
  } catch (...) {
    return false;
  }
}

std::optional<std::string> LoadListFile(TImageGalleryList& list, std::string_view path,
                                        TListForm form) {
  try {
    std::optional<std::string> text = ReadTextFile(path);
    if (!text) return std::nullopt;
    return LoadFromText(list, *text, form);
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace zelvora
