// The echo engine's PingSite over scripted Winsock and ICMP calls, and the rules under it.
#include <gtest/gtest.h>

#include <climits>

#include "echo/echo_engine.h"
#include "echo/echo_numbers.h"
#include "echo/host_address.h"
#include "fakes.h"

namespace gantrel::testing {
namespace {

using Echo = World::Echo;
const Echo kTimedOut{0, true, 11010, 0}, k5{1, true, 0, 5};
const auto Reply = [](uint32_t ms) { return Echo{1, true, 0, ms, 0, static_cast<int32_t>(ms)}; };
const std::string kX = " " + std::string(32, 'X') + " ttl=255 ", kTitle = "box Sondar-ICMPEcho|";

struct Engine : World {
  int32_t Ping(const std::string& hostText, std::deque<Echo> replies = {k5, k5, k5}) {
    return echoes = std::move(replies), log.clear(), engine.PingSite(hostText).ms;
  }
  PingSettings settings{750, 3};
  EchoEngine engine{*this, *this, *this, settings};
};

TEST(EchoEngine, PingSiteRunsTheWholeCycleAndAveragesGoodRepliesHalfToEven) {
  Engine e;
  EXPECT_EQ(e.Ping("127.0.0.1", {Reply(40), Reply(41), Reply(43)}), 41);
  const std::string send = "send 127.0.0.1" + kX + "750ms";
  EXPECT_EQ(e.log, (Strings{"startup 257", "open", "events", send, "events", send, "events", send,
                            "close", "cleanup"}));
  const std::pair<std::deque<Echo>, int32_t> cases[] = {
      {{Reply(40), Reply(41), Reply(41)}, 41},
      {{Reply(41), kTimedOut, Reply(42)}, 42},
      {{Reply(0), Reply(4), kTimedOut}, 2},  // 0 ms counts as 1; halves go to the even one
      {{{1, true, 11003, 0}, {1, true, 0x80000000u, 0}, kTimedOut}, -1},  // no int32 is -0x80000000u
      {{Reply(50), {}, {}}, 50},  // a request that writes nothing is no second reply
  };
  for (const auto& [echoes, mean] : cases) EXPECT_EQ(e.Ping("10.0.0.1", echoes), mean);
  EXPECT_TRUE(e.Boxes().empty());
}

TEST(EchoEngine, DottedAddressesNeedNoLookUpNamesDoAndTextsWithoutAnAddressAreSkipped) {
  const std::string b64(64, 'b'), sent = "open events send 10.0.0.7";
  const std::pair<std::string, std::string> cases[] = {
      // what follows the start-up
      {"010.001.000.001", "open events send 10.1.0.1"},
      {"10-1", "lookup 10-1 " + sent},
      {b64, "lookup " + b64 + " " + sent},
      {"no.such", "lookup no.such lasterror " + kTitle + "Winsock Error 11001 open close cleanup"},
      {"empty", "lookup empty open close cleanup"},
      {"", "open close cleanup"},
      {std::string(65, 'a'), "open close cleanup"},
      {std::string("a\0b", 3), "open close cleanup"},
  };
  for (const auto& [host, calls] : cases) {
    Engine e;
    e.hosts = {{"10-1", {true, Octets{10, 0, 0, 7}}},
               {b64, {true, Octets{10, 0, 0, 7}}},
               {"empty", {true, std::nullopt}}};
    EXPECT_EQ(e.Ping(host), calls.find("send") != std::string::npos ? 5 : -1);
    std::string shown;
    for (size_t i = 1; i < e.log.size(); ++i) shown += (i > 1 ? " " : "") + e.log[i];
    EXPECT_EQ(shown.substr(0, shown.find(" X")), calls);
  }
  for (const auto& [code, box] : {std::pair{-5, "Winsock Error-5"}, {0, "Winsock Error 0"}}) {
    Engine e;
    e.lastError = code, e.Ping("x");
    EXPECT_EQ(e.Boxes(), Strings{kTitle + box});
  }
}

TEST(EchoEngine, WinsockFailuresEndTheProgramExceptAStartUpThatStillPassesItsChecks) {
  const struct {
    int32_t startup;
    std::optional<WinsockInfo> writes;
    int32_t cleanup;
    Strings boxes;
  } cases[] = {
      // clang-format off
      {0, WinsockInfo{0x0201, 0}, 0, {}},
      {0, WinsockInfo{0x0001, 9}, 0, {kTitle + "WinSock Version 1.0 is not supported "}},
      {0, WinsockInfo{0x0101, 32768}, 0, {kTitle + "This application requires a minimum of 0 supported sockets."}},
      {1, std::nullopt, 0, {kTitle + "WSock32.dll is not responding!", kTitle + "WinSock Version 0.0 is not supported "}},
      {0, WinsockInfo{0x0101, 1}, -1, {kTitle + "WSock32 Error - -1 occurred in Cleanup"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    Engine e;
    e.startupResult = c.startup;
    e.startupWrites = c.writes;  // nothing: the record still all zeros, as on first use
    e.cleanupResult = c.cleanup;
    EXPECT_EQ(e.Ping("127.0.0.1"), c.boxes.empty() ? 5 : -1);
    EXPECT_EQ(e.Boxes(), c.boxes);
    EXPECT_EQ(e.log.back() == "end", !c.boxes.empty());  // and nothing after the end:
    EXPECT_EQ(e.Ping("127.0.0.1") == -1 && e.log.empty(), !c.boxes.empty());
  }
  Engine e;  // a failed start-up after a good one goes on with the old record
  e.Ping("127.0.0.1");
  e.startupResult = 10091;
  e.startupWrites.reset();
  EXPECT_EQ(e.Ping("127.0.0.1"), 5);
}

TEST(EchoEngine, TheIcmpHandleIsClosedOnEveryPathAndNestedCallsAreRefused) {
  for (bool opens : {true, false})
    for (bool closes : {true, false}) {
      Engine e;
      e.openResult = opens;
      e.closeResult = closes;
      std::vector<int32_t> nested;
      e.onEvents = [&] { nested.push_back(e.engine.PingSite("10.7.7.7").ms); };
      EXPECT_EQ(e.Ping("10.0.0.1"), opens ? 5 : -1);
      EXPECT_EQ(nested, (std::vector<int32_t>{-1, -1, -1}));  // the yields, before each request
      EXPECT_EQ(e.echoes.size(), opens ? 0u : 3u);
      EXPECT_EQ(std::count(e.log.begin(), e.log.end(), "close"), 1);
      EXPECT_EQ(e.log.back(), "cleanup");
      Strings boxes = {"box Plumbline|Unable to Create File Handle",
                       kTitle + "ICMP Closed with Error"};
      if (opens) boxes.erase(boxes.begin(), boxes.begin() + (closes ? 2 : 1));
      EXPECT_EQ(e.Boxes(), boxes);
    }
  Engine e;  // the count is read once; no wait is negative
  e.settings = {-1, 2};
  e.onEvents = [&] { e.settings.count = 10; };
  EXPECT_EQ(e.Ping("10.0.0.1", {Reply(10), Reply(20), Reply(30)}), 15);
  EXPECT_EQ(e.log[3], "send 10.0.0.1" + kX + "0ms");
}

TEST(EchoEngine, RequestsTheSystemRefusesAreToldOnceARunAndUnderWineHowToAllowThem) {
  const Echo refused{0, false, 0, 0, 5}, timedOut{0, true, 11010, 0, 11010}, late{1, true, 0, 7, 5};
  // clang-format off
  const std::string told = "box Gantrel|This system does not let Gantrel send ping requests. Servers that accept a connection to their game port were measured that way instead: their rows say TCP.",
      fix = "\n\nUnder Wine, the Linux setting net.ipv4.ping_group_range decides who may send them. To let every user send them, run:\n\n"
            "sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"\n\nTo keep that after a restart, put this line in "
            "/etc/sysctl.d/60-gantrel-ping.conf:\n\nnet.ipv4.ping_group_range = 0 2147483647";
  // clang-format on
  for (const bool wine : {false, true}) {
    Engine e;
    e.underWine = wine;
    e.Ping("10.0.0.1", {timedOut, late, timedOut});  // neither a time-out nor a reply is refused
    e.engine.ReportRefusal();
    EXPECT_TRUE(e.Boxes().empty());
    for (int run = 0; run < 2; ++run) {  // one box a run, however many hosts and reports
      e.Ping("10.0.0.1", {refused, refused, refused}), e.engine.PingSite("10.0.0.2");
      e.engine.ReportRefusal(), e.engine.ReportRefusal();
      EXPECT_EQ(e.Boxes(), Strings{told + (wine ? fix : "")});
    }
  }
}

// What one host's measurement gave, when it ended, and its connection's comings and goings.
struct Measured {
  RoundTrip roundTrip;
  int64_t endedMs;
  Strings connection;
  bool operator==(const Measured&) const = default;
};
void PrintTo(const Measured& m, std::ostream* os) {
  *os << m.roundTrip.ms << (m.roundTrip.overTcp ? " ms TCP" : " ms") << ", ended at "
      << m.endedMs << " ms, " << ::testing::PrintToString(m.connection);
}

TEST(EchoEngine, AHostWithoutEchoReplyIsMeasuredByOneConnectionToItsGamePortWithinItsTime) {
  using C = World::Connect;
  const Echo lost{0, true, 11010, 0, 0, 750}, refused{0, false, 0, 0, 5, 0};
  const Echo hung{0, false, 0, 0, 0, 9999};  // the platform never ends it
  const std::string at750 = "connect 10.0.0.1:6112 at 750", at0 = "connect 10.0.0.1:6112 at 0";
  const struct {
    std::deque<Echo> echoes;
    C connect;
    Measured want;
  } cases[] = {
      // A good echo reply decides: no connection after one to the first request.
      {{Reply(40), lost, lost}, {}, {{40, false}, 1540, {}}},
      {{lost, Reply(41), lost}, {.made = true, .afterMs = 30},
       {{41, false}, 1541, {at750, "disconnect at 780"}}},
      // Without one, the connection's round trip (at least 1 ms), closed as soon as it is made.
      {{lost, lost, lost}, {.made = true, .afterMs = 30},
       {{30, true}, 2250, {at750, "disconnect at 780"}}},
      {{refused, refused, refused}, {.made = true, .afterMs = 30},
       {{30, true}, 30, {at0, "disconnect at 30"}}},
      {{refused, lost, lost}, {.start = ConnectStart::Made}, {{1, true}, 1500, {at0, "disconnect at 0"}}},
      // Refused, failed, or no answer within the requests' time: none, after that time.
      {{lost, lost, lost}, {.afterMs = 5}, {{-1, false}, 2250, {at750, "disconnect at 755"}}},
      {{refused, refused, refused}, {}, {{-1, false}, 2250, {at0, "disconnect at 2250"}}},
      {{refused, refused, refused}, {.start = ConnectStart::Failed}, {{-1, false}, 0, {at0, "disconnect at 0"}}},
      // A request the platform never ends is given up a second after its time-out.
      {{hung, hung, hung}, {}, {{-1, false}, 5250, {"connect 10.0.0.1:6112 at 1750", "disconnect at 5250"}}},
  };
  for (const auto& c : cases) {
    Engine e;
    e.connects = {c.connect};
    Measured got{e.engine.PingSite((e.echoes = c.echoes, "10.0.0.1")), e.nowUs / 1000, {}};
    std::copy_if(e.log.begin(), e.log.end(), std::back_inserter(got.connection),
                 [](const std::string& l) { return l.find("connect") != std::string::npos; });
    EXPECT_EQ(got, c.want);
  }
  Engine e;  // window messages are handled while the engine waits
  e.messagesAtMs = {100, 1000};
  e.Ping("10.0.0.1", {lost, lost, lost});
  EXPECT_EQ(std::count(e.log.begin(), e.log.end(), "events"), 5);
}

TEST(EchoEngine, DottedAddressRules) {
  for (const char* host : {"1 0. 1 .0 .1 ", "+10.1.0.1", "10.1.0.0000000000000000001", "10.1..1/24",
                           "10.1.0.1.4999", "10.1.0.0.5001", "10.1.0.0.51"})
    EXPECT_EQ(ReadDottedAddress(host), (Octets{10, 1, 0, 1})) << host;
  for (const char* host :
       {"256.0.0.0", "1.2.3.255.5", "1.2.3.-1", "1.2.3.4294967296", "1.2.3.-0.6"})
    EXPECT_FALSE(ReadDottedAddress(host)) << host;
  EXPECT_EQ(ReadDottedAddress("-0.0.0.-0.500"), (Octets{0, 0, 0, 0}));  // halves go to the even one
  EXPECT_EQ(ReadDottedAddress("255.2.3.5.5"), (Octets{255, 2, 3, 6}));
  for (const char* name : {"A", "Z", "a", "z"}) EXPECT_TRUE(IsHostName(name));
  for (const char* address : {"1.2.3.4/", "\xe9.1.1.1", "_.1", "@[`{"})
    EXPECT_FALSE(IsHostName(address));
}

}  // namespace
}  // namespace gantrel::testing
