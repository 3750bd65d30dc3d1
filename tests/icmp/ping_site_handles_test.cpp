// Whatever happens inside PingSite, it closes every ICMP handle it opened and cleans up every
// Winsock start-up it made (unless the program ended).
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_window_host.h"
#include "icmp/icmp_echo.h"

namespace gantrel {
namespace {

using testing::FakeNetApi;

struct PathCase {
  const char* name;
  std::string host;
  std::function<void(FakeNetApi&)> script;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class PingSiteHandles : public ::testing::TestWithParam<PathCase> {};

TEST_P(PingSiteHandles, EveryOpenIsClosed) {
  EchoOptions = {};
  EchoReply = {};
  AddrOctets = {};
  FakeNetApi net;
  net.hosts["known.host"] = FakeNetApi::Host({{127, 0, 0, 9}});
  GetParam().script(net);
  testing::FakeDialogs dialogs;
  testing::FakeWindowHost host;
  PingSettings settings{750, 3};
  ICMPEcho engine(net, dialogs, host, settings);

  for (int call = 0; call < 2; ++call) engine.PingSite(GetParam().host);

  int startups = 0, cleanups = 0, creates = 0;
  for (const auto& c : net.calls) {
    startups += c == "startup";
    cleanups += c == "cleanup";
    creates += c == "create";
  }
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(startups, 2);
  EXPECT_EQ(cleanups, startups);
  if (net.createHandle != 0) {
    EXPECT_EQ(creates, 2);
    EXPECT_EQ(net.closedHandles, (std::vector<IcmpHandleValue>{net.createHandle, net.createHandle}));
  } else {
    EXPECT_TRUE(net.closedHandles.empty());  // nothing was opened, nothing to close
  }
  for (const auto& r : net.requests) EXPECT_EQ(r.handle, net.createHandle);
}

INSTANTIATE_TEST_SUITE_P(
    IcmpEcho, PingSiteHandles,
    ::testing::Values(
        PathCase{"GoodReplies", "127.0.0.1",
                 [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::Reply(12)); }},
        PathCase{"TimeOuts", "127.0.0.1",
                 [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::TimedOut()); }},
        PathCase{"NothingWritten", "127.0.0.1",
                 [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::Nothing()); }},
        PathCase{"Unreachable", "127.0.0.1",
                 [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::Status(11003)); }},
        PathCase{"NameResolves", "known.host",
                 [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::Reply(3)); }},
        PathCase{"NameLookupFails", "unknown.host", [](FakeNetApi&) {}},
        PathCase{"HostWithoutAddress", "999.1.1.1", [](FakeNetApi&) {}},
        PathCase{"EmptyHost", "", [](FakeNetApi&) {}},
        PathCase{"HandleCannotBeOpened", "127.0.0.1", [](FakeNetApi& n) { n.createHandle = 0; }},
        PathCase{"CloseReportsAnError", "127.0.0.1", [](FakeNetApi& n) { n.closeResult = false; }},
        PathCase{"StartupReportsAFailure", "127.0.0.1",
                 [](FakeNetApi& n) { n.startupResult = 10091; }}),
    [](const ::testing::TestParamInfo<PathCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace gantrel
