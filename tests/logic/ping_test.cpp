// Both ping runs and the sort, over a scripted PingSite.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "fakes.h"
#include "ping_sort/ping_runs.h"

namespace gantrel::testing {
namespace {

const Strings kOpen = {"show", "disable", "events"}, kEnd = {"hide", "enable", "focus"};

// One list whose pings answer from a script; pings, window calls and row writes share one log.
struct Scripted : World {
  explicit Scripted(Strings texts, bool sorted = false) : list(sorted, std::move(texts)) {
    list.log = &log;
  }
  Strings Run(void (*run)(ListBox&, WindowHost&, const PingSiteFn&), std::deque<int32_t> times) {
    log.clear();
    run(list, *this, [&](const std::string& h) {
      log.push_back("ping " + h);
      return Next<int32_t>(times, -1);
    });
    return log;
  }
  FakeListBox list;
};

Strings Join(std::initializer_list<Strings> parts) {
  Strings all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(PingRuns, EachRowIsWrittenAsSoonAsItIsMeasuredInsideTheBusyWindow) {
  Scripted game({"slow.net", "fast.net [3 ms]"});
  EXPECT_EQ(game.Run(PingServerList, {50, 20}),
            Join({kOpen,
                  {"ping slow.net", "text 0", "data 0", "ping fast.net", "text 1", "data 1"},
                  kEnd,
                  {"data 0", "text 0", "data 1", "text 1"}}));  // then the sort swaps them
  EXPECT_EQ(game.list.Texts(),
            (Strings{"fast.net" + Blanks(14) + " [20 ms]", "slow.net" + Blanks(14) + " [50 ms]"}));
  Scripted mine({"a.net", "b.net" + Blanks(15) + " games" + Blanks(16) + " [87 ms]"}, true);
  EXPECT_EQ(mine.Run(PingPrivateList, {-1, 3}),
            Join({kOpen, {"ping a.net", "text 0", "text 1", "ping b.net", "text 1"}, kEnd}));
  EXPECT_EQ(Scripted({}).Run(PingServerList, {}), Join({kOpen, kEnd}));
  EXPECT_EQ(Scripted({}, true).Run(PingPrivateList, {}), Join({kOpen, kEnd}));
}

TEST(PingRuns, GameListRowsCarryTheirTimeOrNA) {
  const struct {
    std::string row;
    int32_t time;
    std::string pinged, text;
    int32_t data;
  } cases[] = {
      {"abcdefghi", 1, "abcdefghi", "abcdefghi" + Blanks(13) + " [1 ms]", 1},
      {std::string(22, 'z'), -1, std::string(22, 'z'), std::string(22, 'z') + " [N/A]", 9999},
      {"h.net  [9 ms]", 0, "h.net", "h.net" + Blanks(17) + " [N/A]", 9999},
      {" leading", 1234, "", Blanks(22) + " [1234 ms]", 1234},
  };
  for (const auto& c : cases) {
    Scripted run({c.row});
    EXPECT_EQ(run.Run(PingServerList, {c.time})[3], "ping " + c.pinged);
    EXPECT_EQ(run.list.Row(0), c.text);
    EXPECT_EQ(run.list.ItemData(0), c.data);
  }
}

TEST(PingRuns, PrivateRowsKeepTheirPlaceDescriptionAndSuffixColumn) {
  const std::string row43 = "srv.net" + Blanks(13) + " " + std::string(22, 'd');
  const struct {
    std::string row;
    int32_t first, second;
    std::string pinged, text;
  } cases[] = {
      {"srv.net" + Blanks(13) + " Friday games", -1, 12, "srv.net",
       "srv.net" + Blanks(13) + " Friday games" + Blanks(9) + " [12 ms]"},
      {row43, 5, -1, "srv.net", row43 + " [N/A]"},
      // A description that ends in "]" and holds a "[" reads as an earlier time.
      {"srv.net" + Blanks(13) + " games [eu]", 2, 2, "srv.net",
       "srv.net" + Blanks(13) + " games" + Blanks(16) + " [2 ms]"},
      // No "[" with a character in front of it: nothing is taken off.
      {"[10.0.0.1]", 6, 6, "[10.0.0.1]", "[10.0.0.1]" + Blanks(32) + " [6 ms]"},
      {"srv.net games]", 6, 6, "srv.net", "srv.net games]" + Blanks(28) + " [6 ms]"},
  };
  for (const auto& c : cases) {
    Scripted run({"0.net", c.row, "z.net"}, true);
    run.Run(PingPrivateList, {1, c.first, 1});
    EXPECT_EQ(run.Run(PingPrivateList, {1, c.second, 1})[7], "ping " + c.pinged);
    EXPECT_EQ(run.list.Row(1), c.text);
    EXPECT_EQ(run.list.Row(2), "z.net" + Blanks(37) + " [1 ms]");
    EXPECT_EQ(run.list.ItemData(1), 0);
  }
}

// The order of a bubble sort with early exit that exchanges neighbours whose item data is
// strictly out of order.
void BubbleSort(FakeListBox& list) {
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (size_t i = 0; i + 1 < list.rows.size(); ++i) {
      if (list.rows[i].data <= list.rows[i + 1].data) continue;
      std::swap(list.rows[i], list.rows[i + 1]);
      exchanged = true;
    }
  }
}

TEST(SortServerList, GivesTheBubbleSortsOrderWritingOnlyTheRowsThatMove) {
  std::mt19937 rng(20240607);
  const int32_t values[] = {INT32_MIN, -7, -1, 0, 1, 2, 3, 87, 9999, 9999, INT32_MAX};
  for (int n = 0; n < 2000; ++n) {
    FakeListBox sorted;
    for (int i = 0, size = static_cast<int>(rng() % 40); i < size; ++i)
      sorted.rows.push_back(
          {"h" + std::to_string(n % 2 ? rng() % 4 : i), values[rng() % std::size(values)]});
    FakeListBox reference = sorted;
    SortServerList(sorted);
    BubbleSort(reference);
    ASSERT_TRUE(sorted.rows == reference.rows) << n;
  }
  Strings log;
  FakeListBox list(false, {"r1", "r3", "r2", "r4"});
  for (auto& r : list.rows) r.data = r.text[1] - '0';
  list.log = &log;
  SortServerList(list);
  EXPECT_EQ(log, (Strings{"data 1", "text 1", "data 2", "text 2"}));
  EXPECT_EQ(list.Texts(), (Strings{"r1", "r2", "r3", "r4"}));
}

}  // namespace
}  // namespace gantrel::testing
