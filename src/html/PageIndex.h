#pragma once
// The page index (one link per thumbnail page) and the frameset that shows
// it beside the thumbnail pages.
//
// Writers return the page text; the caller writes the file. None throws.

#include <string>

namespace zelvora {

class TGallerySet;
class TImageGalleryList;

// Name of the page index file in the framed layout, and the frame names.
inline constexpr const char* kPageIndexFileName = "pageindex.html";
inline constexpr const char* kStartPageFileName = "index.html";
inline constexpr const char* kPageIndexFrameName = "pageindex";
inline constexpr const char* kGalleryPageFrameName = "gallerypage";

// One centred column of links, a row per thumbnail page.
std::string MakePageIndexTable(const TImageGalleryList& list, const TGallerySet& options);
// The page index page: MakePage round the table.
std::string WritePageIndexPage(const TImageGalleryList& list, const TGallerySet& options);
// The frameset of index.html in the framed layout.
std::string WriteFramesetPage(const TGallerySet& options);

}  // namespace zelvora
