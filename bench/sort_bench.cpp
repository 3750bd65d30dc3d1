// SortServerList on a full list, and the cost per row of a ping run beyond the round trips.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "fakes.h"
#include "ping_sort/ping_runs.h"

namespace gantrel {
namespace {

using testing::FakeListBox;

class NullHost : public WindowHost {
 public:
  void ShowBusyWindow() override {}
  void CloseBusyWindow() override {}
  void EnableMain(bool) override {}
  void HandlePendingEvents() override {}
  void FocusMain() override {}
  void EndProgram() override {}
};

enum Order { kRandom, kSorted, kReversed, kAllNoReply };

// Measured rows as a run leaves them, before the sort.
std::vector<FakeListBox::Entry> MeasuredRows(int count, Order order) {
  std::mt19937 rng(7);
  std::vector<FakeListBox::Entry> rows;
  for (int i = 0; i < count; ++i) {
    int32_t data = order == kAllNoReply ? 9999 : static_cast<int32_t>(1 + rng() % 400);
    if (order == kRandom && rng() % 10 == 0) data = 9999;
    rows.push_back({"10." + std::to_string(i / 256) + "." + std::to_string(i % 256) + ".1               [" +
                        std::to_string(data) + " ms]",
                    data});
  }
  auto byData = [](const FakeListBox::Entry& a, const FakeListBox::Entry& b) { return a.data < b.data; };
  if (order == kSorted) std::stable_sort(rows.begin(), rows.end(), byData);
  if (order == kReversed) {
    std::stable_sort(rows.begin(), rows.end(), byData);
    std::reverse(rows.begin(), rows.end());
  }
  return rows;
}

void BM_SortServerList(benchmark::State& state, Order order) {
  const auto rows = MeasuredRows(kMaxRows, order);
  FakeListBox list;
  for (auto _ : state) {
    state.PauseTiming();
    list.rows = rows;
    state.ResumeTiming();
    SortServerList(list);
    benchmark::DoNotOptimize(list.rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kMaxRows);
}
BENCHMARK_CAPTURE(BM_SortServerList, random, kRandom)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortServerList, sorted, kSorted)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortServerList, reversed, kReversed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortServerList, all_no_reply, kAllNoReply)->Unit(benchmark::kMillisecond);

// A meter whose PingSite answers at once with the times a function gives.
template <class Times>
struct InstantMeter final : HostMeter {
  explicit InstantMeter(Times t) : times(t) {}
  RoundTrip PingSite(const std::string&) override { return {times()}; }
  void EndRun() override {}
  Times times;
};

// A PingSite that answers at once: what is left is the run's own work per row (read, cut, format,
// write) plus the final sort.
void BM_PingServerList(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  std::vector<FakeListBox::Entry> bare;
  for (int i = 0; i < count; ++i) bare.push_back({"server" + std::to_string(i) + ".example.net", 0});
  FakeListBox list;
  NullHost host;
  int32_t next = 0;
  InstantMeter meter([&next] { return next++ % 500 - 20; });
  for (auto _ : state) {
    state.PauseTiming();
    list.rows = bare;
    state.ResumeTiming();
    PingServerList(list, host, meter);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PingServerList)->Arg(100)->Arg(1000)->Arg(kMaxRows)->Unit(benchmark::kMicrosecond);

void BM_PingPrivateList(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  std::vector<FakeListBox::Entry> rows;
  for (int i = 0; i < count; ++i) {
    rows.push_back({"server" + std::to_string(i) + ".net      Friday games          [87 ms]", 0});
  }
  FakeListBox list;
  NullHost host;
  InstantMeter meter([] { return 42; });
  for (auto _ : state) {
    state.PauseTiming();
    list.rows = rows;
    state.ResumeTiming();
    PingPrivateList(list, host, meter);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PingPrivateList)->Arg(1000)->Arg(kMaxRows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace gantrel
