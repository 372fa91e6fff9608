#include "util/TextUtils.h"

#include <gtest/gtest.h>

namespace zelvora {
namespace {

TEST(TextUtilsTest, BlanksAreControlBytesAndCaseIsAsciiOnly) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(Trim("\xC3\xA4 "), "\xC3\xA4");  // bytes above 127 are text
  EXPECT_FALSE(IsBlank(" \xA0"));
  EXPECT_EQ(UpperCase("abc\xC3\xA4z"), "ABC\xC3\xA4Z");
  EXPECT_FALSE(SameText("photo", "photos"));
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_GT(CompareText("a_", "aZ"), 0);  // folded to upper case, "_" sorts after letters
}

TEST(TextUtilsTest, ParseBoolAcceptsOnlyTheThreeWords) {
  EXPECT_TRUE(ParseBool("  Yes "));
  EXPECT_FALSE(ParseBool("on"));
  EXPECT_FALSE(ParseBool("yes please"));
  EXPECT_FALSE(ParseBool(""));
}

TEST(TextUtilsTest, ParseFloatFallsBackOnAnythingButAPlainNumber) {
  EXPECT_DOUBLE_EQ(ParseFloat(" 2.5 ", 9), 2.5);
  EXPECT_DOUBLE_EQ(ParseFloat("2,5", 9, ','), 2.5);
  EXPECT_DOUBLE_EQ(ParseFloat("-1e3", 9), -1000);
  for (const char* bad : {"", "  ", "abc", "1.2.3", "0x10", "inf", "nan", "1e", "1e999", "-"})
    EXPECT_DOUBLE_EQ(ParseFloat(bad, 9), 9) << bad;
}

TEST(TextUtilsTest, ParseIntRejectsOverflowAndJunk) {
  EXPECT_EQ(ParseInt(" -42 "), -42);
  EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"2147483648", "", "12a", "1.0", "++1", "- 1"})
    EXPECT_FALSE(ParseInt(bad).has_value()) << bad;
}

TEST(TextUtilsTest, HexToInt) {
  EXPECT_EQ(HexToInt("00Ab"), 0xAB);
  EXPECT_EQ(HexToInt("00000000000000000001"), 1);  // leading zeros are no overflow
  for (const char* bad : {"", "12g", " 12", "1FFFFFFFFFFFFFFFF"})  // 17 digits at the end
    EXPECT_FALSE(HexToInt(bad).has_value()) << bad;
  EXPECT_EQ(HexToIntDef("zz", -5), -5);
  EXPECT_EQ(InvalidIntegerMessage("%G1"), "''%G1'' is not a valid integer value");
}

TEST(TextUtilsTest, EscapeRoundTripsEveryByte) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  const std::string escaped = EscapeText(all);
  for (char c : escaped) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_TRUE(byte == 9 || (byte >= 32 && byte != 127)) << int(byte);
  }
  EXPECT_EQ(UnescapeText(escaped), all);
  EXPECT_EQ(EscapeText("a\r\n50%\t"), "a%0D%0A50%25\t");
  EXPECT_EQ(EscapeText("say \"hi\"", "\""), "say %22hi%22");
  EXPECT_EQ(UnescapeText("%0d%0A"), "\r\n");
}

TEST(TextUtilsTest, UnescapeRefusesMalformedPairs) {
  for (const char* bad : {"%", "%4", "abc%", "%G1", "%1 "})
    EXPECT_FALSE(UnescapeText(bad).has_value()) << bad;
}

TEST(TextUtilsTest, ReplaceAllNeverRescansInsertedText) {
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa", true), "aaaaaa");
  EXPECT_EQ(ReplaceAll("Home home HOME", "home", "X", false), "X X X");
  EXPECT_EQ(ReplaceAll("abab", "aba", "-", true), "-b");
  EXPECT_EQ(ReplaceAll("abc", "", "-", true), "abc");
}

TEST(TextUtilsTest, PosFromIsOneBased) {
  EXPECT_EQ(PosFrom(3, "b", "abcb"), 4u);
  EXPECT_EQ(PosFrom(0, "a", "abc"), 1u);
  EXPECT_EQ(PosFrom(5, "b", "abcb"), 0u);
  EXPECT_EQ(PosFrom(1, "", "abc"), 0u);
  EXPECT_EQ(PosFrom(1, "a", ""), 0u);
}

TEST(TextUtilsTest, NextWordWalksThroughWords) {
  std::size_t position = 0;
  const std::string text = "  one\ttwo  ";
  EXPECT_EQ(NextWord(text, position), "one");
  EXPECT_EQ(position, 5u);
  EXPECT_EQ(NextWord(text, position), "two");
  EXPECT_EQ(NextWord(text, position), "");
  EXPECT_EQ(position, text.size());
  position = 100;
  EXPECT_EQ(NextWord(text, position), "");
}

TEST(TextUtilsTest, MatchesMaskWildcards) {
  EXPECT_TRUE(MatchesMask("Photo.JPG", "*.jpg"));
  EXPECT_FALSE(MatchesMask("a.jpeg", "*.jp?"));
  EXPECT_TRUE(MatchesMask("a.jpe", "*.jp?"));
  EXPECT_TRUE(MatchesMask("", "*"));
  EXPECT_FALSE(MatchesMask("", "?"));
  EXPECT_TRUE(MatchesMask("abcbcd", "a*bcd"));  // needs a backtrack
  EXPECT_FALSE(MatchesMask("abc", "ab"));
  EXPECT_TRUE(MatchesMask("\xC3\xA4.gif", "?.gif"));  // one character, two bytes
  // Long names are not cut, so their extension still counts.
  EXPECT_TRUE(MatchesMask(std::string(300, 'x') + ".jpg", "*.jpg"));
  EXPECT_FALSE(MatchesMask(std::string(300, 'x') + ".png", "*.jpg"));
  // Many stars stay fast.
  EXPECT_FALSE(MatchesMask(std::string(5000, 'a'), "*a*a*a*a*a*a*a*b"));
}

TEST(TextUtilsTest, BlankLinesAndCharacterSets) {
  EXPECT_TRUE(ContainsOnly("-=", "--=-"));
  EXPECT_FALSE(ContainsOnly("-", "- "));
  TStringList lines{"a", "", "---", " ", "b-"};
  RemoveBlankLines(lines, "");
  EXPECT_EQ(lines, (TStringList{"a", "---", " ", "b-"}));
  RemoveBlankLines(lines, "- ");
  EXPECT_EQ(lines, (TStringList{"a", "b-"}));
}

TEST(TextUtilsTest, LinesSplitAtEveryLineEndAndJoinWithCrLf) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (TStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\n"), (TStringList{"a", ""}));
  EXPECT_EQ(SplitLines("\r\n"), (TStringList{""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (TStringList{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(JoinLinesCRLF({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLinesCRLF({}), "");
}

TEST(TextUtilsTest, Utf8CountsCharactersAndNeverSplitsOne) {
  const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";  // a ä € 😀
  EXPECT_EQ(Utf8Length(text), 4u);
  EXPECT_EQ(Utf8Left(text, 2), "a\xC3\xA4");
  EXPECT_EQ(Utf8Left(text, 3), "a\xC3\xA4\xE2\x82\xAC");
  // Invalid bytes: a Latin-1 "ä", a cut sequence, an overlong "/", a surrogate.
  EXPECT_EQ(Utf8Length("\xE4x"), 2u);
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2u);
  EXPECT_EQ(Utf8Length("\xC0\xAF"), 2u);
  EXPECT_EQ(Utf8Length("\xED\xA0\x80"), 3u);
  EXPECT_EQ(Utf8CharLength("x", 5), 0u);
}

TEST(TextUtilsTest, ToUtf8KeepsUtf8AndReadsOtherBytesAsWindows1252) {
  const std::string utf8 = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80 <b>\r\n";
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(ToUtf8(utf8), utf8);
  EXPECT_EQ(ToUtf8(""), "");
  // A Latin-1 file name and a language file's "%E4".
  EXPECT_FALSE(IsValidUtf8("caf\xE9.jpg"));
  EXPECT_EQ(ToUtf8("caf\xE9.jpg"), "caf\xC3\xA9.jpg");
  EXPECT_EQ(ToUtf8("\xE4"), "\xC3\xA4");
  // Windows-1252's own letters; its five undefined bytes stay C1 controls.
  EXPECT_EQ(ToUtf8("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");
  EXPECT_EQ(ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
  // Mixed texts: every valid sequence stays, every stray byte is converted,
  // cut sequences, overlong forms and surrogates included.
  EXPECT_EQ(ToUtf8("\xC3\xA9t\xC3\xA9 \xE9t\xE9"), "\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(ToUtf8("\xE2\x82"), "\xC3\xA2\xE2\x80\x9A");
  EXPECT_EQ(ToUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_TRUE(IsValidUtf8(ToUtf8("\xED\xA0\x80")));
  for (int byte = 0; byte < 256; ++byte) {
    ASSERT_TRUE(IsValidUtf8(ToUtf8(std::string(1, static_cast<char>(byte))))) << byte;
  }
}

}  // namespace
}  // namespace zelvora
