#include "support/PageTestList.h"

#include <stdexcept>

#include "util/PathUtils.h"

namespace zelvora::test {

std::string Crlf(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

TImageGalleryItem& TPageTestList::AddPicture(std::string_view relativePath, int number,
                                              int page) {
  const std::string path = dir_.Write(relativePath, "");
  const int index = list_.AddFile(path);
  TImageGalleryItem* entry = list_.Items(index);
  if (entry == nullptr) throw std::runtime_error("picture not added: " + path);
  entry->Number = number;
  entry->PageNo = page;
  entry->ImageName = FileNameOf(path);
  entry->ThumbName = ThumbnailNameOf(entry->ImageName);
  entry->ImageWidth = 640;
  entry->ImageHeight = 480;
  entry->ThumbWidth = 108;
  entry->ThumbHeight = 83;
  return *entry;
}

void TPageTestList::AddSeparator() { list_.InsertSeparator(list_.Count()); }

}  // namespace zelvora::test
