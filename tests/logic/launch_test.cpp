// The four launch buttons and the two About links.
#include <gtest/gtest.h>

#include "fakes.h"
#include "gateways/gateway_list.h"
#include "launch/about_links.h"
#include "launch/launch.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

using Click = void (*)(const LaunchPorts&);
constexpr const char* kArchivesKey = "SOFTWARE\\Blizzard Entertainment\\Archives";
const std::string kBroodWar = "shell Open C:\\SC\\BROOD.EXE dir=C:\\SC show=0";
const std::string kDiablo =
    "start D:\\Diablo 1\\Diablo.exe cmd=\"D:\\Diablo 1\\Diablo.exe\" show=2";
const std::string kCache = "delete C:\\SC\\bncache.dat", kGateways = "reg Battle.net Gateways";

// Both games installed, a measured game list and a private list with descriptions.
struct Installed : World {
  Installed() {
    Set(kStarcraftKey, "Brood War", "1");
    Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
    Set(kArchivesKey, "DiabloInstall", "D:\\Diablo 1");
    gameList = FakeListBox(false, {"a.example [4 ms]", " b", "c.example"});
    privateList =
        FakeListBox(true, {"b.example            the other", "127.0.0.9            home box"});
  }
  Strings Launch(Click click) {
    click({gameList, privateList, *this, *this, *this, *this});
    return log;
  }
  // The selected gateway: host/zone/name.
  std::string Gateway() {
    const auto list =
        ReadGatewayList(GetRaw(kHkeyCurrentUser, kGatewaysKey, kGatewaysValue, ~0u).bytes);
    if (!list) return "";
    const auto& g = list->gateways.at(std::stoul(list->selected) - 1);
    return g.host + "/" + g.zone + "/" + g.name;
  }
};

TEST(Launch, WritesTheServersSelectsTheFirstInTheGatewaysThenStartsAndShowsThem) {
  const struct {
    Click click;
    int16_t selected;
    Strings log;
    std::string gateway;
  } cases[] = {
      {StarcraftFromGameList,
       -1,
       {"reg Server List=a.example;;c.example", kGateways, kCache, kBroodWar},
       "a.example/1/a.example"},
      {StarcraftFromGameList,
       2,
       {"reg Server List=c.example", kGateways, kCache, kBroodWar},
       "c.example/1/c.example"},
      {StarcraftFromGameList, 1, {"reg Server List=", kCache, kBroodWar}, ""},  // a blank address
      {DiabloFromGameList,
       -1,
       {"reg Server List=a.example;;c.example", kGateways, kCache, kDiablo},
       "a.example/1/a.example"},
      {StarcraftFromPrivateList,
       0,
       {"reg Server List=127.0.0.9", kGateways, kBroodWar},
       "127.0.0.9/1/home box"},
      {DiabloFromPrivateList,
       1,
       {"reg Server List=b.example", kGateways, kCache, kDiablo},
       "b.example/1/the other"},
  };
  for (const auto& c : cases) {
    Installed w;
    (c.click == StarcraftFromGameList || c.click == DiabloFromGameList ? w.gameList : w.privateList)
        .selected = c.selected;
    EXPECT_EQ(w.Launch(c.click), c.log);
    EXPECT_EQ(w.Gateway(), c.gateway);
    std::string shown;  // the game list, reloaded from the value just written
    for (const auto& row : w.gameList.Texts()) shown += (shown.empty() ? "" : ";") + row;
    EXPECT_EQ("reg Server List=" + shown, c.log[0]);
  }
  for (Click click : {StarcraftFromGameList, DiabloFromGameList, StarcraftFromPrivateList,
                      DiabloFromPrivateList}) {
    Installed w;  // no server: a message and nothing else, not even a reload
    const bool gameList = click == StarcraftFromGameList || click == DiabloFromGameList;
    if (gameList) w.gameList = FakeListBox();
    w.privateList.selected = gameList ? 0 : -1;
    EXPECT_EQ(w.Launch(click).size(), 1u);
    EXPECT_EQ(w.Boxes(), 1);
    EXPECT_EQ(w.gameList.Count(), gameList ? 0 : 3);
  }
}

TEST(Launch, StarcraftTriesItsExecutableThenStarcraftExeOnceDiabloOnlyOnce) {
  const struct {
    std::string broodWar, install, program;
    std::deque<int32_t> results;
    Strings started;
    std::string box;  // a piece of the message shown, if any
  } cases[] = {
      {"1", "C:\\SC", "D:\\x.exe", {33}, {"C:\\SC\\BROOD.EXE"}, ""},
      {"1", "C:\\SC", "", {32, 33}, {"C:\\SC\\BROOD.EXE", "C:\\SC\\Starcraft.exe"}, ""},
      {"1", "", "D:\\x.exe", {}, {}, "does not exist"},
      {"", "C:\\SC", "D:\\Games\\sc.exe", {}, {"D:\\Games\\sc.exe"}, ""},
      {"", "C:\\SC", "", {}, {}, "does not exist"},
      {"", "C:\\SC", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, ""},
      {"",
       "C:\\SC",
       "D:\\gone.exe",
       {31, 0},
       {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"},
       "illegal entry"},
      {"", "", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe"}, "illegal entry"},  // no "\Starcraft.exe"
                                                                             // in the root
  };
  for (const auto& c : cases) {
    Installed w;
    w.Set(kStarcraftKey, "Brood War", c.broodWar);
    w.Set(kStarcraftKey, kInstallPathValue, c.install);
    w.Set(kStarcraftKey, "Program", c.program);
    w.shellResults = c.results;
    w.privateList.selected = 0;
    Strings expected = {"reg Server List=127.0.0.9", kGateways};
    for (const auto& exe : c.started)
      expected.push_back("shell Open " + exe + " dir=" + c.install + " show=0");
    const Strings log = w.Launch(StarcraftFromPrivateList);
    EXPECT_EQ(Strings(log.begin(), log.end() - !c.box.empty()), expected);
    EXPECT_TRUE(c.box.empty() || log.back().find(c.box) != std::string::npos) << log.back();
  }
  for (const std::string install : {"D:\\Diablo 1", ""}) {
    for (int32_t pid : {4242, 0}) {
      Installed w;
      w.Set(kArchivesKey, "DiabloInstall", install);
      w.processResults = {pid};
      w.privateList.selected = 0;
      const Strings log = w.Launch(DiabloFromPrivateList);
      EXPECT_EQ(log[2], kCache);
      EXPECT_EQ(log[3], install.empty() ? log.back() : kDiablo);
      EXPECT_EQ(w.Boxes(), install.empty() || pid == 0);
      EXPECT_EQ(w.gameList.Texts(), Strings{"127.0.0.9"});
    }
  }
}

TEST(AboutLinks, HandTheTargetToTheShellAndTellOnlyFailures) {
  for (int32_t result : {33, 32}) {
    World w;
    w.shellResults = {result, result};
    OpenWebPage(w, w);
    OpenEmail(w, w);
    EXPECT_EQ(w.log[0], "shell Open http://gantrel.example.org/ dir= show=0");
    EXPECT_EQ(w.log[result > 32 ? 1 : 2], "shell Open mailto:gantrel@example.org dir= show=0");
    EXPECT_EQ(w.Boxes(), result > 32 ? 0 : 2);
  }
}

}  // namespace
}  // namespace gantrel::testing
