#include "cli/GalleryInput.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "gallery/AddFolderImages.h"
#include "gallery/ListFiles.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora::cli {

namespace fs = std::filesystem;

namespace {

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(path), ec);
  if (ec) return path;
  return absolute.lexically_normal().string();
}

std::string KeyOf(const std::string& line) { return line.substr(0, line.find('=')); }

}  // namespace

std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = fs::absolute(fs::path(argv0 ? argv0 : ""), ec);
  return IncludeTrailingBackslash(exe.parent_path().string());
}

std::string FindTemplatesFolder(const std::string& programFolder) {
  for (const char* relative : {"Templates", "../share/zelvora/Templates"}) {
    std::string candidate = AbsolutePath(programFolder + relative);
    if (DirectoryExists(candidate)) return IncludeTrailingBackslash(candidate);
  }
  return {};
}

bool ApplyOptionLines(TGallerySet& options, const std::vector<std::string>& lines,
                      std::string& error) {
  if (lines.empty()) return true;
  TStringList current;
  if (!options.SaveToStrings(current)) {
    error = "the options cannot be read back";
    return false;
  }
  TStringList known;
  for (const std::string& line : current) known.push_back(KeyOf(line));
  known.push_back("Thumb_Description_ShowDescription");
  known.push_back("Image_Description_ShowDescription");

  // The first line of a key wins when an options file is read: the last
  // --set of a key goes first, then the current values.
  TStringList combined;
  TStringList setKeys;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    std::string key = KeyOf(*it);
    if (IndexOfText(key, known, false) < 0) {
      error = "unknown option key \"" + key + "\"";
      return false;
    }
    setKeys.push_back(key);
    combined.push_back(*it);
  }
  combined.insert(combined.end(), current.begin(), current.end());

  // The file form drops the Default mark of a colour; colours not named
  // keep theirs.
  const TGallerySet before = options;
  std::string folder = options.OptionsFolder;
  if (!options.LoadFromStrings(combined, folder)) {
    options = before;
    error = "malformed \"%\" escape in an option value";
    return false;
  }
  options.OptionsFolder = before.OptionsFolder;
  options.SourceFolder = before.SourceFolder;
  options.IncludeSubfolders = before.IncludeSubfolders;
  options.OutputFolder = before.OutputFolder;
  struct {
    const char* key;
    TColor TGallerySet::*field;
  } colours[] = {
      {"HTMLPage_BGColor", &TGallerySet::HTMLPage_BGColor},
      {"HTMLPage_TextColor", &TGallerySet::HTMLPage_TextColor},
      {"HTMLPage_LinkColor", &TGallerySet::HTMLPage_LinkColor},
      {"HTMLPage_VisitedLinkColor", &TGallerySet::HTMLPage_VisitedLinkColor},
      {"HTMLPage_ActiveLinkColor", &TGallerySet::HTMLPage_ActiveLinkColor},
      {"HTMLPage_DisabledLinkColor", &TGallerySet::HTMLPage_DisabledLinkColor},
  };
  for (const auto& colour : colours)
    if (IndexOfText(colour.key, setKeys, false) < 0)
      options.*colour.field = before.*colour.field;
  return true;
}

bool PrepareGalleryInput(const TCommandLine& line, const std::string& programFolder,
                         TGallerySet& options, TImageGalleryList& list, TGenerationParams& params,
                         std::string& listMessage, std::string& error) {
  // Options, in the wizard's order: defaults, start-up files, the chosen file.
  options.Reset();
  const std::string templates = FindTemplatesFolder(programFolder);
  if (!templates.empty()) LoadStartupOptions(options, templates);
  if (!line.OptionsFile.empty()) {
    if (!FileExists(line.OptionsFile)) {
      error = "cannot read the options file " + line.OptionsFile;
      return false;
    }
    if (!options.LoadFromFile(AbsolutePath(line.OptionsFile))) {
      error = "cannot read the options file " + line.OptionsFile +
              " (malformed \"%\" escape)";
      return false;
    }
  }
  if (!ApplyOptionLines(options, line.SetLines, error)) return false;

  // Output folder, held with a trailing separator.
  const std::string output = AbsolutePath(line.OutputFolder);
  if (FileExists(output)) {
    error = "the output folder " + line.OutputFolder + " is a file";
    return false;
  }
  options.OutputFolder = IncludeTrailingBackslash(output);

  // What leaving step 4 does: no mask without renaming, no reduced copies
  // of pictures that keep their location.
  if (!options.RenameImages) options.RenameImageMask.clear();
  if (options.KeepLocationOfImages) options.Image_ResizeSrcImages = false;

  // The list.
  list.Clear();
  if (!line.ListFile.empty()) {
    std::optional<std::string> text = ReadTextFile(line.ListFile);
    if (!text) {
      error = "cannot read the list file " + line.ListFile;
      return false;
    }
    const TListForm form =
        SameText(ExtensionOf(line.ListFile), ".igl") ? TListForm::Igl : TListForm::RawText;
    std::string message = LoadFromText(list, *text, form);
    std::string shown;
    for (const std::string& part : SplitLines(message)) {
      std::string trimmed = Trim(part);
      if (trimmed.empty()) continue;
      if (!shown.empty()) shown += "; ";
      shown += trimmed;
    }
    if (shown == Trim(InterfaceText(TextId::UnknownFileFormat)) ||
        shown == Trim(InterfaceText(TextId::ErrorTitle))) {
      error = line.ListFile + ": " + shown;
      return false;
    }
    if (!shown.empty()) listMessage = line.ListFile + ": " + shown;
  } else {
    if (!DirectoryExists(line.Folder)) {
      error = "no such folder " + line.Folder;
      return false;
    }
    const std::string folder = AbsolutePath(line.Folder);
    options.SourceFolder = folder;
    options.IncludeSubfolders = line.Subfolders;
    if (!AddFolderImages(list, folder, line.Subfolders)) {
      error = "cannot read the folder " + line.Folder;
      return false;
    }
  }

  // The run's parameters as the wizard's step 4 boxes would be.
  params = ParamsForOptions(options);
  if (!line.BackgroundFile.empty()) {
    if (!FileExists(line.BackgroundFile)) {
      error = "no such background picture " + line.BackgroundFile;
      return false;
    }
    params.BackgroundImagePath = AbsolutePath(line.BackgroundFile);
    params.UseBackgroundImage = true;
  } else if (!line.OptionsFile.empty() && !options.HTMLPage_Background.empty()) {
    // As when the wizard shows a loaded option set: the background picture
    // is found beside the options file.
    std::string relative = options.HTMLPage_Background;
    for (char& c : relative)
      if (c == '/') c = PathSeparator();
    const std::string candidate = options.OptionsFolder + relative;
    if (FileExists(candidate)) {
      params.BackgroundImagePath = candidate;
      params.UseBackgroundImage = true;
    }
  }
  return true;
}

}  // namespace zelvora::cli
