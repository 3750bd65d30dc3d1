// The echo engine: PingSite over scripted Winsock, ICMP and TCP calls, and the rules under it.
#include <gtest/gtest.h>

#include <climits>

#include "echo/echo_engine.h"
#include "echo/echo_numbers.h"
#include "echo/host_address.h"
#include "fakes.h"

namespace gantrel {
void PrintTo(const RoundTrip& r, std::ostream* os) {
  *os << r.ms << (r.overTcp ? " ms TCP" : "");
}
}  // namespace gantrel

namespace gantrel::testing {
namespace {

using Echo = World::Echo;
const Echo kLost{0, true, 11010, 0, 0, 750};  // no reply within the time-out
const Echo kRefused{0, false, 0, 0, 5};       // the system sends none
Echo Reply(uint32_t ms) {
  return {1, true, 0, ms, 0, static_cast<int32_t>(ms)};
}
const std::string kEchoBox = "box Sondar-ICMPEcho|";

struct Engine : World {
  int32_t Ping(const std::string& host, std::deque<Echo> replies = {Reply(5), Reply(5), Reply(5)}) {
    echoes = std::move(replies);
    log.clear();
    return engine.PingSite(host).ms;
  }
  PingSettings settings{750, 3};
  EchoEngine engine{*this, *this, *this, settings};
};

TEST(EchoEngine, PingSiteSendsThreeRequestsWithinOneWinsockSessionAndOneIcmpHandle) {
  Engine e;
  std::vector<int32_t> nested;  // calls from the yields before each request, refused
  e.onEvents = [&] { nested.push_back(e.engine.PingSite("10.7.7.7").ms); };
  EXPECT_EQ(e.Ping("127.0.0.1", {Reply(40), kLost, Reply(43)}), 42);
  const std::string send = "send 127.0.0.1 " + std::string(32, 'X') + " ttl=255 750ms";
  EXPECT_EQ(e.log, (Strings{"startup 257", "open", "events", send, "events", send, "events", send,
                            "close", "cleanup"}));
  EXPECT_EQ(nested, (std::vector<int32_t>{-1, -1, -1}));
  EXPECT_EQ(e.Ping("10.0.0.1", {Reply(50), {}, {}}), 50);  // writing nothing is no second reply
}

TEST(EchoNumbers, ARequestsResultAndTheMeanOfTheGoodOnes) {
  const struct {
    int16_t replies;
    uint32_t status, roundTrip;
    int32_t result;
  } requests[] = {
      {1, 0, 40, 40},        {1, 0, 0, 1},  // a good reply of 0 ms counts as 1
      {0, 0, 40, 0},                        // no reply, an earlier good one left in the area
      {0, 11010, 0, -11010}, {1, 11003, 0, -11003}, {1, 0x80000000u, 0, -INT32_MAX},
  };
  for (const auto& r : requests) {
    EchoReplyArea area;
    std::memcpy(area.bytes.data() + 4, &r.status, 4);
    std::memcpy(area.bytes.data() + 8, &r.roundTrip, 4);
    EXPECT_EQ(EchoResult(r.replies, area), r.result) << r.status << " " << r.roundTrip;
  }
  // Halves go to the even neighbour.
  const std::tuple<int64_t, int32_t, int32_t> means[] = {{124, 3, 41}, {122, 3, 41}, {81, 2, 40},
                                                         {83, 2, 42},  {0, 0, -1},   {5, -1, -1}};
  for (const auto& [sum, count, mean] : means) EXPECT_EQ(MeanRoundTrip(sum, count), mean) << sum;
}

// (Which texts are looked up and which are read as addresses: the fuzz corpus's host texts.)
TEST(EchoEngine, ANameWithoutAnAddressIsNotSentAndAFailedLookUpIsToldWithItsCode) {
  Engine e;
  e.hosts = {{"empty", {true, std::nullopt}}};
  e.Ping("empty");
  EXPECT_EQ(e.log, (Strings{"startup 257", "lookup empty", "open", "close", "cleanup"}));
  for (const auto& [code, box] : {std::pair{11001, " 11001"}, {0, " 0"}, {-5, "-5"}}) {
    e.lastError = code;  // a negative code takes the blank's place
    EXPECT_EQ(e.Ping("no.such"), -1);
    EXPECT_EQ(e.Boxes(), Strings{kEchoBox + "Winsock Error" + box});
  }
}

TEST(EchoEngine, WinsockFailuresEndTheProgramExceptAStartUpThatStillPassesItsChecks) {
  const struct {
    int32_t startup;
    WinsockInfo writes;  // all zeros: as a start-up that writes nothing on first use
    int32_t cleanup;
    Strings boxes;
  } cases[] = {
      {0, {0x0201, 0}, 0, {}},
      {0, {0x0001, 9}, 0, {"WinSock Version 1.0 is not supported "}},
      {0, {0x0101, 32768}, 0, {"This application requires a minimum of 0 supported sockets."}},
      {1, {0, 0}, 0, {"WSock32.dll is not responding!", "WinSock Version 0.0 is not supported "}},
      {0, {0x0101, 1}, -1, {"WSock32 Error - -1 occurred in Cleanup"}},
  };
  for (const auto& c : cases) {
    Engine e;
    e.startupResult = c.startup;
    e.startupWrites = c.writes;
    e.cleanupResult = c.cleanup;
    const bool ends = !c.boxes.empty();
    EXPECT_EQ(e.Ping("127.0.0.1"), ends ? -1 : 5);
    Strings boxes;
    for (const auto& text : c.boxes) boxes.push_back(kEchoBox + text);
    EXPECT_EQ(e.Boxes(), boxes);
    EXPECT_EQ(e.log.back() == "end", ends);
    e.Ping("127.0.0.1");  // nothing runs after the end
    EXPECT_EQ(e.log.empty(), ends);
  }
  Engine e;  // a failed start-up that writes nothing after a good one goes on with its record
  e.Ping("127.0.0.1");
  e.startupResult = 10091;
  e.startupWrites.reset();
  EXPECT_EQ(e.Ping("127.0.0.1"), 5);
}

TEST(EchoEngine, TheIcmpHandleIsClosedOnEveryPath) {
  const std::string noHandle = "box Plumbline|Unable to Create File Handle";
  const std::string closeError = kEchoBox + "ICMP Closed with Error";  // none open is an error
  for (const bool opens : {true, false}) {
    Engine e;
    e.openResult = opens;
    e.closeResult = false;
    EXPECT_EQ(e.Ping("10.0.0.1"), opens ? 5 : -1);
    EXPECT_EQ(std::count(e.log.begin(), e.log.end(), "close"), 1);
    EXPECT_EQ(e.Boxes(), opens ? Strings({closeError}) : Strings({noHandle, closeError}));
  }
  Engine e;  // the count is read once; no wait is negative
  e.settings = {-1, 2};
  e.onEvents = [&] { e.settings.count = 10; };
  EXPECT_EQ(e.Ping("10.0.0.1", {Reply(10), Reply(20), Reply(30)}), 15);
  EXPECT_TRUE(e.log[3].ends_with(" 0ms"));
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
    EXPECT_EQ(e.Boxes(), Strings{});
    for (const Echo refused : {kRefused, Echo{0, false, 0, 0, 5, -1}}) {  // ends later, or at once
      e.Ping("10.0.0.1", {refused, refused, refused});
      e.engine.PingSite("10.0.0.2");
      e.engine.ReportRefusal();
      e.engine.ReportRefusal();
      EXPECT_EQ(e.Boxes(), Strings{told + (wine ? fix : "")});
    }
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
  *os << ::testing::PrintToString(m.roundTrip) << ", ended at " << m.endedMs << " ms, "
      << ::testing::PrintToString(m.connection);
}

TEST(EchoEngine, AHostWithoutEchoReplyIsMeasuredByOneConnectionToItsGamePortWithinItsTime) {
  using C = World::Connect;
  const Echo hung{1, false, 0, 0, 0, 9999};  // never ends: its reply must not be read
  const std::string at750 = "connect 10.0.0.1:6112 at 750", at0 = "connect 10.0.0.1:6112 at 0";
  const C made30{.made = true, .afterMs = 30};
  const std::deque<Echo> lost = {kLost, kLost, kLost}, refused = {kRefused, kRefused, kRefused};
  const struct {
    std::deque<Echo> echoes;
    C connect;
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
  for (const char* address : {"1.2.3.4/", "\xe9.1.1.1", "_.1", "@[`{"})
    EXPECT_FALSE(IsHostName(address));
}

}  // namespace
}  // namespace gantrel::testing
