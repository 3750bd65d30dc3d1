#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "list_box.h"
#include "window_host.h"

namespace gantrel {

// Measures one host: mean round-trip milliseconds (1 or more), or 0 / negative for no reply.
using PingSiteFn = std::function<int32_t(const std::string& host)>;

// "Ping" on the game list: measures every row, writes the times, then sorts fastest first.
void PingServerList(ListBox& gameList, WindowHost& host, const PingSiteFn& pingSite);
// Stable ascending order of item data; text and item data move together.
void SortServerList(ListBox& gameList);
// "Ping" on the private list: measures every row in place; the order stays.
void PingPrivateList(ListBox& privateList, WindowHost& host, const PingSiteFn& pingSite);

}  // namespace gantrel
