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
  World w;
  w.Set(kBattleNetKey, kServerListValue, "b.host;;A.host; c ;");
  w.gameList = FakeListBox(false, {"old1", "old2", "old3"});
  w.gameList.rows[0].data = 42;
  ImportServerList(w, w.gameList, w.privateList);
  EXPECT_EQ(w.gameList.Texts(), (Strings{"b.host", "", "A.host", " c ", ""}));
  EXPECT_EQ(w.gameList.rows[0].data, 0);
  EXPECT_EQ(w.privateList.Texts(), (Strings{"", "", " c ", "A.host", "b.host"}));
  w.privateList = FakeListBox(true, {"mine"});
  w.privateList.selected = 0;
  w.Set(kBattleNetKey, kServerListValue, "");
  ImportServerList(w, w.gameList, w.privateList);
  EXPECT_EQ(w.gameList.Texts(), Strings{""});
  EXPECT_EQ(w.privateList.Texts(), Strings{"mine"});
  EXPECT_EQ(w.privateList.selected, 0);

  std::string value = Numbered(0);  // more entries than a list holds
  for (int i = 1; i < 40000; ++i) value += ";" + Numbered(i);
  w.Set(kBattleNetKey, kServerListValue, value);
  ImportServerList(w, w.gameList, w.privateList = FakeListBox(true));
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
    EXPECT_EQ(w.gameList.Row(0) + " " + w.gameList.Row(w.gameList.Count() - 1),
              refused ? "old.host old.host" : "useast.battle.net 211.233.0.72");
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

TEST(PrivateList, RowsAddAndDel) {
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

  for (bool cancel : {false, true}) {
    World w;
    w.privateList = FakeListBox(true, {"a.host", "c.host"});
    w.privateList.rows[1].data = 7;
    w.answers = {cancel ? "" : "b.host", "second"};
    AddPrivateServer(w, w.privateList);
    const Strings added = {"a.host", PrivateRow("b.host", "second"), "c.host"};
    EXPECT_EQ(w.privateList.Texts(), cancel ? (Strings{"a.host", "c.host"}) : added);
    w.privateList.selected = 0;
    DeletePrivateServer(w, w.privateList);
    DeletePrivateServer(w, w.privateList);  // no row selected any more
    EXPECT_EQ(w.privateList.rows[0].data, cancel ? 7 : 0);
    Strings log = {"input Enter server address", "input Enter description of server",
                   "box Gantrel|You must select a server before attempting to delete it"};
    if (cancel) log.erase(log.begin() + 1);
    EXPECT_EQ(w.log, log);
  }
}

TEST(PrivateList, SaveWritesCrLfLinesAndLoadTakesEveryNonEmptyLineUpToAFullList) {
  World w;
  w.env["windir"] = "C:\\WIN";
  w.files[kIni] = "old\r\n";
  w.privateList = FakeListBox(true, {"b.host", "A.host", PrivateRow("c", "d e"), "d [1 ms]"});
  SavePrivateList(w, w, w.privateList);
  SavePrivateList(w, w, FakeListBox(true));
  EXPECT_EQ(w.files, (std::map<std::string, std::string>{{kIni, ""}}));
  EXPECT_TRUE(w.log.empty());
  const std::map<std::string, Strings> cases = {
      {"A.host\r\nb.host\r\nc" + Blanks(20) + "d e\r\nd [1 ms]\r\n", w.privateList.Texts()},
      {"c\rA\n\n\rb", {"A", "b", "c"}},
      {std::string(" a \r\nx\t;y\0z", 11), {" a ", std::string("x\t;y\0z", 6)}},
  };
  for (const auto& [content, rows] : cases) {
    w.files[kIni] = content;
    LoadPrivateList(w, w.privateList = FakeListBox(true));
    EXPECT_EQ(w.privateList.Texts(), rows);
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
    for (std::string windir : {"C:\\WIN", ""}) {
      World w;
      w.env["windir"] = windir;
      w.files = {{kIni, "old.host          kept\r\n"}, {"\\gantrel.ini", "root\r\n"}};
      const auto before = w.files;
      inject(w);
      w.privateList = FakeListBox(true, {"new.host", "newer.host"});
      SavePrivateList(w, w, w.privateList);
      EXPECT_EQ(w.files, before);
      EXPECT_EQ(w.log.back(), windir.empty() ? "box Gantrel|The private server list could not be "
                                               "saved: the Windows folder is not known."
                                             : "box Gantrel|The private server list could not be "
                                               "saved to C:\\WIN\\gantrel.ini");
      LoadPrivateList(w, w.privateList);  // without a Windows folder, not even a read
      EXPECT_EQ(w.privateList.Count(), windir.empty() ? 2 : 3);
    }
  }
}

}  // namespace
}  // namespace gantrel::testing
