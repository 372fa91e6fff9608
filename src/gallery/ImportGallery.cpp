#include "gallery/ImportGallery.h"

#include <optional>

#include "gallery/ListFiles.h"
#include "texts/InterfaceTexts.h"
#include "util/FileUtils.h"
#include "util/PathUtils.h"

namespace zelvora {

std::string ImportErrorText() {
  return "\r\n  " + InterfaceText(TextId::ErrorTitle) + std::string(13, ' ');
}

TImportResult ImportGallery(std::string_view folder, TGallerySet& options,
                            TImageGalleryList& list) {
  TImportResult result;
  try {
    const std::string base = IncludeTrailingBackslash(folder);

    const std::string optionsPath = base + "GalleryOptions.gof";
    if (FileExists(optionsPath)) {
      // False also when a custom text holds a malformed escape; the options
      // read before it stay in the set, so that is shown as an error too.
      result.OptionsLoaded = options.LoadFromFile(optionsPath);
      if (!result.OptionsLoaded) {
        result.Kind = TImportMessageKind::Error;
        result.Message = ImportErrorText();
        return result;
      }
    }

    const std::string listPath = base + "ImageIndex.igl";
    if (FileExists(listPath)) {
      // Read before clearing: an unreadable file must not cost the user
      // the list they have.
      const std::optional<std::string> text = ReadTextFile(listPath);
      if (!text) {
        result.Kind = TImportMessageKind::Error;
        result.Message = ImportErrorText();
        return result;
      }
      list.Clear();
      result.Message = LoadFromText(list, *text, TListForm::Igl);
      result.ListLoaded = true;
      if (!result.Message.empty()) result.Kind = TImportMessageKind::Information;
    }
    return result;
  } catch (...) {
    result.Kind = TImportMessageKind::Error;
    try {
      result.Message = ImportErrorText();
    } catch (...) {
      result.Message.clear();
    }
    return result;
  }
}

}  // namespace zelvora
