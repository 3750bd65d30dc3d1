// The main window's handlers: start-up, the tab press, and every message the program shows.
#include <gtest/gtest.h>

#include "fakes.h"
#include "main_window.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

struct Window : World {
  MainWindow window{gameList, privateList, *this, *this, *this, *this, *this, *this, {}, nullptr};
};

TEST(MainWindow, StartUpLoadsBothListsDeletesTheCacheKeepsTheVersionAndSetsThePings) {
  Window w;
  w.env["windir"] = "C:\\WIN";
  w.files = {{"C:\\WIN\\gantrel.ini", "zeta.example   Home\r\n"}, {"C:\\SC\\bncache.dat", ""}};
  w.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
  w.Set(kBattleNetKey, kServerListValue, "127.0.0.1;localhost");
  w.window.OnLoad();
  EXPECT_EQ(w.gameList.Texts(), (Strings{"127.0.0.1", "localhost"}));
  EXPECT_EQ(w.privateList.Texts(), Strings{"zeta.example   Home"});
  EXPECT_EQ(w.files.count("C:\\SC\\bncache.dat"), 0u);
  EXPECT_EQ(w.GetDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue), 1);
  w.log.clear();
  w.window.PingSite("127.0.0.1");
  const EchoEngine* engine = w.window.echo.get();
  w.window.PingSite("127.0.0.1");
  EXPECT_EQ(w.window.echo.get(), engine);  // one engine for the whole run
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "events"), 6);
  EXPECT_EQ(w.log[3], "send 127.0.0.1 " + std::string(32, 'X') + " ttl=255 750ms");
}

TEST(MainWindow, APressOnTheTabsClearsBothSelections) {
  for (int16_t row : {0, 1}) {
    Window w;
    w.gameList = FakeListBox(false, {"a", "b"});
    w.privateList = FakeListBox(true, {"a", "b"});
    w.gameList.selected = w.privateList.selected = row;
    w.window.OnTabPress();
    EXPECT_EQ(w.gameList.Selected(), -1);
    EXPECT_EQ(w.privateList.Selected(), -1);
  }
}

std::string Failed(const std::string& game, bool started) {
  const std::string ending =
      "\r\rRe-install " + game +
      " for this feature to work.  If you continue to receive this error, please contact me via "
      "email.\r\rNote:  The server list should still be valid so you may still execute " +
      game + " manually";
  if (!started)
    return "box Gantrel|The registry key used to locate the executable does not exist... this "
           "means "
           "your installation of " +
           game + " is either corrupted or an illegal copy." + ending;
  return "box Gantrel|The registry key used to locate the executable points to an illegal entry... "
         "this means your installation of " +
         game +
         ":\r\r1) has been moved from the original "
         "install directory\ror 2) is corrupted \ror 3) is an illegal copy." +
         ending;
}

TEST(MainWindow, EveryMessageWithItsTitleAndIcon) {
  using W = Window;
  using M = MainWindow;
  const struct {
    void (MainWindow::*handler)();
    void (*setup)(W&);
    std::string box;
  } cases[] = {
      {&M::OnStarcraftFromGameList, [](W&) {},
       "box Gantrel|You must either restore the server list or use a private server"},
      {&M::OnDiabloFromGameList, [](W&) {},
       "box Gantrel|You must either restore the server list or use a private server"},
      {&M::OnStarcraftFromPrivateList, [](W&) {},
       "box Gantrel|You must select a server from the list before you can run Starcraft"},
      {&M::OnDiabloFromPrivateList, [](W&) {},
       "box Gantrel|You must select a server from the list before you can run Diablo"},
      {&M::OnStarcraftFromGameList, [](W& w) { w.gameList.Add("a"); }, Failed("Starcraft", false)},
      {&M::OnStarcraftFromGameList,
       [](W& w) {
         w.gameList.Add("a");
         w.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
         w.Set(kStarcraftKey, "Brood War", "1");
         w.shellResults = {0, 0};
       },
       Failed("Starcraft", true)},
      {&M::OnDiabloFromGameList, [](W& w) { w.gameList.Add("a"); }, Failed("Diablo", false)},
      {&M::OnDiabloFromGameList,
       [](W& w) {
         w.gameList.Add("a");
         w.Set("SOFTWARE\\Blizzard Entertainment\\Archives", "DiabloInstall", "D:\\");
         w.processResults = {0};
       },
       Failed("Diablo", true)},
      {&M::OnDeletePrivateServer, [](W&) {},
       "box Gantrel|You must select a server before attempting to delete it"},
      {&M::OnSavePrivateList, [](W&) {},
       "box Gantrel|The private server list could not be saved: the Windows folder is not known."},
      {&M::OnSavePrivateList,
       [](W& w) {
         w.env["windir"] = "C:\\WIN";
         w.failCreate = true;
       },
       "box Gantrel|The private server list could not be saved to C:\\WIN\\gantrel.ini"},
      {&M::OnWebLink, [](W& w) { w.shellResults = {32}; },
       "box Can't open URL!|Sorry! An internal error prevents spawning your browser"},
      {&M::OnEmailLink, [](W& w) { w.shellResults = {0}; },
       "box Can't send email!|Sorry! An internal error prevents spawning your internet email "
       "program"},
      {&M::OnPingGameList, [](W& w) { w.startupResult = 1; },
       "box Sondar-ICMPEcho|WSock32.dll is not responding!"},
      {&M::OnPingGameList,
       [](W& w) {
         w.startupWrites = WinsockInfo{0x0001, 1};
       },
       "box Sondar-ICMPEcho|WinSock Version 1.0 is not supported "},
      {&M::OnPingPrivateList,
       [](W& w) {
         w.startupWrites = WinsockInfo{0x0101, 0xFFFF};
       },
       "box Sondar-ICMPEcho|This application requires a minimum of 0 supported sockets."},
      {&M::OnPingPrivateList, [](W& w) { w.cleanupResult = -1; },
       "box Sondar-ICMPEcho|WSock32 Error - -1 occurred in Cleanup"},
      {&M::OnPingGameList, [](W& w) { w.openResult = false; },
       "box Plumbline|Unable to Create File Handle"},
      {&M::OnPingGameList, [](W& w) { w.closeResult = false; },
       "box Sondar-ICMPEcho|ICMP Closed with Error"},
  };
  for (const auto& c : cases) {
    Window w;
    w.privateList.Add("127.0.0.1");
    if (c.handler == &M::OnPingGameList) w.gameList.Add("127.0.0.1");
    c.setup(w);
    (w.window.*c.handler)();
    EXPECT_NE(std::find(w.log.begin(), w.log.end(), c.box), w.log.end()) << c.box;
  }
}

}  // namespace
}  // namespace gantrel::testing
