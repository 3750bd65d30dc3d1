// Every parser over any bytes, the first byte choosing which. None may crash (a throw is a crash
// too), and each says whether it kept its rules below, the ones that random input can break.
#include <algorithm>

#include "echo/echo_engine.h"
#include "echo/host_address.h"
#include "fakes.h"
#include "gateways/gateway_list.h"
#include "ping_sort/measured_row.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel::testing {

// "Server List" is split at every ";" and nowhere else (until the list is full).
bool ServerList(const std::string& value) {
  World w;
  w.Set(kBattleNetKey, kServerListValue, value);
  ImportServerList(w, w.gameList, w.privateList);
  return w.gameList.Count() == kMaxRows ||
         (w.gameList.RowsText(";") == value + ';' &&
          std::ranges::count(value, ';') + 1 == w.gameList.Count());
}

// The rows a file loads are saved in their order and load again as they were.
bool PrivateList(const std::string& bytes) {
  World w;
  w.env["windir"] = "C:";
  w.files["C:\\gantrel.ini"] = bytes;
  LoadPrivateList(w, w.privateList);
  SavePrivateList(w, w, w.privateList);
  LoadPrivateList(w, w.gameList);
  return w.gameList.Texts() == w.privateList.Texts();
}

// A dotted address needs three dots and reads back from its plain form. The engine looks up a
// name once when it is short enough and free of NULs and pings its address, pings a dotted
// address as read, and does nothing else: any other look-up finds nothing and says so in a box,
// any other request gets a reply.
bool HostText(const std::string& host) {
  const auto octets = ReadDottedAddress(host);
  const bool name = IsHostName(host);
  const bool lookUp = name && host.size() <= kMaxHostNameLength && host.find('\0') == host.npos;
  const std::string to = lookUp ? "192.0.2.33" : !name && octets ? Dotted(*octets) : "";
  World w;
  w.hosts[host] = {true, Octets{192, 0, 2, 33}};
  w.echoes = {{1, true, 0, 5}};
  const auto sent = [&](const std::string& line) { return line.starts_with("send " + to + " "); };
  return (!octets ||
          (std::ranges::count(host, '.') >= 3 && ReadDottedAddress(Dotted(*octets)) == octets)) &&
         EchoEngine(w, w, w, {750, 1}).PingSite(host) == RoundTrip{to.empty() ? -1 : 5} &&
         w.Boxes().empty() && std::ranges::count(w.log, "lookup " + host) == lookUp &&
         std::ranges::count_if(w.log, sent) == !to.empty();
}

// A private row's earlier suffix runs from its last "[" (not its first character) to a "]" at its
// end, with the character in front; a measured row loses exactly the suffix it was given.
bool RowSuffix(const std::string& row) {
  const std::size_t open = row.rfind('[');
  const bool suffixed = row.ends_with(']') && open != row.npos && open > 0;
  const RoundTrip trip{static_cast<int32_t>(row.size()) - 1, row.size() % 2 == 1};
  const std::string measured = MeasuredPrivateRow(row, trip);
  return RemoveEarlierSuffix(row) == row.substr(0, suffixed ? open - 1 : row.npos) &&
         RemoveEarlierSuffix(measured) + PingSuffix(trip) == measured;
}

// A list the reader accepts is written back to the same bytes. Selecting "H1" in it gives a list
// the reader accepts, which keeps the version and every gateway in place and has one of that host
// (letter case ignored) selected; only a list of 99 has no room.
bool Gateways(const std::string& bytes) {
  const auto list = ReadGatewayList(bytes);
  if (!list || WriteGatewayList(*list) != bytes) return !list;
  auto changed = *list;
  if (!SelectGateway(changed, "H1", "0", "n")) return list->gateways.size() >= 99;
  auto again = ReadGatewayList(WriteGatewayList(changed)).value();
  const std::string picked = again.gateways.at(std::stoul(again.selected) - 1).host;
  again.gateways.resize(list->gateways.size());
  again.selected = list->selected;
  return (picked == "h1" || picked == "H1") && WriteGatewayList(again) == bytes;
}

// Seeds in fuzz/corpus/parsers_fuzz/ are named after these and start with their index.
constexpr std::array kParsers{ServerList, PrivateList, HostText, RowSuffix, Gateways};

// Also run on every seed by the logic tests (tests/logic/corpus_test.cpp).
bool KeepsItsRules(const std::string& input) {
  return input.empty() ||
         kParsers[static_cast<uint8_t>(input[0]) % kParsers.size()](input.substr(1));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!KeepsItsRules({reinterpret_cast<const char*>(data), size})) __builtin_trap();
  return 0;
}

}  // namespace gantrel::testing
