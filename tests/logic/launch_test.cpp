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

// The box when no executable could be named, or when none would start.
std::string Failed(const std::string& game, bool started) {
  const std::string ending =
      "\r\rRe-install " + game +
      " for this feature to work.  If you continue to receive this error, please contact me via "
      "email.\r\rNote:  The server list should still be valid so you may still execute " +
      game + " manually";
  if (!started)
    return "box Gantrel|The registry key used to locate the executable does not exist... this "
           "means your installation of " +
           game + " is either corrupted or an illegal copy." + ending;
  return "box Gantrel|The registry key used to locate the executable points to an illegal entry... "
         "this means your installation of " +
         game +
         ":\r\r1) has been moved from the original "
         "install directory\ror 2) is corrupted \ror 3) is an illegal copy." +
         ending;
}

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
  std::string SelectedGateway() {  // the selected one: host/zone/name
    const auto list =
        ReadGatewayList(GetRaw(kHkeyCurrentUser, kGatewaysKey, kGatewaysValue, ~0u).bytes);
    const auto& g = list ? list->gateways.at(std::stoul(list->selected) - 1) : gantrel::Gateway{};
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
      // clang-format off
      {StarcraftFromGameList, -1, {"reg Server List=a.example;;c.example", kGateways, kCache, kBroodWar}, "a.example/1/a.example"},
      {StarcraftFromGameList, 2, {"reg Server List=c.example", kGateways, kCache, kBroodWar}, "c.example/1/c.example"},
      {StarcraftFromGameList, 1, {"reg Server List=", kCache, kBroodWar}, "//"},  // a blank address
      {DiabloFromGameList, -1, {"reg Server List=a.example;;c.example", kGateways, kCache, kDiablo}, "a.example/1/a.example"},
      {StarcraftFromPrivateList, 0, {"reg Server List=127.0.0.9", kGateways, kBroodWar}, "127.0.0.9/1/home box"},
      {DiabloFromPrivateList, 1, {"reg Server List=b.example", kGateways, kCache, kDiablo}, "b.example/1/the other"},
      // clang-format on
  };
  for (const auto& c : cases) {
    Installed w;
    (c.click == StarcraftFromGameList || c.click == DiabloFromGameList ? w.gameList : w.privateList)
        .selected = c.selected;
    EXPECT_EQ(w.Launch(c.click), c.log);
    EXPECT_EQ(w.SelectedGateway(), c.gateway);
    EXPECT_EQ(w.gameList.Count(), std::count(c.log[0].begin(), c.log[0].end(), ';') + 1);
  }
  const std::pair<Click, std::string> stops[] = {
      {StarcraftFromGameList, "You must either restore the server list or use a private server"},
      {DiabloFromGameList, "You must either restore the server list or use a private server"},
      {StarcraftFromPrivateList,
       "You must select a server from the list before you can run Starcraft"},
      {DiabloFromPrivateList, "You must select a server from the list before you can run Diablo"}};
  for (const auto& [click, box] : stops) {
    Installed w;  // no server: the box and nothing else, not even a reload
    const bool gameList = click == StarcraftFromGameList || click == DiabloFromGameList;
    if (gameList) w.gameList = FakeListBox();
    w.privateList.selected = gameList ? 0 : -1;
    EXPECT_EQ(w.Launch(click), Strings{"box Gantrel|" + box});
    EXPECT_EQ(w.gameList.Count(), gameList ? 0 : 3);
  }
}

TEST(Launch, StarcraftTriesItsExecutableThenStarcraftExeOnceDiabloOnlyOnce) {
  const struct {
    std::string broodWar, install, program;
    std::deque<int32_t> results;
    Strings started;
    int box;  // 0: none, 1: no executable named, 2: none started
  } cases[] = {
      {"1", "C:\\SC", "D:\\x.exe", {33}, {"C:\\SC\\BROOD.EXE"}, 0},
      {"1", "C:\\SC", "", {32, 33}, {"C:\\SC\\BROOD.EXE", "C:\\SC\\Starcraft.exe"}, 0},
      {"1", "", "D:\\x.exe", {}, {}, 1},
      {"", "C:\\SC", "D:\\Games\\sc.exe", {}, {"D:\\Games\\sc.exe"}, 0},
      {"", "C:\\SC", "", {}, {}, 1},
      {"", "C:\\SC", "D:\\gone.exe", {31, 0}, {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, 2},
      {"", "", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe"}, 2},  // no "\Starcraft.exe" in the root
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
    if (c.box) expected.push_back(Failed("Starcraft", c.box == 2));
    EXPECT_EQ(w.Launch(StarcraftFromPrivateList), expected);
  }
  for (const std::string install : {"D:\\Diablo 1", ""}) {
    for (int32_t pid : {4242, 0}) {
      Installed w;
      w.Set(kArchivesKey, "DiabloInstall", install);
      w.processResults = {pid};
      w.privateList.selected = 0;
      Strings expected = {"reg Server List=127.0.0.9", kGateways, kCache};
      if (!install.empty()) expected.push_back(kDiablo);
      if (install.empty() || pid == 0) expected.push_back(Failed("Diablo", !install.empty()));
      EXPECT_EQ(w.Launch(DiabloFromPrivateList), expected);
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
    Strings expected = {
        "shell Open http://gantrel.example.org/ dir= show=0",
        "box Can't open URL!|Sorry! An internal error prevents spawning your browser",
        "shell Open mailto:gantrel@example.org dir= show=0",
        "box Can't send email!|Sorry! An internal error prevents spawning your "
        "internet email program"};
    if (result > 32) expected = {expected[0], expected[2]};
    EXPECT_EQ(w.log, expected);
  }
}

}  // namespace
}  // namespace gantrel::testing
