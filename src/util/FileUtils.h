#pragma once
// File functions: sizes, dates, free space, whole-file reading and writing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/DateValue.h"

namespace zelvora {

// Size in bytes from the directory entry; -1 when not found or a folder.
std::int64_t FileSizeOf(std::string_view path);
// Modification time as a date value; 0 when the file cannot be opened.
TDateTime FileDateOf(std::string_view path);
bool SetFileDateOf(std::string_view path, TDateTime date);
// Free bytes on the volume that holds the path; -1 when the platform cannot tell.
std::int64_t FreeDiskSpace(std::string_view path);
// True when bytes < FreeDiskSpace(path) + the size of the file already there.
bool HasRoomFor(std::string_view path, std::int64_t bytes);

// The whole file; nullopt when it does not exist or was not read completely.
std::optional<std::string> ReadTextFile(std::string_view path);
// Creates the folder when missing, then creates or replaces the file in
// place. True when every byte was written.
bool WriteTextFile(std::string_view path, std::string_view text);
// Like WriteTextFile, but through a temporary file in the same folder that
// is renamed over the target only when every byte is written: a failed or
// interrupted write removes the temporary file and leaves the previous file
// whole. With durable set the data and the folder are flushed to the disk
// before and after the rename, so a crash cannot leave an empty file either.
bool WriteFileAtomically(std::string_view path, std::string_view bytes, bool durable = true);
// WriteFileAtomically into a folder that must already exist.
bool ReplaceFileAtomically(std::string_view path, std::string_view bytes, bool durable);
// Copies a file and gives the copy the source's modification time. The copy
// goes to a temporary file beside the target first, so a failed copy
// leaves an existing target as it was.
bool CopyFileWithDate(std::string_view source, std::string_view target);
// True for the names WriteFileAtomically and CopyFileWithDate give their
// temporary files.
bool IsTemporaryFileName(std::string_view name);
// Hands a path or address to the desktop's default handler (xdg-open).
bool OpenDocument(std::string_view pathOrAddress);

}  // namespace zelvora
