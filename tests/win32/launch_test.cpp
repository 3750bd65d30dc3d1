// The launches end to end: the real registry, files and process starts, with copies of the stub
// game installed as the games in temporary folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_list_box.h"
#include "launch/launch.h"
#include "launch/win32_launcher.h"
#include "launch_stub/stub_record.h"
#include "private_list/win32_files.h"
#include "registry/server_list.h"
#include "registry/win32_registry.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeListBox;
using testing::FileExists;
using testing::PutStub;
using testing::ReadRecord;
using testing::SavedRegistryValue;
using testing::StubRecord;
using testing::TempFolder;
using testing::WaitForAnyRecord;
using testing::WaitForRecord;

constexpr const char* kStarcraftKeyName = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
constexpr const char* kArchivesKeyName = "SOFTWARE\\Blizzard Entertainment\\Archives";

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  return std::string(folder, GetCurrentDirectoryA(MAX_PATH, folder));
}

// Paths compared as Windows compares them: letter case ignored, no trailing backslash.
bool SamePath(std::string a, std::string b) {
  for (std::string* p : {&a, &b})
    if (p->size() > 3 && p->back() == '\\') p->pop_back();
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

class Win32LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(testing::StubGame())) << testing::StubGame();
    // "C:\...\Program Files\Starcraft"-like folders, with a decoy at the spot an unquoted
    // path would reach first.
    starcraft = temp.Folder("Program Files\\Starcraft");
    diablo = temp.Folder("Program Files\\Diablo");
    decoy = temp.Path() + "\\Program.exe";
    ASSERT_TRUE(PutStub(decoy));
    ASSERT_TRUE(testing::WriteFileBytes(starcraft + "\\bncache.dat", "cache"));
    Set(kStarcraftKeyName, "InstallPath", starcraft);
    Set(kStarcraftKeyName, "Brood War", "");
    Set(kStarcraftKeyName, "Program", "");
    Set(kArchivesKeyName, "DiabloInstall", diablo);
  }

  void Set(const char* key, const char* name, const std::string& text) {
    registry.SaveString(kHkeyLocalMachine, key, name, text);
  }
  std::string ServerList() {
    return registry.GetString(kHkeyLocalMachine, kBattleNetKey, kServerListValue);
  }
  // Checks that the stub ran as `exe`, from `folder`, with `show`; then that the decoy did not.
  void ExpectStarted(const StubRecord& r, const std::string& exe, const std::string& folder,
                     int show) {
    EXPECT_TRUE(SamePath(r.at("module"), exe)) << r.at("module");
    EXPECT_TRUE(SamePath(r.at("cwd"), folder)) << r.at("cwd");
    EXPECT_NE(std::stoul(r.at("flags")) & STARTF_USESHOWWINDOW, 0u);
    EXPECT_EQ(std::stoi(r.at("show")), show);
    EXPECT_FALSE(ReadRecord(decoy)) << "the decoy Program.exe ran";
  }

  // Values the tests change, put back afterwards for the other suites of this program.
  SavedRegistryValue savedList{HKEY_LOCAL_MACHINE, kBattleNetKey, kServerListValue};
  SavedRegistryValue savedInstall{HKEY_LOCAL_MACHINE, kStarcraftKeyName, "InstallPath"};
  SavedRegistryValue savedBroodWar{HKEY_LOCAL_MACHINE, kStarcraftKeyName, "Brood War"};
  SavedRegistryValue savedProgram{HKEY_LOCAL_MACHINE, kStarcraftKeyName, "Program"};
  SavedRegistryValue savedDiablo{HKEY_LOCAL_MACHINE, kArchivesKeyName, "DiabloInstall"};

  TempFolder temp;
  std::string starcraft, diablo, decoy;
  FakeListBox list1;
  FakeListBox list2{true};
  FakeDialogs dialogs;
  Win32Registry registry;
  Win32Files files;
  Win32Launcher launcher;
  LaunchPorts ports{list1, list2, dialogs, registry, files, launcher};
};

TEST_F(Win32LaunchTest, BroodWarStartsHiddenInItsInstallFolder) {
  ASSERT_TRUE(PutStub(starcraft + "\\BROOD.EXE"));
  ASSERT_TRUE(PutStub(starcraft + "\\Starcraft.exe"));
  Set(kStarcraftKeyName, "Brood War", "1");
  list1.Fill({"127.0.0.1 [5 ms]", "b.example [N/A]", "c.example"});
  StarcraftFromGameList(ports);
  const auto r = WaitForRecord(starcraft + "\\BROOD.EXE");
  ASSERT_TRUE(r) << "BROOD.EXE did not start within 10 s";
  ExpectStarted(*r, starcraft + "\\BROOD.EXE", starcraft, SW_HIDE);
  EXPECT_FALSE(ReadRecord(starcraft + "\\Starcraft.exe"));
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(ServerList(), "127.0.0.1;b.example;c.example");
  EXPECT_FALSE(FileExists(starcraft + "\\bncache.dat"));
  EXPECT_EQ(list1.Texts(), (std::vector<std::string>{"127.0.0.1", "b.example", "c.example"}));
}

TEST_F(Win32LaunchTest, MissingBroodWarFallsBackToStarcraft) {
  ASSERT_TRUE(PutStub(starcraft + "\\Starcraft.exe"));
  Set(kStarcraftKeyName, "Brood War", "1");
  list1.Fill({"127.0.0.1 [5 ms]", "b.example [N/A]"});
  list1.selected = 1;
  StarcraftFromGameList(ports);
  const auto r = WaitForRecord(starcraft + "\\Starcraft.exe");
  ASSERT_TRUE(r) << "Starcraft.exe did not start within 10 s";
  ExpectStarted(*r, starcraft + "\\Starcraft.exe", starcraft, SW_HIDE);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(ServerList(), "b.example");
}

TEST_F(Win32LaunchTest, MissingExecutablesGiveTheStartFailureAndNeverRunTheDecoy) {
  Set(kStarcraftKeyName, "Program", starcraft + "\\gone.exe");
  list1.Fill({"a.example"});
  StarcraftFromGameList(ports);
  DiabloFromGameList(ports);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_NE(
      dialogs.boxes[0].text.find("illegal entry... this means your installation of Starcraft:"),
      std::string::npos);
  EXPECT_NE(dialogs.boxes[1].text.find("illegal entry... this means your installation of Diablo:"),
            std::string::npos);
  EXPECT_EQ(ServerList(), "a.example");
  EXPECT_FALSE(FileExists(starcraft + "\\bncache.dat"));
  Sleep(500);
  EXPECT_FALSE(ReadRecord(decoy)) << "the decoy Program.exe ran";
}

TEST_F(Win32LaunchTest, DiabloStartsMinimizedInOurFolderNeverTheDecoy) {
  const std::string exe = diablo + "\\Diablo.exe";
  ASSERT_TRUE(PutStub(exe));
  list1.Fill({"127.0.0.1 [5 ms]", "b.example"});
  DiabloFromGameList(ports);
  const auto found = WaitForAnyRecord({exe, decoy});
  ASSERT_TRUE(found) << "nothing started within 10 s";
  ASSERT_EQ(found->first, 0u) << "the decoy Program.exe ran instead of Diablo.exe";
  const StubRecord& r = found->second;
  ExpectStarted(r, exe, CurrentFolder(), SW_SHOWMINIMIZED);
  EXPECT_EQ(r.at("cmdline"), "\"" + exe + "\"");  // no arguments
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(ServerList(), "127.0.0.1;b.example");
  EXPECT_FALSE(FileExists(starcraft + "\\bncache.dat"));
}

// The hazard the Diablo start avoids is real here: a bare path with a blank runs the decoy.
TEST_F(Win32LaunchTest, BareCommandLineWouldRunTheDecoy) {
  const std::string exe = diablo + "\\Diablo.exe";
  ASSERT_TRUE(PutStub(exe));
  EXPECT_NE(launcher.StartProcess("", exe, SW_SHOWMINIMIZED), 0);
  const auto found = WaitForAnyRecord({exe, decoy});
  ASSERT_TRUE(found) << "nothing started within 10 s";
  EXPECT_EQ(found->first, 1u) << "a bare command line did not reach the decoy";
}

}  // namespace
}  // namespace gantrel
