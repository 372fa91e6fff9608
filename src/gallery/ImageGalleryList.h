#pragma once
// The image gallery list: the ordered pictures of a gallery with the page
// separators between them, their paging, ordering and gallery file names.
//
// The list keeps its entries as an ordered line list of (display text,
// entry). A list view follows it through TImageGalleryListObserver without
// knowing the list's insides.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gallery/GalleryTargets.h"
#include "util/DateValue.h"
#include "util/PathUtils.h"

namespace zelvora {

enum class TItemKind : std::uint8_t { Image = 0, Separator = 1 };

// One entry. All numbers are 0 and all texts empty when made.
struct TImageGalleryItem {
  TItemKind Kind = TItemKind::Image;
  std::int32_t Number = 0;  // running number among existing pictures, from 1
  std::int32_t PageNo = 0;  // gallery page, from 1
  std::int32_t ImageWidth = 0, ImageHeight = 0;  // published picture, set by the run
  std::int32_t ThumbWidth = 0, ThumbHeight = 0;  // thumbnail, set by the run
  std::int64_t FileSize = 0;  // bytes; 0 = not yet known; -1 = file not found
  TDateTime FileDate = 0;     // modification time; 0 = not yet known or unreadable
  std::int64_t ThumbFileSize = 0;  // written thumbnail, set by the run
  std::string FileName;   // full path; for a separator the separator text
  std::string ImageName;  // name inside the gallery, set by PrepareNames
  std::string ThumbName;  // thumbnail name, set by PrepareNames
  std::string Comment;    // free text, may hold line breaks

  bool IsImage() const { return Kind == TItemKind::Image; }
  bool IsSeparator() const { return Kind == TItemKind::Separator; }
};

// One line of the list: the display text and the entry it shows. The
// display text is set when the entry is made and never changes.
struct TImageGalleryLine {
  std::string Text;
  std::unique_ptr<TImageGalleryItem> Item;
};

enum TSortKey { skFolderPath, skFolderName, skFileType, skFileSize, skFileDate, skComment };

// Told of every change of the lines. Each change comes as a Begin/End pair
// around it (the shape of a Qt item model). Inside a bulk change no single
// notifications are sent: at EndBulkChange the observer re-reads all lines.
// Every index is a line index at the moment of the call.
class TImageGalleryListObserver {
 public:
  virtual ~TImageGalleryListObserver() = default;
  virtual void BeginBulkChange() {}
  virtual void EndBulkChange() {}
  // Lines first..last (inclusive) are about to appear / have appeared.
  virtual void BeginInsertLines(int first, int last) {}
  virtual void EndInsertLines() {}
  // Lines first..last (inclusive) are about to go / have gone.
  virtual void BeginRemoveLines(int first, int last) {}
  virtual void EndRemoveLines() {}
  // The line at from is about to end up at index to (an index of the list
  // after the move; for a Qt model the destination row is to + 1 when
  // to > from, else to).
  virtual void BeginMoveLine(int from, int to) {}
  virtual void EndMoveLine() {}
};

// rows x columns in 64 bits, clamped to 1..INT32_MAX: both may be up to
// 100000, and the product must not wrap.
std::int32_t PicturesPerPage(std::int64_t rows, std::int64_t columns);

// The thumbnail file name of a picture name: lower-cased, extension
// dropped, "_thumb.jpg" appended (IMG_0001.JPG gives img_0001_thumb.jpg).
std::string ThumbnailNameOf(std::string_view imageName);

// The key under which two paths name the same picture: letter case is
// ignored under the Windows style, kept under POSIX, where A.jpg and a.jpg
// are two files.
std::string PathIdentityKey(std::string_view path, PathStyle style = kNativePathStyle);

class TImageGalleryList {
 public:
  TImageGalleryList();
  ~TImageGalleryList();
  TImageGalleryList(const TImageGalleryList&) = delete;
  TImageGalleryList& operator=(const TImageGalleryList&) = delete;

  // One observer at a time; nullptr detaches. The list does not own it.
  void SetObserver(TImageGalleryListObserver* observer);

  // Bulk change bracket; nests. The observer hears BeginBulkChange at the
  // outermost begin and EndBulkChange at the outermost end.
  void BeginUpdate();
  void EndUpdate();

  // Mask for new picture names used by PrepareNames; empty = no renaming.
  std::string RenameMask;

  const std::vector<TImageGalleryLine>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  // Picture entries added minus picture entries removed; never below 0.
  int ImageCount() const { return imageCount_; }
  // The entry, or nullptr for an index outside 0..Count-1.
  TImageGalleryItem* Items(int index);
  const TImageGalleryItem* Items(int index) const;
  // The display text, or empty for an index outside 0..Count-1.
  std::string LineText(int index) const;
  bool IsImage(int index) const;
  bool IsSeparator(int index) const;

  // Frees every entry and empties the list, as one bulk change.
  void Clear();
  // Appends a picture (path trimmed; only existing image files); the new
  // index or -1. No duplicate check.
  int AddFile(std::string_view path);
  bool Delete(int index);
  // A separator with the current separator text and comment at index (a
  // negative index counts as 0, one at or past the end appends).
  bool InsertSeparator(int index);
  // Moves the line at from so that it ends up at index to; false for an
  // index outside 0..Count-1.
  bool Move(int from, int to);
  // Swaps two lines; false for an index outside 0..Count-1.
  bool Exchange(int a, int b);

  // First entry of that kind at or after max(from, 0), or -1.
  int FindNext(int from, TItemKind kind) const;
  // First entry of that kind at or before max(from, 0), searching down, or -1.
  int FindPrevious(int from, TItemKind kind) const;

  // Paging. A page begins at index 0 or at a separator and holds at most
  // perPage pictures; a perPage <= 0 means no limit.
  // Last index of the page that begins at start; Count when it runs to the end.
  int PageLastIndex(int start, int perPage) const;
  // Where the next page begins; a value >= Count when there is none.
  int NextPageStart(int start, int perPage) const;
  int PageCount(int perPage) const;
  // Fills target with the first index of every page; false without a target.
  bool GetPageStarts(std::vector<int>* target, int perPage) const;
  int ImagesOnPage(int start, int perPage) const;

  // Stable sort of all entries, ascending by the key. Sizes and dates are
  // measured at most once per entry and kept in the entries.
  void SortEntries(TSortKey key);
  // The list commands of the step 1 menu.
  void RemoveSeparators();
  void SortByKey(TSortKey key);
  void SortByDisplayName();
  void Reverse();
  void SplitByFolders();

  // Numbers the existing pictures, assigns their pages, measures their
  // files and gives them unique picture and thumbnail names of at most 255
  // bytes (cut at a character boundary). With targets, no name of the run
  // lands on a picture of the list (a plain copy onto its own source
  // aside) or on another file of the run in the same folder, and pictures
  // to be converted are named ".jpg". False on an unexpected failure.
  bool PrepareNames(bool keepOriginalNames, int perPage, const TNameTargets& targets = {});

 private:
  void InsertLine(int index, TImageGalleryLine line);
  void RemoveLine(int index);
  bool InBulk() const { return updateDepth_ > 0; }

  std::vector<TImageGalleryLine> lines_;
  int imageCount_ = 0;
  int updateDepth_ = 0;
  TImageGalleryListObserver* observer_ = nullptr;
};

}  // namespace zelvora
