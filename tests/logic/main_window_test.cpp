// The main window's own handlers: the start-up sequence and the tab press. (What each button
// calls is checked through the real window under Wine.)
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
  EXPECT_EQ(w.log, (Strings{"delete C:\\SC\\bncache.dat", "reg Server Version"}));
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
    EXPECT_EQ(w.gameList.Selected() + w.privateList.Selected(), -2);
  }
}

}  // namespace
}  // namespace gantrel::testing
