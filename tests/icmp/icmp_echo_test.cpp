#include "icmp/icmp_echo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_window_host.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeNetApi;
using testing::FakeWindowHost;
using Echo = FakeNetApi::Echo;

class IcmpEchoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The shared records outlive any one engine; start every test from a clean slate.
    EchoOptions = {};
    EchoReply = {};
    AddrOctets = {};
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& b : dialogs.boxes) out.push_back(b.title + ": " + b.text);
    return out;
  }
  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : net.calls) n += c == call;
    return n;
  }
  int Yields() const {
    int n = 0;
    for (const auto& c : host.calls) n += c == "events";
    return n;
  }

  FakeNetApi net;
  FakeDialogs dialogs;
  FakeWindowHost host;
  PingSettings settings{750, 3};
  ICMPEcho engine{net, dialogs, host, settings};
};

using Strings = std::vector<std::string>;

// --- Winsock start-up and clean-up ------------------------------------------------------------

TEST_F(IcmpEchoTest, StartupAsksForOnePointOneAndAcceptsNewerVersions) {
  for (uint16_t granted : {0x0101, 0x0201, 0x0202, 0x0002, 0xFF01}) {
    net.startupWrites = WsaData{granted, 0x0202, 0, 0};
    engine.vbWSAStartup();
    EXPECT_FALSE(host.ended) << granted;
  }
  EXPECT_EQ(net.requestedVersions, std::vector<uint16_t>(5, 0x0101));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, OldVersionEndsTheProgramWithItsNumber) {
  struct Case {
    uint16_t wVersion;
    const char* text;
  } cases[] = {
      {0x0001, "WinSock Version 1.0 is not supported "},
      {0x0000, "WinSock Version 0.0 is not supported "},
      {0x0100, "WinSock Version 0.1 is not supported "},
      {0x0900, "WinSock Version 0.9 is not supported "},
  };
  for (const auto& c : cases) {
    FakeNetApi n;
    FakeDialogs d;
    FakeWindowHost h;
    n.startupWrites = WsaData{c.wVersion, 0x0202, 100, 0};
    ICMPEcho e(n, d, h, settings);
    EXPECT_EQ(e.PingSite("127.0.0.1"), -1);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].text, c.text);
    EXPECT_EQ(d.boxes[0].title, "Sondar-ICMPEcho");
    EXPECT_EQ(d.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(e.ErrorText(), c.text);
    EXPECT_EQ(h.calls, Strings{"end"});
    // The program has ended: nothing after the start-up call.
    EXPECT_EQ(n.calls, Strings{"startup"});
  }
}

TEST_F(IcmpEchoTest, SocketCountReadAsSignedSixteenBits) {
  for (uint16_t sockets : {0, 1, 32767}) {
    net.startupWrites = WsaData{0x0101, 0x0101, sockets, 0};
    engine.vbWSAStartup();
    EXPECT_FALSE(host.ended) << sockets;
  }
  for (uint16_t sockets : {32768, 65535}) {
    FakeNetApi n;
    FakeDialogs d;
    FakeWindowHost h;
    n.startupWrites = WsaData{0x0101, 0x0101, sockets, 0};
    ICMPEcho e(n, d, h, settings);
    e.vbWSAStartup();
    EXPECT_TRUE(h.ended) << sockets;
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].text, "This application requires a minimum of 0 supported sockets.");
    EXPECT_EQ(d.boxes[0].title, "Sondar-ICMPEcho");
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
  net.echoes = {FakeNetApi::Reply(10), FakeNetApi::Reply(10), FakeNetApi::Reply(10)};
  ASSERT_EQ(engine.PingSite("127.0.0.1"), 10);
  net.startupResult = 10091;
  net.startupWrites.reset();
  net.calls.clear();
  net.echoes = {FakeNetApi::Reply(20), FakeNetApi::Reply(20), FakeNetApi::Reply(20)};
  EXPECT_EQ(engine.PingSite("127.0.0.1"), 20);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: WSock32.dll is not responding!"});
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(engine.WSAData().wVersion, 0x0101);
}

TEST_F(IcmpEchoTest, FailedCleanupEndsTheProgramAndLosesTheResult) {
  net.cleanupResult = -1;
  net.echoes = {FakeNetApi::Reply(40), FakeNetApi::Reply(40), FakeNetApi::Reply(40)};
  EXPECT_EQ(engine.PingSite("127.0.0.1"), -1);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: WSock32 Error - -1 occurred in Cleanup"});
  EXPECT_EQ(engine.ErrorText(), "WSock32 Error - -1 occurred in Cleanup");
  EXPECT_TRUE(host.ended);
  EXPECT_EQ(net.calls.back(), "cleanup");
  EXPECT_EQ(host.calls.back(), "end");

  // Ended for good: a later call touches nothing.
  const auto calls = net.calls.size();
  EXPECT_EQ(engine.PingSite("127.0.0.1"), -1);
  EXPECT_EQ(net.calls.size(), calls);
}

TEST_F(IcmpEchoTest, CleanupFailureShowsAPositiveValueToo) {
  net.cleanupResult = 10093;
  engine.vbWSACleanup();
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: WSock32 Error - 10093 occurred in Cleanup"});
  EXPECT_TRUE(host.ended);
}

// --- Host resolution ----------------------------------------------------------------------------

TEST_F(IcmpEchoTest, DottedAddressesNeedNoLookup) {
  struct Case {
    const char* host;
    const char* text;
    int32_t dest;
  } cases[] = {
      {"127.0.0.1", "127.0.0.1", 16777343},
      {"255.255.255.255", "255.255.255.255", -1},
      {"200.1.1.200", "200.1.1.200", -939458104},
      {"0.0.0.0", "0.0.0.0", 0},
      {"010.001.000.001", "10.1.0.1", 0x0100010A},
      {" 10.1.0.1", "10.1.0.1", 0x0100010A},
      {"1.2.3.4.5", "1.2.3.4", 0x04030201},
      {"1.2.3.5.5", "1.2.3.6", 0x06030201},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.vbGetHostByName(c.host), c.text) << c.host;
    EXPECT_EQ(engine.DestAddress(), c.dest) << c.host;
    EXPECT_EQ(DottedText(AddrOctets), c.text) << c.host;
  }
  EXPECT_TRUE(net.calls.empty());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, NamesAreLookedUpAndTheFirstAddressIsTaken) {
  net.hosts["10-1"] = FakeNetApi::Host({{10, 0, 0, 7}});
  net.hosts["multi.example"] = FakeNetApi::Host({{192, 0, 2, 1}, {192, 0, 2, 2}});
  EXPECT_EQ(engine.vbGetHostByName("10-1"), "10.0.0.7");
  EXPECT_EQ(engine.DestAddress(), 0x0700000A);
  EXPECT_EQ(engine.vbGetHostByName("multi.example"), "192.0.2.1");
  EXPECT_EQ(engine.HostEntry().h_addr_list.size(), 2u);
  const uint8_t expected[4] = {192, 0, 2, 1};
  int32_t dest = engine.DestAddress();
  EXPECT_EQ(std::memcmp(&dest, expected, 4), 0);  // bytes in text order, in memory
  EXPECT_EQ(net.calls, (Strings{"lookup:10-1", "lookup:multi.example"}));
}

TEST_F(IcmpEchoTest, FailedLookupReportsTheCodeAndKeepsTheDestination) {
  net.lastError = 11001;
  EXPECT_EQ(engine.vbGetHostByName("nowhere"), "");
  EXPECT_EQ(engine.DestAddress(), 0);  // never set yet
  ASSERT_EQ(engine.vbGetHostByName("10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(engine.vbGetHostByName("no.such.host"), "");
  EXPECT_EQ(engine.DestAddress(), 0x0100000A);
  EXPECT_EQ(DottedText(AddrOctets), "10.0.0.1");
  net.lastError = -5;
  EXPECT_EQ(engine.vbGetHostByName("no.such.host"), "");
  EXPECT_EQ(Texts(), (Strings{"Sondar-ICMPEcho: Winsock Error 11001", "Sondar-ICMPEcho: Winsock Error 11001",
                              "Sondar-ICMPEcho: Winsock Error-5"}));
  EXPECT_EQ(engine.ErrorText(), "Winsock Error-5");
  for (const auto& b : dialogs.boxes) EXPECT_EQ(b.icon, MsgIcon::None);
}

TEST_F(IcmpEchoTest, RecordWithoutAddressesResolvesToNothing) {
  net.hosts["empty"] = FakeNetApi::Host({});
  ASSERT_EQ(engine.vbGetHostByName("10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(engine.vbGetHostByName("empty"), "");
  EXPECT_EQ(engine.DestAddress(), 0x0100000A);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, HostTextsWithoutAnAddressAreRefusedQuietly) {
  const std::string longName(65, 'a');
  net.hosts[longName] = FakeNetApi::Host({{10, 0, 0, 1}});
  for (const std::string& hostText : {std::string(""), std::string("1.2.3"), std::string("12345"),
                                      std::string("999.1.1.1"), std::string("1.2.3.255.5"), longName,
                                      std::string("a\0b", 3)}) {
    EXPECT_EQ(engine.PingSite(hostText), -1) << hostText;
  }
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(Count("send"), 0);
  for (const auto& c : net.calls) EXPECT_NE(c.rfind("lookup:", 0), 0u) << c;
  // Each call still opens and closes its handle and Winsock.
  EXPECT_EQ(Count("create"), 7);
  EXPECT_EQ(Count("close"), 7);
  EXPECT_EQ(Count("cleanup"), 7);
}

TEST_F(IcmpEchoTest, FourFieldsWithAnEmptyOneArePinged) {
  net.echoes = {FakeNetApi::Reply(5), FakeNetApi::Reply(5), FakeNetApi::Reply(5)};
  EXPECT_EQ(engine.PingSite("1..2.3"), 5);
  EXPECT_EQ(DottedText(AddrOctets), "1.0.2.3");
}

TEST_F(IcmpEchoTest, NameOfSixtyFourCharactersIsLookedUp) {
  const std::string name(64, 'b');
  net.hosts[name] = FakeNetApi::Host({{127, 0, 0, 9}});
  EXPECT_EQ(engine.vbGetHostByName(name), "127.0.0.9");
}

// --- One echo request ---------------------------------------------------------------------------

TEST_F(IcmpEchoTest, EchoResults) {
  struct Case {
    const char* what;
    Echo echo;
    int32_t result;
  } cases[] = {
      {"good reply", FakeNetApi::Reply(42), 42},
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

TEST_F(IcmpEchoTest, NoReplyLeavesTheLastReplyInPlace) {
  engine.vbIcmpCreateFile();
  net.echoes = {FakeNetApi::Reply(30), FakeNetApi::Nothing()};
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), 30);
  // A failed call over a stale good reply: status 0 with no reply is 0, not a time.
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), 0);
  EXPECT_EQ(engine.ReplyCount(), 0);
}

TEST_F(IcmpEchoTest, ReplyCountIsTheLowSixteenBits) {
  engine.vbIcmpCreateFile();
  net.echoes = {{0x10000, true, 0, 25}, {0x10001, true, 0, 25}};
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), 0);
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), 25);
  EXPECT_EQ(engine.ReplyCount(), 1);
}

TEST_F(IcmpEchoTest, PacketSizeIsClampedAndYieldComesFirst) {
  engine.vbIcmpCreateFile();
  host.onDoEvents = [&] { host.Log(std::to_string(net.requests.size()) + " sent"); };
  struct Case {
    int32_t size;
    std::size_t sent;
  } cases[] = {{10, 32}, {-5, 32}, {32, 32}, {64, 64}, {128, 128}, {500, 128}};
  for (const auto& c : cases) {
    engine.vbIcmpSendEcho(c.size, 750);
    EXPECT_EQ(net.requests.back().data, std::string(c.sent, 'X')) << c.size;
    EXPECT_EQ(engine.RequestData(), std::string(c.sent, 'X'));
  }
  EXPECT_EQ(host.calls[0], "events");
  EXPECT_EQ(host.calls[1], "0 sent");  // yielded before the first request went out
}

TEST_F(IcmpEchoTest, NegativeTimeOutWaitsNotAtAll) {
  engine.vbIcmpCreateFile();
  engine.vbIcmpSendEcho(32, -1);
  engine.vbIcmpSendEcho(32, 2000);
  EXPECT_EQ(net.requests[0].timeoutMs, 0u);
  EXPECT_EQ(net.requests[1].timeoutMs, 2000u);
}

TEST_F(IcmpEchoTest, HandleCreateAndCloseFailures) {
  net.createHandle = 0;
  engine.vbIcmpCreateFile();
  EXPECT_EQ(Texts(), Strings{"Plumbline: Unable to Create File Handle"});
  EXPECT_EQ(engine.IcmpHandle(), 0u);
  // Requests without a handle reach no platform call and get no good reply.
  EchoReply = {};
  EXPECT_EQ(engine.vbIcmpSendEcho(32, 750), 0);
  EXPECT_EQ(Count("send"), 0);
  engine.vbIcmpCloseHandle();
  EXPECT_EQ(Count("close"), 0);
  EXPECT_EQ(dialogs.boxes.back().text, "ICMP Closed with Error");
  EXPECT_EQ(dialogs.boxes.back().title, "Sondar-ICMPEcho");

  dialogs.boxes.clear();
  net.createHandle = 77;
  net.closeResult = false;
  engine.vbIcmpCreateFile();
  engine.vbIcmpCloseHandle();
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: ICMP Closed with Error"});
  EXPECT_EQ(net.closedHandles, std::vector<IcmpHandleValue>{77});
  EXPECT_EQ(engine.IcmpHandle(), 77u);  // the field keeps its value
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
  net.echoes = {FakeNetApi::Reply(40), FakeNetApi::Reply(41), FakeNetApi::Reply(43)};
  EXPECT_EQ(engine.PingSite("127.0.0.1"), 41);
  EXPECT_EQ(net.calls, (Strings{"startup", "create", "send", "send", "send", "close", "cleanup"}));
  ASSERT_EQ(net.requests.size(), 3u);
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
      {{FakeNetApi::Reply(40), FakeNetApi::Reply(41), FakeNetApi::Reply(43)}, 41},
      {{FakeNetApi::Reply(40), FakeNetApi::Reply(41), timeOut}, 40},
      {{FakeNetApi::Reply(41), timeOut, FakeNetApi::Reply(42)}, 42},
      {{FakeNetApi::Reply(1), timeOut, timeOut}, 1},
      {{FakeNetApi::Reply(0), FakeNetApi::Reply(2), timeOut}, 2},  // 0 ms counts as 1: 1.5 -> 2
      {{timeOut, timeOut, timeOut}, -1},
      {{FakeNetApi::Status(11003), FakeNetApi::Status(11003), FakeNetApi::Status(11003)}, -1},
      {{FakeNetApi::Reply(50), FakeNetApi::Nothing(), FakeNetApi::Nothing()}, 50},  // stale 0 status
  };
  for (const auto& c : cases) {
    EchoReply = {};
    net.echoes.assign(c.echoes.begin(), c.echoes.end());
    EXPECT_EQ(engine.PingSite("10.0.0.1"), c.result);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(IcmpEchoTest, PingSiteReadsTheCountOnce) {
  settings.PingCount = 2;
  host.onDoEvents = [&] { settings.PingCount = 10; };
  net.echoes = {FakeNetApi::Reply(10), FakeNetApi::Reply(20), FakeNetApi::Reply(30)};
  EXPECT_EQ(engine.PingSite("10.0.0.1"), 15);
  EXPECT_EQ(Count("send"), 2);
}

TEST_F(IcmpEchoTest, PingSiteWithNoCountSendsNothing) {
  for (int32_t count : {0, -3}) {
    settings.PingCount = count;
    EXPECT_EQ(engine.PingSite("10.0.0.1"), -1);
  }
  EXPECT_EQ(Count("send"), 0);
  EXPECT_EQ(Yields(), 0);
}

TEST_F(IcmpEchoTest, UnresolvedHostStillOpensAndClosesEverything) {
  ASSERT_EQ(engine.vbGetHostByName("10.9.9.9"), "10.9.9.9");
  net.hosts["known"] = FakeNetApi::Host({{10, 1, 1, 1}});
  net.echoes = {FakeNetApi::Reply(8), FakeNetApi::Reply(8), FakeNetApi::Reply(8)};
  ASSERT_EQ(engine.PingSite("known"), 8);
  net.calls.clear();
  EXPECT_EQ(engine.PingSite("unknown.host"), -1);
  EXPECT_EQ(net.calls, (Strings{"startup", "lookup:unknown.host", "lasterror", "create", "close", "cleanup"}));
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: Winsock Error 11001"});
}

TEST_F(IcmpEchoTest, PingSiteWithoutHandleGivesMinusOne) {
  net.createHandle = 0;
  EchoReply = {};
  EXPECT_EQ(engine.PingSite("10.0.0.1"), -1);
  EXPECT_EQ(Texts(), (Strings{"Plumbline: Unable to Create File Handle",
                              "Sondar-ICMPEcho: ICMP Closed with Error"}));
  EXPECT_EQ(Yields(), 3);  // the requests are still made, and fail
  EXPECT_FALSE(host.ended);
}

TEST_F(IcmpEchoTest, CloseFailureKeepsTheResult) {
  net.closeResult = false;
  net.echoes = {FakeNetApi::Reply(12), FakeNetApi::Reply(12), FakeNetApi::Reply(12)};
  EXPECT_EQ(engine.PingSite("10.0.0.1"), 12);
  EXPECT_EQ(Texts(), Strings{"Sondar-ICMPEcho: ICMP Closed with Error"});
}

TEST_F(IcmpEchoTest, NestedPingSiteIsRefusedAndTouchesNothing) {
  net.echoes = {FakeNetApi::Reply(40), FakeNetApi::Reply(41), FakeNetApi::Reply(43)};
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
  net.echoes = {FakeNetApi::Reply(7), FakeNetApi::Reply(7), FakeNetApi::Reply(7)};
  EXPECT_EQ(engine.PingSite("10.7.7.7"), 7);
}

TEST_F(IcmpEchoTest, UnresolvableAfterAResolvedHostGivesMinusOne) {
  net.hosts["good"] = FakeNetApi::Host({{10, 2, 2, 2}});
  net.echoes = {FakeNetApi::Reply(9), FakeNetApi::Reply(9), FakeNetApi::Reply(9)};
  ASSERT_EQ(engine.PingSite("good"), 9);
  net.echoes = {FakeNetApi::Reply(9), FakeNetApi::Reply(9), FakeNetApi::Reply(9)};
  EXPECT_EQ(engine.PingSite("bad"), -1);
  EXPECT_EQ(net.echoes.size(), 3u);  // nothing sent to the previous destination
}

}  // namespace
}  // namespace gantrel
