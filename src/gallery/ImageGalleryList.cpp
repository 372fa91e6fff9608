#include "gallery/ImageGalleryList.h"

#include <sys/stat.h>

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "html/NameMask.h"
#include "imaging/ImageKind.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {

std::int32_t PicturesPerPage(std::int64_t rows, std::int64_t columns) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (rows < 1 || columns < 1) return 1;
  // Each factor is clamped first so that the product itself cannot overflow.
  rows = std::min(rows, kMax);
  columns = std::min(columns, kMax);
  const std::int64_t product = rows * columns;
  return static_cast<std::int32_t>(std::min(product, kMax));
}

std::string PathIdentityKey(std::string_view path, PathStyle style) {
  return style == PathStyle::Windows ? LowerCase(path) : std::string(path);
}

std::string ThumbnailNameOf(std::string_view imageName) {
  std::string name = LowerCase(imageName);
  const std::string ext = ExtensionOf(name);
  name.resize(name.size() - ext.size());
  return name + "_thumb.jpg";
}

TImageGalleryList::TImageGalleryList() = default;

TImageGalleryList::~TImageGalleryList() {
  observer_ = nullptr;  // the view may already be gone
  lines_.clear();
}

void TImageGalleryList::SetObserver(TImageGalleryListObserver* observer) { observer_ = observer; }

void TImageGalleryList::BeginUpdate() {
  if (updateDepth_++ == 0 && observer_) observer_->BeginBulkChange();
}

void TImageGalleryList::EndUpdate() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0 && observer_) observer_->EndBulkChange();
}

namespace {

// Ends a bulk change also when the work inside throws.
class TUpdateBracket {
 public:
  explicit TUpdateBracket(TImageGalleryList& list) : list_(list) { list_.BeginUpdate(); }
  ~TUpdateBracket() { list_.EndUpdate(); }
  TUpdateBracket(const TUpdateBracket&) = delete;
  TUpdateBracket& operator=(const TUpdateBracket&) = delete;

 private:
  TImageGalleryList& list_;
};

}  // namespace

TImageGalleryItem* TImageGalleryList::Items(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return lines_[index].Item.get();
}

const TImageGalleryItem* TImageGalleryList::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return lines_[index].Item.get();
}

std::string TImageGalleryList::LineText(int index) const {
  if (index < 0 || index >= Count()) return {};
  return lines_[index].Text;
}

bool TImageGalleryList::IsImage(int index) const {
  const TImageGalleryItem* item = Items(index);
  return item && item->IsImage();
}

bool TImageGalleryList::IsSeparator(int index) const {
  const TImageGalleryItem* item = Items(index);
  return item && item->IsSeparator();
}

void TImageGalleryList::InsertLine(int index, TImageGalleryLine line) {
  const bool tell = observer_ && !InBulk();
  if (tell) observer_->BeginInsertLines(index, index);
  lines_.insert(lines_.begin() + index, std::move(line));
  if (tell) observer_->EndInsertLines();
}

void TImageGalleryList::RemoveLine(int index) {
  const bool tell = observer_ && !InBulk();
  if (tell) observer_->BeginRemoveLines(index, index);
  lines_.erase(lines_.begin() + index);
  if (tell) observer_->EndRemoveLines();
}

void TImageGalleryList::Clear() {
  TUpdateBracket bracket(*this);
  lines_.clear();
  imageCount_ = 0;
}

int TImageGalleryList::AddFile(std::string_view path) {
  try {
    const std::string trimmed = Trim(path);
    if (trimmed.empty() || !IsImageFile(trimmed) || !FileExists(trimmed)) return -1;
    auto item = std::make_unique<TImageGalleryItem>();
    item->Kind = TItemKind::Image;
    item->FileName = trimmed;
    const int index = Count();
    InsertLine(index, TImageGalleryLine{FileNameOf(trimmed), std::move(item)});
    ++imageCount_;
    return index;
  } catch (...) {
    return -1;
  }
}

bool TImageGalleryList::Delete(int index) {
  if (index < 0 || index >= Count()) return false;
  const bool wasImage = IsImage(index);
  RemoveLine(index);
  if (wasImage && imageCount_ > 0) --imageCount_;
  return true;
}

bool TImageGalleryList::InsertSeparator(int index) {
  try {
    auto item = std::make_unique<TImageGalleryItem>();
    item->Kind = TItemKind::Separator;
    item->FileName = InterfaceText(TextId::SeparatorText);
    item->Comment = InterfaceText(TextId::SeparatorComment);
    std::string text = item->FileName;
    index = std::clamp(index, 0, Count());
    InsertLine(index, TImageGalleryLine{std::move(text), std::move(item)});
    return true;
  } catch (...) {
    return false;
  }
}

bool TImageGalleryList::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count()) return false;
  if (from == to) return true;
  const bool tell = observer_ && !InBulk();
  if (tell) observer_->BeginMoveLine(from, to);
  if (from < to) {
    std::rotate(lines_.begin() + from, lines_.begin() + from + 1, lines_.begin() + to + 1);
  } else {
    std::rotate(lines_.begin() + to, lines_.begin() + from, lines_.begin() + from + 1);
  }
  if (tell) observer_->EndMoveLine();
  return true;
}

bool TImageGalleryList::Exchange(int a, int b) {
  if (a < 0 || a >= Count() || b < 0 || b >= Count()) return false;
  if (a == b) return true;
  if (a > b) std::swap(a, b);
  // Two moves, so that an observer can follow with its move notifications.
  Move(a, b);
  Move(b - 1, a);
  return true;
}

int TImageGalleryList::FindNext(int from, TItemKind kind) const {
  for (int i = std::max(from, 0); i < Count(); ++i) {
    if (lines_[i].Item->Kind == kind) return i;
  }
  return -1;
}

int TImageGalleryList::FindPrevious(int from, TItemKind kind) const {
  for (int i = std::min(std::max(from, 0), Count() - 1); i >= 0; --i) {
    if (lines_[i].Item->Kind == kind) return i;
  }
  return -1;
}

int TImageGalleryList::PageLastIndex(int start, int perPage) const {
  const int count = Count();
  if (start < 0) start = 0;
  if (start >= count) return start;
  if (perPage <= 0) perPage = count;
  int i = lines_[start].Item->IsSeparator() ? start + 1 : start;
  int n = 0;
  while (i < count) {
    if (lines_[i].Item->IsSeparator()) {
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
  return std::min(i, count);
}

int TImageGalleryList::NextPageStart(int start, int perPage) const {
  const int last = PageLastIndex(start, perPage);
  return last >= Count() ? last : last + 1;
}

int TImageGalleryList::PageCount(int perPage) const {
  if (Count() <= 0) return 0;
  int pages = 0;
  for (int s = 0; s >= 0 && s < Count(); s = NextPageStart(s, perPage)) ++pages;
  return pages;
}

bool TImageGalleryList::GetPageStarts(std::vector<int>* target, int perPage) const {
  if (!target) return false;
  try {
    target->clear();
    for (int s = 0; s >= 0 && s < Count(); s = NextPageStart(s, perPage)) target->push_back(s);
    return true;
  } catch (...) {
    return false;
  }
}

int TImageGalleryList::ImagesOnPage(int start, int perPage) const {
  if (start < 0) start = 0;
  if (start >= Count()) return 0;
  const int last = std::min(PageLastIndex(start, perPage), Count() - 1);
  int n = 0;
  for (int i = start; i <= last; ++i) {
    if (lines_[i].Item->IsImage()) ++n;
  }
  return n;
}

// ---------------------------------------------------------------------------
// Ordering

namespace {

// The folder part of a path for sorting: before the last delimiter.
std::string SortFolderPath(std::string_view fileName) { return FolderOf(fileName); }

std::string SortFolderName(std::string_view fileName) {
  std::string folder = LowerCase(ExcludeTrailingDelimiters(FolderOf(fileName)));
  std::string inner = FileNameOf(folder);
  if (inner.empty()) return LowerCase(FolderOf(fileName));
  return inner;
}

struct TSortSlot {
  std::string text;  // lower-cased text key
  std::int64_t size = 0;
  TDateTime date = 0;
  TImageGalleryLine line;
};

int CompareSlots(const TSortSlot& a, const TSortSlot& b, TSortKey key) {
  switch (key) {
    case skFileSize:
      return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
    case skFileDate:
      return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    default: {
      const int c = a.text.compare(b.text);
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
  }
}

// The quicksort that moves entries instead of swapping them. Its partition
// of lo..hi around the middle entry P yields, each group in its previous
// order: the left entries not above P, the right entries below P, P, the
// left entries above P, the right entries not below P. It is built here in
// one pass per range instead of with line moves, which gives the same
// result without the quadratic cost of moving lines one by one.
void StableMoveSort(std::vector<TSortSlot>& slots, int lo, int hi, TSortKey key) {
  std::vector<TSortSlot> scratch;
  while (lo < hi) {
    const int m = lo + (hi - lo) / 2;
    scratch.clear();
    scratch.reserve(static_cast<std::size_t>(hi - lo + 1));
    std::vector<int> leftAbove;
    for (int d = lo; d < m; ++d) {
      if (CompareSlots(slots[d], slots[m], key) > 0)
        leftAbove.push_back(d);
      else
        scratch.push_back(std::move(slots[d]));
    }
    std::vector<int> rightRest;
    for (int c = m + 1; c <= hi; ++c) {
      if (CompareSlots(slots[c], slots[m], key) < 0)
        scratch.push_back(std::move(slots[c]));
      else
        rightRest.push_back(c);
    }
    const int e = lo + static_cast<int>(scratch.size());
    scratch.push_back(std::move(slots[m]));
    for (int d : leftAbove) scratch.push_back(std::move(slots[d]));
    for (int c : rightRest) scratch.push_back(std::move(slots[c]));
    std::move(scratch.begin(), scratch.end(), slots.begin() + lo);

    // The two halves are independent; recursing into the smaller one keeps
    // the stack shallow whatever the input.
    int leftLo = lo, leftHi = e - 1, rightLo = e + 1, rightHi = hi;
    if (leftHi - leftLo < rightHi - rightLo) {
      if (leftLo < leftHi) StableMoveSort(slots, leftLo, leftHi, key);
      lo = rightLo;
      hi = rightHi;
    } else {
      if (rightLo < rightHi) StableMoveSort(slots, rightLo, rightHi, key);
      lo = leftLo;
      hi = leftHi;
    }
  }
}

}  // namespace

void TImageGalleryList::SortEntries(TSortKey key) {
  TUpdateBracket bracket(*this);
  if (Count() <= 1) return;
  std::vector<TSortSlot> slots;
  slots.reserve(lines_.size());
  for (TImageGalleryLine& line : lines_) {
    TSortSlot slot;
    TImageGalleryItem& item = *line.Item;
    switch (key) {
      case skFolderPath:
        slot.text = LowerCase(SortFolderPath(item.FileName));
        break;
      case skFolderName:
        slot.text = SortFolderName(item.FileName);
        break;
      case skFileType:
        slot.text = LowerCase(ExtensionOf(item.FileName));
        break;
      case skComment:
        slot.text = LowerCase(item.Comment);
        break;
      case skFileSize:
        // Measured once here, not in every comparison: a missing or empty
        // file would otherwise be measured again and again.
        if (item.IsImage() && item.FileSize <= 0) item.FileSize = FileSizeOf(item.FileName);
        slot.size = item.IsImage() ? item.FileSize : -1;
        break;
      case skFileDate:
        if (item.IsImage() && !(item.FileDate > 0)) item.FileDate = FileDateOf(item.FileName);
        slot.date = item.IsImage() ? item.FileDate : 0;
        break;
    }
    slot.line = std::move(line);
    slots.push_back(std::move(slot));
  }
  StableMoveSort(slots, 0, static_cast<int>(slots.size()) - 1, key);
  for (std::size_t i = 0; i < slots.size(); ++i) lines_[i] = std::move(slots[i].line);
}

void TImageGalleryList::RemoveSeparators() {
  TUpdateBracket bracket(*this);
  for (int i = Count() - 1; i >= 0; --i) {
    if (IsSeparator(i)) Delete(i);
  }
}

void TImageGalleryList::SortByKey(TSortKey key) {
  TUpdateBracket bracket(*this);
  RemoveSeparators();
  SortEntries(key);
}

void TImageGalleryList::SortByDisplayName() {
  TUpdateBracket bracket(*this);
  RemoveSeparators();
  std::vector<std::pair<std::string, TImageGalleryLine>> keyed;
  keyed.reserve(lines_.size());
  for (TImageGalleryLine& line : lines_) keyed.emplace_back(LowerCase(line.Text), std::move(line));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) lines_[i] = std::move(keyed[i].second);
}

void TImageGalleryList::Reverse() {
  TUpdateBracket bracket(*this);
  RemoveSeparators();
  std::reverse(lines_.begin(), lines_.end());
}

void TImageGalleryList::SplitByFolders() {
  TUpdateBracket bracket(*this);
  SortEntries(skFolderPath);
  RemoveSeparators();
  bool seen = false;
  std::string lastFolder;
  for (int i = Count() - 1; i >= 0; --i) {
    if (!IsImage(i)) continue;
    std::string folder = FilePathOf(lines_[i].Item->FileName);
    if (seen && folder != lastFolder) InsertSeparator(i + 1);
    lastFolder = std::move(folder);
    seen = true;
  }
  if (Count() > 0 && seen) InsertSeparator(0);
}

// ---------------------------------------------------------------------------
// Gallery names

namespace {

// The longest file name the file systems we write to accept, in bytes.
constexpr std::size_t kMaxNameBytes = 255;

// The text cut to at most maxBytes bytes, never inside a UTF-8 character.
std::string CutToBytes(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// Case-insensitive set of used base names. Remembers per base the next
// suffix worth trying, so that many equal names cost n log n rather than
// n squared; names are never taken back within one preparation, so every
// suffix below the remembered one stays taken.
class TNameSet {
 public:
  explicit TNameSet(std::size_t expected) { used_.reserve(expected); }
  // A free name made from base that fits room bytes: base itself, else
  // base + "_" + r; base is cut to make room for the suffix. blocked(name)
  // rules out a name for reasons outside the set.
  template <typename Blocked>
  std::string Claim(const std::string& base, std::size_t room, Blocked&& blocked) {
    const std::string stem = CutToBytes(base, room);
    const std::string lowerStem = LowerCase(stem);
    if (!used_.contains(lowerStem) && !blocked(stem)) {
      used_.insert(lowerStem);
      return stem;
    }
    int& next = nextSuffix_[lowerStem];
    if (next < 1) next = 1;
    for (;; ++next) {
      const std::string suffix = "_" + std::to_string(next);
      const std::string candidate =
          CutToBytes(stem, room > suffix.size() ? room - suffix.size() : 0) + suffix;
      const std::string lower = LowerCase(candidate);
      if (used_.contains(lower) || blocked(candidate)) continue;
      used_.insert(lower);
      ++next;
      return candidate;
    }
  }

 private:
  std::unordered_set<std::string> used_;
  std::unordered_map<std::string, int> nextSuffix_;
};

// What lies in the folders a run writes to: the list's own pictures, and
// the names the run will write there. Folders are known by their identity
// on the disk, so two spellings of one folder are one folder.
class TFolderContents {
 public:
  // The identity of a folder: device and inode when it exists, else its
  // spelling (a folder that does not exist holds no picture yet).
  std::string FolderKey(const std::string& folder) {
    auto found = folderKeys_.find(folder);
    if (found != folderKeys_.end()) return found->second;
    struct stat info {};
    std::string key;
    const std::string path = folder.empty() ? std::string(".") : folder;
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
      key = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    else
      key = "?" + IncludeTrailingBackslash(folder);
    folderKeys_.emplace(folder, key);
    return key;
  }
  // The key of a source picture's own file.
  std::string PictureKey(const std::string& path) {
    return FolderKey(FilePathOf(path)) + "/" + PathIdentityKey(FileNameOf(path));
  }
  void AddPicture(const std::string& path) { pictures_.insert(PictureKey(path)); }
  void AddWritten(const std::string& folderKey, const std::string& name) {
    written_.insert(folderKey + "/" + LowerCase(name));
  }
  // True when writing name into the folder would replace a picture of the
  // list (other than `self`) or another file of the run.
  bool Taken(const std::string& folderKey, const std::string& name,
             const std::string* self = nullptr) const {
    if (written_.contains(folderKey + "/" + LowerCase(name))) return true;
    const std::string key = folderKey + "/" + PathIdentityKey(name);
    return pictures_.contains(key) && (self == nullptr || *self != key);
  }

 private:
  std::unordered_map<std::string, std::string> folderKeys_;
  std::unordered_set<std::string> pictures_;
  std::unordered_set<std::string> written_;
};

// Existence, size and date of a picture from one directory lookup: the
// same answers as FileExists, FileSizeOf and FileDateOf, a third of the cost
// on a long list.
struct TFileFacts {
  bool exists = false;
  std::int64_t size = -1;
  TDateTime date = 0;
};

TFileFacts FactsOf(const std::string& path) {
  TFileFacts facts;
  struct stat info {};
  if (path.empty() || path.find('\0') != std::string::npos) return facts;
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return facts;
  facts.exists = true;
  facts.size = static_cast<std::int64_t>(info.st_size);
  facts.date = DateFromUnixTime(info.st_mtim.tv_sec);
  return facts;
}

// A mask may expand to delimiters ("../%n"); a picture name must stay a
// plain name inside the gallery's folder.
std::string PlainFileName(std::string text) {
  for (char& c : text) {
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
  }
  return text;
}

}  // namespace

bool TImageGalleryList::PrepareNames(bool keepOriginalNames, int perPage,
                                     const TNameTargets& targets) {
  try {
    const int count = Count();
    if (perPage <= 0) perPage = std::max(count, 1);
    TNameSet imageNames(count), thumbNames(count);
    // Only a run that writes into a folder needs to know what is there.
    TFolderContents folders;
    const bool checkImages = !targets.ImageFolder.empty();
    const bool checkThumbs = !targets.ThumbFolder.empty();
    std::string imageFolderKey, thumbFolderKey;
    if (checkImages || checkThumbs) {
      for (const TImageGalleryLine& line : lines_)
        if (line.Item->IsImage()) folders.AddPicture(line.Item->FileName);
      if (checkImages) imageFolderKey = folders.FolderKey(targets.ImageFolder);
      if (checkThumbs) thumbFolderKey = folders.FolderKey(targets.ThumbFolder);
    }
    int number = 0, page = 0, onPage = 0, pageEnd = 0;
    for (int i = 0; i < count; ++i) {
      if (i >= pageEnd) {
        pageEnd = NextPageStart(i, perPage);
        if (pageEnd < 0) pageEnd = count;
        ++page;
        onPage = 0;
      }
      TImageGalleryItem& item = *lines_[i].Item;
      if (!item.IsImage()) continue;
      const TFileFacts facts = FactsOf(item.FileName);
      if (!facts.exists) continue;

      item.Number = ++number;
      if (++onPage > perPage) {
        ++page;
        onPage -= perPage;
      }
      item.PageNo = page;
      item.FileSize = facts.size;
      item.FileDate = facts.date;

      const std::string fileName = FileNameOf(item.FileName);
      if (keepOriginalNames) {
        item.ImageName = fileName;
      } else {
        std::string base = BaseNameOf(item.FileName);
        std::string ext = ExtensionOf(fileName);
        if (!RenameMask.empty()) {
          TFileNameParams params;
          params.number = item.Number;
          params.fileName = fileName;
          params.folder = FolderOf(item.FileName);
          params.fileDate = item.FileDate;
          base = PlainFileName(ExpandNameMask(RenameMask, params));
          ext = LowerCase(ext);
        }
        // A picture the run writes as JPEG is named so from the start.
        const bool converted =
            checkImages && targets.ConvertWebIncompatible && !IsWebCompatibleImage(item.FileName);
        if (converted) ext = ".jpg";
        const bool mayBecomeJpeg = checkImages && targets.MayReduce;
        const std::string self = checkImages ? folders.PictureKey(item.FileName) : std::string();
        // A plain copy may land on its own source (it is then left alone);
        // a picture written as JPEG may land on no picture of the list.
        auto blocked = [&](const std::string& candidate) {
          if (!checkImages) return false;
          if (folders.Taken(imageFolderKey, candidate + ext, converted ? nullptr : &self))
            return true;
          return mayBecomeJpeg && folders.Taken(imageFolderKey, candidate + ".jpg");
        };
        const std::size_t extBytes = std::max<std::size_t>(ext.size(), mayBecomeJpeg ? 4 : 0);
        const std::string claimed =
            imageNames.Claim(base, kMaxNameBytes - std::min(extBytes, kMaxNameBytes - 16), blocked);
        item.ImageName = claimed + ext;
        if (checkImages) {
          folders.AddWritten(imageFolderKey, item.ImageName);
          if (mayBecomeJpeg) folders.AddWritten(imageFolderKey, claimed + ".jpg");
        }
      }
      std::string thumbBase = ThumbnailNameOf(item.ImageName);
      thumbBase.resize(thumbBase.size() - 4);  // ".jpg"
      item.ThumbName =
          thumbNames.Claim(thumbBase, kMaxNameBytes - 4,
                           [&](const std::string& candidate) {
                             return checkThumbs && folders.Taken(thumbFolderKey, candidate + ".jpg");
                           }) +
          ".jpg";
      if (checkThumbs) folders.AddWritten(thumbFolderKey, item.ThumbName);
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zelvora
