#pragma once
// The two text forms of the image gallery list: the image gallery list file
// (".igl": pictures with comments and page separators) and the raw list
// (".txt": one path per line, an empty line for a separator).

#include <optional>
#include <string>
#include <string_view>

#include "gallery/ImageGalleryList.h"

namespace zelvora {

enum class TListForm { Igl, RawText };

// "Zelvora" and the product's web address: the generator text of every
// ".igl" this program writes (the list commands and the gallery's
// ImageIndex.igl).
std::string DefaultGeneratorText();

// The whole text of the list in that form; nullopt on failure. An empty
// list in the raw form is an empty text, which is not a failure.
std::optional<std::string> TrySaveToText(const TImageGalleryList& list, TListForm form,
                                         std::string_view generator);
// As TrySaveToText, an empty text on failure.
std::string SaveToText(const TImageGalleryList& list, TListForm form, std::string_view generator);

// Appends the entries of the text to the list (it is not cleared first).
// Returns the message to show in an information box; empty when there is
// nothing to report. An ".igl" never adds a picture already in the list.
std::string LoadFromText(TImageGalleryList& list, std::string_view text, TListForm form);

// The ".igl" field reader: reads the field that begins at the 1-based
// position and moves the position behind it. Quoted fields read "" as one
// double quote; an unclosed quote gives an empty field.
std::string ReadListField(std::string_view line, std::size_t& position);

// The save and load dialogs' filter; filter index 1 is ".igl", 2 is ".txt".
inline constexpr std::string_view kListFileFilter =
    "Image Gallery List (*.igl)|*.igl|Text Files (raw lists of image files) (*.txt)|*.txt";
// The form that goes with a 1-based filter index: RawText for 2, Igl otherwise.
TListForm ListFormOfFilter(int filterIndex);
// The name a list is saved under: the filter's default extension is
// appended unless the name already has it (in any letter case) or ends
// with "." (list.dat becomes list.dat.igl; list.IGL and "list." stay).
// Empty for an empty name.
std::string ListFileNameFor(std::string_view typedName, int filterIndex);
// The text of the overwrite question for an existing file.
std::string OverwriteQuestionText(std::string_view path);

// Saves the list to a file. Nothing is written when the text cannot be
// made; an existing file is replaced atomically, so a failed save leaves it
// whole. False on any failure, so that the caller can say so.
bool SaveListFile(const TImageGalleryList& list, std::string_view path, TListForm form);
// Reads a list file and appends it with LoadFromText; nullopt, and the list
// unchanged, when the file cannot be read.
std::optional<std::string> LoadListFile(TImageGalleryList& list, std::string_view path,
                                        TListForm form);

}  // namespace zelvora
