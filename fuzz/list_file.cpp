// Image list files in both forms, and the list's own work on what they
// load: names, pages, sorting, saving again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gallery/ImageGalleryList.h"
#include "gallery/ListFiles.h"

using namespace zelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the form, so one corpus covers both.
  const TListForm form = data[0] & 1 ? TListForm::RawText : TListForm::Igl;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  TImageGalleryList list;
  LoadFromText(list, text, form);
  list.PrepareNames(false, 4);
  list.PageCount(4);
  list.SortEntries(skComment);
  SaveToText(list, TListForm::Igl, DefaultGeneratorText());
  SaveToText(list, TListForm::RawText, DefaultGeneratorText());
  for (int i = 0; i < list.Count(); ++i) {
    std::size_t position = 1;
    ReadListField(list.LineText(i), position);
  }
  return 0;
}
