// Selecting the chosen server in the per-user gateway lists.
#include <gtest/gtest.h>

#include "fakes.h"
#include "gateways/gateway_list.h"

namespace gantrel::testing {
namespace {

// A gateway list's bytes: every string NUL-ended, then one more NUL.
std::string Bytes(const Strings& strings) {
  std::string bytes;
  for (const auto& s : strings) bytes += s + '\0';
  return bytes + '\0';
}
const Strings kStock = {
    "1001", "00",        "uswest.battle.net", "8",  "U.S. West", "useast.battle.net",
    "6",    "U.S. East", "asia.battle.net",   "-9", "Asia",      "europe.battle.net",
    "-1",   "Europe"};
Strings With(Strings list, const std::string& selected, const Strings& added = {}) {
  list[1] = selected;
  list.insert(list.end(), added.begin(), added.end());
  return list;
}
using Value = std::optional<RawValue>;  // nothing: no such value
const auto Multi = [](const Strings& list) {
  return Value{{true, true, kRegMultiSz, Bytes(list)}};
};
const auto Binary = [](const Strings& list) {
  return Value{{true, true, kRegBinary, Bytes(list)}};
};

TEST(Gateways, TheServerIsSelectedOrAddedAndEverythingElseStaysByteForByte) {
  Strings full = {"1005", "03"};
  for (int i = 1; i <= 99; ++i) full.insert(full.end(), {"h" + std::to_string(i), "0", "n"});
  const Strings lan = With(kStock, "01", {"lan.example", "8", "LAN"});
  const struct {
    Value gateways, override_;
    std::string server, name;
    int32_t bias;
    Value gatewaysAfter, overrideAfter;
  } cases[] = {
      // clang-format off
      // Made as the games' own list when missing; the new gateway gets this machine's zone.
      {{}, {}, "10.0.0.9", "home box", -330, Multi(With(kStock, "05", {"10.0.0.9", "-5", "home box"})), {}},
      {Binary(kStock), Multi(lan), "USEAST.BATTLE.NET", "", 480, Binary(With(kStock, "02")), Multi(With(lan, "02"))},
      {Multi({"01001", "00"}), {}, "lan.example", "", 0, Multi({"01001", "01", "lan.example", "0", "lan.example"}), {}},
      {Multi(full), {}, "new.example", "", 0, Multi(full), {}},  // no 100th gateway
      {Multi(full), {}, "H99", "", 0, Multi(With(full, "99")), {}},
      {{}, {}, "", "", 0, {}, {}},  // a blank server selects nothing
      // clang-format on
  };
  for (const auto& c : cases) {
    World w;
    if (c.gateways) w.values[{kHkeyCurrentUser, kGatewaysKey, kGatewaysValue}] = *c.gateways;
    if (c.override_)
      w.values[{kHkeyCurrentUser, kGatewaysKey, kOverrideGatewaysValue}] = *c.override_;
    SelectServerInGateways(w, c.server, c.name, c.bias);
    for (auto [name, after] :
         {std::pair{kGatewaysValue, c.gatewaysAfter}, {kOverrideGatewaysValue, c.overrideAfter}}) {
      const RawValue now = w.GetRaw(kHkeyCurrentUser, kGatewaysKey, name, ~0u);
      EXPECT_EQ(now.found, after.has_value()) << name << " " << c.server;
      EXPECT_EQ(now.type, after ? after->type : 0) << name << " " << c.server;
      EXPECT_EQ(now.bytes, after ? after->bytes : "") << name << " " << c.server;
    }
  }
}

TEST(Gateways, AValueThatIsNotCertainlyAGatewayListIsLeftAlone) {
  const std::string stock = Bytes(kStock);
  const struct {
    uint32_t type;
    std::string bytes;
  } cases[] = {
      {kRegMultiSz, stock.substr(0, stock.size() - 1)},  // no closing NUL
      {kRegMultiSz, stock + "x"},
      {kRegMultiSz, stock + '\0'},
      {kRegMultiSz, Bytes({"1001", "00", "host", "0"})},
      {kRegMultiSz, Bytes({"1001"})},
      {kRegMultiSz, Bytes(With(kStock, "1"))},
      {kRegMultiSz, Bytes(With(kStock, "0x"))},
      {kRegMultiSz, Bytes({"999", "00"})},
      {kRegMultiSz, Bytes({"1e345", "00"})},
      {1, stock},  // REG_SZ
      {kRegBinary, Bytes(With(kStock, "01", {std::string(65536, 'x'), "0", "x"}))},
  };
  for (const auto& c : cases) {
    World w;
    w.values[{kHkeyCurrentUser, kGatewaysKey, kGatewaysValue}] = {true, true, c.type, c.bytes};
    SelectServerInGateways(w, "10.0.0.9", "", 0);
    EXPECT_TRUE(w.log.empty()) << c.bytes.size();
  }
}

}  // namespace
}  // namespace gantrel::testing
