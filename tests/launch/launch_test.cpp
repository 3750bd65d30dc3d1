#include "launch/launch.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_launcher.h"
#include "fakes/fake_list_box.h"
#include "fakes/fake_registry.h"
#include "registry/server_list.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeFiles;
using testing::FakeLauncher;
using testing::FakeListBox;
using testing::FakeRegistry;
using Strings = std::vector<std::string>;

constexpr const char* kStarcraftKeyName = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
constexpr const char* kArchivesKeyName = "SOFTWARE\\Blizzard Entertainment\\Archives";

const std::string kEmptyGameList =
    "You must either restore the server list or use a private server";
const std::string kScNoSelection =
    "You must select a server from the list before you can run Starcraft";
const std::string kDiNoSelection =
    "You must select a server from the list before you can run Diablo";

const std::string kScNotFound =
    "The registry key used to locate the executable does not exist... this means your installation "
    "of Starcraft is either corrupted or an illegal copy.\r\rRe-install Starcraft for this feature "
    "to work.  If you continue to receive this error, please contact me via email.\r\rNote:  The "
    "server list should still be valid so you may still execute Starcraft manually";
const std::string kScStartFailure =
    "The registry key used to locate the executable points to an illegal entry... this means your "
    "installation of Starcraft:\r\r1) has been moved from the original install directory\ror 2) is "
    "corrupted \ror 3) is an illegal copy.\r\rRe-install Starcraft for this feature to work.  If "
    "you continue to receive this error, please contact me via email.\r\rNote:  The server list "
    "should still be valid so you may still execute Starcraft manually";

// The Diablo messages are the Starcraft ones with the game's name changed.
std::string ForDiablo(std::string text) {
  for (size_t at; (at = text.find("Starcraft")) != std::string::npos;)
    text.replace(at, 9, "Diablo");
  return text;
}
const std::string kDiNotFound = ForDiablo(kScNotFound);
const std::string kDiStartFailure = ForDiablo(kScStartFailure);

struct Handler {
  const char* name;
  void (*click)(const LaunchPorts&);
};
const Handler kCommand2{"Command2", StarcraftFromGameList};
const Handler kCommand6{"Command6", StarcraftFromPrivateList};
const Handler kCommand8{"Command8", DiabloFromGameList};
const Handler kCommand9{"Command9", DiabloFromPrivateList};

class LaunchTest : public ::testing::Test {
 protected:
  FakeListBox list1;
  FakeListBox list2{true};
  FakeDialogs dialogs;
  FakeRegistry registry;
  FakeFiles files;
  FakeLauncher launcher;
  LaunchPorts ports{list1, list2, dialogs, registry, files, launcher};

  // A fresh world for each handler run inside one test: both games installed, a cache file.
  void Reset() {
    list1 = FakeListBox();
    list2 = FakeListBox(true);
    dialogs = FakeDialogs();
    registry = FakeRegistry();
    files = FakeFiles();
    launcher = FakeLauncher();
    Set(kStarcraftKeyName, "Brood War", "1");
    Set(kStarcraftKeyName, "InstallPath", "C:\\SC");
    Set(kArchivesKeyName, "DiabloInstall", "C:\\Diablo");
    files.files["C:\\SC\\bncache.dat"] = "cache";
  }
  void Set(const char* key, const char* name, const std::string& text) {
    registry.values[{key, name}] = text;
  }
  std::string ServerList() {
    return registry.GetString(kHkeyLocalMachine, kBattleNetKey, kServerListValue);
  }
  Strings BoxTexts() const {
    Strings out;
    for (const auto& b : dialogs.boxes) out.push_back(b.text);
    return out;
  }
  int Starts() const {
    return static_cast<int>(launcher.shellCalls.size() + launcher.processCalls.size());
  }
  // Every box of the launches: the application title, no icon.
  void ExpectPlainBoxes() const {
    for (const auto& b : dialogs.boxes) {
      EXPECT_EQ(b.title, "Gantrel");
      EXPECT_EQ(b.icon, MsgIcon::None);
    }
  }
};

// --- Which servers are written -----------------------------------------------------------------

TEST_F(LaunchTest, GameListWritesSelectedAddressOrAllAddressesJoined) {
  const Strings measured = {"127.0.0.1 [12 ms]", "b.example [N/A]", "c.example"};
  const struct {
    Strings rows;
    int16_t selected;
    std::string written;
  } cases[] = {
      {measured, -1, "127.0.0.1;b.example;c.example"},
      {measured, 1, "b.example"},
      {{"a.example [5 ms]"}, -1, "a.example"},
      {{"a.example", " b.example", "c.example"}, -1, "a.example;;c.example"},
  };
  for (const Handler& h : {kCommand2, kCommand8}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(h.name) + " -> " + c.written);
      Reset();
      list1.Fill(c.rows);
      list1.selected = c.selected;
      h.click(ports);
      EXPECT_EQ(ServerList(), c.written);
      EXPECT_EQ(Starts(), 1);
      EXPECT_TRUE(dialogs.boxes.empty());
    }
  }
}

// --- Clicks that stop at once ------------------------------------------------------------------

TEST_F(LaunchTest, ClicksWithoutAServerStopBeforeAnyChange) {
  // An empty game list stops even with a private row selected; a private row must be selected.
  const struct {
    Handler handler;
    Strings list1;
    int16_t privateSelected;
    std::string message;
  } cases[] = {{kCommand2, {}, 0, kEmptyGameList},
               {kCommand8, {}, 0, kEmptyGameList},
               {kCommand6, {"a.example [4 ms]"}, -1, kScNoSelection},
               {kCommand9, {"a.example [4 ms]"}, -1, kDiNoSelection}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handler.name);
    Reset();
    list1.Fill(c.list1);
    list2.Fill({"127.0.0.9            home box", "b.example"});
    list2.selected = c.privateSelected;
    Set(kBattleNetKey, kServerListValue, "old.example");
    c.handler.click(ports);
    EXPECT_EQ(BoxTexts(), Strings{c.message});
    ExpectPlainBoxes();
    EXPECT_EQ(registry.writes, 0);
    EXPECT_TRUE(files.deleted.empty());
    EXPECT_EQ(Starts(), 0);
    EXPECT_EQ(list1.Texts(), c.list1);  // not reloaded: a reload would show old.example
  }
}

// --- The private list's server, the cache file and the order of the steps -------------------

TEST_F(LaunchTest, ValueWrittenAndCacheGoneBeforeTheStartExceptForCommand6) {
  // A private-list click writes the selected private row's address, whatever List1 holds.
  const struct {
    Handler handler;
    bool deletes;
    std::string written;
  } handlers[] = {{kCommand2, true, "b.example"},
                  {kCommand6, false, "127.0.0.9"},
                  {kCommand8, true, "b.example"},
                  {kCommand9, true, "127.0.0.9"}};
  for (const auto& h : handlers) {
    SCOPED_TRACE(h.handler.name);
    Reset();
    list1.Fill({"a.example [4 ms]", "b.example"});
    list1.selected = 1;
    list2.Fill({"b.example            the other one", "127.0.0.9            home box"});
    list2.selected = 0;  // sorted: the 127.0.0.9 row comes first
    Set(kBattleNetKey, kServerListValue, "old.example");
    bool cacheAtStart = true;
    std::string valueAtStart;
    launcher.onStart = [&] {
      cacheAtStart = files.files.count("C:\\SC\\bncache.dat") > 0;
      valueAtStart = ServerList();
    };
    launcher.shellResults = {0, 0};  // a failed start does not bring the cache back
    launcher.processResults = {0};
    h.handler.click(ports);
    ASSERT_GE(Starts(), 1);
    EXPECT_EQ(cacheAtStart, !h.deletes);
    EXPECT_EQ(files.files.count("C:\\SC\\bncache.dat") > 0, !h.deletes);
    EXPECT_EQ(valueAtStart, h.written);  // the value is written before the start
    EXPECT_EQ(ServerList(), h.written);
    EXPECT_EQ(list1.Texts(), Strings{h.written});
  }
}

// --- Starcraft: which executable, how it is started --------------------------------------------

TEST_F(LaunchTest, StarcraftChoosesExecutableAndFallsBackOnce) {
  struct Case {
    const char* what;
    std::string broodWar, installPath, program;
    std::deque<int32_t> results;
    Strings files;  // started, in order
    Strings boxes;
  };
  // clang-format off
  const Case cases[] = {
      // "Program" is not used when "Brood War" is set; a result above 32 is a start.
      {"brood war starts", "1", "C:\\SC", "D:\\x.exe", {33}, {"C:\\SC\\BROOD.EXE"}, {}},
      {"brood war fails (32): starcraft instead", "1", "C:\\SC", "", {32, 33},
       {"C:\\SC\\BROOD.EXE", "C:\\SC\\Starcraft.exe"}, {}},
      {"brood war without install folder", "1", "", "D:\\x.exe", {}, {}, {kScNotFound}},
      {"program used unchanged", "", "C:\\SC", "D:\\Games\\sc.exe", {42}, {"D:\\Games\\sc.exe"}, {}},
      {"program empty", "", "C:\\SC", "", {}, {}, {kScNotFound}},
      {"program fails: starcraft instead", "", "C:\\SC", "D:\\gone.exe", {2, 42},
       {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, {}},
      {"program and starcraft fail", "", "C:\\SC", "D:\\gone.exe", {31, 0},
       {"D:\\gone.exe", "C:\\SC\\Starcraft.exe"}, {kScStartFailure}},
      // No install folder: no "\Starcraft.exe" from the drive's root folder.
      {"program fails, no install folder", "", "", "D:\\gone.exe", {2, 42}, {"D:\\gone.exe"},
       {kScStartFailure}},
  };
  // clang-format on
  for (const Handler& h : {kCommand2, kCommand6}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(h.name) + ": " + c.what);
      Reset();
      list1.Fill({"a.example [4 ms]"});
      list2.Fill({"127.0.0.9            home box"});
      list2.selected = 0;
      Set(kStarcraftKeyName, "Brood War", c.broodWar);
      Set(kStarcraftKeyName, "InstallPath", c.installPath);
      Set(kStarcraftKeyName, "Program", c.program);
      launcher.shellResults = c.results;
      h.click(ports);
      Strings started;
      for (const auto& call : launcher.shellCalls) {
        started.push_back(call.file);
        EXPECT_EQ(call.operation, "Open");
        EXPECT_EQ(call.parameters, "");
        EXPECT_EQ(call.directory, c.installPath);
        EXPECT_EQ(call.showCommand, 0);
      }
      EXPECT_EQ(started, c.files);
      EXPECT_TRUE(launcher.processCalls.empty());
      EXPECT_EQ(BoxTexts(), c.boxes);
      ExpectPlainBoxes();
      // Reloaded after every outcome: the one server just written, without its time.
      EXPECT_EQ(list1.Texts(), Strings{ServerList()});
      EXPECT_NE(list1.List(0), "a.example [4 ms]");
    }
  }
}

// --- Diablo ------------------------------------------------------------------------------------

TEST_F(LaunchTest, DiabloStartsNamedQuotedMinimizedOnce) {
  const std::string exe = "C:\\Program Files\\Diablo\\Diablo.exe";
  struct Case {
    const char* what;
    std::string install;
    int32_t pid;
    size_t starts;
    Strings boxes;
  };
  const Case cases[] = {
      {"started", "C:\\Program Files\\Diablo", 4242, 1, {}},
      {"start fails", "C:\\Program Files\\Diablo", 0, 1, {kDiStartFailure}},
      {"install folder empty", "", 4242, 0, {kDiNotFound}},
  };
  for (const Handler& h : {kCommand8, kCommand9}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(h.name) + ": " + c.what);
      Reset();
      list1.Fill({"a.example [4 ms]", "b.example [N/A]"});
      list2.Fill({"127.0.0.9            home box"});
      list2.selected = 0;
      Set(kArchivesKeyName, "DiabloInstall", c.install);
      launcher.processDefault = c.pid;
      h.click(ports);
      ASSERT_EQ(launcher.processCalls.size(), c.starts);
      if (c.starts == 1) {
        EXPECT_EQ(launcher.processCalls[0].applicationName, exe);
        EXPECT_EQ(launcher.processCalls[0].commandLine, "\"" + exe + "\"");
        EXPECT_EQ(launcher.processCalls[0].showState, 2);
      }
      EXPECT_TRUE(launcher.shellCalls.empty());
      EXPECT_EQ(BoxTexts(), c.boxes);
      ExpectPlainBoxes();
      // Written, cache removed and reloaded whatever became of the start.
      EXPECT_EQ(ServerList(), h.click == DiabloFromGameList ? "a.example;b.example" : "127.0.0.9");
      EXPECT_EQ(files.files.count("C:\\SC\\bncache.dat"), 0u);
      Strings expected =
          h.click == DiabloFromGameList ? Strings{"a.example", "b.example"} : Strings{"127.0.0.9"};
      EXPECT_EQ(list1.Texts(), expected);
    }
  }
}

}  // namespace
}  // namespace gantrel
