// The game's server list and the private list over the fakes.
#include <gtest/gtest.h>

#include "fakes.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

const std::string kIni = "C:\\WIN\\gantrel.ini";
std::string Blanks(size_t n) { return std::string(n, ' '); }
std::string Numbered(int i) { return "host" + std::to_string(100000 + i); }

TEST(ServerList, ImportSplitsAtEverySemicolonAndSeedsOnlyAnEmptyPrivateList) {
  const struct {
    std::string value;
    Strings rows, seeded;
  } cases[] = {
      {"b.host;;A.host;c.host", {"b.host", "", "A.host", "c.host"}, {"", "A.host", "b.host", "c.host"}},
      {"a;b;", {"a", "b", ""}, {"", "a", "b"}},
      {" a ; b\t", {" a ", " b\t"}, {" a ", " b\t"}},
      {"", {""}, {""}},
  };
  for (const auto& c : cases) {
    World w;
    w.registry.Set(kBattleNetKey, kServerListValue, c.value);
    w.gameList = FakeListBox(false, {"old1", "old2", "old3"});
    w.gameList.rows[0].data = 42;
    ImportServerList(w.registry, w.gameList, w.privateList);
    EXPECT_EQ(w.privateList.Texts(), c.seeded) << c.value;
    w.privateList = FakeListBox(true, {"mine"});
    w.privateList.selected = 0;
    ImportServerList(w.registry, w.gameList, w.privateList);
    EXPECT_EQ(w.gameList.Texts(), c.rows) << c.value;
    EXPECT_EQ(w.gameList.rows[0].data, 0);
    EXPECT_EQ(w.privateList.Texts(), Strings{"mine"});
    EXPECT_EQ(w.privateList.selected, 0);
  }
  World w;  // more entries than a list holds
  std::string value = Numbered(0);
  for (int i = 1; i < 40000; ++i) value += ";" + Numbered(i);
  w.registry.Set(kBattleNetKey, kServerListValue, value);
  ImportServerList(w.registry, w.gameList, w.privateList);
  for (const FakeListBox* list : {&w.gameList, &w.privateList}) {
    ASSERT_EQ(list->Count(), kMaxRows);
    EXPECT_EQ(list->Row(kMaxRows - 1), Numbered(kMaxRows - 1));
  }
}

TEST(ServerList, RestoreVersionAndCacheFile) {
  for (bool refused : {false, true}) {
    World w;
    w.registry.Set(kBattleNetKey, kServerListValue, "old.host");
    w.registry.Set(kStarcraftKey, kInstallPathValue, "C:\\SC\\");
    w.registry.readOnly = refused;
    RestoreServerList(w.registry, w.files, w.gameList, w.privateList);
    // The folder's text as it is, with nothing inserted or removed.
    EXPECT_EQ(w.log, (Strings{"reg Server List=" + std::string(kDefaultServerList),
                              "delete C:\\SC\\\\bncache.dat"}));
    EXPECT_EQ(w.gameList.Count(), refused ? 1 : 8);
    EXPECT_EQ(w.gameList.Row(0), refused ? "old.host" : "useast.battle.net");
    EXPECT_EQ(w.registry.Text(kBattleNetKey, kServerListValue),
              refused ? "old.host" : kDefaultServerList);
  }
  for (auto dword : {std::optional<int32_t>(1), std::optional<int32_t>(2), std::optional<int32_t>()}) {
    FakeRegistry registry;
    if (dword) registry.SaveDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue, *dword);
    else registry.Set(kBattleNetKey, kServerVersionValue, "1");
    registry.writes = 0;
    CheckServerVersion(registry);
    EXPECT_EQ(registry.writes, dword == 1 ? 0 : 1);
    EXPECT_EQ(registry.GetDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue), 1);
  }
  for (const char* folder : {"", static_cast<const char*>(nullptr)}) {
    World w;  // no "\bncache.dat" in the root of the drive
    if (folder) w.registry.Set(kStarcraftKey, kInstallPathValue, folder);
    DeleteServerCache(w.registry, w.files);
    EXPECT_TRUE(w.log.empty());
  }
}

TEST(PrivateList, RowsAndTheirDescriptions) {
  const struct {
    std::string address, description, row, described;
  } cases[] = {
      {"192.168.0.1", "my games", "192.168.0.1" + Blanks(10) + "my games", "my games"},
      {"192.168.0.1", "", "192.168.0.1", ""},
      {"twenty.chars.example", "d", "twenty.chars.example d", "d"},
      {"h", std::string(30, 'x'), "h" + Blanks(20) + std::string(22, 'x'), std::string(22, 'x')},
      {"   host", "  two words  ", "host" + Blanks(16) + "two words", "two words"},
      {"   ", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrivateRow(c.address, c.description), c.row) << c.address;
    EXPECT_EQ(PrivateRowDescription(c.row), c.described) << c.row;
  }
  // A ping run's time is no part of the description.
  EXPECT_EQ(PrivateRowDescription("a.net" + Blanks(15) + " games" + Blanks(16) + " [87 ms]"), "games");
  EXPECT_EQ(PrivateRowDescription("a.net" + Blanks(37) + " [N/A]"), "");
}

TEST(PrivateList, AddAsksForAddressThenDescriptionDelRemovesTheSelectedRow) {
  const Strings prompts = {"input Enter server address", "input Enter description of server"};
  const struct {
    std::deque<std::string> answers;  // "" is Cancel
    size_t prompts;
    Strings rows;
  } cases[] = {
      {{"b.host", "second"}, 2, {"a.host", PrivateRow("b.host", "second"), "c.host"}},
      {{}, 1, {"a.host", "c.host"}},
      {{"10.0.0.1"}, 2, {"10.0.0.1", "a.host", "c.host"}},
  };
  for (const auto& c : cases) {
    World w;
    w.privateList = FakeListBox(true, {"a.host", "c.host"});
    w.dialogs.answers = c.answers;
    AddPrivateServer(w.dialogs, w.privateList);
    EXPECT_EQ(w.log, Strings(prompts.begin(), prompts.begin() + static_cast<long>(c.prompts)));
    EXPECT_EQ(w.privateList.Texts(), c.rows);
  }
  World w;
  w.privateList = FakeListBox(true, {"a", "b", "c"});
  w.privateList.rows[2].data = 7;
  w.privateList.selected = 1;
  DeletePrivateServer(w.dialogs, w.privateList);
  EXPECT_EQ(w.privateList.Texts(), (Strings{"a", "c"}));
  EXPECT_EQ(w.privateList.rows[1].data, 7);
  EXPECT_TRUE(w.log.empty());
  DeletePrivateServer(w.dialogs, w.privateList);
  EXPECT_EQ(w.privateList.Count(), 2);
  EXPECT_EQ(w.log.size(), 1u);
}

TEST(PrivateList, SaveAndLoad) {
  World w;
  w.files.env["windir"] = "C:\\WIN";
  w.files.files[kIni] = "old\r\n";
  w.privateList = FakeListBox(true, {"b.host", "A.host", PrivateRow("c.host", "desc"), "d [1 ms]"});
  SavePrivateList(w.files, w.dialogs, w.privateList);
  const std::string saved = "A.host\r\nb.host\r\nc.host" + Blanks(15) + "desc\r\nd [1 ms]\r\n";
  EXPECT_EQ(w.files.files, (std::map<std::string, std::string>{{kIni, saved}}));
  FakeListBox loaded(true);
  LoadPrivateList(w.files, loaded);
  EXPECT_EQ(loaded.Texts(), w.privateList.Texts());
  SavePrivateList(w.files, w.dialogs, FakeListBox(true));
  EXPECT_EQ(w.files.files[kIni], "");
  EXPECT_TRUE(w.log.empty());

  const struct {
    std::string content;
    Strings rows;
  } cases[] = {
      {"a\r\n\r\nb\r\n", {"a", "b"}}, {"a\rb\r", {"a", "b"}},       {"a\nb", {"a", "b"}},
      {"\r\n\r\n\n\r", {}},           {"c\r\nA\r\nb", {"A", "b", "c"}},
      {" a \r\nx\t;y [1 ms]\r\n", {" a ", "x\t;y [1 ms]"}},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    w.files.files[kIni] = c.content;
    FakeListBox list(true);
    LoadPrivateList(w.files, list);
    EXPECT_EQ(list.Texts(), c.rows);
  }
  w.files.files.clear();
  LoadPrivateList(w.files, loaded);  // no file: nothing more
  EXPECT_EQ(loaded.Count(), 4);
  for (int i = 0; i < 40000; ++i) w.files.files[kIni] += Numbered(i) + "\r\n";
  FakeListBox full(true);
  LoadPrivateList(w.files, full);
  ASSERT_EQ(full.Count(), kMaxRows);
  EXPECT_EQ(full.Row(kMaxRows - 1), Numbered(kMaxRows - 1));
}

TEST(PrivateList, AFailedSaveKeepsTheOldFileByteForByteAndSaysSo) {
  void (*faults[])(FakeFiles&) = {
      [](FakeFiles& f) { f.failCreate = true; }, [](FakeFiles& f) { f.failWriteAfter = 5; },
      [](FakeFiles& f) { f.failFlush = true; }, [](FakeFiles& f) { f.failReplace = true; }};
  for (auto inject : faults) {
    for (std::string windir : {"C:\\WIN", "C:\\NEW", ""}) {
      World w;
      w.files.env["windir"] = windir;
      w.files.files = {{kIni, "old.host          kept\r\n"}, {"\\gantrel.ini", "root\r\n"}};
      const auto before = w.files.files;
      inject(w.files);
      w.privateList = FakeListBox(true, {"new.host", "newer.host"});
      SavePrivateList(w.files, w.dialogs, w.privateList);
      EXPECT_EQ(w.files.files, before);
      EXPECT_EQ(Boxes(w.log), 1);
      if (windir.empty()) {  // no Windows folder: the root of the drive is not read either
        LoadPrivateList(w.files, w.privateList = FakeListBox(true));
        EXPECT_EQ(w.privateList.Count(), 0);
      }
    }
  }
}

}  // namespace
}  // namespace gantrel::testing
