// The echo engine over the real Winsock and ICMP calls, against the ICMP test responder.
// Runs only through tools/netns-run, which scripts the responder with tests/net/echo_script.txt:
//   127.0.0.1 5 ms, .2 40 ms, .3 40 / no answer / 44 ms, .4 silent, .5 unreachable, .6 0 ms.
// Wine reports a round trip as the elapsed whole milliseconds, so times are checked as ranges.
#include <gtest/gtest.h>

#include <chrono>

#include "icmp/icmp_echo.h"
#include "icmp/win32_net_api.h"
#include "net/net_support.h"

namespace gantrel {
namespace {

using testing::BoxAnswerer;
using testing::MessageBoxDialogs;
using testing::PumpingHost;

class PingSiteNet : public ::testing::Test {
 protected:
  int64_t TimedPing(const std::string& hostText, int32_t& result) {
    const auto start = std::chrono::steady_clock::now();
    result = engine.PingSite(hostText);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
  }

  Win32NetApi net;
  MessageBoxDialogs dialogs;
  PumpingHost host;
  PingSettings settings{750, 3};
  ICMPEcho engine{net, dialogs, host, settings};
  BoxAnswerer answerer;
};

TEST_F(PingSiteNet, ScriptedHostsGiveTheirRoundTripsOverWinsockOnePointOne) {
  const struct {
    const char* host;
    int low, high;
  } hosts[] = {
      {"127.0.0.2", 40, 50},
      {"127.0.0.3", 42, 47},  // 40 ms, no answer, 44 ms: the mean of the two good replies
      {"127.0.0.6", 1, 5},    // answers at once: 0 ms counts as 1
      {"localhost", 5, 15},   // 127.0.0.1
  };
  for (const auto& h : hosts)
    EXPECT_PRED3(testing::Between, engine.PingSite(h.host), h.low, h.high) << h.host;
  EXPECT_EQ(host.yields, 12);
  EXPECT_TRUE(answerer.boxes.empty());
  engine.vbWSAStartup();
  EXPECT_EQ(engine.WSAData().wVersion, 0x0101);
  EXPECT_EQ(engine.vbGetHostByName("localhost"), "127.0.0.1");
  EXPECT_EQ(engine.DestAddress(), 16777343);
  engine.vbWSACleanup();
  EXPECT_EQ(engine.SockResult(), 0);
}

TEST_F(PingSiteNet, SilentHostCostsThreeTimeOutsAnUnreachableOneNone) {
  int32_t result = 0;
  EXPECT_PRED3(testing::Between, TimedPing("127.0.0.4", result), 2250 * 95 / 100, 2250 * 105 / 100);
  EXPECT_EQ(result, -1);
  EXPECT_LT(TimedPing("127.0.0.5", result), 750);  // the error comes back at once
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(answerer.boxes.empty());
  EXPECT_FALSE(host.ended);
}

TEST_F(PingSiteNet, SingleRequestsReportTheStatus) {
  engine.vbWSAStartup();
  ASSERT_EQ(engine.vbGetHostByName("127.0.0.5"), "127.0.0.5");
  engine.vbIcmpCreateFile();
  ASSERT_NE(engine.IcmpHandle(), 0u);
  EchoOptions.Ttl = 255;
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), -11003);  // destination host unreachable

  ASSERT_EQ(engine.vbGetHostByName("127.0.0.4"), "127.0.0.4");
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 300), -11010);  // timed out

  ASSERT_EQ(engine.vbGetHostByName("127.0.0.2"), "127.0.0.2");
  const int32_t rtt = engine.vbIcmpSendEcho(10, 750);
  EXPECT_PRED3(testing::Between, rtt, 40, 50);
  engine.vbIcmpCloseHandle();
  engine.vbWSACleanup();
  EXPECT_TRUE(answerer.boxes.empty());
}

TEST_F(PingSiteNet, UnresolvableNameShowsTheWinsockErrorBox) {
  const int32_t result = engine.PingSite("no-such-host.invalid");
  EXPECT_EQ(result, -1);
  ASSERT_EQ(answerer.boxes.size(), 1u);
  const auto& box = answerer.boxes[0];
  EXPECT_EQ(box.title, "Sondar-ICMPEcho");
  EXPECT_EQ(box.text, engine.ErrorText());
  // WSAHOST_NOT_FOUND, WSATRY_AGAIN or WSANO_DATA, whichever the resolver gives without a server.
  EXPECT_TRUE(box.text == "Winsock Error 11001" || box.text == "Winsock Error 11002" ||
              box.text == "Winsock Error 11004")
      << box.text;
  EXPECT_FALSE(box.hasCancel);
  EXPECT_EQ(box.icon, nullptr);
  EXPECT_EQ(host.yields, 0);  // nothing was sent
  EXPECT_FALSE(host.ended);
}

}  // namespace
}  // namespace gantrel
