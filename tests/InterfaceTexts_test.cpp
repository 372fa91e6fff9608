#include "texts/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvora {
namespace {

class InterfaceTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetInterfaceTexts(); }
  void TearDown() override { ResetInterfaceTexts(); }
};

TEST_F(InterfaceTextsTest, DefaultsAreTheBuiltInTexts) {
  EXPECT_EQ(InterfaceTextNumbers().size(), 47u);
  EXPECT_EQ(InterfaceText(TextId::PrevCaption), "<<  &Prev  ");
  EXPECT_EQ(InterfaceText(TextId::FreeSpaceAndContinue),
            "Please, free the space for files and press the Continue button\nto continue "
            "making of gallery, or press the Abort button to abort.");
  EXPECT_EQ(NextLinkText(), "Next&nbsp;&nbsp;<font size=\"-1\">&gt;</font>");
  EXPECT_EQ(TimeDisplayFormat(), "hh:nn:ss ampm");
}

TEST_F(InterfaceTextsTest, NumbersOutsideTheTableAreNoTexts) {
  for (int number : {0, 1008, 6013, 7002, 7007, 101}) {
    EXPECT_FALSE(IsInterfaceTextNumber(number)) << number;
    EXPECT_EQ(InterfaceText(number), "") << number;
    EXPECT_FALSE(SetInterfaceText(number, "x")) << number;
    EXPECT_EQ(InterfaceText(number), "") << number;
  }
}

TEST_F(InterfaceTextsTest, PrevAndNextWordsRebuildTheLinkTextsUntilReset) {
  EXPECT_TRUE(SetInterfaceText(TextId::PrevWord, "Back"));
  EXPECT_EQ(InterfaceText(TextId::PrevWord), "Back");
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Back");
  EXPECT_EQ(NextLinkText(), "Next&nbsp;&nbsp;<font size=\"-1\">&gt;</font>");

  EXPECT_TRUE(SetInterfaceText(TextId::NextWord, "Weiter"));
  EXPECT_EQ(NextLinkText(), "Weiter&nbsp;&nbsp;<font size=\"-1\">&gt;</font>");
  // Another text leaves both composed texts alone.
  EXPECT_TRUE(SetInterfaceText(TextId::HomeWord, "Start"));
  EXPECT_EQ(InterfaceText(TextId::HomeWord), "Start");
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Back");

  SetDateDisplayFormat("yyyy-mm-dd");
  ResetInterfaceTexts();
  EXPECT_EQ(PrevLinkText(), "<font size=\"-1\">&lt;</font>&nbsp;&nbsp;Prev");
  EXPECT_EQ(InterfaceText(TextId::HomeWord), "Home");
  EXPECT_EQ(DateDisplayFormat(), "d mmm yyyy");
}

TEST_F(InterfaceTextsTest, ObserversHearOfCaptionsAndChooserDefaultsOnly) {
  std::vector<int> heard;
  int handle = AddInterfaceTextObserver([&](int number) {
    heard.push_back(number);
    // An observer may read texts while it is told.
    EXPECT_FALSE(InterfaceText(number).empty());
  });
  SetInterfaceText(TextId::CreateCaption, "&Erstellen");
  SetInterfaceText(TextId::PageWord, "Seite");
  SetInterfaceText(TextId::FolderChooserTitle, "Ordner:");
  SetInterfaceText(TextId::FolderChooserNewFolder, "Neuer Ordner");
  EXPECT_EQ(heard, (std::vector<int>{1004, 6023, 6024}));

  heard.clear();
  ResetInterfaceTexts();
  EXPECT_EQ(heard, (std::vector<int>{1004, 6023, 6024}));

  heard.clear();
  RemoveInterfaceTextObserver(handle);
  // A failing window does not stop the change.
  handle = AddInterfaceTextObserver([](int) { throw 1; });
  EXPECT_TRUE(SetInterfaceText(TextId::AbortCaption, "Ab&bruch"));
  EXPECT_EQ(InterfaceText(TextId::AbortCaption), "Ab&bruch");
  EXPECT_TRUE(heard.empty());
  RemoveInterfaceTextObserver(handle);
}

}  // namespace
}  // namespace zelvora
