#pragma once
#include <cstdint>
#include <string>

#include "echo/round_trip.h"
#include "list_box.h"
#include "window_host.h"

namespace gantrel {

// What a run measures with.
class HostMeter {
 public:
  virtual ~HostMeter() = default;
  // One host's round trip: milliseconds (1 or more), or 0 / negative for no reply.
  virtual RoundTrip PingSite(const std::string& host) = 0;
  // Once every row is measured, while the busy window still shows: tells the user what kept
  // the whole run from measuring, if anything did.
  virtual void EndRun() = 0;
};

// "Ping" on the game list: measures every row, writes the times, then sorts fastest first.
void PingServerList(ListBox& gameList, WindowHost& host, HostMeter& meter);
// Stable ascending order of item data; text and item data move together.
void SortServerList(ListBox& gameList);
// "Ping" on the private list: measures every row in place; the order stays.
void PingPrivateList(ListBox& privateList, WindowHost& host, HostMeter& meter);

}  // namespace gantrel
