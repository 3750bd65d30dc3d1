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
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
  }

  Win32NetApi net;
  MessageBoxDialogs dialogs;
  PumpingHost host;
  PingSettings settings{750, 3};
  ICMPEcho engine{net, dialogs, host, settings};
  BoxAnswerer answerer;
};

TEST_F(PingSiteNet, WinsockGrantsVersionOnePointOne) {
  engine.vbWSAStartup();
  EXPECT_EQ(engine.SockResult(), 0);
  EXPECT_EQ(engine.WSAData().wVersion, 0x0101);
  engine.vbWSACleanup();
  EXPECT_EQ(engine.SockResult(), 0);
  EXPECT_FALSE(host.ended);
  EXPECT_TRUE(answerer.boxes.empty());
}

TEST_F(PingSiteNet, FortyMillisecondHost) {
  const int32_t result = engine.PingSite("127.0.0.2");
  EXPECT_GE(result, 40);
  EXPECT_LE(result, 50);
  EXPECT_EQ(host.yields, 3);
  EXPECT_TRUE(answerer.boxes.empty());
}

TEST_F(PingSiteNet, LostReplyIsLeftOutOfTheMean) {
  // 40 ms, no answer, 44 ms: the mean of the two good replies.
  const int32_t result = engine.PingSite("127.0.0.3");
  EXPECT_GE(result, 42);
  EXPECT_LE(result, 47);
  EXPECT_TRUE(answerer.boxes.empty());
}

TEST_F(PingSiteNet, SilentHostCostsThreeTimeOuts) {
  int32_t result = 0;
  const int64_t ms = TimedPing("127.0.0.4", result);
  EXPECT_EQ(result, -1);
  EXPECT_GE(ms, 2250 * 95 / 100);
  EXPECT_LE(ms, 2250 * 105 / 100);
  EXPECT_TRUE(answerer.boxes.empty());
  EXPECT_FALSE(host.ended);
}

TEST_F(PingSiteNet, ImmediateReplyCountsAsOneMillisecond) {
  const int32_t result = engine.PingSite("127.0.0.6");
  EXPECT_GE(result, 1);
  EXPECT_LE(result, 5);
}

TEST_F(PingSiteNet, UnreachableHost) {
  int32_t result = 0;
  const int64_t ms = TimedPing("127.0.0.5", result);
  EXPECT_EQ(result, -1);
  EXPECT_LT(ms, 750);  // the error comes back at once; nothing waits for a time-out
  EXPECT_TRUE(answerer.boxes.empty());
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
  EXPECT_GE(rtt, 40);
  EXPECT_LE(rtt, 50);
  EXPECT_EQ(engine.ReplyCount(), 1);
  EXPECT_EQ(engine.RequestData(), std::string(32, 'X'));
  engine.vbIcmpCloseHandle();
  engine.vbWSACleanup();
  EXPECT_TRUE(answerer.boxes.empty());
  EXPECT_FALSE(host.ended);
}

TEST_F(PingSiteNet, LocalhostResolves) {
  engine.vbWSAStartup();
  EXPECT_EQ(engine.vbGetHostByName("localhost"), "127.0.0.1");
  EXPECT_EQ(engine.DestAddress(), 16777343);
  engine.vbWSACleanup();
  const int32_t result = engine.PingSite("localhost");
  EXPECT_GE(result, 5);
  EXPECT_LE(result, 15);
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
  EXPECT_FALSE(box.hasIcon);
  EXPECT_EQ(host.yields, 0);  // nothing was sent
  EXPECT_FALSE(host.ended);
}

}  // namespace
}  // namespace gantrel
