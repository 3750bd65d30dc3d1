#include "gateways/gateway_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace gantrel {
namespace {

// The selected field holds two digits, so no list has more gateways than this.
constexpr std::size_t kMostGateways = 99;
// A larger value is no gateway list the games made.
constexpr uint32_t kMostBytes = 64 * 1024;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// At least 1000: lists older than that the games throw away and make anew. Read from decimal
// digits whatever their count: four digits or more once the leading zeros are gone.
bool RecentVersion(std::string_view text) {
  if (!AllDigits(text)) return false;
  text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
  return text.size() >= 4;
}

bool SameHost(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::string TwoDigits(std::size_t number) {
  return std::string(1, static_cast<char>('0' + number / 10)) + static_cast<char>('0' + number % 10);
}

}  // namespace

GatewayList StockGatewayList() {
  return {"1001",
          "00",
          {{"uswest.battle.net", "8", "U.S. West"},
           {"useast.battle.net", "6", "U.S. East"},
           {"asia.battle.net", "-9", "Asia"},
           {"europe.battle.net", "-1", "Europe"}}};
}

std::optional<GatewayList> ReadGatewayList(std::string_view bytes) {
  std::vector<std::string> strings;
  for (std::size_t start = 0;;) {
    const std::size_t end = bytes.find('\0', start);
    if (end == std::string_view::npos) return std::nullopt;  // a string without its NUL
    if (end == start) {
      if (end + 1 != bytes.size()) return std::nullopt;  // something after the closing NUL
      break;
    }
    strings.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  if (strings.size() < 2 || (strings.size() - 2) % 3 != 0) return std::nullopt;
  GatewayList list{strings[0], strings[1], {}};
  if (!RecentVersion(list.version) || list.selected.size() != 2 || !AllDigits(list.selected)) {
    return std::nullopt;
  }
  for (std::size_t i = 2; i < strings.size(); i += 3) {
    list.gateways.push_back({strings[i], strings[i + 1], strings[i + 2]});
  }
  return list;
}

std::string WriteGatewayList(const GatewayList& list) {
  std::string bytes = list.version + '\0' + list.selected + '\0';
  for (const Gateway& g : list.gateways) bytes += g.host + '\0' + g.zone + '\0' + g.name + '\0';
  return bytes + '\0';
}

bool SelectGateway(GatewayList& list, const std::string& host, const std::string& zone,
                   const std::string& name) {
  const auto found = std::find_if(list.gateways.begin(), list.gateways.end(),
                                  [&](const Gateway& g) { return SameHost(g.host, host); });
  const auto index = static_cast<std::size_t>(found - list.gateways.begin());
  if (index >= kMostGateways) return false;
  if (found == list.gateways.end()) list.gateways.push_back({host, zone, name});
  list.selected = TwoDigits(index + 1);
  return true;
}

void SelectServerInGateways(Registry& registry, const std::string& server, const std::string& name,
                            int32_t timeZoneBiasMinutes) {
  if (server.empty()) return;
  const std::string zone = std::to_string(timeZoneBiasMinutes / 60);
  for (const char* value : {kGatewaysValue, kOverrideGatewaysValue}) {
    const RawValue raw = registry.GetRaw(kHkeyCurrentUser, kGatewaysKey, value, kMostBytes);
    std::optional<GatewayList> list;
    if (!raw.found) {
      // The games' own list keeps the four official gateways within reach; an override is only
      // ever edited, never made.
      if (value == kOverrideGatewaysValue) continue;
      list = StockGatewayList();
    } else if (raw.complete && (raw.type == kRegMultiSz || raw.type == kRegBinary)) {
      list = ReadGatewayList(raw.bytes);
    }
    if (!list || !SelectGateway(*list, server, zone, name.empty() ? server : name)) continue;
    registry.SaveRaw(kHkeyCurrentUser, kGatewaysKey, value, raw.found ? raw.type : kRegMultiSz,
                     WriteGatewayList(*list));
  }
}

}  // namespace gantrel
