// The game's server list and the private list.
#include <gtest/gtest.h>

#include "fakes.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

const std::string kIni = "C:\\WIN\\gantrel.ini";
const auto Numbered = [](int i) { return "host" + std::to_string(100000 + i); };

TEST(ServerList, ImportSplitsAtEverySemicolonAndSeedsOnlyAnEmptyPrivateList) {
  const struct {
    std::string value;
    Strings rows, seeded;
  } cases[] = {
      {"b.host;;A.host; c ;",
       {"b.host", "", "A.host", " c ", ""},
       {"", "", " c ", "A.host", "b.host"}},
      {"", {""}, {""}},
  };
  for (const auto& c : cases) {
    World w;
    w.Set(kBattleNetKey, kServerListValue, c.value);
    w.gameList = FakeListBox(false, {"old1", "old2", "old3"});
    w.gameList.rows[0].data = 42;
    ImportServerList(w, w.gameList, w.privateList);
    EXPECT_EQ(w.privateList.Texts(), c.seeded);
    w.privateList = FakeListBox(true, {"mine"});
    w.privateList.selected = 0;
    ImportServerList(w, w.gameList, w.privateList);
    EXPECT_EQ(w.gameList.Texts(), c.rows);
    EXPECT_EQ(w.gameList.rows[0].data, 0);
    EXPECT_EQ(w.privateList.Texts(), Strings{"mine"});
    EXPECT_EQ(w.privateList.selected, 0);
  }
  World w;  // more entries than a list holds
  std::string value = Numbered(0);
  for (int i = 1; i < 40000; ++i) value += ";" + Numbered(i);
  w.Set(kBattleNetKey, kServerListValue, value);
  ImportServerList(w, w.gameList, w.privateList);
  for (const FakeListBox* list : {&w.gameList, &w.privateList})
    EXPECT_EQ(list->Texts().back(), Numbered(kMaxRows - 1));
}

TEST(ServerList, RestoreVersionAndCacheFile) {
  for (bool refused : {false, true}) {
    World w;
    w.Set(kBattleNetKey, kServerListValue, "old.host");
    w.Set(kStarcraftKey, kInstallPathValue, "C:\\SC\\");  // taken as it is
    w.readOnly = refused;
    RestoreServerList(w, w, w.gameList, w.privateList);
    EXPECT_EQ(w.log, (Strings{"reg Server List=" + std::string(kDefaultServerList),
                              "delete C:\\SC\\\\bncache.dat"}));
    EXPECT_EQ(w.gameList.Count(), refused ? 1 : 8);
    EXPECT_EQ(w.gameList.Row(0), refused ? "old.host" : "useast.battle.net");
  }
  for (int32_t stored : {1, 2, -1}) {
    World w;
    w.SaveDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue, stored);
    if (stored < 0) w.Set(kBattleNetKey, kServerVersionValue, "1");
    w.log.clear();
    CheckServerVersion(w);
    EXPECT_EQ(w.log.size(), stored == 1 ? 0u : 1u);
    EXPECT_EQ(w.GetDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue), 1);
  }
  World w;  // no install folder: nothing, not "\bncache.dat" in the root of the drive
  DeleteServerCache(w, w);
  w.Set(kStarcraftKey, kInstallPathValue, "");
  DeleteServerCache(w, w);
  EXPECT_TRUE(w.log.empty());
}

TEST(PrivateList, RowsTheirDescriptionsAddAndDel) {
  const struct {
    std::string address, description, row, described;
  } rows[] = {
      {"192.168.0.1", "my games", "192.168.0.1" + Blanks(10) + "my games", "my games"},
      {"twenty.chars.example", "", "twenty.chars.example", ""},
      {"h", std::string(30, 'x'), "h" + Blanks(20) + std::string(22, 'x'), std::string(22, 'x')},
      {"   host", "  two words  ", "host" + Blanks(16) + "two words", "two words"},
      {"   ", "", "", ""},
  };
  for (const auto& c : rows) {
    EXPECT_EQ(PrivateRow(c.address, c.description), c.row);
    EXPECT_EQ(PrivateRowDescription(c.row), c.described);
  }
  // A ping run's time is no part of the description.
  EXPECT_EQ(PrivateRowDescription("a.net" + Blanks(15) + " games" + Blanks(16) + " [87 ms]"),
            "games");
  const struct {
    std::deque<std::string> answers;  // "" is Cancel
    Strings log, rows;
  } adds[] = {
      {{"b.host", "second"},
       {"input Enter server address", "input Enter description of server"},
       {"a.host", PrivateRow("b.host", "second"), "c.host"}},
      {{}, {"input Enter server address"}, {"a.host", "c.host"}},
  };
  for (const auto& c : adds) {
    World w;
    w.privateList = FakeListBox(true, {"a.host", "c.host"});
    w.privateList.rows[1].data = 7;
    w.answers = c.answers;
    AddPrivateServer(w, w.privateList);
    EXPECT_EQ(w.log, c.log);
    EXPECT_EQ(w.privateList.Texts(), c.rows);
    w.privateList.selected = 0;
    DeletePrivateServer(w, w.privateList);
    DeletePrivateServer(w, w.privateList);
    EXPECT_EQ(w.privateList.rows[0].data, c.answers.empty() ? 7 : 0);
    EXPECT_EQ(w.privateList.Count(), c.rows.size() - 1);
    EXPECT_EQ(w.Boxes(), 1);
  }
}

TEST(PrivateList, SaveWritesCrLfLinesAndLoadTakesEveryNonEmptyLineUpToAFullList) {
  World w;
  w.env["windir"] = "C:\\WIN";
  w.files[kIni] = "old\r\n";
  w.privateList = FakeListBox(true, {"b.host", "A.host", PrivateRow("c.host", "desc"), "d [1 ms]"});
  SavePrivateList(w, w, w.privateList);
  EXPECT_EQ(w.files,
            (std::map<std::string, std::string>{
                {kIni, "A.host\r\nb.host\r\nc.host" + Blanks(15) + "desc\r\nd [1 ms]\r\n"}}));
  SavePrivateList(w, w, FakeListBox(true));
  EXPECT_EQ(w.files[kIni], "");
  EXPECT_TRUE(w.log.empty());
  const struct {
    std::string content;
    Strings rows;
  } cases[] = {
      {"a\r\n\r\nb\r\n", {"a", "b"}},
      {"c\rA\n\n\rb", {"A", "b", "c"}},
      {std::string(" a \r\nx\t;y\0z\n", 12), {" a ", std::string("x\t;y\0z", 6)}},
  };
  for (const auto& c : cases) {
    w.files[kIni] = c.content;
    FakeListBox list(true);
    LoadPrivateList(w, list);
    EXPECT_EQ(list.Texts(), c.rows);
  }
  w.files[kIni].clear();
  for (int i = 0; i < 40000; ++i) w.files[kIni] += Numbered(i) + "\r\n";
  LoadPrivateList(w, w.privateList = FakeListBox(true));
  EXPECT_EQ(w.privateList.Texts().back(), Numbered(kMaxRows - 1));
}

TEST(PrivateList, AFailedSaveKeepsTheOldFileByteForByteAndSaysSo) {
  void (*faults[])(World&) = {
      [](World& w) { w.failCreate = true; }, [](World& w) { w.failWriteAfter = 5; },
      [](World& w) { w.failFlush = true; }, [](World& w) { w.failReplace = true; }};
  for (auto inject : faults) {
    for (std::string windir : {"C:\\WIN", "C:\\NEW", ""}) {
      World w;
      w.env["windir"] = windir;
      w.files = {{kIni, "old.host          kept\r\n"}, {"\\gantrel.ini", "root\r\n"}};
      const auto before = w.files;
      inject(w);
      w.privateList = FakeListBox(true, {"new.host", "newer.host"});
      SavePrivateList(w, w, w.privateList);
      EXPECT_EQ(w.files, before);
      EXPECT_EQ(w.Boxes(), 1);
      LoadPrivateList(w, w.privateList);  // without a Windows folder, not even a read
      EXPECT_EQ(w.privateList.Count(), windir == "C:\\WIN" ? 3 : 2);
    }
  }
}

}  // namespace
}  // namespace gantrel::testing
