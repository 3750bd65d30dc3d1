// The real main window under Wine: start-up, the list buttons, the input and message boxes, and
// the tab control's mouse-down rule.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/frm_main_layout.h"
#include "gui/gantrel_driver.h"
#include "win32/test_support.h"

namespace gantrel::gui {
namespace {

using testing::ReadFileBytes;
using testing::SetRegString;

constexpr const char* kConfigKey = "SOFTWARE\\Battle.Net\\Configuration";

// A Windows folder of its own for the program, which also holds the Starcraft cache file, so
// that start-up deletes nothing of the prefix.
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegString("SOFTWARE\\Blizzard Entertainment\\Starcraft", "InstallPath", windir_);
    SetRegString(kConfigKey, "Server List", "127.0.0.1;localhost");
  }
  std::string Ini() const { return windir_ + "\\gantrel.ini"; }

  testing::TempFolder temp_;
  const std::string windir_ = temp_.Path();
};

TEST_F(MainWindow, OpensOnTheFirstTabWithItsCaptionAndControls) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(TextOf(app.Main()), "Gantrel v1.2");
  EXPECT_EQ(app.CurrentTab(), 0);
  RECT client;
  GetClientRect(app.Main(), &client);
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, dpi));
  for (const ControlSpec& c : MainControls()) {
    HWND h = app.Control(c.id);
    ASSERT_NE(h, nullptr) << c.id;
    EXPECT_EQ(IsWindowVisible(h) != FALSE, c.tab == 0) << c.id;
    if (c.kind == ControlKind::Button || c.kind == ControlKind::Label) {
      EXPECT_EQ(TextOf(h), c.caption) << c.id;
    }
  }
  EXPECT_TRUE(app.Close());
}

TEST_F(MainWindow, StartUpWithoutAFileSeedsThePrivateListWithTheGameList) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(app.Rows(kIdList1), (std::vector<std::string>{"127.0.0.1", "localhost"}));
  EXPECT_EQ(app.Rows(kIdList2), (std::vector<std::string>{"127.0.0.1", "localhost"}));
}

TEST_F(MainWindow, StartUpWithAOneLineFileKeepsOnlyThatLine) {
  testing::WriteFileBytes(Ini(), "my.server.org        Friday games\r\n");
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(app.Rows(kIdList2), (std::vector<std::string>{"my.server.org        Friday games"}));
  EXPECT_EQ(app.Rows(kIdList1).size(), 2u);
}

TEST_F(MainWindow, RestoreWritesTheDefaultListAndShowsItsEightRows) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Click(kIdCommand3);
  EXPECT_EQ(testing::ReadRegValue(HKEY_LOCAL_MACHINE, kConfigKey, "Server List").bytes,
            "useast.battle.net;63.240.202.120;63.240.202.121;63.241.83.107;63.241.83.108;"
            "213.248.106.200;213.248.106.201;211.233.0.72");
  auto rows = app.Rows(kIdList1);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows.front(), "useast.battle.net");
  EXPECT_EQ(rows.back(), "211.233.0.72");
  // The private list was not empty, so it is left as it was.
  EXPECT_EQ(app.Rows(kIdList2).size(), 2u);
}

TEST_F(MainWindow, ImportRereadsTheValueAndTwiceIsTheSameAsOnce) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  SetRegString(kConfigKey, "Server List", ";127.0.0.5; spaced ;");
  app.Click(kIdCommand11);
  std::vector<std::string> expected{"", "127.0.0.5", " spaced ", ""};
  EXPECT_EQ(app.Rows(kIdList1), expected);
  app.Click(kIdCommand11);
  EXPECT_EQ(app.Rows(kIdList1), expected);
}

TEST_F(MainWindow, AddAsksForAddressAndDescriptionThroughInputBoxes) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Click(kIdCommand1);
  Box address = app.WaitBox();
  ASSERT_NE(address.hwnd, nullptr);
  EXPECT_EQ(address.title, "Gantrel");
  EXPECT_EQ(address.text, "Enter server address");
  app.AnswerInput(address, "abc.example.org");
  Box description = app.WaitBox();
  ASSERT_NE(description.hwnd, nullptr);
  EXPECT_EQ(description.text, "Enter description of server");
  app.AnswerInput(description, "Ladder");
  ASSERT_TRUE(app.Sync());
  // Sorted in at its place, letter case ignored.
  EXPECT_EQ(app.Rows(kIdList2),
            (std::vector<std::string>{"127.0.0.1", "abc.example.org      Ladder", "localhost"}));

  // Cancel on the address adds nothing and shows nothing more.
  app.Click(kIdCommand1);
  Box again = app.WaitBox();
  ASSERT_NE(again.hwnd, nullptr);
  app.CancelInput(again);
  ASSERT_TRUE(app.Sync());
  EXPECT_EQ(app.WaitBox(300).hwnd, nullptr);
  EXPECT_EQ(app.Rows(kIdList2).size(), 3u);
}

TEST_F(MainWindow, DelWithoutSelectionShowsTheMessageAndRemovesNothing) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Click(kIdCommand5);
  Box box = app.WaitBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.title, "Gantrel");
  EXPECT_EQ(box.text, "You must select a server before attempting to delete it");
  app.PressOk(box);
  EXPECT_EQ(app.Rows(kIdList2).size(), 2u);

  app.Select(kIdList2, 1);
  app.Click(kIdCommand5);
  EXPECT_EQ(app.Rows(kIdList2), (std::vector<std::string>{"127.0.0.1"}));
}

TEST_F(MainWindow, SaveWritesEveryRowWithCrLf) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Click(kIdCommand7);
  EXPECT_EQ(ReadFileBytes(Ini()), "127.0.0.1\r\nlocalhost\r\n");
  EXPECT_EQ(app.WaitBox(300).hwnd, nullptr);
}

TEST_F(MainWindow, APressOnATabHeaderClearsBothSelectionsAPressInsideAPageDoesNot) {
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Select(kIdList1, 1);
  app.Select(kIdList2, 0);
  // On the header of the tab that is already selected.
  app.Press(kIdSSTab1, 12, 8);
  EXPECT_EQ(app.Selected(kIdList1), -1);
  EXPECT_EQ(app.Selected(kIdList2), -1);
  EXPECT_EQ(app.CurrentTab(), 0);

  // Find the second header by pressing along the header row.
  int x = 20;
  for (; x < 400 && app.CurrentTab() != 1; x += 10) app.Press(kIdSSTab1, x, 8);
  ASSERT_EQ(app.CurrentTab(), 1);
  EXPECT_TRUE(IsWindowVisible(app.Control(kIdList2)));
  EXPECT_FALSE(IsWindowVisible(app.Control(kIdList1)));

  // Presses inside the list and on a label keep the selection.
  app.Press(kIdList2, 10, 5);
  EXPECT_EQ(app.Selected(kIdList2), 0);
  app.Press(kIdLabel2, 5, 5);
  EXPECT_EQ(app.Selected(kIdList2), 0);

  // Over to the first tab and back: no selection survives.
  app.Press(kIdSSTab1, 12, 8);
  app.Press(kIdSSTab1, x - 10, 8);
  EXPECT_EQ(app.CurrentTab(), 1);
  EXPECT_EQ(app.Selected(kIdList2), -1);
}

}  // namespace
}  // namespace gantrel::gui
