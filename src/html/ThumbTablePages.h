#pragma once
// The thumbnail table pages: "page" N ".html", a centred table of
// thumbnails in rows and columns with optional descriptions, navigation bars
// and the custom header and footer. The description table is shared with
// the image pages.
//
// Writers return the page text; the caller writes the file. None throws.

#include <string>

namespace zelvora {

class TGallerySet;
struct TImageGalleryItem;
class TImageGalleryList;

// The whole text of thumbnail page n of pageCount. pageStart is the list
// index where the page begins; on return it is where page n + 1 begins (at
// least the list's Count when there is none).
std::string WriteThumbTablePage(int& pageStart, int n, int pageCount,
                                const TImageGalleryList& list, const TGallerySet& options);

// Home link at the left, Prev and Next at the right.
std::string MakePageNavBar(int n, int pageCount, const TGallerySet& options);

// The table of the page that begins at pageStart; advances pageStart as
// WriteThumbTablePage does.
std::string MakeThumbTable(int& pageStart, const TImageGalleryList& list,
                           const TGallerySet& options);

// The cells of one row of k pictures, starting at list index `index`
// (separators are passed over).
std::string MakeThumbCells(int index, int k, const TImageGalleryList& list,
                           const TGallerySet& options);
std::string MakeDescriptionCells(int index, int k, const TImageGalleryList& list,
                                 const TGallerySet& options);

// The description of one picture, `width` pixels wide; a negative
// maxCommentLength means the comment is never cut. Empty when descriptions
// are off, there is no entry or width <= 0.
std::string MakeDescriptionTable(const TImageGalleryItem* entry, int width,
                                 int maxCommentLength, const TGallerySet& options);

}  // namespace zelvora
