// The main window's start-up sequence and its own mouse-down handler, over the fakes.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include "app/frm_main_layout.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_launcher.h"
#include "fakes/fake_list_box.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_window_host.h"

namespace gantrel {
namespace {

using testing::FakeNetApi;

constexpr const char* kConfig = "SOFTWARE\\Battle.Net\\Configuration";
constexpr const char* kStarcraft = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
constexpr const char* kIni = "C:\\windows\\gantrel.ini";

class FrmMainTest : public ::testing::Test {
 protected:
  FrmMainTest() {
    files.env["windir"] = "C:\\windows";
    registry.values[{kConfig, "Server List"}] = std::string("127.0.0.1;localhost");
  }

  testing::FakeListBox list1{false};
  testing::FakeListBox list2{true};
  testing::FakeDialogs dialogs;
  testing::FakeWindowHost host;
  testing::FakeRegistry registry;
  testing::FakeFiles files;
  testing::FakeLauncher launcher;
  FakeNetApi net;
  App app{list1, list2, dialogs, host, registry, files, launcher, net, {}, nullptr};
};

TEST_F(FrmMainTest, StartUpLoadsTheListsDeletesTheCacheSetsTheVersionAndThePingSettings) {
  files.files[kIni] = "zeta.example.org     Home\r\n";
  registry.values[{kStarcraft, "InstallPath"}] = std::string("C:\\Games\\Starcraft");
  files.files["C:\\Games\\Starcraft\\bncache.dat"] = "cache";
  registry.values[{kConfig, "Server Version"}] = std::string("1");  // text, not a DWORD
  Form_Load(app);
  EXPECT_EQ(list1.Texts(), (std::vector<std::string>{"127.0.0.1", "localhost"}));
  EXPECT_EQ(list2.Texts(), (std::vector<std::string>{"zeta.example.org     Home"}));
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(files.files.count("C:\\Games\\Starcraft\\bncache.dat"), 0u);
  EXPECT_EQ(std::get<int32_t>(registry.values[{kConfig, "Server Version"}]), 1);
  EXPECT_EQ(app.settings.PingTimeOut, 750);
  EXPECT_EQ(app.settings.PingCount, 3);
}

TEST_F(FrmMainTest, APingAfterStartUpSendsThreeRequestsOf750Ms) {
  Form_Load(app);
  net.echoes = {FakeNetApi::Reply(40), FakeNetApi::Reply(41), FakeNetApi::Reply(43)};
  EXPECT_EQ(app.PingSite("127.0.0.1"), 41);
  ASSERT_EQ(net.requests.size(), 3u);
  for (const auto& r : net.requests) EXPECT_EQ(r.timeoutMs, 750u);
  // The engine is made once and reused.
  const ICMPEcho* engine = app.echo.get();
  app.PingSite("127.0.0.1");
  EXPECT_EQ(app.echo.get(), engine);
}

TEST_F(FrmMainTest, MouseDownOnTheTabControlClearsBothSelections) {
  Form_Load(app);
  list1.selected = 1;
  list2.selected = 0;
  SSTab1_MouseDown(app);
  EXPECT_EQ(list1.ListIndex(), -1);
  EXPECT_EQ(list2.ListIndex(), -1);
}

TEST(FrmMainLayout, KeyboardOrderRunsThroughBothListTabs) {
  std::vector<int> order;
  for (const ControlSpec& c : MainControls())
    if (c.kind == ControlKind::Button || c.kind == ControlKind::List ||
        c.kind == ControlKind::SortedList)
      order.push_back(c.id);
  EXPECT_EQ(order, (std::vector<int>{kIdList1, kIdCommand3, kIdCommand2, kIdCommand8, kIdCommand10,
                                     kIdCommand11, kIdList2, kIdCommand1, kIdCommand5, kIdCommand7,
                                     kIdCommand6, kIdCommand9, kIdCommand4}));
}

TEST(FrmMainLayout, TwipsBecomePixelsAtTheWindowsDpi) {
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 408);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 264);
  EXPECT_EQ(TwipsToPixels(255, 120), 21);  // 21.25
}

}  // namespace
}  // namespace gantrel
