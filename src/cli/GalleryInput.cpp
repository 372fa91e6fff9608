#include "cli/GalleryInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "cli/OptionKeys.h"
#include "gallery/ListFiles.h"
#include "gallery/ScanFolders.h"
#include "imaging/ImageKind.h"
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
  // The first line of a key wins when an options file is read: the last
  // --set of a key goes first, then the current values.
  TStringList combined;
  TStringList setKeys;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    const std::string key = KeyOf(*it);
    const TOptionKeyInfo* info = FindOptionKey(key);
    if (!info) {
      error = "unknown option key \"" + key + "\" (zelvora-make --list-keys lists them)";
      return false;
    }
    const std::string value = it->substr(key.size() + 1);
    if (std::optional<std::string> expected = CheckOptionValue(*info, value)) {
      error = "--set " + *it + ": " + std::string(info->Key) + " takes " + *expected +
              ", not \"" + value + "\"";
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

namespace {

using TFolderId = std::pair<dev_t, ino_t>;

std::optional<TFolderId> FolderIdOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return TFolderId{info.st_dev, info.st_ino};
}

// The folder a gallery's URL path names inside it, or nothing when the
// path is empty (the gallery folder itself) or leads out of it.
std::optional<std::string> SubfolderOf(const std::string& folder, const std::string& urlPath) {
  const std::string relative = ExcludeTrailingDelimiters(urlPath);
  if (relative.empty() || relative.front() == '/' || relative == ".." ||
      relative.starts_with("../") || relative.find("/../") != std::string::npos ||
      relative.ends_with("/.."))
    return std::nullopt;
  return JoinPath(folder, relative);
}

struct TCollected {
  std::string order;  // lower-cased: the ascending order ignores letter case
  std::string path;
};

}  // namespace

bool HoldsGallery(const std::string& folder) {
  return FileExists(JoinPath(folder, "GalleryOptions.gof")) &&
         FileExists(JoinPath(folder, "ImageIndex.igl"));
}

bool CollectFolderPictures(const std::string& folder, bool subfolders,
                           const std::string& outputFolder, const TGallerySet& options,
                           TFolderPictures& result) {
  result = {};
  const std::optional<TFolderId> startId = FolderIdOf(folder);
  if (!startId) return false;
  const std::optional<TFolderId> outputId = FolderIdOf(ExcludeTrailingDelimiters(outputFolder));

  // A start folder that holds a gallery: its pictures count, the gallery's
  // thumbnails and copies do not.
  std::set<TFolderId> leftOut;
  std::vector<std::pair<TFolderId, std::string>> startGalleryParts;
  if (subfolders && (startId == outputId || HoldsGallery(folder))) {
    std::vector<std::string> urlPaths;
    TGallerySet written;
    if (written.LoadFromFile(JoinPath(folder, "GalleryOptions.gof"))) {
      urlPaths.push_back(written.Thumb_URLPath);
      urlPaths.push_back(written.Image_URLPath);
    }
    if (startId == outputId) {
      urlPaths.push_back(options.Thumb_URLPath);
      urlPaths.push_back(options.Image_URLPath);
    }
    for (const std::string& urlPath : urlPaths) {
      const std::optional<std::string> sub = SubfolderOf(folder, urlPath);
      if (!sub) continue;
      if (const std::optional<TFolderId> id = FolderIdOf(*sub)) leftOut.insert(*id);
    }
  }

  std::vector<TCollected> collected;
  std::set<TFolderId> entered = {*startId};
  std::set<TFolderId> reported;
  std::vector<std::string> pending = {folder};
  while (!pending.empty()) {
    const std::string current = std::move(pending.back());
    pending.pop_back();
    std::vector<std::string> found;
    TScanFolders scan;
    scan.StartFolder = current;
    scan.ScanSubfolders = false;
    scan.OnFileFound = [&](const std::string& fullName, int attributes, TDateTime,
                           std::int64_t) {
      if (attributes & kFileAttrDirectory) {
        if (subfolders) found.push_back(fullName);
      } else if ((attributes & kFileAttrSysFile) == 0 && CanLoadImage(fullName)) {
        collected.push_back({LowerCase(fullName), fullName});
      }
    };
    if (!scan.Execute() && current == folder) return false;
    // Depth first as the scanner goes; the order of the pictures is made
    // by the sort below, so the walk's own order does not matter.
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
      const std::optional<TFolderId> id = FolderIdOf(*it);
      if (!id || !entered.insert(*id).second) continue;  // a link cycle or a second way in
      if (id == outputId || leftOut.count(*id) || HoldsGallery(*it)) {
        if (reported.insert(*id).second) result.SkippedFolders.push_back(*it);
        continue;
      }
      pending.push_back(*it);
    }
  }
  std::sort(result.SkippedFolders.begin(), result.SkippedFolders.end());

  // As the wizard adds a folder: ascending full paths, letter case ignored,
  // each picture once.
  std::sort(collected.begin(), collected.end(), [](const TCollected& a, const TCollected& b) {
    return a.order != b.order ? a.order < b.order : a.path < b.path;
  });
  std::unordered_set<std::string> known;
  for (const TCollected& entry : collected)
    if (known.insert(PathIdentityKey(entry.path)).second) result.Paths.push_back(entry.path);
  return true;
}

bool PrepareGalleryInput(const TCommandLine& line, const std::string& programFolder,
                         TGallerySet& options, TImageGalleryList& list, TGenerationParams& params,
                         std::vector<std::string>& notes, std::string& error) {
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
    // Read as the wizard reads it; what it could not take as written is
    // said, not refused.
    if (std::optional<std::string> text = ReadTextFile(line.OptionsFile)) {
      for (std::string& note :
           CheckOptionsFileLines(line.OptionsFile, SplitLines(*text), options))
        notes.push_back(std::move(note));
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
    if (!shown.empty()) notes.push_back(line.ListFile + ": " + shown);
  } else {
    if (!DirectoryExists(line.Folder)) {
      error = "no such folder " + line.Folder;
      return false;
    }
    const std::string folder = AbsolutePath(line.Folder);
    options.SourceFolder = folder;
    options.IncludeSubfolders = line.Subfolders;
    TFolderPictures pictures;
    if (!CollectFolderPictures(folder, line.Subfolders, output, options, pictures)) {
      error = "cannot read the folder " + line.Folder;
      return false;
    }
    list.BeginUpdate();
    for (const std::string& path : pictures.Paths) list.AddFile(path);
    list.EndUpdate();
    if (!pictures.SkippedFolders.empty()) {
      const std::size_t n = pictures.SkippedFolders.size();
      std::string note = "the folder scan leaves out " + std::to_string(n) +
                         (n == 1 ? " folder, as it holds a gallery or is the output folder: "
                                 : " folders, as they hold a gallery or are the output folder: ");
      for (std::size_t i = 0; i < n; ++i)
        note += (i ? ", " : "") + pictures.SkippedFolders[i];
      notes.push_back(note);
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
