// The echo engine: PingSite over scripted Winsock, ICMP and TCP calls, and the rules under it.
#include <gtest/gtest.h>

#include "echo/echo_engine.h"
#include "echo/echo_numbers.h"
#include "echo/host_address.h"
#include "fakes.h"

namespace gantrel::testing {
namespace {

using Echo = World::Echo;
const Echo kLost{0, true, 11010, 0, 0, 750};  // no reply within the time-out
const Echo kRefused{0, false, 0, 0, 5};       // the system sends none
const auto Reply = [](uint32_t ms) { return Echo{1, true, 0, ms, 0, static_cast<int32_t>(ms)}; };

struct Engine : World {
  int32_t Ping(const std::string& host, std::deque<Echo> replies = {Reply(5), Reply(5), Reply(5)}) {
    echoes = std::move(replies);
    return engine.PingSite(host).ms;
  }
  PingSettings settings{750, 3};
  EchoEngine engine{*this, *this, *this, settings};
};

TEST(EchoEngine, PingSiteSendsThreeRequestsWithinOneWinsockSessionAndOneIcmpHandle) {
  Engine e;
  // Calls from the yields before each request are refused: nothing of theirs is logged.
  e.onEvents = [&] { e.engine.PingSite("10.7.7.7"); };
  EXPECT_EQ(e.Ping("127.0.0.1", {Reply(40), kLost, Reply(43)}), 42);
  const std::string send = "send 127.0.0.1 " + std::string(32, 'X') + " ttl=255 750ms";
  EXPECT_EQ(e.log, (Strings{"startup 257", "open", "events", send, "events", send, "events", send,
                            "close", "cleanup"}));
  // A reply of 0 ms counts as 1; an error reply, or one whose status no int32 can negate, as none.
  EXPECT_EQ(e.Ping("10.0.0.1", {Reply(0), {1, true, 11003}, {1, true, 0x80000000u}}), 1);
  // Halves go to the even neighbour (42 above); no replies give none.
  const std::tuple<int64_t, int32_t, int32_t> means[] = {{122, 3, 41}, {81, 2, 40}, {0, 0, -1}};
  for (const auto& [sum, count, mean] : means) EXPECT_EQ(MeanRoundTrip(sum, count), mean) << sum;
}

TEST(EchoEngine, EachFailureIsToldInItsBoxAndThreeOfThemEndTheProgram) {
  const std::string e = "box Sondar-ICMPEcho|", lost = "no.such";
  const struct {
    World::Faults faults;
    int32_t result;
    Strings told;
    std::string host = "10.0.0.1";
  } cases[] = {
      {{.writes = {0x0201, 0}}, 5, {}},
      {{.writes = {0x0001, 9}}, -1, {e + "WinSock Version 1.0 is not supported ", "end"}},
      {{.writes = {0x0101, 32768}},
       -1,
       {e + "This application requires a minimum of 0 supported sockets.", "end"}},
      {{.startup = 1, .writes = {}},
       -1,
       {e + "WSock32.dll is not responding!", e + "WinSock Version 0.0 is not supported ", "end"}},
      {{.cleanup = -1}, -1, {e + "WSock32 Error - -1 occurred in Cleanup", "end"}},
      {{.opens = false},
       -1,
       {"box Plumbline|Unable to Create File Handle", e + "ICMP Closed with Error"}},
      {{.closes = false}, 5, {e + "ICMP Closed with Error"}},
      {{}, -1, {e + "Winsock Error 11001"}, lost},
      {{.lookUpError = 0}, -1, {e + "Winsock Error 0"}, lost},
      {{.lookUpError = -5}, -1, {e + "Winsock Error-5"}, lost},  // no blank then
      {{}, -1, {}, "empty"},  // a record without an address: nothing to send to
  };
  for (const auto& c : cases) {
    Engine w;
    w.faults = c.faults;
    EXPECT_EQ(w.Ping(c.host), c.result);
    EXPECT_EQ(w.Boxes(), c.told);
  }
}

TEST(EchoEngine, RequestsTheSystemRefusesAreToldOnceARunAndUnderWineHowToAllowThem) {
  const std::string told =
      "box Gantrel|This system does not let Gantrel send ping requests. Servers that accept a "
      "connection to their game port were measured that way instead: their rows say TCP.";
  const std::string fix =
      "\n\nUnder Wine, the Linux setting net.ipv4.ping_group_range decides who may send them. To "
      "let every user send them, run:\n\nsudo sysctl -w net.ipv4.ping_group_range=\"0 "
      "2147483647\"\n\nTo keep that after a restart, put this line in "
      "/etc/sysctl.d/60-gantrel-ping.conf:\n\nnet.ipv4.ping_group_range = 0 2147483647";
  for (const bool wine : {false, true}) {
    Engine e;
    e.underWine = wine;
    e.Ping("10.0.0.1", {kLost, {1, true, 0, 7, 5}, kLost});  // a reply is no refusal
    e.engine.ReportRefusal();
    e.echoes = {kRefused, kRefused, {0, false, 0, 0, 5, -1}};  // ends later, or at once
    e.engine.PingSite("10.0.0.1");
    e.engine.PingSite("10.0.0.2");
    e.engine.ReportRefusal();
    e.engine.ReportRefusal();
    EXPECT_EQ(e.Boxes(), Strings{told + (wine ? fix : "")});
  }
}

// One host's round trip, when its measurement ended, and its connection's comings and goings.
struct Measured {
  RoundTrip roundTrip;
  int64_t endedMs;
  Strings connection;
  bool operator==(const Measured&) const = default;
};
void PrintTo(const Measured& m, std::ostream* os) {
  *os << m.roundTrip.ms << (m.roundTrip.overTcp ? " ms TCP" : "") << ", ended at " << m.endedMs
      << " ms, " << ::testing::PrintToString(m.connection);
}

TEST(EchoEngine, AHostWithoutEchoReplyIsMeasuredByOneConnectionToItsGamePortWithinItsTime) {
  const Echo hung{1, false, 0, 0, 0, 9999};  // never ends: its reply must not be read
  const std::string at750 = "connect 10.0.0.1:6112 at 750", at0 = "connect 10.0.0.1:6112 at 0";
  const World::Connect made30{.made = true, .afterMs = 30};
  const std::deque<Echo> lost = {kLost, kLost, kLost}, refused = {kRefused, kRefused, kRefused};
  const struct {
    std::deque<Echo> echoes;
    World::Connect connect;
    Measured want;
  } cases[] = {
      // A good echo reply decides: no connection after one to the first request.
      {{Reply(40), kLost, kLost}, made30, {{40, false}, 1540, {}}},
      {{kLost, Reply(41), kLost}, made30, {{41, false}, 1541, {at750, "disconnect at 780"}}},
      // Else the connection's round trip (1 ms at least), closed as soon as it is made.
      {lost, made30, {{30, true}, 2250, {at750, "disconnect at 780"}}},
      {refused, made30, {{30, true}, 30, {at0, "disconnect at 30"}}},
      {{kRefused, kLost, kLost},
       {.start = ConnectStart::Made},
       {{1, true}, 1500, {at0, "disconnect at 0"}}},
      // Refused, failed, or no answer within the requests' time: none, after that time.
      {lost, {.afterMs = 5}, {{-1, false}, 2250, {at750, "disconnect at 755"}}},
      {refused, {}, {{-1, false}, 2250, {at0, "disconnect at 2250"}}},
      {refused, {.start = ConnectStart::Failed}, {{-1, false}, 0, {at0, "disconnect at 0"}}},
      // A request the platform never ends is given up a second after its time-out.
      {{hung, hung, hung},
       {},
       {{-1, false}, 5250, {"connect 10.0.0.1:6112 at 1750", "disconnect at 5250"}}},
  };
  for (const auto& c : cases) {
    Engine e;
    e.connects = {c.connect};
    e.echoes = c.echoes;
    Measured got{e.engine.PingSite("10.0.0.1"), e.nowUs / 1000, {}};
    std::copy_if(e.log.begin(), e.log.end(), std::back_inserter(got.connection),
                 [](const std::string& line) { return line.find("connect") != std::string::npos; });
    EXPECT_EQ(got, c.want);
  }
}

TEST(EchoEngine, DottedAddressRules) {
  for (const char* host : {"1 0. 1 .0 .1 ", "+10.1.0.1", "10.1.0.0000000000000000001", "10.1..1/24",
                           "10.1.0.1.4999", "10.1.0.0.5001", "10.1.0.0.51"})
    EXPECT_EQ(ReadDottedAddress(host), (Octets{10, 1, 0, 1})) << host;
  for (const char* host :
       {"256.0.0.0", "1.2.3.255.5", "1.2.3.-1", "1.2.3.4294967296", "1.2.3.-0.6"})
    EXPECT_FALSE(ReadDottedAddress(host)) << host;
  EXPECT_EQ(ReadDottedAddress("-0.0.0.-0.500"), (Octets{0, 0, 0, 0}));  // halves to the even one
  EXPECT_EQ(ReadDottedAddress("255.2.3.5.5"), (Octets{255, 2, 3, 6}));
  for (const char* name : {"A", "Z", "a", "z"}) EXPECT_TRUE(IsHostName(name));
}

}  // namespace
}  // namespace gantrel::testing
