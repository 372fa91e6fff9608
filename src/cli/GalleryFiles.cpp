#include "cli/GalleryFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gallery/ListFiles.h"
#include "html/HtmlHelpers.h"
#include "html/NameMask.h"
#include "imaging/ImageKind.h"
#include "util/DateValue.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparatorPath = "------ new page ------";

// A gallery subfolder from its URL path, as the run makes it; nothing when
// the path would lead out of the gallery.
std::optional<std::string> GalleryFolder(const std::string& outputFolder,
                                         const std::string& urlPath) {
  std::string relative = urlPath;
  for (char& c : relative)
    if (c == '/') c = PathSeparator();
  relative = ExcludeTrailingDelimiters(relative);
  if (relative.empty()) return IncludeTrailingBackslash(outputFolder);
  if (IsPathDelimiter(relative.front())) return std::nullopt;
  for (const fs::path& part : fs::path(relative))
    if (part == "..") return std::nullopt;
  return IncludeTrailingBackslash(JoinPath(outputFolder, relative));
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) { return IsPathDelimiter(c); });
}

// The list's unique-name rule (PrepareNames): a base name taken again gets
// "_1", "_2", ... letter case ignored.
class TNameSet {
 public:
  std::string Claim(const std::string& base) {
    const std::string lowerBase = LowerCase(base);
    if (used_.insert(lowerBase).second) return base;
    int& next = nextSuffix_[lowerBase];
    if (next < 1) next = 1;
    for (;; ++next) {
      const std::string suffix = "_" + std::to_string(next);
      if (used_.insert(lowerBase + suffix).second) {
        ++next;
        return base + suffix;
      }
    }
  }

 private:
  std::unordered_set<std::string> used_;
  std::unordered_map<std::string, int> nextSuffix_;
};

std::string PlainFileName(std::string text) {
  for (char& c : text)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
  return text;
}

struct TOldEntry {
  bool separator = false;
  std::string path;
};

// The entries of an ".igl" text, read as LoadFromText reads them but
// without asking whether the pictures still exist.
std::vector<TOldEntry> ReadOldList(const std::string& text) {
  const TStringList lines = SplitLines(text);
  bool known = false;
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(line.substr(0, eq), "Content")) {
      known = LowerCase(Trim(line.substr(eq + 1))) == "the image gallery list";
      break;
    }
  }
  std::vector<TOldEntry> entries;
  if (!known) return entries;
  std::size_t i = 0;
  while (i < lines.size() && !IsBlank(lines[i])) ++i;
  for (; i < lines.size(); ++i) {
    if (IsBlank(lines[i])) continue;
    std::size_t position = 1;
    std::optional<std::string> path = UnescapeText(ReadListField(lines[i], position));
    if (!path) break;  // the reader stops at a malformed line too
    if (*path == kSeparatorPath) {
      entries.push_back({true, {}});
    } else if (IsImageFile(Trim(*path))) {
      entries.push_back({false, Trim(*path)});
    }
  }
  return entries;
}

// The list's paging rule (PageLastIndex, NextPageStart, PageCount) over the
// kinds of the entries alone.
int PageCountOf(const std::vector<TOldEntry>& entries, int perPage) {
  const int count = static_cast<int>(entries.size());
  if (perPage <= 0) perPage = count;
  int pages = 0;
  for (int start = 0; start < count;) {
    ++pages;
    int i = entries[start].separator ? start + 1 : start;
    int n = 0;
    while (i < count) {
      if (entries[i].separator) {
        --i;
        break;
      }
      ++n;
      ++i;
      if (n > perPage) {
        i -= 2;
        break;
      }
    }
    const int last = std::min(i, count);
    start = last >= count ? last : last + 1;
  }
  return pages;
}

TDateTime DateOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  return DateFromUnixTime(info.st_mtim.tv_sec);
}

using TFileId = std::pair<dev_t, ino_t>;

std::optional<TFileId> FileIdOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return TFileId{info.st_dev, info.st_ino};
}

void AddIfPresent(std::set<std::string>& files, const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (!ec && (fs::is_regular_file(status) || fs::is_symlink(status)))
    files.insert(GalleryPathKey(path));
}

}  // namespace

std::string GalleryPathKey(std::string_view path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(path), ec);
  if (ec) absolute = fs::path(path);
  return absolute.lexically_normal().string();
}

std::set<std::string> PreviousGalleryFiles(const std::string& outputFolder) {
  std::set<std::string> files;
  const std::optional<std::string> listText =
      ReadTextFile(JoinPath(outputFolder, "ImageIndex.igl"));
  if (!listText) return files;
  const std::vector<TOldEntry> entries = ReadOldList(*listText);

  TGallerySet old;  // the defaults when the options file has gone
  old.LoadFromFile(JoinPath(outputFolder, "GalleryOptions.gof"));
  const std::string folder = IncludeTrailingBackslash(outputFolder);
  const bool keep = old.KeepLocationOfImages;
  const bool mayBeReduced = !keep && old.Image_LimitWebPageImageSize && old.Image_ResizeSrcImages;
  const std::string mask = old.RenameImages ? old.RenameImageMask : std::string();
  const std::optional<std::string> thumbFolder = GalleryFolder(folder, old.Thumb_URLPath);
  const std::optional<std::string> imageFolder = GalleryFolder(folder, old.Image_URLPath);

  // The names PrepareNames gave, every listed picture counted as found.
  TNameSet imageNames, thumbNames;
  int number = 0;
  for (const TOldEntry& entry : entries) {
    if (entry.separator) continue;
    ++number;
    const std::string fileName = FileNameOf(entry.path);
    std::string imageName;
    if (keep) {
      imageName = fileName;
    } else {
      std::string base = BaseNameOf(entry.path);
      std::string ext = ExtensionOf(fileName);
      if (!mask.empty()) {
        TFileNameParams params;
        params.number = number;
        params.fileName = fileName;
        params.folder = FolderOf(entry.path);
        params.fileDate = DateOf(entry.path);
        base = PlainFileName(ExpandNameMask(mask, params));
        ext = LowerCase(ext);
      }
      imageName = imageNames.Claim(base) + ext;
    }
    std::string thumbBase = ThumbnailNameOf(imageName);
    thumbBase.resize(thumbBase.size() - 4);  // ".jpg"
    const std::string thumbName = thumbNames.Claim(thumbBase) + ".jpg";

    // Written as JPEG under the name with ".jpg": converted or reduced.
    const bool mayBeJpeg =
        !keep && ((old.ConvertWebIncompatibleImagesToJPEG && !IsWebCompatibleImage(entry.path)) ||
                  mayBeReduced);
    if (thumbFolder && IsPlainFileName(thumbName)) AddIfPresent(files, *thumbFolder + thumbName);
    if (!keep && imageFolder && IsPlainFileName(imageName)) {
      AddIfPresent(files, *imageFolder + imageName);
      if (mayBeJpeg) AddIfPresent(files, *imageFolder + BaseNameOf(imageName) + ".jpg");
    }
    if (IsWebCompatibleImage(imageName) || mayBeJpeg)
      AddIfPresent(files, folder + "image" + std::to_string(number) + ".html");
  }

  const int pages = PageCountOf(entries, ThumbsPerPage(old));
  for (int page = 1; page <= pages; ++page)
    AddIfPresent(files, folder + "page" + std::to_string(page) + ".html");
  AddIfPresent(files, folder + "index.html");
  if (old.Framed_ThumbTablePage) AddIfPresent(files, folder + "pageindex.html");
  // A copy that is its own picture (a gallery written into the picture
  // folder without an image folder) is the picture: never a gallery file.
  std::set<TFileId> pictures;
  for (const TOldEntry& entry : entries)
    if (!entry.separator)
      if (const std::optional<TFileId> id = FileIdOf(entry.path)) pictures.insert(*id);
  std::erase_if(files, [&](const std::string& path) {
    const std::optional<TFileId> id = FileIdOf(path);
    return id && pictures.count(*id);
  });
  // The run copied the background picture into the thumbnail folder and
  // wrote where into the options file.
  if (!old.HTMLPage_Background.empty() && thumbFolder) {
    const std::string name = FileNameOf(old.HTMLPage_Background);
    if (IsPlainFileName(name) && SameText(old.HTMLPage_Background, old.Thumb_URLPath + name))
      AddIfPresent(files, *thumbFolder + name);
  }
  return files;
}

std::set<std::string> FinishedGalleryFiles(const TImageGalleryList& list,
                                           const TGallerySet& options) {
  std::set<std::string> files;
  const std::string folder = IncludeTrailingBackslash(options.OutputFolder);
  for (const char* name : {"index.html", "pageindex.html", "ImageIndex.igl", "GalleryOptions.gof"})
    files.insert(GalleryPathKey(folder + name));
  const int pages = list.PageCount(ThumbsPerPage(options));
  for (int page = 1; page <= pages; ++page)
    files.insert(GalleryPathKey(folder + "page" + std::to_string(page) + ".html"));
  for (int i = 0; i < list.Count(); ++i) {
    const TImageGalleryItem* item = list.Items(i);
    if (!item->IsImage() || item->Number <= 0) continue;
    files.insert(GalleryPathKey(folder + "image" + std::to_string(item->Number) + ".html"));
    if (item->ThumbFileSize <= 0) continue;  // no thumbnail, no copy
    if (!options.ThumbFolder.empty() && IsPlainFileName(item->ThumbName))
      files.insert(GalleryPathKey(options.ThumbFolder + item->ThumbName));
    if (!options.ImageFolder.empty() && IsPlainFileName(item->ImageName))
      files.insert(GalleryPathKey(options.ImageFolder + item->ImageName));
  }
  if (!options.HTMLPage_Background.empty()) {
    std::string relative = options.HTMLPage_Background;
    for (char& c : relative)
      if (c == '/') c = PathSeparator();
    files.insert(GalleryPathKey(folder + relative));
  }
  return files;
}

std::vector<std::string> StaleGalleryFiles(const std::set<std::string>& previous,
                                           const std::set<std::string>& current,
                                           const TImageGalleryList& list) {
  std::set<TFileId> pictures;
  for (int i = 0; i < list.Count(); ++i)
    if (list.IsImage(i))
      if (const std::optional<TFileId> id = FileIdOf(list.Items(i)->FileName)) pictures.insert(*id);
  std::vector<std::string> stale;
  for (const std::string& path : previous) {
    if (current.count(path)) continue;
    const std::optional<TFileId> id = FileIdOf(path);
    if (id && pictures.count(*id)) continue;
    stale.push_back(path);
  }
  return stale;
}

bool TRecordingFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  const bool ok = TRealFileSystem::WriteFile(path, bytes);
  if (ok) Note(path);
  return ok;
}

bool TRecordingFileSystem::CopyFile(const std::string& source, const std::string& target) {
  const bool ok = TRealFileSystem::CopyFile(source, target);
  if (ok) Note(target);
  return ok;
}

std::set<std::string> TRecordingFileSystem::Written() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return written_;
}

void TRecordingFileSystem::Note(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  written_.insert(GalleryPathKey(path));
}

}  // namespace zelvora::cli
