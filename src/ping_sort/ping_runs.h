#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/list_box.h"
#include "app/window_host.h"

namespace gantrel {

// Measures one host: mean round-trip milliseconds (1 or more), or 0 / negative for no reply.
using PingSiteFn = std::function<int32_t(const std::string& host)>;

// "Ping" on the game list: measures every row, writes the times, then sorts fastest first.
void PingServerList(ListBox& list1, WindowHost& host, const PingSiteFn& pingSite);
// Stable ascending order of item data; text and item data move together.
void SortServerList(ListBox& list1);
// "Ping" on the private list: measures every row in place; the order stays.
void PingPrivateList(ListBox& list2, WindowHost& host, const PingSiteFn& pingSite);

}  // namespace gantrel
