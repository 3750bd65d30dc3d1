#include "ping_sort/ping_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_list_box.h"
#include "fakes/fake_window_host.h"
#include "ping_sort/logged_list.h"

namespace gantrel {
namespace {

using testing::FakeListBox;
using testing::FakeWindowHost;
using testing::LoggedList;

std::string Blanks(size_t n) {
  return std::string(n, ' ');
}

// One list, one host and a PingSite that answers from a script, one time per call in order. The
// window calls, the pings ("ping <host>") and the list writes all land in host.calls.
struct Scripted {
  explicit Scripted(std::vector<std::string> texts, bool sorted = false) : list(sorted) {
    list.Fill(texts);
  }

  void Server(std::vector<int32_t> times) {
    script = std::move(times);
    pinged.clear();
    PingServerList(logged, host, pingSite);
  }
  void Private(std::vector<int32_t> times) {
    script = std::move(times);
    pinged.clear();
    PingPrivateList(logged, host, pingSite);
  }

  FakeListBox list;
  FakeWindowHost host;
  LoggedList logged{list, host.calls};
  std::vector<int32_t> script;
  std::vector<std::string> pinged;
  // Checked at every ping: the run must be inside its window calls.
  bool insideRun = true;
  PingSiteFn pingSite = [this](const std::string& h) {
    host.Log("ping " + h);
    insideRun = insideRun && host.messageWindow && !host.mainEnabled;
    const size_t n = pinged.size();
    pinged.push_back(h);
    return n < script.size() ? script[n] : -1;
  };
};

const std::vector<std::string> kOpen = {"show", "disable", "events"};
const std::vector<std::string> kClose = {"unload", "enable", "focus"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// --- Game list ---------------------------------------------------------------------------------

TEST(PingServerList, EachRowIsWrittenBeforeTheNextHostThenTheWindowsThenTheSort) {
  Scripted run({"slow.net", "fast.net"});
  run.Server({50, 20});
  EXPECT_TRUE(run.insideRun);
  EXPECT_EQ(run.host.calls,
            Concat({kOpen,
                    {"ping slow.net", "text 0", "data 0", "ping fast.net", "text 1", "data 1"},
                    kClose,
                    // The sort: both rows move, item data then text.
                    {"data 0", "text 0", "data 1", "text 1"}}));
  EXPECT_EQ(run.list.Texts(), (std::vector<std::string>{"fast.net" + Blanks(14) + " [20 ms]",
                                                        "slow.net" + Blanks(14) + " [50 ms]"}));
  EXPECT_EQ(run.list.rows[0].data, 20);
  EXPECT_EQ(run.list.rows[1].data, 50);
}

TEST(PingRuns, EmptyListsStillShowAndRemoveTheMessageWindow) {
  Scripted game({});
  game.Server({});
  EXPECT_EQ(game.host.calls, Concat({kOpen, kClose}));
  Scripted mine({}, true);
  mine.Private({});
  EXPECT_EQ(mine.host.calls, Concat({kOpen, kClose}));
}

TEST(PingServerList, RowTextsAndItemData) {
  const std::string nine = "abcdefghi";
  const std::string thirty(30, 'x');
  const std::string twentyThree(23, 'z');
  struct Case {
    std::string row;
    int32_t time;
    std::string pinged;
    std::string text;
    int32_t data;
  } cases[] = {
      {nine, 87, nine, nine + Blanks(13) + " [87 ms]", 87},
      {thirty, -1, thirty, thirty + " [N/A]", 9999},
      {twentyThree, 5, twentyThree, twentyThree + " [5 ms]", 5},
      {"h.net", 0, "h.net", "h.net" + Blanks(17) + " [N/A]", 9999},
      {"h.net", 1234, "h.net", "h.net" + Blanks(17) + " [1234 ms]", 1234},
      {" leading", 7, "", Blanks(22) + " [7 ms]", 7},
      {"", -1, "", Blanks(22) + " [N/A]", 9999},
  };
  for (const auto& c : cases) {
    Scripted run({c.row});
    run.Server({c.time});
    EXPECT_EQ(run.pinged, std::vector<std::string>{c.pinged}) << c.row;
    EXPECT_EQ(run.list.List(0), c.text) << c.row;
    EXPECT_EQ(run.list.ItemData(0), c.data) << c.row;
  }
}

TEST(PingServerList, SecondRunReplacesTheSuffixes) {
  Scripted run({"a.net", "bbbbbbbbbbbbbbbbbbbbbbbbbbbb.net", "c.net"});
  run.Server({40, -1, 9});
  run.Server({8, 1000, -5});
  EXPECT_EQ(run.pinged,
            (std::vector<std::string>{"c.net", "a.net", "bbbbbbbbbbbbbbbbbbbbbbbbbbbb.net"}));
  EXPECT_EQ(run.list.Texts(), (std::vector<std::string>{"c.net" + Blanks(17) + " [8 ms]",
                                                        "a.net" + Blanks(17) + " [1000 ms]",
                                                        "bbbbbbbbbbbbbbbbbbbbbbbbbbbb.net [N/A]"}));
}

TEST(PingServerList, SortsFastestFirstAndKeepsTheOrderOfEqualTimes) {
  Scripted run({"a", "b", "c", "d", "e", "f", "g"});
  run.Server({30, -1, 10, 30, 0, 10, 9999});
  std::vector<std::string> order;
  for (const auto& r : run.list.rows)
    order.push_back(r.text.substr(0, 1) + ":" + std::to_string(r.data));
  // A host measured at 9999 ms and the hosts without reply tie, and keep their order.
  EXPECT_EQ(order, (std::vector<std::string>{"c:10", "f:10", "a:30", "d:30", "b:9999", "e:9999",
                                             "g:9999"}));
}

TEST(PingServerList, AFullListIsMeasuredToItsLastRow) {
  std::vector<std::string> texts;
  for (int i = 0; i < kMaxRows; ++i) texts.push_back("h" + std::to_string(i));
  Scripted run(texts);
  run.Server(std::vector<int32_t>(kMaxRows, 5));
  ASSERT_EQ(run.pinged.size(), static_cast<size_t>(kMaxRows));
  EXPECT_EQ(run.pinged.back(), "h32766");
  EXPECT_EQ(run.list.List(kMaxRows - 1), "h32766" + Blanks(16) + " [5 ms]");
  EXPECT_EQ(run.list.ItemData(kMaxRows - 1), 5);
}

// --- Private list ------------------------------------------------------------------------------

TEST(PingPrivateList, StripsShowsMeasuresAndWritesEachRowInTurnAndNeverSorts) {
  const std::string measured = "b.net" + Blanks(15) + " games" + Blanks(16) + " [87 ms]";
  Scripted run({"a.net", measured}, /*sorted=*/true);
  std::vector<std::string> seen;
  run.pingSite = [&run, &seen, inner = run.pingSite](const std::string& h) {
    // What the list shows while the host is measured.
    seen.push_back(run.list.List(0) + "|" + run.list.List(1));
    return inner(h);
  };
  run.Private({-1, 3});
  EXPECT_TRUE(run.insideRun);
  EXPECT_EQ(run.host.calls,
            Concat({kOpen, {"ping a.net", "text 0", "text 1", "ping b.net", "text 1"}, kClose}));
  const std::string aDone = "a.net" + Blanks(37) + " [N/A]";
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "a.net|" + measured, aDone + "|b.net" + Blanks(15) + " games" + Blanks(16)}));
  EXPECT_EQ(run.list.Texts(), (std::vector<std::string>{aDone, "b.net" + Blanks(15) + " games" +
                                                                   Blanks(16) + " [3 ms]"}));
}

TEST(PingPrivateList, RowTexts) {
  const std::string desc22(22, 'd');
  const std::string row43 = "srv.net" + Blanks(13) + " " + desc22;
  struct Case {
    std::string row;
    int32_t time;
    std::string pinged;
    std::string text;
  } cases[] = {
      // The description stays after no reply.
      {"srv.net" + Blanks(13) + " Friday games", -1, "srv.net",
       "srv.net" + Blanks(13) + " Friday games" + Blanks(9) + " [N/A]"},
      {"srv.net", 0, "srv.net", "srv.net" + Blanks(35) + " [N/A]"},
      {"srv.net", 4321, "srv.net", "srv.net" + Blanks(35) + " [4321 ms]"},
      // 43 characters: no blanks, the suffix follows at once.
      {row43, 5, "srv.net", row43 + " [5 ms]"},
      // A description ending in "]" that holds a "[" reads as an earlier suffix.
      {"srv.net" + Blanks(13) + " games [eu]", 2, "srv.net",
       "srv.net" + Blanks(13) + " games" + Blanks(16) + " [2 ms]"},
      // No "[" in front of the closing "]", or only the row's first character: nothing removed.
      {"[10.0.0.1]", 6, "[10.0.0.1]", "[10.0.0.1]" + Blanks(32) + " [6 ms]"},
      {"srv.net" + Blanks(13) + " games]", 6, "srv.net",
       "srv.net" + Blanks(13) + " games]" + Blanks(15) + " [6 ms]"},
      {" only a description", 6, "", " only a description" + Blanks(23) + " [6 ms]"},
  };
  for (const auto& c : cases) {
    Scripted run({c.row}, true);
    run.Private({c.time});
    EXPECT_EQ(run.pinged, std::vector<std::string>{c.pinged}) << c.row;
    EXPECT_EQ(run.list.List(0), c.text) << c.row;
    EXPECT_EQ(run.list.ItemData(0), 0) << "item data is the game list's, not touched here";
  }
}

TEST(PingPrivateList, SecondRunKeepsTheSuffixColumn) {
  const std::string row43 = "long.net" + Blanks(12) + " " + std::string(22, 'd');
  Scripted run({"a.net", "b.net" + Blanks(15) + " games", row43}, true);
  run.Private({12, -1, 7});
  run.Private({1234, 9, -1});
  EXPECT_EQ(run.list.Texts(),
            (std::vector<std::string>{"a.net" + Blanks(37) + " [1234 ms]",
                                      "b.net" + Blanks(15) + " games" + Blanks(16) + " [9 ms]",
                                      row43 + " [N/A]"}));
}

}  // namespace
}  // namespace gantrel
