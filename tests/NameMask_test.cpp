#include "html/NameMask.h"

#include <gtest/gtest.h>

namespace zelvora {
namespace {

TFileNameParams Picture(std::int32_t number, std::string fileName, std::string folder,
                        TDateTime date = EncodeDateTime(2004, 3, 5, 14, 7)) {
  return TFileNameParams{number, std::move(fileName), std::move(folder), date};
}

std::string Expand(std::string_view mask, const TFileNameParams& params) {
  return ExpandNameMask(mask, params, PathStyle::Windows);
}

TEST(NameMaskTest, TheOfferedMasks) {
  const auto beach = Picture(3, "beach.jpg", "C:\\Photos\\Trip");
  EXPECT_EQ(Expand("img-%4c", Picture(12, "a.jpg", "C:\\")), "img-0012");
  EXPECT_EQ(Expand("%f-%n", beach), "Trip-beach");
  EXPECT_EQ(Expand("%f-%4c", beach), "Trip-0003");
  EXPECT_EQ(Expand("", beach), "");
}

TEST(NameMaskTest, NumberWidthIsAMinimum) {
  const auto seven = Picture(7, "a.jpg", "");
  EXPECT_EQ(Expand("%C %c", seven), "7 7");
  EXPECT_EQ(Expand("%0c", seven), "7");
  EXPECT_EQ(Expand("%2c", Picture(123, "a.jpg", "")), "123");
  EXPECT_EQ(Expand("%3c", Picture(-7, "a.jpg", "")), "-007");
  EXPECT_EQ(Expand("%c", Picture(INT32_MIN, "a.jpg", "")), "-2147483648");
}

TEST(NameMaskTest, HugeWidthsCountAs255) {
  const auto seven = Picture(7, "a.jpg", "");
  EXPECT_EQ(Expand("%999999999c", seven), std::string(254, '0') + "7");
  EXPECT_EQ(Expand("%99999999999999999999999%", seven), std::string(255, '%'));
  EXPECT_EQ(Expand("%256c", seven).size(), 255u);
  EXPECT_EQ(Expand("%255c", seven).size(), 255u);
}

TEST(NameMaskTest, PercentCodes) {
  const auto any = Picture(1, "a.jpg", "");
  EXPECT_EQ(Expand("%3%", any), "%%%");
  EXPECT_EQ(Expand("%%", any), "%");
  EXPECT_EQ(Expand("%0%x", any), "x");
  EXPECT_EQ(Expand("50%x", any), "50%x");
  EXPECT_EQ(Expand("%q", any), "%q");
  EXPECT_EQ(Expand("a%4", any), "a%4");
  EXPECT_EQ(Expand("%", any), "%");
  EXPECT_EQ(Expand("%12x%c", any), "%12x1");  // digits after a lone "%" are text
}

TEST(NameMaskTest, DateAndTime) {
  EXPECT_EQ(Expand("%d_%t", Picture(1, "a.jpg", "")), "2004-03-05_14-07");
  EXPECT_EQ(Expand("%D", Picture(1, "a.jpg", "", EncodeDateTime(812, 1, 2))), "0812-01-02");
  EXPECT_EQ(Expand("%T", Picture(1, "a.jpg", "", EncodeDateTime(2000, 1, 1, 23, 59, 59, 999))),
            "23-59");
}

TEST(NameMaskTest, NameAndExtension) {
  EXPECT_EQ(Expand("%n|%e", Picture(1, "archive.tar.gz", "")), "archive.tar|gz");
  EXPECT_EQ(Expand("%n|%e", Picture(1, "README", "")), "README|");
  EXPECT_EQ(Expand("%n|%e", Picture(1, "dot.", "")), "dot|");
}

TEST(NameMaskTest, InnermostFolderByPathStyle) {
  EXPECT_EQ(Expand("%f", Picture(1, "a.jpg", "C:")), "C");
  EXPECT_EQ(Expand("%f", Picture(1, "a.jpg", "C:\\Photos\\Trip\\/")), "Trip");
  EXPECT_EQ(Expand("%f", Picture(1, "a.jpg", "D:Trip")), "DTrip");
  EXPECT_EQ(Expand("%f", Picture(1, "a.jpg", "\\\\server\\share")), "share");
  const auto posix = Picture(1, "a.jpg", "/photos/12:30 trip\\x/");
  EXPECT_EQ(ExpandNameMask("%f", posix, PathStyle::Posix), "12:30 trip\\x");
  EXPECT_EQ(ExpandNameMask("%f", Picture(1, "a.jpg", "/"), PathStyle::Posix), "");
}

}  // namespace
}  // namespace zelvora
