#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "fakes/fake_list_box.h"
#include "ping_sort/logged_list.h"
#include "ping_sort/ping_runs.h"

namespace gantrel {
namespace {

using testing::FakeListBox;
using testing::LoggedList;

// The reference order: a bubble sort with early exit over the whole list on every pass,
// exchanging text and item data of neighbours whose item data is strictly out of order.
void BubbleSortServerList(ListBox& list1) {
  bool exchanged;
  do {
    exchanged = false;
    const auto last = static_cast<int16_t>(list1.ListCount() - 2);
    for (int32_t i = 0; i <= last; ++i) {
      const auto a = static_cast<int16_t>(i);
      const auto b = static_cast<int16_t>(i + 1);
      if (list1.ItemData(a) > list1.ItemData(b)) {
        const int32_t keptData = list1.ItemData(a);
        const std::string keptText = list1.List(a);
        list1.SetItemData(a, list1.ItemData(b));
        list1.SetList(a, list1.List(b));
        list1.SetItemData(b, keptData);
        list1.SetList(b, keptText);
        exchanged = true;
      }
    }
  } while (exchanged);
}

TEST(SortServerList, GivesTheOrderOfTheBubbleSortOnRandomLists) {
  std::mt19937 rng(20240607);
  // A small range so that ties are common, with the extremes of signed 32-bit and "no reply".
  const int32_t values[] = {INT32_MIN, -7, -1, 0, 1, 2, 3, 5, 87, 9999, 9999, INT32_MAX};
  for (int n = 0; n < 2000; ++n) {
    const int size = static_cast<int>(rng() % 61);
    FakeListBox sorted, reference;
    for (int i = 0; i < size; ++i) {
      // Every other list repeats texts, so that equal rows can meet.
      const std::string text = n % 2 ? "h" + std::to_string(rng() % 4) : "row" + std::to_string(i);
      const int32_t data = values[rng() % std::size(values)];
      for (FakeListBox* l : {&sorted, &reference}) {
        l->AddItem(text);
        l->SetItemData(static_cast<int16_t>(i), data);
      }
    }
    SortServerList(sorted);
    BubbleSortServerList(reference);
    ASSERT_EQ(sorted.rows.size(), reference.rows.size());
    for (size_t i = 0; i < sorted.rows.size(); ++i) {
      ASSERT_EQ(sorted.rows[i].text, reference.rows[i].text) << "list " << n << " row " << i;
      ASSERT_EQ(sorted.rows[i].data, reference.rows[i].data) << "list " << n << " row " << i;
    }
  }
}

TEST(SortServerList, WritesOnlyTheRowsThatChange) {
  struct Case {
    std::vector<int32_t> data;
    std::vector<std::string> writes;
  } cases[] = {
      {{}, {}},
      {{5}, {}},
      {{1, 2, 2, 9999}, {}},
      {{1, 3, 2, 4}, {"data 1", "text 1", "data 2", "text 2"}},
      {{2, 1}, {"data 0", "text 0", "data 1", "text 1"}},
  };
  for (const auto& c : cases) {
    FakeListBox list;
    for (size_t i = 0; i < c.data.size(); ++i) {
      list.AddItem("r" + std::to_string(c.data[i]));
      list.rows[i].data = c.data[i];
    }
    std::vector<std::string> log;
    LoggedList logged(list, log);
    SortServerList(logged);
    EXPECT_EQ(log, c.writes) << c.data.size() << " rows";
    for (const auto& r : list.rows)
      EXPECT_EQ(r.text, "r" + std::to_string(r.data)) << "text moved with its data";
  }
}

TEST(SortServerList, SortsAFullListStably) {
  // Descending, in runs of three equal values: a bubble sort would take minutes here.
  FakeListBox list;
  for (int i = 0; i < kMaxRows; ++i) {
    list.AddItem(std::to_string(i));
    list.rows.back().data = (kMaxRows - i) / 3;
  }
  SortServerList(list);
  for (size_t i = 1; i < list.rows.size(); ++i) {
    const auto& a = list.rows[i - 1];
    const auto& b = list.rows[i];
    ASSERT_TRUE(a.data < b.data || (a.data == b.data && std::stoi(a.text) < std::stoi(b.text)))
        << i;
    ASSERT_EQ(b.data, (kMaxRows - std::stoi(b.text)) / 3) << "text and data moved together";
  }
}

}  // namespace
}  // namespace gantrel
