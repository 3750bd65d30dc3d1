#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry.h"

namespace gantrel {

// The per-user gateway lists that Starcraft / Brood War 1.08 and later and Diablo 1.09 read
// instead of "Server List".
inline constexpr const char* kGatewaysKey = "Software\\Battle.net\\Configuration";
inline constexpr const char* kGatewaysValue = "Battle.net Gateways";
inline constexpr const char* kOverrideGatewaysValue = "Override Battle.net gateways";

struct Gateway {
  std::string host;
  std::string zone;  // whole hours from UTC, positive west of Greenwich
  std::string name;
};

// A gateway list: NUL-ended strings (version, selected gateway as two digits counted from 1,
// then host, zone and name of every gateway) and one more NUL.
struct GatewayList {
  std::string version;
  std::string selected;
  std::vector<Gateway> gateways;
};

// The list the games make when there is none.
GatewayList StockGatewayList();

// The list the bytes hold, or nothing unless they hold one beyond doubt: a version of at least
// 1000, a selected field of two digits, whole gateways, and nothing after the closing NUL.
std::optional<GatewayList> ReadGatewayList(std::string_view bytes);
std::string WriteGatewayList(const GatewayList& list);

// Selects the gateway whose host is `host` (letter case ignored), or adds it with `zone` and
// `name` and selects it. False, with the list unchanged, when it would need a 100th gateway.
bool SelectGateway(GatewayList& list, const std::string& host, const std::string& zone,
                   const std::string& name);

// Selects `server` in "Battle.net Gateways" (made as the games' own list when missing) and in
// "Override Battle.net gateways" when there is one. A value that is not certainly a gateway list
// is left as it is; a blank server selects nothing.
void SelectServerInGateways(Registry& registry, const std::string& server, const std::string& name,
                            int32_t timeZoneBiasMinutes);

}  // namespace gantrel
