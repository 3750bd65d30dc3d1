// The launches with the gateway lists, the About links, and the main window's own handlers.
#include <gtest/gtest.h>

#include "fakes.h"
#include "gateways/gateway_list.h"
#include "launch/launch.h"
#include "main_window.h"
#include "server_list/server_list.h"

namespace gantrel {
void PrintTo(const RawValue& v, std::ostream* os) {
  *os << "type " << v.type << (v.found ? "" : " (none)") << ": "
      << ::testing::PrintToString(v.bytes);
}
}  // namespace gantrel

namespace gantrel::testing {
namespace {

using Click = void (*)(const LaunchPorts&);
const auto kScGame = StarcraftFromGameList, kScMine = StarcraftFromPrivateList;
const auto kDGame = DiabloFromGameList, kDMine = DiabloFromPrivateList;
const std::string kSc = "shell Open C:\\SC\\BROOD.EXE dir=C:\\SC show=0";
const std::string kD = "start D:\\Diablo 1\\Diablo.exe cmd=\"D:\\Diablo 1\\Diablo.exe\" show=2";
const std::string kCache = "delete C:\\SC\\bncache.dat", kGw = "reg Battle.net Gateways";

// Both games installed, a measured game list and a private list with descriptions.
struct Installed : World {
  Installed() {
    Set(kStarcraftKey, "Brood War", "1");
    Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
    Set("SOFTWARE\\Blizzard Entertainment\\Archives", "DiabloInstall", "D:\\Diablo 1");
    gameList = FakeListBox({"a.example [4 ms]", " b", "c.example"});
    privateList = FakeListBox({"127.0.0.9    home box", "b.example" + Blanks(12) + "the other"});
  }
  Strings Launch(Click click) {
    click({gameList, privateList, *this, *this, *this, *this});
    return log;
  }
  std::string SelectedGateway() {  // host/zone/name, or "//" when there is no list
    const auto l =
        ReadGatewayList(GetRaw(kHkeyCurrentUser, kGatewaysKey, kGatewaysValue, ~0u).bytes);
    const Gateway g = l ? l->gateways.at(std::stoul(l->selected) - 1) : Gateway{};
    return g.host + "/" + g.zone + "/" + g.name;
  }
};

TEST(Launch, WritesTheServersSelectsTheFirstInTheGatewaysThenStartsTheGameAndShowsThem) {
  const struct {
    Click click;
    int16_t selected;
    std::string servers;
    Strings then;
    std::string gateway;
  } cases[] = {
      {kScGame, -1, "a.example;;c.example", {kGw, kCache, kSc}, "a.example/1/a.example"},
      {kScGame, 2, "c.example", {kGw, kCache, kSc}, "c.example/1/c.example"},
      {kScGame, 1, "", {kCache, kSc}, "//"},  // a blank address
      {kDGame, 2, "c.example", {kGw, kCache, kD}, "c.example/1/c.example"},
      {kScMine, 0, "127.0.0.9", {kGw, kSc}, "127.0.0.9/1/home box"},  // the cache file stays
      {kDMine, 1, "b.example", {kGw, kCache, kD}, "b.example/1/the other"},
  };
  for (const auto& c : cases) {
    Installed w;
    (c.click == kScGame || c.click == kDGame ? w.gameList : w.privateList).selected = c.selected;
    Strings log = {"reg Server List=" + c.servers};
    log.insert(log.end(), c.then.begin(), c.then.end());
    EXPECT_EQ(w.Launch(c.click), log);
    EXPECT_EQ(w.SelectedGateway(), c.gateway);
    EXPECT_EQ(w.gameList.RowsText(";"), c.servers + ";");  // reloaded from the value written
  }
  Installed w;  // no server listed or selected: a box each and nothing else
  w.gameList = FakeListBox();
  for (Click click : {kScGame, kDGame, kScMine, kDMine}) w.Launch(click);
  const std::string select =
      "box Gantrel|You must select a server from the list before you can run ";
  const std::string none =
      "box Gantrel|You must either restore the server list or use a private server";
  EXPECT_EQ(w.log, (Strings{none, none, select + "Starcraft", select + "Diablo"}));
  w.gameList = FakeListBox({"a.example"});  // one row is enough
  EXPECT_EQ(w.Launch(kScGame).back(), kSc);
}

// A gateway list's bytes: every string NUL-ended, then one more NUL.
std::string Bytes(const Strings& strings) {
  std::string bytes;
  for (const auto& s : strings) bytes += s + '\0';
  return bytes + '\0';
}
Strings With(Strings list, const std::string& selected, const Strings& added = {}) {
  list[1] = selected;
  list.insert(list.end(), added.begin(), added.end());
  return list;
}
const auto Multi = [](const Strings& s) { return RawValue{true, true, kRegMultiSz, Bytes(s)}; };
const auto Binary = [](const Strings& s) { return RawValue{true, true, kRegBinary, Bytes(s)}; };

TEST(Gateways, TheServerIsSelectedOrAddedAndEverythingElseStaysByteForByte) {
  const Strings stock = {
      "1001", "00",        "uswest.battle.net", "8",  "U.S. West", "useast.battle.net",
      "6",    "U.S. East", "asia.battle.net",   "-9", "Asia",      "europe.battle.net",
      "-1",   "Europe"};
  Strings full = {"1005", "09"};
  for (int i = 1; i <= 99; ++i) full.insert(full.end(), {"h" + std::to_string(i), "0", "n"});
  const Strings lan = With(stock, "01", {"lan.example", "8", "LAN"});
  const RawValue none, text{true, true, kRegSz, Bytes(stock)};
  const RawValue huge = Binary(With(stock, "01", {std::string(65536, 'x'), "0", "x"}));
  struct Case {
    RawValue gateways;
    std::string server;
    RawValue gatewaysAfter;
    int32_t bias = 0;
    std::string name = "";
    RawValue override_ = {}, overrideAfter = {};
  };
  std::vector<Case> cases = {
      // Made as the games' own list when missing; the new gateway gets this machine's zone.
      {none, "10.0.0.9", Multi(With(stock, "05", {"10.0.0.9", "-5", "home"})), -330, "home"},
      {Binary(stock), "USEAST.BATTLE.NET", Binary(With(stock, "02")), 480, "", Multi(lan),
       Multi(With(lan, "02"))},
      {Multi({"01000", "00"}), "lan", Multi({"01000", "01", "lan", "0", "lan"})},
      {Multi(full), "new.example", Multi(full)},  // no 100th gateway
      {Multi(full), "H99", Multi(With(full, "99"))},
      {none, "", none},  // a blank server selects nothing
  };
  // A value that is not certainly a gateway list is left alone.
  for (const RawValue& odd :
       {Multi({"1001", "00", "host", "0"}), Multi(With(stock, "1")), Multi(With(stock, "0x")),
        Multi({"00999", "00"}), Multi({"1e345", "00"}), text, huge})
    cases.push_back({odd, "h", odd});
  for (const auto& c : cases) {
    World w;
    for (const auto& [name, before] :
         {std::pair{kGatewaysValue, c.gateways}, {kOverrideGatewaysValue, c.override_}})
      if (before.found) w.values[{kHkeyCurrentUser, kGatewaysKey, name}] = before;
    SelectServerInGateways(w, c.server, c.name, c.bias);
    for (const auto& [name, after] :
         {std::pair{kGatewaysValue, c.gatewaysAfter}, {kOverrideGatewaysValue, c.overrideAfter}})
      EXPECT_EQ(w.GetRaw(kHkeyCurrentUser, kGatewaysKey, name, ~0u), after) << c.server;
  }
}

struct Window : World {
  MainWindow window{gameList, privateList, *this, *this, *this, *this, *this, *this, {}, nullptr};
};

TEST(MainWindow, StartUpLoadsTheListsAndKeepsTheVersionARunTellsARefusalAsItEnds) {
  Window w;
  w.env["windir"] = "C:\\WIN";
  w.files = {{"C:\\WIN\\gantrel.ini", "zeta.example   Home\r\n"}, {"C:\\SC\\bncache.dat", ""}};
  w.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
  w.Set(kBattleNetKey, kServerListValue, "127.0.0.1;localhost");
  w.window.OnLoad();
  EXPECT_EQ(w.privateList.Texts(), Strings{"zeta.example   Home"});
  EXPECT_EQ(w.log, (Strings{"delete C:\\SC\\bncache.dat", "reg Server Version=1"}));
  CheckServerVersion(w);  // the DWORD 1 now there is not written again
  EXPECT_EQ(w.log.size(), 2u);
  w.echoes = {{0, false, 0, 0, 5}};  // refused: said once, as the run ends, with its window up
  w.window.OnPingGameList();
  EXPECT_EQ(w.log.end()[-4].substr(0, 24) + w.log.end()[-3], "box Gantrel|This system hide");
}

}  // namespace
}  // namespace gantrel::testing
