#include "settings/History.h"

#include <gtest/gtest.h>

namespace zelvora {
namespace {

TEST(AddToHistoryTest, OtherLetterCaseIsReplacedByTheNewSpellingAtTheTop) {
  TStringList list = {"/a", "/Photos/Summer", "/b", "/c"};
  EXPECT_EQ(AddToHistory(list, "/photos/summer", 20), 0);
  EXPECT_EQ(list, (TStringList{"/photos/summer", "/a", "/b", "/c"}));

  list = {"/a", "/Photos/Summer", "/b", "/c"};
  EXPECT_EQ(AddToHistory(list, "/photos/summer", 3), 0);
  EXPECT_EQ(list, (TStringList{"/photos/summer", "/a", "/b"}));
}

TEST(AddToHistoryTest, EveryEqualEntryGoesUnlessDuplicatesAreKept) {
  TStringList list = {"x", "X", "y", "x"};
  EXPECT_EQ(AddToHistory(list, "x", 20), 0);
  EXPECT_EQ(list, (TStringList{"x", "y"}));

  list = {"x", "y"};
  EXPECT_EQ(AddToHistory(list, "X", 20, true, true), 0);
  EXPECT_EQ(list, (TStringList{"X", "x", "y"}));
}

TEST(AddToHistoryTest, AppendingTrimsFromTheFrontAndReportsTheFinalIndex) {
  TStringList list = {"a", "b", "c"};
  EXPECT_EQ(AddToHistory(list, "d", 20, false), 3);
  EXPECT_EQ(AddToHistory(list, "e", 2, false), 1);
  EXPECT_EQ(list, (TStringList{"d", "e"}));
  // No room at all: the entry is gone too, and the result says so.
  EXPECT_EQ(AddToHistory(list, "f", 0, false), -1);
  EXPECT_EQ(AddToHistory(list, "g", -5), -1);
  EXPECT_TRUE(list.empty());
}

TEST(AddToHistoryTest, ModuleLimitStartsAtTwenty) {
  EXPECT_EQ(HistoryLimit(), 20);
  SetHistoryLimit(5);
  EXPECT_EQ(HistoryLimit(), 5);
  SetHistoryLimit(kDefaultHistoryLimit);
}

}  // namespace
}  // namespace zelvora
