// The main window's handlers: start-up, the tab press, and every message the program shows.
#include <gtest/gtest.h>

#include "fakes.h"
#include "main_window.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

struct Window : World {
  MainWindow window{gameList, privateList, dialogs, host, registry, files, launcher, net, {}, nullptr};
};

TEST(MainWindow, StartUpLoadsBothListsDeletesTheCacheKeepsTheVersionAndSetsThePings) {
  Window w;
  w.files.env["windir"] = "C:\\WIN";
  w.files.files = {{"C:\\WIN\\gantrel.ini", "zeta.example   Home\r\n"}, {"C:\\SC\\bncache.dat", ""}};
  w.registry.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
  w.registry.Set(kBattleNetKey, kServerListValue, "127.0.0.1;localhost");
  w.window.OnLoad();
  EXPECT_EQ(w.gameList.Texts(), (Strings{"127.0.0.1", "localhost"}));
  EXPECT_EQ(w.privateList.Texts(), Strings{"zeta.example   Home"});
  EXPECT_EQ(w.files.files.count("C:\\SC\\bncache.dat"), 0u);
  EXPECT_EQ(w.registry.GetDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue), 1);
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
  const std::string ending = "Re-install " + game +
      " for this feature to work.  If you continue to receive this error, please contact me via "
      "email.\r\rNote:  The server list should still be valid so you may still execute " + game + " manually";
  if (!started)
    return "box Gantrel|The registry key used to locate the executable does not exist... this means "
           "your installation of " + game + " is either corrupted or an illegal copy.\r\r" + ending;
  return "box Gantrel|The registry key used to locate the executable points to an illegal entry... "
         "this means your installation of " + game + ":\r\r1) has been moved from the original "
         "install directory\ror 2) is corrupted \ror 3) is an illegal copy.\r\r" + ending;
}

TEST(MainWindow, EveryMessageTitleAndIcon) {
  using W = Window;
  const struct {
    void (MainWindow::*handler)();
    void (*setup)(W&);
    std::string box;
  } cases[] = {
      {&MainWindow::OnStarcraftFromGameList, [](W&) {}, "box Gantrel|You must either restore the server list or use a private server"},
      {&MainWindow::OnDiabloFromGameList, [](W&) {}, "box Gantrel|You must either restore the server list or use a private server"},
      {&MainWindow::OnStarcraftFromPrivateList, [](W&) {}, "box Gantrel|You must select a server from the list before you can run Starcraft"},
      {&MainWindow::OnDiabloFromPrivateList, [](W&) {}, "box Gantrel|You must select a server from the list before you can run Diablo"},
      {&MainWindow::OnStarcraftFromGameList, [](W& w) { w.gameList.Add("a"); }, Failed("Starcraft", false)},
      {&MainWindow::OnStarcraftFromGameList, [](W& w) {
         w.gameList.Add("a");
         w.registry.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
         w.registry.Set(kStarcraftKey, "Brood War", "1");
         w.launcher.shellResults = {0, 0};
       }, Failed("Starcraft", true)},
      {&MainWindow::OnDiabloFromGameList, [](W& w) { w.gameList.Add("a"); }, Failed("Diablo", false)},
      {&MainWindow::OnDiabloFromGameList, [](W& w) {
         w.gameList.Add("a");
         w.registry.Set("SOFTWARE\\Blizzard Entertainment\\Archives", "DiabloInstall", "D:\\");
         w.launcher.processResults = {0};
       }, Failed("Diablo", true)},
      {&MainWindow::OnDeletePrivateServer, [](W&) {}, "box Gantrel|You must select a server before attempting to delete it"},
      {&MainWindow::OnSavePrivateList, [](W&) {}, "box Gantrel|The private server list could not be saved: the Windows folder is not known."},
      {&MainWindow::OnSavePrivateList, [](W& w) {
         w.files.env["windir"] = "C:\\WIN";
         w.files.failCreate = true;
       }, "box Gantrel|The private server list could not be saved to C:\\WIN\\gantrel.ini"},
      {&MainWindow::OnWebLink, [](W& w) { w.launcher.shellResults = {32}; }, "box Can't open URL!|Sorry! An internal error prevents spawning your browser"},
      {&MainWindow::OnEmailLink, [](W& w) { w.launcher.shellResults = {0}; }, "box Can't send email!|Sorry! An internal error prevents spawning your internet email program"},
      {&MainWindow::OnPingGameList, [](W& w) { w.net.startupResult = 1; }, "box Sondar-ICMPEcho|WSock32.dll is not responding!"},
      {&MainWindow::OnPingGameList, [](W& w) { w.net.startupWrites = WinsockInfo{0x0001, 1}; }, "box Sondar-ICMPEcho|WinSock Version 1.0 is not supported "},
      {&MainWindow::OnPingPrivateList, [](W& w) { w.net.startupWrites = WinsockInfo{0x0101, 0xFFFF}; }, "box Sondar-ICMPEcho|This application requires a minimum of 0 supported sockets."},
      {&MainWindow::OnPingPrivateList, [](W& w) { w.net.cleanupResult = -1; }, "box Sondar-ICMPEcho|WSock32 Error - -1 occurred in Cleanup"},
      {&MainWindow::OnPingGameList, [](W& w) { w.net.openResult = false; }, "box Plumbline|Unable to Create File Handle"},
      {&MainWindow::OnPingGameList, [](W& w) { w.net.closeResult = false; }, "box Sondar-ICMPEcho|ICMP Closed with Error"},
  };
  for (const auto& c : cases) {
    Window w;
    w.gameList.Add("127.0.0.1");
    w.privateList.Add("127.0.0.1");
    if (c.handler != &MainWindow::OnPingGameList && c.handler != &MainWindow::OnPingPrivateList)
      w.gameList = FakeListBox();
    c.setup(w);
    (w.window.*c.handler)();
    EXPECT_NE(std::find(w.log.begin(), w.log.end(), c.box), w.log.end()) << c.box;
  }
}

}  // namespace
}  // namespace gantrel::testing
