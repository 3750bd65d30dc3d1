// The list chores of start-up and of the buttons on full lists (32,767 rows): import of the
// game's server list, and saving and loading the private list, over the in-memory ports.
//
// The sorted fake list keeps its rows in one vector, so each insert into it moves on average half
// the rows and compares texts case by case; on a full list that cost is the fake's, not the
// program's. Each operation is therefore also run into a plain (unsorted) fake.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench_hosts.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_list_box.h"
#include "fakes/fake_registry.h"
#include "private_list/private_list.h"
#include "registry/server_list.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeFiles;
using testing::FakeListBox;
using testing::FakeRegistry;

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

FakeRegistry RegistryWithList() {
  FakeRegistry registry;
  registry.values[{kBattleNetKey, kServerListValue}] = ServerListValue();
  return registry;
}

// A full private list as List2 holds it: rows with descriptions, in the list's sorted order (the
// order inserting them one by one gives, without paying for the fake's inserts).
FakeListBox FullPrivateList() {
  FakeListBox list2(true);
  int i = 0;
  for (const std::string& h : bench::Hosts(kMaxRows))
    list2.rows.push_back({PrivateRow(h, "games night " + std::to_string(i++ % 97)), 0});
  std::stable_sort(list2.rows.begin(), list2.rows.end(),
                   [](const FakeListBox::Row& a, const FakeListBox::Row& b) {
                     return FakeListBox::LessNoCase(a.text, b.text);
                   });
  return list2;
}

// Start-up: an empty List1 and an empty List2, both filled from the value. With a plain
// (unsorted) fake List2 what is left is the program's own work.
void BM_ImportServerList(benchmark::State& state, bool sortedList2) {
  FakeRegistry registry = RegistryWithList();
  FakeListBox list1;
  FakeListBox list2(sortedList2);
  for (auto _ : state) {
    state.PauseTiming();
    list1 = FakeListBox();
    list2 = FakeListBox(sortedList2);
    state.ResumeTiming();
    ImportServerList(registry, list1, list2);
    benchmark::DoNotOptimize(list2.rows.data());
    state.PauseTiming();
    if (list1.ListCount() != kMaxRows || list2.ListCount() != kMaxRows)
      state.SkipWithError("short import");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMaxRows);
}
BENCHMARK_CAPTURE(BM_ImportServerList, startup_sorted_fake, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportServerList, startup_plain_fake, false)->Unit(benchmark::kMillisecond);

// The Import button with a private list already there: List1 is emptied and refilled.
void BM_ImportServerList_Button(benchmark::State& state) {
  FakeRegistry registry = RegistryWithList();
  FakeListBox list1;
  FakeListBox list2(true);
  list2.AddItem("kept");
  ImportServerList(registry, list1, list2);
  for (auto _ : state) {
    ImportServerList(registry, list1, list2);
    benchmark::DoNotOptimize(list1.rows.data());
  }
  if (list1.ListCount() != kMaxRows || list2.ListCount() != 1) state.SkipWithError("wrong import");
  state.SetItemsProcessed(state.iterations() * kMaxRows);
}
BENCHMARK(BM_ImportServerList_Button)->Unit(benchmark::kMillisecond);

void BM_SavePrivateList(benchmark::State& state) {
  const FakeListBox list2 = FullPrivateList();
  FakeFiles files;
  files.env["windir"] = kWindir;
  FakeDialogs dialogs;
  for (auto _ : state) {
    SavePrivateList(files, dialogs, list2);
    benchmark::DoNotOptimize(files.files.size());
  }
  if (!dialogs.boxes.empty() || files.files.count(kListFile) == 0)
    state.SkipWithError("save failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.files[kListFile].size()));
}
BENCHMARK(BM_SavePrivateList)->Unit(benchmark::kMillisecond);

enum class FileOrder { kSaved, kShuffled };

// Start-up: gantrel.ini into an empty List2. The saved file is in the sorted list's own order, so
// each row lands at the end of the sorted fake; a file edited by hand, in no order, makes each
// row land somewhere inside it. With a plain fake what is left is the program's own work.
void BM_LoadPrivateList(benchmark::State& state, FileOrder order, bool sortedList2) {
  FakeFiles files;
  files.env["windir"] = kWindir;
  std::vector<std::string> rows = FullPrivateList().Texts();
  if (order == FileOrder::kShuffled) std::shuffle(rows.begin(), rows.end(), std::mt19937(5));
  std::string bytes;
  for (const std::string& r : rows) bytes += r + "\r\n";
  files.files[kListFile] = bytes;
  FakeListBox list2(sortedList2);
  for (auto _ : state) {
    state.PauseTiming();
    list2 = FakeListBox(sortedList2);
    state.ResumeTiming();
    LoadPrivateList(files, list2);
    benchmark::DoNotOptimize(list2.rows.data());
    state.PauseTiming();
    if (list2.ListCount() != kMaxRows) state.SkipWithError("short load");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_LoadPrivateList, saved_sorted_fake, FileOrder::kSaved, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPrivateList, shuffled_sorted_fake, FileOrder::kShuffled, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPrivateList, saved_plain_fake, FileOrder::kSaved, false)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gantrel
