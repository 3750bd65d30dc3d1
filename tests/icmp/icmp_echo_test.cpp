#include "icmp/icmp_echo.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_window_host.h"

namespace gantrel {
namespace {

using testing::FakeNetApi;
using Echo = FakeNetApi::Echo;
using Strings = std::vector<std::string>;

// One engine over fresh fakes; the shared records start empty.
struct Rig {
  Rig() {
    EchoOptions = {};
    EchoReply = {};
    AddrOctets = {};
  }
  Strings Texts() const {
    Strings out;
    for (const auto& b : dialogs.boxes) out.push_back(b.title + ": " + b.text);
    return out;
  }
  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : net.calls) n += c == call;
    return n;
  }
  void Replies(uint32_t a, uint32_t b, uint32_t c) {
    net.echoes = {FakeNetApi::Reply(a), FakeNetApi::Reply(b), FakeNetApi::Reply(c)};
  }

  FakeNetApi net;
  testing::FakeDialogs dialogs;
  testing::FakeWindowHost host;
  PingSettings settings{750, 3};
  ICMPEcho engine{net, dialogs, host, settings};
};

class IcmpEchoTest : public ::testing::Test, protected Rig {};

// --- Winsock start-up and clean-up ------------------------------------------------------------

TEST(IcmpEcho, StartupAsksForOnePointOneAndEndsOnOlderVersionsOrNegativeSockets) {
  struct Case {
    uint16_t wVersion;
    uint16_t maxSockets;
    std::string error;  // empty: accepted
  } cases[] = {
      {0x0101, 32767, ""},
      {0x0201, 0, ""},
      {0x0002, 1, ""},
      {0x0001, 100, "WinSock Version 1.0 is not supported "},
      {0x0000, 100, "WinSock Version 0.0 is not supported "},
      {0x0101, 32768, "This application requires a minimum of 0 supported sockets."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wVersion);
    Rig r;
    r.net.startupWrites = WsaData{c.wVersion, 0x0202, c.maxSockets, 0};
    r.engine.PingSite("127.0.0.1");
    EXPECT_EQ(r.net.requestedVersions, std::vector<uint16_t>{0x0101});
    if (c.error.empty()) {
      EXPECT_FALSE(r.host.ended);
      EXPECT_TRUE(r.dialogs.boxes.empty());
      continue;
    }
    ASSERT_EQ(r.Texts(), Strings{"Sondar-ICMPEcho: " + c.error});
    EXPECT_EQ(r.dialogs.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(r.engine.ErrorText(), c.error);
    EXPECT_EQ(r.host.calls, Strings{"end"});
    EXPECT_EQ(r.net.calls, Strings{"startup"});  // the program has ended: nothing after it
  }
}

TEST_F(IcmpEchoTest, FailedStartupOnFirstUseReportsThenEndsOnTheEmptyRecord) {
  net.startupResult = 10091;
  net.startupWrites.reset();  // the platform wrote nothing; the record is still all zeros
  EXPECT_EQ(engine.PingSite("127.0.0.1"), -1);
  EXPECT_EQ(Texts(), (Strings{"Sondar-ICMPEcho: WSock32.dll is not responding!",
                              "Sondar-ICMPEcho: WinSock Version 0.0 is not supported "}));
  EXPECT_EQ(engine.SockResult(), 10091);
  EXPECT_TRUE(host.ended);
}

TEST_F(IcmpEchoTest, FailedStartupAfterAGoodOneGoesOnWithTheOldRecord) {
  Replies(10, 10, 10);
  ASSERT_EQ(engine.PingSite("127.0.0.1"), 10);
  net.startupResult = 10091;
  net.startupWrites.reset();
  Replies(20, 20, 20);
  EXPECT_EQ(engine.PingSite("127.0.0.1"), 20);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: WSock32.dll is not responding!"});
  EXPECT_FALSE(host.ended);
}

TEST_F(IcmpEchoTest, FailedCleanupEndsTheProgramAndLosesTheResult) {
  net.cleanupResult = -1;
  Replies(40, 40, 40);
  EXPECT_EQ(engine.PingSite("127.0.0.1"), -1);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: WSock32 Error - -1 occurred in Cleanup"});
  EXPECT_EQ(net.calls.back(), "cleanup");
  EXPECT_EQ(host.calls.back(), "end");

  // Ended for good: a later call touches nothing.
  const auto calls = net.calls.size();
  EXPECT_EQ(engine.PingSite("127.0.0.1"), -1);
  EXPECT_EQ(net.calls.size(), calls);
}

// --- Host resolution ----------------------------------------------------------------------------

TEST_F(IcmpEchoTest, DottedAddressesNeedNoLookup) {
  struct Case {
    const char* host;
    const char* text;
    int32_t dest;
  } cases[] = {
      {"127.0.0.1", "127.0.0.1", 16777343},       {"255.255.255.255", "255.255.255.255", -1},
      {"200.1.1.200", "200.1.1.200", -939458104}, {"010.001.000.001", "10.1.0.1", 0x0100010A},
      {"1.2.3.4.5", "1.2.3.4", 0x04030201},       {"1.2.3.5.5", "1.2.3.6", 0x06030201},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.vbGetHostByName(c.host), c.text) << c.host;
    EXPECT_EQ(engine.DestAddress(), c.dest) << c.host;
    EXPECT_EQ(DottedText(AddrOctets), c.text) << c.host;
  }
  EXPECT_TRUE(net.calls.empty());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, NamesUpToSixtyFourCharactersAreLookedUpAndTheFirstAddressIsTaken) {
  const std::string longest(64, 'b');
  net.hosts["10-1"] = FakeNetApi::Host({{10, 0, 0, 7}, {10, 0, 0, 8}});
  net.hosts[longest] = FakeNetApi::Host({{127, 0, 0, 9}});
  EXPECT_EQ(engine.vbGetHostByName("10-1"), "10.0.0.7");
  EXPECT_EQ(engine.DestAddress(), 0x0700000A);
  EXPECT_EQ(engine.vbGetHostByName(longest), "127.0.0.9");
  EXPECT_EQ(net.calls, (Strings{"lookup:10-1", "lookup:" + longest}));
}

TEST_F(IcmpEchoTest, FailedLookupsKeepTheDestinationAndReportTheCode) {
  ASSERT_EQ(engine.vbGetHostByName("10.0.0.1"), "10.0.0.1");
  net.lastError = 11001;
  EXPECT_EQ(engine.vbGetHostByName("no.such.host"), "");
  EXPECT_EQ(engine.DestAddress(), 0x0100000A);
  EXPECT_EQ(DottedText(AddrOctets), "10.0.0.1");
  net.hosts["empty"] = FakeNetApi::Host({});  // a record without any address: nothing, silently
  EXPECT_EQ(engine.vbGetHostByName("empty"), "");
  EXPECT_EQ(engine.DestAddress(), 0x0100000A);
  net.lastError = -5;
  EXPECT_EQ(engine.vbGetHostByName("no.such.host"), "");
  EXPECT_EQ(Texts(),
            (Strings{"Sondar-ICMPEcho: Winsock Error 11001", "Sondar-ICMPEcho: Winsock Error-5"}));
  EXPECT_EQ(engine.ErrorText(), "Winsock Error-5");
}

TEST_F(IcmpEchoTest, HostTextsWithoutAnAddressAreRefusedQuietly) {
  const std::string longName(65, 'a');
  net.hosts[longName] = FakeNetApi::Host({{10, 0, 0, 1}});
  for (const std::string& hostText : {std::string(""), std::string("1.2.3"), std::string("12345"),
                                      std::string("999.1.1.1"), longName, std::string("a\0b", 3)}) {
    EXPECT_EQ(engine.PingSite(hostText), -1) << hostText;
  }
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(Count("send"), 0);
  for (const auto& c : net.calls) EXPECT_NE(c.rfind("lookup:", 0), 0u) << c;
}

// --- One echo request ---------------------------------------------------------------------------

TEST_F(IcmpEchoTest, EchoResults) {
  struct Case {
    const char* what;
    Echo echo;
    int32_t result;
  } cases[] = {
      {"good reply", FakeNetApi::Reply(42), 42},
      // The reply area keeps that good reply: a failed call over it is 0, not a time.
      {"nothing written", FakeNetApi::Nothing(), 0},
      {"0 ms counts as 1", FakeNetApi::Reply(0), 1},
      {"host unreachable", FakeNetApi::Status(11003), -11003},
      {"time-out as a reply", {1, true, 11010, 0}, -11010},
      {"time-out, count 0", FakeNetApi::TimedOut(), -11010},
      {"status beyond int32", FakeNetApi::Status(0x80000001u), std::numeric_limits<int32_t>::min()},
  };
  engine.vbIcmpCreateFile();
  for (const auto& c : cases) {
    net.echoes = {c.echo};
    EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), c.result) << c.what;
  }
}

TEST_F(IcmpEchoTest, PacketSizeIsClampedTimeOutIsNeverNegativeAndYieldComesFirst) {
  engine.vbIcmpCreateFile();
  host.onDoEvents = [&] { host.Log(std::to_string(net.requests.size()) + " sent"); };
  const struct {
    int32_t size;
    std::size_t sent;
  } cases[] = {{10, 32}, {64, 64}, {500, 128}};
  for (const auto& c : cases) {
    engine.vbIcmpSendEcho(c.size, 750);
    EXPECT_EQ(net.requests.back().data, std::string(c.sent, 'X')) << c.size;
  }
  EXPECT_EQ(host.calls[1], "0 sent");  // yielded before the first request went out
  engine.vbIcmpSendEcho(32, -1);
  EXPECT_EQ(net.requests.back().timeoutMs, 0u);
}

TEST_F(IcmpEchoTest, HandleLeftOpenIsClosedWithTheEngine) {
  {
    ICMPEcho e(net, dialogs, host, settings);
    e.vbIcmpCreateFile();
    e.vbIcmpCreateFile();  // the first handle is closed before it is replaced
    EXPECT_EQ(net.closedHandles.size(), 1u);
  }
  EXPECT_EQ(net.closedHandles.size(), 2u);
}

// --- Single-host ping ---------------------------------------------------------------------------

TEST_F(IcmpEchoTest, PingSiteRunsTheWholeCycle) {
  Replies(40, 41, 43);
  EXPECT_EQ(engine.PingSite("127.0.0.1"), 41);
  EXPECT_EQ(net.calls, (Strings{"startup", "create", "send", "send", "send", "close", "cleanup"}));
  for (const auto& r : net.requests) {
    EXPECT_EQ(r.handle, net.createHandle);
    EXPECT_EQ(r.destAddress, 16777343);
    EXPECT_EQ(r.data, std::string(32, 'X'));
    EXPECT_EQ(r.ttl, 255);
    EXPECT_EQ(r.timeoutMs, 750u);
  }
  EXPECT_EQ(host.calls, (Strings{"events", "events", "events"}));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, PingSiteAveragesGoodRepliesHalfToEven) {
  const Echo timeOut = FakeNetApi::TimedOut();
  struct Case {
    std::vector<Echo> echoes;
    int32_t result;
  } cases[] = {
      {{FakeNetApi::Reply(40), FakeNetApi::Reply(41), timeOut}, 40},
      {{FakeNetApi::Reply(41), timeOut, FakeNetApi::Reply(42)}, 42},
      {{FakeNetApi::Reply(1), timeOut, timeOut}, 1},
      {{FakeNetApi::Reply(0), FakeNetApi::Reply(2), timeOut}, 2},  // 0 ms counts as 1: 1.5 -> 2
      {{timeOut, timeOut, timeOut}, -1},
      {{FakeNetApi::Status(11003), FakeNetApi::Status(11003), FakeNetApi::Status(11003)}, -1},
      // Nothing written over a good reply: a stale status 0 with no reply counts for nothing.
      {{FakeNetApi::Reply(50), FakeNetApi::Nothing(), FakeNetApi::Nothing()}, 50},
  };
  for (const auto& c : cases) {
    EchoReply = {};
    net.echoes.assign(c.echoes.begin(), c.echoes.end());
    EXPECT_EQ(engine.PingSite("10.0.0.1"), c.result);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, PingSiteReadsTheCountOnceAndSendsNothingForNone) {
  settings.PingCount = 2;
  host.onDoEvents = [&] { settings.PingCount = 10; };
  Replies(10, 20, 30);
  EXPECT_EQ(engine.PingSite("10.0.0.1"), 15);
  EXPECT_EQ(Count("send"), 2);
  for (int32_t count : {0, -3}) {
    settings.PingCount = count;
    EXPECT_EQ(engine.PingSite("10.0.0.1"), -1);
  }
  EXPECT_EQ(Count("send"), 2);
}

TEST_F(IcmpEchoTest, WithoutAHandleNothingIsSentAndTheCloseReportsAnError) {
  net.createHandle = 0;
  EXPECT_EQ(engine.PingSite("10.0.0.1"), -1);
  EXPECT_EQ(Texts(), (Strings{"Plumbline: Unable to Create File Handle",
                              "Sondar-ICMPEcho: ICMP Closed with Error"}));
  EXPECT_EQ(Count("send") + Count("close"), 0);  // no dead handle goes to the platform
  EXPECT_EQ(host.calls.size(), 3u);              // the requests are still made, and fail
  EXPECT_FALSE(host.ended);
}

TEST_F(IcmpEchoTest, CloseFailureIsReportedAndKeepsTheResult) {
  net.closeResult = false;
  Replies(12, 12, 12);
  EXPECT_EQ(engine.PingSite("10.0.0.1"), 12);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: ICMP Closed with Error"});
  EXPECT_EQ(net.closedHandles, std::vector<IcmpHandleValue>{net.createHandle});
}

TEST_F(IcmpEchoTest, NestedPingSiteIsRefusedAndTouchesNothing) {
  Replies(40, 41, 43);
  std::vector<int32_t> nested;
  host.onDoEvents = [&] {
    const auto calls = net.calls.size();
    nested.push_back(engine.PingSite("10.7.7.7"));
    EXPECT_EQ(net.calls.size(), calls);
    EXPECT_EQ(engine.DestAddress(), 16777343);
  };
  EXPECT_EQ(engine.PingSite("127.0.0.1"), 41);
  EXPECT_EQ(nested, (std::vector<int32_t>{-1, -1, -1}));
  // Once the outer call is over, the engine takes new calls again.
  host.onDoEvents = nullptr;
  Replies(7, 7, 7);
  EXPECT_EQ(engine.PingSite("10.7.7.7"), 7);
}

TEST_F(IcmpEchoTest, UnresolvableAfterAResolvedHostSendsNothing) {
  net.hosts["good"] = FakeNetApi::Host({{10, 2, 2, 2}});
  Replies(9, 9, 9);
  ASSERT_EQ(engine.PingSite("good"), 9);
  Replies(9, 9, 9);
  EXPECT_EQ(engine.PingSite("bad"), -1);
  EXPECT_EQ(net.echoes.size(), 3u);  // nothing sent to the previous destination
}

}  // namespace
}  // namespace gantrel
