#pragma once
// The program's numbered interface texts: messages, button captions,
// separator texts and the words the page writers put into pages. Each has a
// built-in default that a language file may replace; every user reads the
// current value at the moment of use.

#include <functional>
#include <string>
#include <vector>

namespace zelvora {

namespace TextId {
inline constexpr int PrevCaption = 1001;
inline constexpr int NextCaption = 1002;
inline constexpr int AbortCaption = 1003;
inline constexpr int CreateCaption = 1004;
inline constexpr int FreezeCaption = 1005;
inline constexpr int ContinueCaption = 1006;
inline constexpr int ShowMeCaption = 1007;
inline constexpr int SeparatorText = 1121;
inline constexpr int SeparatorComment = 1122;
inline constexpr int AdvancedTitle = 1231;
inline constexpr int WriteErrorTitle = 6001;
inline constexpr int NoFreeSpace = 6002;
inline constexpr int FreeSpaceAndContinue = 6003;
inline constexpr int SelectOutputFolder = 6004;
inline constexpr int FilesNotFound = 6005;
inline constexpr int DuplicatedFiles = 6006;
inline constexpr int SelectSourceFolder = 6007;
inline constexpr int SelectImages = 6008;
inline constexpr int FileWriteError = 6009;
inline constexpr int FileCopyError = 6010;
inline constexpr int CreationAborted = 6011;
inline constexpr int CopyErrorTitle = 6012;
inline constexpr int FileAlreadyExists = 6014;
inline constexpr int SureToOverwrite = 6015;
inline constexpr int OverwriteConfirmation = 6016;
inline constexpr int BugreportTitle = 6019;
inline constexpr int BugreportPrompt = 6020;
inline constexpr int TextColorsTitle = 6021;
inline constexpr int DefaultColorWord = 6022;
inline constexpr int FolderChooserTitle = 6023;
inline constexpr int FolderChooserNewFolder = 6024;
inline constexpr int ErrorTitle = 6025;
inline constexpr int UnknownFileFormat = 6026;
inline constexpr int PageWord = 7001;
inline constexpr int ImageWord = 7003;
inline constexpr int HomeWord = 7004;
inline constexpr int PrevWord = 7005;
inline constexpr int NextWord = 7006;
inline constexpr int PageIndexTitle = 7008;
inline constexpr int GalleryTitle = 7009;
inline constexpr int ShowFullSizeImage = 7010;
inline constexpr int NameLabel = 7020;
inline constexpr int PixelsWord = 7021;
inline constexpr int SizeLabel = 7022;
inline constexpr int DateLabel = 7023;
inline constexpr int TimeLabel = 7024;
inline constexpr int BytesWord = 7025;
}  // namespace TextId

// The current text with that number; empty for a number that is no text.
std::string InterfaceText(int number);
bool IsInterfaceTextNumber(int number);
// Every number of the table, ascending.
std::vector<int> InterfaceTextNumbers();
// The built-in default of a text; empty for a number that is no text.
std::string BuiltInInterfaceText(int number);
// Replaces one text with its extra effects (PrevText, NextText, both places
// of "Home", observers told of 1001-1007, 6023, 6024). False, and nothing
// changes, for a number that is no text.
bool SetInterfaceText(int number, const std::string& text);
// Every text back to its built-in default (and the formats too).
void ResetInterfaceTexts();

// The composed link texts of the Prev and Next navigation links.
std::string PrevLinkText();
std::string NextLinkText();

// The date and time display formats of the description tables.
std::string DateDisplayFormat();  // initially "d mmm yyyy"
std::string TimeDisplayFormat();  // initially "hh:nn:ss ampm"
void SetDateDisplayFormat(const std::string& format);
void SetTimeDisplayFormat(const std::string& format);

// Called after SetInterfaceText changed a text that a window shows outside
// the pages: a button caption (1001-1007) or a folder-chooser default (6023,
// 6024). Returns a handle for RemoveInterfaceTextObserver.
using InterfaceTextObserver = std::function<void(int number)>;
int AddInterfaceTextObserver(InterfaceTextObserver observer);
void RemoveInterfaceTextObserver(int handle);

}  // namespace zelvora
