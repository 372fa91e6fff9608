#pragma once
// Small text functions shared by the whole program. Texts are byte
// strings; case-insensitive comparisons fold ASCII letters only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

using TStringList = std::vector<std::string>;

std::string Trim(std::string_view text);  // removes bytes <= ' ' at both ends
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);  // case-insensitive equality
int CompareText(std::string_view a, std::string_view b);  // case-insensitive, <0, 0, >0

// True when no byte is above the space character.
bool IsBlank(std::string_view text);
// Trimmed, lower-cased text is "true", "1" or "yes".
bool ParseBool(std::string_view text);
// Trimmed text as a real number ("." or the given decimal separator);
// the default when empty or not a number.
double ParseFloat(std::string_view text, double defaultValue, char decimalSeparator = '.');
// Trimmed decimal integer that fits 32 bits; nullopt otherwise.
std::optional<std::int32_t> ParseInt(std::string_view text);
// Hexadecimal digits of either case; nullopt for an empty or malformed text.
std::optional<std::int64_t> HexToInt(std::string_view text);
std::int64_t HexToIntDef(std::string_view text, std::int64_t defaultValue);
// The message HexToInt's failure carries: "''%s'' is not a valid integer value".
std::string InvalidIntegerMessage(std::string_view text);

// The standard set of bytes EscapeText escapes: 0-8, 10-31 and 127.
std::string_view StandardEscapeSet();
// Every byte of the set, and every "%", becomes "%" and two upper-case
// hexadecimal digits.
std::string EscapeText(std::string_view text, std::string_view characters = StandardEscapeSet());
// "%XX" becomes the byte 0xXX; nullopt when a "%" is not followed by two
// hexadecimal digits.
std::optional<std::string> UnescapeText(std::string_view text);

std::string RemoveChars(std::string_view text, std::string_view characters);
std::string ReplaceChars(std::string_view text, std::string_view characters, char c);
std::string ReplaceChar(std::string_view text, char c, std::string_view replacement);
// Every occurrence, left to right, never searching inside inserted text.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                       bool caseSensitive);
// 1-based position of find at or after start (start < 1 counts as 1); 0 when absent.
std::size_t PosFrom(std::size_t start, std::string_view find, std::string_view text);
std::size_t PosFromIgnoreCase(std::size_t start, std::string_view find, std::string_view text);
// Skips to the next run of bytes above ' ', returns it, and moves position
// (0-based) behind it.
std::string NextWord(std::string_view text, std::size_t& position);
int IndexOfText(std::string_view text, const TStringList& texts, bool caseSensitive);
// Wildcard match, case-insensitive: "*" any run, "?" any one character.
bool MatchesMask(std::string_view name, std::string_view mask);
bool ContainsOnly(std::string_view characters, std::string_view text);
// Deletes every empty line or, with a non-empty set, every line made only of it.
void RemoveBlankLines(TStringList& lines, std::string_view characters);

// Splits at CR, LF or CR LF. A final line break does not start another line.
TStringList SplitLines(std::string_view text);
// Every line followed by CR LF, the last one too.
std::string JoinLinesCRLF(const TStringList& lines);

// UTF-8 aware helpers: count characters, never split one. Bytes that are
// not valid UTF-8 count as one character each.
std::size_t Utf8Length(std::string_view text);
// Length in bytes of the character starting at position: the length of a
// valid UTF-8 sequence there, otherwise 1 (0 at or after the end).
std::size_t Utf8CharLength(std::string_view text, std::size_t position);
std::string Utf8Left(std::string_view text, std::size_t characters);

// True when the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);
// The text as UTF-8: valid UTF-8 sequences stay as they are, every other
// byte is read as Windows-1252 (an old Latin-1 file name, a language file
// written with "%E4") and converted, as browsers read that code page. A
// text that is already UTF-8 comes back unchanged.
std::string ToUtf8(std::string_view text);

}  // namespace zelvora
