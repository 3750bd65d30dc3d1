#include "ping_sort/ping_runs.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "ping_sort/measured_row.h"
#include "row_text.h"

namespace gantrel {
namespace {

// The busy window tells the user a run is going; the disabled main window keeps its buttons
// and lists out of reach while PingSite yields; one yield lets the busy window paint.
void BeginRun(WindowHost& host) {
  host.ShowBusyWindow();
  host.EnableMain(false);
  host.HandlePendingEvents();
}

// Runs whatever the rows gave, so the main window is never left disabled.
void EndRun(WindowHost& host, HostMeter& meter) {
  meter.EndRun();
  host.CloseBusyWindow();
  host.EnableMain(true);
  host.FocusMain();
}

}  // namespace

void PingServerList(ListBox& gameList, WindowHost& host, HostMeter& meter) {
  BeginRun(host);
  const auto last = static_cast<int16_t>(gameList.Count() - 1);
  for (int32_t i = 0; i <= last; ++i) {
    const auto row = static_cast<int16_t>(i);
    // The address drops the blanks and suffix of an earlier run.
    const std::string address = RowAddress(gameList.Row(row));
    const RoundTrip roundTrip = meter.PingSite(address);
    // Written at once, so the list shows the rows done while the next host is measured.
    gameList.SetRow(row, MeasuredServerRow(address, roundTrip));
    gameList.SetItemData(row, MeasuredItemData(roundTrip));
  }
  EndRun(host, meter);
  SortServerList(gameList);
}

void SortServerList(ListBox& gameList) {
  const int16_t count = gameList.Count();
  struct Row {
    std::string text;
    int32_t data;
  };
  std::vector<Row> rows;
  for (int16_t i = 0; i < count; ++i) rows.push_back({gameList.Row(i), gameList.ItemData(i)});

  // Stable, so rows of equal time (all the 9999s among them) keep the order they had.
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&rows](size_t a, size_t b) { return rows[a].data < rows[b].data; });

  // Each text write on the real control is a delete and an insert: touch only what moved.
  for (int16_t i = 0; i < count; ++i) {
    const Row& now = rows[static_cast<size_t>(i)];
    const Row& wanted = rows[order[static_cast<size_t>(i)]];
    if (wanted.data != now.data) gameList.SetItemData(i, wanted.data);
    if (wanted.text != now.text) gameList.SetRow(i, wanted.text);
  }
}

void PingPrivateList(ListBox& privateList, WindowHost& host, HostMeter& meter) {
  BeginRun(host);
  const auto last = static_cast<int16_t>(privateList.Count() - 1);
  for (int32_t i = 0; i <= last; ++i) {
    const auto row = static_cast<int16_t>(i);
    const std::string text = privateList.Row(row);
    // The earlier suffix goes first, so the description survives and suffixes never stack; the
    // blanks of the earlier run stay, which keeps the new suffix in the same column.
    const std::string bare = RemoveEarlierSuffix(text);
    if (bare != text) privateList.SetRow(row, bare);
    const RoundTrip roundTrip = meter.PingSite(RowAddress(bare));
    privateList.SetRow(row, MeasuredPrivateRow(bare, roundTrip));
  }
  EndRun(host, meter);
}

}  // namespace gantrel
