#include "util/TextUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace zelvora {

namespace {

inline unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
inline bool IsSpaceOrControl(char c) { return Byte(c) <= ' '; }
inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

std::string TrimLeft(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsSpaceOrControl(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsSpaceOrControl(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperChar(c);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = LowerChar(c);
  return result;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int ca = Byte(UpperChar(a[i]));
    const int cb = Byte(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsSpaceOrControl);
}

bool ParseBool(std::string_view text) {
  const std::string word = LowerCase(Trim(text));
  return word == "true" || word == "1" || word == "yes";
}

double ParseFloat(std::string_view text, double defaultValue, char decimalSeparator) {
  const std::string trimmed = Trim(text);
  // Checked by hand so that neither the C locale nor from_chars' extras
  // (hex floats, "inf", "nan") decide what counts as a number.
  std::string normalized;
  std::size_t i = 0;
  const std::size_t n = trimmed.size();
  if (i < n && (trimmed[i] == '+' || trimmed[i] == '-')) {
    if (trimmed[i] == '-') normalized += '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < n && IsDigit(trimmed[i])) normalized += trimmed[i++], ++digits;
  if (i < n && (trimmed[i] == decimalSeparator || trimmed[i] == '.')) {
    normalized += '.';
    ++i;
    while (i < n && IsDigit(trimmed[i])) normalized += trimmed[i++], ++digits;
  }
  if (digits == 0) return defaultValue;
  if (i < n && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
    normalized += 'e';
    ++i;
    if (i < n && (trimmed[i] == '+' || trimmed[i] == '-')) normalized += trimmed[i++];
    std::size_t exponentDigits = 0;
    while (i < n && IsDigit(trimmed[i])) normalized += trimmed[i++], ++exponentDigits;
    if (exponentDigits == 0) return defaultValue;
  }
  if (i != n) return defaultValue;
  double value = 0;
  const auto [end, error] =
      std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
  if (error != std::errc() || end != normalized.data() + normalized.size() ||
      !std::isfinite(value))
    return defaultValue;
  return value;
}

std::optional<std::int32_t> ParseInt(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::string_view digits = trimmed;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty() || digits.front() == '+') return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> HexToInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  int significant = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    if (significant > 0 || digit != 0) ++significant;
    if (significant > 16) return std::nullopt;
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  return static_cast<std::int64_t>(value);
}

std::int64_t HexToIntDef(std::string_view text, std::int64_t defaultValue) {
  return HexToInt(text).value_or(defaultValue);
}

std::string InvalidIntegerMessage(std::string_view text) {
  return "''" + std::string(text) + "'' is not a valid integer value";
}

std::string_view StandardEscapeSet() {
  static const std::string set = [] {
    std::string bytes;
    for (int c = 0; c <= 31; ++c)
      if (c != 9) bytes += static_cast<char>(c);
    bytes += static_cast<char>(127);
    return bytes;
  }();
  return set;
}

std::string EscapeText(std::string_view text, std::string_view characters) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '%' || characters.find(c) != std::string_view::npos) {
      result += '%';
      result += kHex[Byte(c) >> 4];
      result += kHex[Byte(c) & 15];
    } else {
      result += c;
    }
  }
  return result;
}

std::optional<std::string> UnescapeText(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      result += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigitValue(text[i + 1]);
    const int low = HexDigitValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    result += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return result;
}

std::string RemoveChars(std::string_view text, std::string_view characters) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (characters.find(c) == std::string_view::npos) result += c;
  return result;
}

std::string ReplaceChars(std::string_view text, std::string_view characters, char c) {
  std::string result(text);
  for (char& x : result)
    if (characters.find(x) != std::string_view::npos) x = c;
  return result;
}

std::string ReplaceChar(std::string_view text, char c, std::string_view replacement) {
  std::string result;
  result.reserve(text.size());
  for (char x : text) {
    if (x == c)
      result += replacement;
    else
      result += x;
  }
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                       bool caseSensitive) {
  if (find.empty()) return std::string(text);
  const std::string haystack = caseSensitive ? std::string(text) : UpperCase(text);
  const std::string needle = caseSensitive ? std::string(find) : UpperCase(find);
  std::string result;
  std::size_t from = 0;
  while (true) {
    const std::size_t at = haystack.find(needle, from);
    if (at == std::string::npos) break;
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + needle.size();
  }
  result.append(text.substr(from));
  return result;
}

std::size_t PosFrom(std::size_t start, std::string_view find, std::string_view text) {
  if (find.empty() || text.empty()) return 0;
  if (start < 1) start = 1;
  if (start > text.size()) return 0;
  const std::size_t at = text.find(find, start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::size_t PosFromIgnoreCase(std::size_t start, std::string_view find, std::string_view text) {
  return PosFrom(start, UpperCase(find), UpperCase(text));
}

std::string NextWord(std::string_view text, std::size_t& position) {
  if (position >= text.size()) return std::string();
  std::size_t i = position;
  while (i < text.size() && IsSpaceOrControl(text[i])) ++i;
  const std::size_t start = i;
  while (i < text.size() && !IsSpaceOrControl(text[i])) ++i;
  position = i;
  return std::string(text.substr(start, i - start));
}

int IndexOfText(std::string_view text, const TStringList& texts, bool caseSensitive) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (caseSensitive ? texts[i] == text : SameText(texts[i], text)) return static_cast<int>(i);
  }
  return -1;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative match with one backtrack point: the last "*" seen. "?" takes
  // one whole UTF-8 character so "?.jpg" matches a name like "ä.jpg".
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && mask[m] == '?') {
      n += Utf8CharLength(name, n);
      ++m;
    } else if (m < mask.size() && UpperChar(mask[m]) == UpperChar(name[n])) {
      ++n;
      ++m;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      starName += Utf8CharLength(name, starName);
      n = starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

bool ContainsOnly(std::string_view characters, std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [&](char c) { return characters.find(c) != std::string_view::npos; });
}

void RemoveBlankLines(TStringList& lines, std::string_view characters) {
  std::erase_if(lines, [&](const std::string& line) {
    return line.empty() || (!characters.empty() && ContainsOnly(characters, line));
  });
}

TStringList SplitLines(std::string_view text) {
  TStringList lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCRLF(const TStringList& lines) {
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::string result;
  result.reserve(total);
  for (const auto& line : lines) {
    result += line;
    result += "\r\n";
  }
  return result;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t position) {
  if (position >= text.size()) return 0;
  const unsigned char lead = Byte(text[position]);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char minSecond = 0x80, maxSecond = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) minSecond = 0xA0;  // overlong
    if (lead == 0xED) maxSecond = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) minSecond = 0x90;  // overlong
    if (lead == 0xF4) maxSecond = 0x8F;  // above U+10FFFF
  } else {
    return 1;
  }
  if (position + length > text.size()) return 1;
  const unsigned char second = Byte(text[position + 1]);
  if (second < minSecond || second > maxSecond) return 1;
  for (std::size_t k = 2; k < length; ++k) {
    const unsigned char next = Byte(text[position + k]);
    if (next < 0x80 || next > 0xBF) return 1;
  }
  return length;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += Utf8CharLength(text, i)) ++count;
  return count;
}

std::string Utf8Left(std::string_view text, std::size_t characters) {
  std::size_t i = 0;
  for (std::size_t count = 0; count < characters && i < text.size(); ++count)
    i += Utf8CharLength(text, i);
  return std::string(text.substr(0, i));
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8CharLength(text, i);
    if (length == 1 && Byte(text[i]) >= 0x80) return false;
    i += length;
  }
  return true;
}

std::string ToUtf8(std::string_view text) {
  // Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it
  // leaves undefined stay the C1 controls of the same value.
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8CharLength(text, i);
    const unsigned char byte = Byte(text[i]);
    if (length > 1 || byte < 0x80) {
      result.append(text.substr(i, length));
      i += length;
      continue;
    }
    const unsigned code = byte < 0xA0 ? kHigh[byte - 0x80] : byte;
    if (code < 0x800) {
      result += static_cast<char>(0xC0 | (code >> 6));
    } else {
      result += static_cast<char>(0xE0 | (code >> 12));
      result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    result += static_cast<char>(0x80 | (code & 0x3F));
    ++i;
  }
  return result;
}

}  // namespace zelvora
