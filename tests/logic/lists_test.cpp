// The game's server list, the private list, both ping runs and the sort.
#include <gtest/gtest.h>

#include "fakes.h"
#include "ping_sort/ping_runs.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel::testing {
namespace {

const std::string kIni = "C:\\WIN\\gantrel.ini";

TEST(ServerList, RestoreWritesTheDefaultListDeletesTheCacheFileAndShowsTheList) {
  World w;
  DeleteServerCache(w, w);  // no install folder: nothing, not "\bncache.dat" in the drive's root
  w.Set(kStarcraftKey, kInstallPathValue, "C:\\SC\\");  // taken as it is
  RestoreServerList(w, w, w.gameList, w.privateList);
  const std::string list = kDefaultServerList;
  EXPECT_EQ(w.log, (Strings{"reg Server List=" + list, "delete C:\\SC\\\\bncache.dat"}));
  EXPECT_EQ(w.gameList.RowsText(";"), list + ";");
  EXPECT_EQ(w.privateList.Texts(), w.gameList.Texts());  // an empty private list takes them too
}

TEST(PrivateList, RowsAddAndDel) {
  const struct {
    std::string address, description, row;
  } rows[] = {
      {"192.168.0.1", "my games", "192.168.0.1" + Blanks(10) + "my games"},
      {"h", std::string(30, 'x'), "h" + Blanks(20) + std::string(22, 'x')},
      {"   host", "  two words  ", "host" + Blanks(16) + "two words"},
      {"   ", "", ""},
  };
  for (const auto& c : rows) EXPECT_EQ(PrivateRow(c.address, c.description), c.row);
  // The description is what follows the padded address, a ping run's time no part of it.
  EXPECT_EQ(PrivateRowDescription("a.net" + Blanks(15) + " games" + Blanks(16) + " [8 ms TCP]"),
            "games");

  World w;
  w.privateList = FakeListBox({"a.host", "c.host"});
  w.answers = {"b.host", "second"};
  AddPrivateServer(w, w.privateList);
  AddPrivateServer(w, w.privateList);  // the address box cancelled: nothing added
  w.privateList.selected = 1;
  DeletePrivateServer(w, w.privateList);
  DeletePrivateServer(w, w.privateList);  // no row selected any more
  EXPECT_EQ(w.privateList.Texts(), (Strings{"a.host", PrivateRow("b.host", "second")}));
  EXPECT_EQ(w.Boxes(),
            Strings{"box Gantrel|You must select a server before attempting to delete it"});
}

TEST(PrivateList, SaveWritesCrLfLinesOrKeepsTheOldFileAndLoadTakesEveryNonEmptyLine) {
  World w;
  w.env["windir"] = "C:\\WIN";
  w.privateList = FakeListBox({"b.host", PrivateRow("c", "d e"), "d [1 ms]"});
  SavePrivateList(w, w, w.privateList);
  EXPECT_EQ(w.files[kIni], "b.host\r\nc" + Blanks(20) + "d e\r\nd [1 ms]\r\n");
  // A move that fails, a write that stops part-way, no Windows folder: the old file stays.
  const auto before = w.files;
  w.failReplace = true;
  SavePrivateList(w, w, FakeListBox({"new.host"}));
  w.failReplace = false;
  w.failWriteAfter = 5;
  SavePrivateList(w, w, FakeListBox({"new.host"}));
  w.env["windir"] = "";
  SavePrivateList(w, w, FakeListBox({"new.host"}));
  EXPECT_EQ(w.files, before);
  const std::string failed = "box Gantrel|The private server list could not be saved";
  const std::string temp = "delete " + kIni + ".tmp", to = failed + " to " + kIni;
  EXPECT_EQ(w.log, (Strings{temp, to, temp, to, failed + ": the Windows folder is not known."}));
  w.env["windir"] = "C:\\WIN";  // lines end at a CR, an LF or both; blanks and NULs stay
  w.files[kIni] = std::string(" a \r\nx\t;y\0z\rA\n\n\rb", 17);
  LoadPrivateList(w, w.privateList = FakeListBox());
  EXPECT_EQ(w.privateList.Texts(), (Strings{" a ", std::string("x\t;y\0z", 6), "A", "b"}));
  w.files.clear();  // no file: nothing
  LoadPrivateList(w, w.privateList = FakeListBox());
  EXPECT_EQ(w.privateList.Texts(), Strings{});
}

// One list whose pings answer from a script; pings, window calls and row writes share one log.
struct Scripted : World, HostMeter {
  explicit Scripted(const Strings& rows) : list(rows) { list.log = &log; }
  Strings Run(void (*run)(ListBox&, WindowHost&, HostMeter&), std::deque<RoundTrip> script) {
    times = std::move(script);
    run(list, *this, *this);
    return log;
  }
  RoundTrip PingSite(const std::string& host) override {
    return Log("ping " + host, Next(times, {}));
  }
  void EndRun() override { log.push_back("end run"); }
  FakeListBox list;
  std::deque<RoundTrip> times;
};

TEST(PingRuns, EachRowShowsItsTimeAsSoonAsItIsMeasuredAndTheGameListEndsFastestFirst) {
  Scripted mine({"a.net", "b.net" + Blanks(15) + " games" + Blanks(16) + " [87 ms]"});
  EXPECT_EQ(mine.Run(PingPrivateList, {{-1}, {3}}),
            (Strings{"show", "disable", "events", "ping a.net", "text 0", "text 1", "ping b.net",
                     "text 1", "end run", "hide", "enable", "focus"}));

  const std::string z22(22, 'z');
  Scripted rows({"slow.net", " leading", "h.net  [9 ms]", z22, "fast.net"});
  // The busy window first, as in the private run above; the rows sorted by their item data.
  EXPECT_EQ(rows.Run(PingServerList, {{50, true}, {1234}, {0, true}, {-1}, {1}}).front(), "show");
  EXPECT_EQ(rows.list.Texts(),
            (Strings{"fast.net" + Blanks(14) + " [1 ms]", "slow.net" + Blanks(14) + " [50 ms TCP]",
                     Blanks(22) + " [1234 ms]", "h.net" + Blanks(17) + " [N/A]", z22 + " [N/A]"}));
  for (int16_t row = 0; const int32_t data : {1, 50, 1234, 9999, 9999})
    EXPECT_EQ(rows.list.ItemData(row++), data);
}

}  // namespace
}  // namespace gantrel::testing
