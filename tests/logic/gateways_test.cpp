// Selecting the chosen server in the per-user gateway lists, over the fake registry.
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

const Strings kStock = {"1001", "00", "uswest.battle.net", "8", "U.S. West", "useast.battle.net", "6",
                        "U.S. East", "asia.battle.net", "-9", "Asia", "europe.battle.net", "-1", "Europe"};
Strings With(Strings list, const std::string& selected, Strings added = {}) {
  list[1] = selected;
  list.insert(list.end(), added.begin(), added.end());
  return list;
}

TEST(Gateways, TheServerIsSelectedOrAddedAndEverythingElseStaysByteForByte) {
  Strings full = {"1005", "03"};
  for (int i = 1; i <= 99; ++i) full.insert(full.end(), {"h" + std::to_string(i), "0", "n"});
  const struct {
    std::optional<RawValue> gateways, override_;  // before; nothing: missing
    std::string server, name;
    int32_t bias;
    std::optional<RawValue> gatewaysAfter, overrideAfter;  // nothing: as before
  } cases[] = {
      // Missing: made as the games' own list, then the server added with this machine's zone.
      {std::nullopt, std::nullopt, "10.0.0.9", "home box", -330,
       RawValue{true, true, kRegMultiSz, Bytes(With(kStock, "05", {"10.0.0.9", "-5", "home box"}))}, std::nullopt},
      {RawValue{true, true, kRegBinary, Bytes(kStock)},
       RawValue{true, true, kRegMultiSz, Bytes(With(kStock, "01", {"lan.example", "8", "LAN"}))},
       "USEast.Battle.NET", "", 480,
       RawValue{true, true, kRegBinary, Bytes(With(kStock, "02"))},
       RawValue{true, true, kRegMultiSz, Bytes(With(kStock, "02", {"lan.example", "8", "LAN"}))}},
      {RawValue{true, true, kRegMultiSz, Bytes({"01001", "00"})}, std::nullopt, "lan.example", "", 0,
       RawValue{true, true, kRegMultiSz, Bytes({"01001", "01", "lan.example", "0", "lan.example"})}, std::nullopt},
      {RawValue{true, true, kRegMultiSz, Bytes(full)}, std::nullopt, "new.example", "", 0, std::nullopt, std::nullopt},
      {RawValue{true, true, kRegMultiSz, Bytes(full)}, std::nullopt, "H99", "", 0,
       RawValue{true, true, kRegMultiSz, Bytes(With(full, "99"))}, std::nullopt},
      {std::nullopt, std::nullopt, "", "", 0, std::nullopt, std::nullopt},  // a blank server
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    const auto put = [&](const char* name, const std::optional<RawValue>& v) {
      if (v) registry.values[{kHkeyCurrentUser, kGatewaysKey, name}] = *v;
    };
    put(kGatewaysValue, c.gateways);
    put(kOverrideGatewaysValue, c.override_);
    SelectServerInGateways(registry, c.server, c.name, c.bias);
    const auto expect = [&](const char* name, const std::optional<RawValue>& after,
                            const std::optional<RawValue>& before) {
      const auto v = registry.GetRaw(kHkeyCurrentUser, kGatewaysKey, name, ~0u);
      const auto& wanted = after ? after : before;
      EXPECT_EQ(v.found, wanted.has_value()) << name << " " << c.server;
      EXPECT_EQ(v.type, wanted ? wanted->type : 0) << c.server;
      EXPECT_EQ(v.bytes, wanted ? wanted->bytes : "") << c.server;
    };
    expect(kGatewaysValue, c.gatewaysAfter, c.gateways);
    expect(kOverrideGatewaysValue, c.overrideAfter, c.override_);
  }
}

TEST(Gateways, AValueThatIsNotCertainlyAGatewayListIsLeftAlone) {
  const std::string stock = Bytes(kStock);
  const struct {
    uint32_t type;
    std::string bytes;
  } cases[] = {
      {kRegMultiSz, Bytes(With(kStock, "00")).substr(0, stock.size() - 1)},  // no closing NUL
      {kRegMultiSz, stock + "x"},
      {kRegMultiSz, stock + '\0'},
      {kRegMultiSz, Bytes({"1001", "00", "host", "0"})},
      {kRegMultiSz, Bytes({"1001"})},
      {kRegMultiSz, Bytes(With(kStock, "1"))},
      {kRegMultiSz, Bytes(With(kStock, "0x"))},
      {kRegMultiSz, Bytes(With(kStock, "001"))},
      {kRegMultiSz, Bytes({"999", "00"})},
      {kRegMultiSz, Bytes({"1e3", "00"})},
      {kRegMultiSz, Bytes({"", "00"})},
      {1, stock},  // REG_SZ
      {kRegBinary, Bytes(With(kStock, "01", {std::string(65536, 'x'), "0", "x"}))},
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.values[{kHkeyCurrentUser, kGatewaysKey, kGatewaysValue}] = {true, true, c.type, c.bytes};
    SelectServerInGateways(registry, "10.0.0.9", "", 0);
    EXPECT_EQ(registry.writes, 0) << c.bytes.size();
    EXPECT_FALSE(ReadGatewayList(c.bytes) && c.type == kRegMultiSz) << c.bytes.size();
  }
  for (const Strings& good : {kStock, Strings{"1000", "99"}, Strings{"123456", "00"}})
    EXPECT_EQ(WriteGatewayList(*ReadGatewayList(Bytes(good))), Bytes(good));
}

}  // namespace
}  // namespace gantrel::testing
