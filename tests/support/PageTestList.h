#pragma once
// An image list for the page writer tests: pictures are empty files in a
// temporary folder, and every field a writer reads is set by hand.

#include <string>
#include <string_view>

#include "gallery/ImageGalleryList.h"
#include "support/TestSupport.h"

namespace zelvora::test {

// "\n" becomes CR LF, so golden page texts can be written line by line.
std::string Crlf(std::string_view text);

class TPageTestList {
 public:
  // Adds the picture at relativePath (inside the temporary folder) with the
  // given number and page; ImageName is its file name, ThumbName the
  // matching thumbnail, sizes 640 x 480 with a 108 x 83 thumbnail.
  TImageGalleryItem& AddPicture(std::string_view relativePath, int number, int page);
  void AddSeparator();

  TImageGalleryList& List() { return list_; }
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
  TImageGalleryList list_;
};

}  // namespace zelvora::test
