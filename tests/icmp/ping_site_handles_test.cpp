// Whatever happens inside PingSite, it closes every ICMP handle it opened and cleans up every
// Winsock start-up it made.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_window_host.h"
#include "icmp/icmp_echo.h"

namespace gantrel {
namespace {

using testing::FakeNetApi;

TEST(PingSiteHandles, EveryPathClosesWhatItOpened) {
  const struct {
    const char* name;
    std::string host;
    std::function<void(FakeNetApi&)> script;
  } paths[] = {
      {"GoodReplies", "127.0.0.1",
       [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::Reply(12)); }},
      {"TimeOuts", "127.0.0.1", [](FakeNetApi& n) { n.echoes.assign(6, FakeNetApi::TimedOut()); }},
      {"NameLookupFails", "unknown.host", [](FakeNetApi&) {}},
      {"HostWithoutAddress", "999.1.1.1", [](FakeNetApi&) {}},
      {"HandleCannotBeOpened", "127.0.0.1", [](FakeNetApi& n) { n.createHandle = 0; }},
      {"CloseReportsAnError", "127.0.0.1", [](FakeNetApi& n) { n.closeResult = false; }},
      {"StartupReportsAFailure", "127.0.0.1", [](FakeNetApi& n) { n.startupResult = 10091; }},
  };
  for (const auto& path : paths) {
    SCOPED_TRACE(path.name);
    EchoReply = {};
    FakeNetApi net;
    path.script(net);
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost host;
    PingSettings settings{750, 3};
    ICMPEcho engine(net, dialogs, host, settings);

    for (int call = 0; call < 2; ++call) engine.PingSite(path.host);

    int startups = 0, cleanups = 0, creates = 0;
    for (const auto& c : net.calls) {
      startups += c == "startup";
      cleanups += c == "cleanup";
      creates += c == "create";
    }
    EXPECT_FALSE(host.ended);
    EXPECT_EQ(startups, 2);
    EXPECT_EQ(cleanups, 2);
    EXPECT_EQ(creates, 2);
    if (net.createHandle != 0) {
      EXPECT_EQ(net.closedHandles,
                (std::vector<IcmpHandleValue>{net.createHandle, net.createHandle}));
    } else {
      EXPECT_TRUE(net.closedHandles.empty());  // nothing was opened, nothing to close
    }
  }
}

}  // namespace
}  // namespace gantrel
