// The four launch buttons and the two About links, over the fakes.
#include <gtest/gtest.h>

#include "fakes.h"
#include "gateways/gateway_list.h"
#include "launch/about_links.h"
#include "launch/launch.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

constexpr const char* kArchivesKey = "SOFTWARE\\Blizzard Entertainment\\Archives";
using Click = void (*)(const LaunchPorts&);

// Both games installed, a measured game list and a private list with a description.
struct Installed : World {
  Installed() {
    registry.Set(kStarcraftKey, "Brood War", "1");
    registry.Set(kStarcraftKey, kInstallPathValue, "C:\\SC");
    registry.Set(kArchivesKey, "DiabloInstall", "C:\\Program Files\\Diablo");
    gameList = FakeListBox(false, {"a.example [4 ms]", " b", "c.example"});
    privateList = FakeListBox(true, {"b.example            the other", "127.0.0.9            home box"});
  }
  Strings Launch(Click click) {
    click({gameList, privateList, dialogs, registry, files, launcher});
    return log;
  }
  std::string Selected() {
    auto list = ReadGatewayList(GetRawGateways().bytes);
    auto& g = list->gateways[std::stoul(list->selected) - 1];
    return g.host + "/" + g.zone + "/" + g.name;
  }
  RawValue GetRawGateways() { return registry.GetRaw(kHkeyCurrentUser, kGatewaysKey, kGatewaysValue, ~0u); }
};

const std::string kBroodWar = "shell Open C:\\SC\\BROOD.EXE dir=C:\\SC show=0";
const std::string kDiablo = "start C:\\Program Files\\Diablo\\Diablo.exe cmd=\"C:\\Program Files\\Diablo\\Diablo.exe\" show=2";
const std::string kCache = "delete C:\\SC\\bncache.dat";
const std::string kGateways = "reg Battle.net Gateways";

TEST(Launch, WritesTheChosenServersSelectsTheFirstInTheGatewaysThenStartsAndShowsThem) {
  const struct {
    Click click;
    int16_t selected;
    Strings log;
    std::string gateway;
  } cases[] = {
      {StarcraftFromGameList, -1, {"reg Server List=a.example;;c.example", kGateways, kCache, kBroodWar}, "a.example/1/a.example"},
      {StarcraftFromGameList, 2, {"reg Server List=c.example", kGateways, kCache, kBroodWar}, "c.example/1/c.example"},
      {StarcraftFromGameList, 1, {"reg Server List=", kCache, kBroodWar}, ""},  // a blank address
      {DiabloFromGameList, -1, {"reg Server List=a.example;;c.example", kGateways, kCache, kDiablo}, "a.example/1/a.example"},
      {StarcraftFromPrivateList, 0, {"reg Server List=127.0.0.9", kGateways, kBroodWar}, "127.0.0.9/1/home box"},
      {DiabloFromPrivateList, 1, {"reg Server List=b.example", kGateways, kCache, kDiablo}, "b.example/1/the other"},
  };
  for (const auto& c : cases) {
    Installed w;
    (c.click == StarcraftFromGameList || c.click == DiabloFromGameList ? w.gameList : w.privateList)
        .selected = c.selected;
    EXPECT_EQ(w.Launch(c.click), c.log);
    EXPECT_EQ(w.GetRawGateways().found ? w.Selected() : "", c.gateway);
    std::string shown;  // the game list, reloaded from the value just written
    for (const auto& row : w.gameList.Texts()) shown += (shown.empty() ? "" : ";") + row;
    EXPECT_EQ("reg Server List=" + shown, c.log[0]);
  }
}

TEST(Launch, ClicksWithoutAServerChangeNothing) {
  for (Click click : {StarcraftFromGameList, DiabloFromGameList, StarcraftFromPrivateList, DiabloFromPrivateList}) {
    Installed w;
    w.privateList.selected = click == StarcraftFromGameList || click == DiabloFromGameList ? 0 : -1;
    if (w.privateList.selected == 0) w.gameList = FakeListBox();
    w.Launch(click);
    EXPECT_EQ(w.log.size(), 1u);
    EXPECT_EQ(Boxes(w.log), 1);
    EXPECT_EQ(w.gameList.Count(), w.privateList.selected == 0 ? 0 : 3);  // not reloaded
  }
}

TEST(Launch, StarcraftTriesItsExecutableThenStarcraftExeOnce) {
  const struct {
    std::string broodWar, install, program;
    std::deque<int32_t> results;
    Strings started;
    std::string box;  // a fragment of the message shown, if any
  } cases[] = {
      {"1", "C:\\SC", "D:\\x.exe", {33}, {"C:\\SC\\BROOD.EXE"}, ""},
      {"1", "C:\\SC", "", {32, 33}, {"C:\\SC\\BROOD.EXE", "C:\\SC\\Starcraft.exe"}, ""},
      {"1", "", "D:\\x.exe", {}, {}, "does not exist"},
      {"", "C:\\SC", "D:\\Games\\sc.exe", {}, {"D:\\Games\\sc.exe"}, ""},
      {"", "C:\\SC", "", {}, {}, "does not exist"},
      {"", "C:\\SC", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, ""},
      {"", "C:\\SC", "D:\\gone.exe", {31, 0}, {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, "illegal entry"},
      {"", "", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe"}, "illegal entry"},  // no "\Starcraft.exe" in the root
  };
  for (const auto& c : cases) {
    Installed w;
    w.registry.Set(kStarcraftKey, "Brood War", c.broodWar);
    w.registry.Set(kStarcraftKey, kInstallPathValue, c.install);
    w.registry.Set(kStarcraftKey, "Program", c.program);
    w.launcher.shellResults = c.results;
    w.privateList.selected = 0;
    Strings expected = {"reg Server List=127.0.0.9", kGateways};
    for (const auto& exe : c.started) expected.push_back("shell Open " + exe + " dir=" + c.install + " show=0");
    const Strings log = w.Launch(StarcraftFromPrivateList);
    EXPECT_EQ(Strings(log.begin(), log.end() - !c.box.empty()), expected);
    EXPECT_TRUE(c.box.empty() || log.back().find(c.box) != std::string::npos) << log.back();
  }
}

TEST(Launch, DiabloStartsOnceAndSaysWhyItCouldNot) {
  const struct {
    std::string install;
    int32_t pid;
    bool started;
    std::string box;
  } cases[] = {{"C:\\Program Files\\Diablo", 4242, true, ""},
               {"C:\\Program Files\\Diablo", 0, true, "illegal entry"},
               {"", 4242, false, "does not exist"}};
  for (const auto& c : cases) {
    Installed w;
    w.registry.Set(kArchivesKey, "DiabloInstall", c.install);
    w.launcher.processResults = {c.pid};
    Strings expected = {"reg Server List=a.example;;c.example", kGateways, kCache};
    if (c.started) expected.push_back(kDiablo);
    const Strings log = w.Launch(DiabloFromGameList);
    EXPECT_EQ(Strings(log.begin(), log.end() - !c.box.empty()), expected);
    EXPECT_TRUE(c.box.empty() || log.back().find(c.box) != std::string::npos) << log.back();
    EXPECT_EQ(w.gameList.Texts(), (Strings{"a.example", "", "c.example"}));
  }
}

TEST(AboutLinks, HandTheTargetToTheShellAndTellOnlyFailures) {
  for (int32_t result : {33, 32}) {
    World w;
    w.launcher.shellResults = {result, result};
    OpenWebPage(w.launcher, w.dialogs);
    OpenEmail(w.launcher, w.dialogs);
    EXPECT_EQ(w.log[0], "shell Open http://gantrel.example.org/ dir= show=0");
    EXPECT_EQ(w.log[result > 32 ? 1 : 2], "shell Open mailto:gantrel@example.org dir= show=0");
    EXPECT_EQ(Boxes(w.log), result > 32 ? 0 : 2);
  }
}

}  // namespace
}  // namespace gantrel::testing
