#pragma once
// The image pages: "image" Number ".html", one per picture that browsers can
// show, with the picture at display size, its description, a link back to
// its thumbnail page and links to the neighbouring pictures.
//
// Writers return the page text; the caller writes the file. None throws.

#include <string>

namespace zelvora {

class TGallerySet;
struct TImageGalleryItem;
class TImageGalleryList;

// The whole page of the picture entry at list index `index`. An index
// outside the list still gives a complete page with an empty picture table.
std::string WriteImagePage(int index, const TImageGalleryList& list, const TGallerySet& options);

// The "Page" link at the left, Prev and Next at the right.
std::string MakeImageNavBar(int index, const TImageGalleryList& list, const TGallerySet& options);

// The picture (scaled to the limits when asked) and its description; empty
// when index is outside the list.
std::string MakeImageTable(int index, const TImageGalleryList& list, const TGallerySet& options);

// The img element of the picture at the given display size.
std::string MakeImageTag(const TImageGalleryItem& entry, int width, int height,
                         const TGallerySet& options);

}  // namespace zelvora
