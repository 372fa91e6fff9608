#pragma once
// Path functions shared by the whole program.
//
// Two rule sets exist. Under the Windows style "\", "/" and the drive ":"
// are delimiters. Under the POSIX style only "/" is one; "\" and ":" are
// ordinary file-name characters (a photo named 12:30.jpg keeps its name).
// Every function takes the style as its last argument, defaulting to the
// platform's own, so both rule sets can be tested on any machine.

#include <string>
#include <string_view>

namespace zelvora {

enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// The separator a folder is held with: "\" under Windows, "/" under POSIX.
char PathSeparator(PathStyle style = kNativePathStyle);
bool IsPathDelimiter(char c, PathStyle style = kNativePathStyle);

// The text after the last delimiter (under Windows also after the last ":").
std::string FileNameOf(std::string_view path, PathStyle style = kNativePathStyle);
// The text up to and including the last delimiter.
std::string FilePathOf(std::string_view path, PathStyle style = kNativePathStyle);
// The text before the last delimiter; under Windows, when there is none, the
// text before the last ":" unless that ":" is the first character.
std::string FolderOf(std::string_view path, PathStyle style = kNativePathStyle);
// FileNameOf without its extension (from the last "." of the name).
std::string BaseNameOf(std::string_view path, PathStyle style = kNativePathStyle);
// The extension with its dot (".jpg"), empty when the name has none.
std::string ExtensionOf(std::string_view path, PathStyle style = kNativePathStyle);
std::string ExcludeTrailingDelimiters(std::string_view path, PathStyle style = kNativePathStyle);
// ExcludeTrailingDelimiters + the style's separator ("\" or "/").
std::string IncludeTrailingBackslash(std::string_view path, PathStyle style = kNativePathStyle);
// ExcludeTrailingDelimiters + "/", whatever the style (used for URLs).
std::string IncludeTrailingSlash(std::string_view path, PathStyle style = kNativePathStyle);
// Trim, drop trailing delimiters; a bare drive ("C:") or the POSIX root
// keeps one separator.
std::string NormalizeFolder(std::string_view text, PathStyle style = kNativePathStyle);
// The nearest existing folder at or above the given path, normalized;
// empty when none exists.
std::string ExistingFolderOf(std::string_view text, PathStyle style = kNativePathStyle);
// Under Windows the drive ("C:") or the "\\server\share" part; under POSIX
// the mount point of the file system that holds the path ("/" at least).
std::string RootOf(std::string_view path, PathStyle style = kNativePathStyle);
// Joins a folder and a name with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name,
                     PathStyle style = kNativePathStyle);

// File-system tests on the native platform.
bool DirectoryExists(std::string_view path);
bool FileExists(std::string_view path);  // a file that is not a folder
// Creates every missing folder of the path; false only for an empty path or
// when a folder cannot be made.
bool ForceFolders(std::string_view path);

}  // namespace zelvora
