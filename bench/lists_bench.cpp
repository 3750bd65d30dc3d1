// The list chores of start-up and of the buttons on full lists (32,767 rows): import of the
// game's server list, and saving and loading the private list, over the in-memory ports. The fake
// list keeps rows in the order added: what is measured is the program's own work (the real sorted
// list box's is measured under Wine, bench/win32).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench_hosts.h"
#include "fakes.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel {
namespace {

using testing::FakeListBox;
using testing::World;

constexpr const char* kWindir = "C:\\windows";
constexpr const char* kListFile = "C:\\windows\\gantrel.ini";

std::string ServerListValue() {
  std::string value;
  for (const std::string& h : bench::Hosts(kMaxRows)) {
    if (!value.empty()) value += ';';
    value += h;
  }
  return value;
}

void SetServerList(World& world) {
  world.Set(kBattleNetKey, kServerListValue, ServerListValue());
}

// A full private list as the list box holds it: rows with descriptions, in the list's sorted order
// (the order inserting them one by one gives, without paying for the fake's inserts).
FakeListBox FullPrivateList() {
  FakeListBox list;
  int i = 0;
  for (const std::string& h : bench::Hosts(kMaxRows))
    list.rows.push_back({PrivateRow(h, "games night " + std::to_string(i++ % 97)), 0});
  std::stable_sort(list.rows.begin(), list.rows.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.text.begin(), a.text.end(), b.text.begin(), b.text.end(),
                                        [](char x, char y) { return tolower(x) < tolower(y); });
  });
  return list;
}

// Start-up: an empty game list and an empty private list, both filled from the value.
void BM_ImportServerList(benchmark::State& state) {
  World world;
  SetServerList(world);
  for (auto _ : state) {
    state.PauseTiming();
    world.gameList = FakeListBox();
    world.privateList = FakeListBox();
    state.ResumeTiming();
    ImportServerList(world, world.gameList, world.privateList);
    benchmark::DoNotOptimize(world.privateList.rows.data());
    state.PauseTiming();
    if (world.gameList.Count() != kMaxRows || world.privateList.Count() != kMaxRows)
      state.SkipWithError("short import");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMaxRows);
}
BENCHMARK(BM_ImportServerList)->Unit(benchmark::kMillisecond);

// The Import button with a private list already there: the game list is emptied and refilled.
void BM_ImportServerList_Button(benchmark::State& state) {
  World world;
  SetServerList(world);
  world.privateList.Add("kept");
  ImportServerList(world, world.gameList, world.privateList);
  for (auto _ : state) {
    ImportServerList(world, world.gameList, world.privateList);
    benchmark::DoNotOptimize(world.gameList.rows.data());
  }
  if (world.gameList.Count() != kMaxRows || world.privateList.Count() != 1)
    state.SkipWithError("wrong import");
  state.SetItemsProcessed(state.iterations() * kMaxRows);
}
BENCHMARK(BM_ImportServerList_Button)->Unit(benchmark::kMillisecond);

void BM_SavePrivateList(benchmark::State& state) {
  const FakeListBox list = FullPrivateList();
  World world;
  world.env["windir"] = kWindir;
  for (auto _ : state) {
    SavePrivateList(world, world, list);
    benchmark::DoNotOptimize(world.files.size());
  }
  if (!world.Boxes().empty() || world.files.count(kListFile) == 0)
    state.SkipWithError("save failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(world.files[kListFile].size()));
}
BENCHMARK(BM_SavePrivateList)->Unit(benchmark::kMillisecond);

enum class FileOrder { kSaved, kShuffled };

// Start-up: gantrel.ini into an empty private list, a file saved by the program (in the sorted
// list's order) or edited by hand (in no order).
void BM_LoadPrivateList(benchmark::State& state, FileOrder order) {
  World world;
  world.env["windir"] = kWindir;
  std::vector<std::string> rows = FullPrivateList().Texts();
  if (order == FileOrder::kShuffled) std::shuffle(rows.begin(), rows.end(), std::mt19937(5));
  std::string bytes;
  for (const std::string& r : rows) bytes += r + "\r\n";
  world.files[kListFile] = bytes;
  FakeListBox list;
  for (auto _ : state) {
    state.PauseTiming();
    list = FakeListBox();
    state.ResumeTiming();
    LoadPrivateList(world, list);
    benchmark::DoNotOptimize(list.rows.data());
    state.PauseTiming();
    if (list.Count() != kMaxRows) state.SkipWithError("short load");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_LoadPrivateList, saved, FileOrder::kSaved)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPrivateList, shuffled, FileOrder::kShuffled)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gantrel
