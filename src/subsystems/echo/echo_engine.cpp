#include "echo/echo_engine.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "echo/echo_numbers.h"
#include "echo/host_address.h"

namespace gantrel {
namespace {

constexpr uint16_t kWinsockVersion = 0x0101;  // 1.1
constexpr int16_t kMinSockets = 0;
constexpr std::size_t kPacketSize = 32;
constexpr uint8_t kTimeToLive = 255;
// The games' own port: a server that drops echo requests still accepts connections there.
constexpr uint16_t kGamePort = 6112;
// A request the platform has not ended this long after its own time-out counts as unanswered,
// so that no host can hang the run.
constexpr int64_t kEchoGraceUs = 1'000'000;

constexpr const char* kNotResponding = "WSock32.dll is not responding!";
constexpr const char* kNoHandle = "Unable to Create File Handle";
constexpr const char* kCloseError = "ICMP Closed with Error";

// How an echo request says that the system refuses to send echo requests at all: no reply, with
// ERROR_ACCESS_DENIED, and the reply area left as it was. Wine does so when Linux lets the user
// open neither a raw nor a ping socket.
constexpr uint32_t kRefusedError = 5;

constexpr const char* kRefused =
    "This system does not let Gantrel send ping requests. Servers that accept a connection to "
    "their game port were measured that way instead: their rows say TCP.";
constexpr const char* kRefusedUnderWine =
    "\n\nUnder Wine, the Linux setting net.ipv4.ping_group_range decides who may send them. "
    "To let every user send them, run:\n\n"
    "sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"\n\n"
    "To keep that after a restart, put this line in /etc/sysctl.d/60-gantrel-ping.conf:\n\n"
    "net.ipv4.ping_group_range = 0 2147483647";

}  // namespace

// Winsock started for one PingSite call, cleaned up when the call is done with it.
class EchoEngine::WinsockSession {
 public:
  explicit WinsockSession(EchoEngine& engine) : engine_(engine), started_(engine.StartWinsock()) {}
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  ~WinsockSession() { Close(); }

  // False when the start-up checks ended the program.
  bool Started() const { return started_; }
  // Cleans up now; false when that ended the program.
  bool Close() { return !std::exchange(started_, false) || engine_.CleanUpWinsock(); }

 private:
  EchoEngine& engine_;
  bool started_;
};

EchoEngine::EchoEngine(NetApi& net, Dialogs& dialogs, WindowHost& host,
                       const PingSettings& settings)
    : net_(net), dialogs_(dialogs), host_(host), settings_(settings) {}

RoundTrip EchoEngine::PingSite(const std::string& host) {
  // A call from inside a running one (through a yield while it waits) would swap the destination
  // and close the handle under it. A call that ended the program stays busy for good, so that
  // nothing runs after the end.
  if (busy_) return {};
  busy_ = true;
  WinsockSession winsock(*this);
  if (!winsock.Started()) return {};
  const RoundTrip result = MeasureHost(host);
  if (!winsock.Close()) return {};  // the measurement is lost with the program
  busy_ = false;
  return result;
}

RoundTrip EchoEngine::MeasureHost(const std::string& host) {
  const std::optional<int32_t> destination = Resolve(host);
  const bool icmpOpen = net_.OpenIcmp();
  if (!icmpOpen) Show(kNoHandle, kHandleTitle);
  const RoundTrip result = destination ? MeasureAddress(*destination, icmpOpen) : RoundTrip{};
  if (!net_.CloseIcmp()) Show(kCloseError, kEchoTitle);
  return result;
}

RoundTrip EchoEngine::MeasureAddress(int32_t destination, bool icmpOpen) {
  const int32_t count = settings_.count;  // read once, before the first request
  // A negative wait makes no sense; read as unsigned it would block for weeks.
  const auto timeOut = static_cast<uint32_t>(std::max(settings_.timeOutMs, 0));
  // The requests' time-outs bound the whole host, its connection included.
  const int64_t endUs = net_.MicrosecondsNow() + int64_t{std::max(count, 0)} * timeOut * 1000;
  connection_ = Connection::NotTried;
  int32_t good = 0;
  int64_t sum = 0;  // wide enough that no count of 32-bit times can overflow it
  for (int32_t i = 0; i < count; ++i) {
    const int32_t roundTrip = Echo(destination, icmpOpen, timeOut);
    if (roundTrip > 0) {
      ++good;
      sum += roundTrip;
    } else if (i == 0) {
      // The remaining requests go on meanwhile; any good reply still decides.
      StartConnection(destination);
    }
  }
  if (good == 0) Await(endUs, false);
  if (connection_ == Connection::Pending) net_.CloseConnection();
  if (good == 0 && connection_ == Connection::Made) return {connectMs_, true};
  return {MeanRoundTrip(sum, good), false};
}

bool EchoEngine::StartWinsock() {
  // A failed start-up is reported but not fatal by itself: the version checks below run on
  // whatever the record holds, and the network calls that follow fail on their own.
  if (net_.StartWinsock(kWinsockVersion, winsock_) != 0) Show(kNotResponding, kEchoTitle);
  const int major = winsock_.version & 0xFF;
  const int minor = winsock_.version >> 8;
  if (major < 1 || (major == 1 && minor < 1)) {
    return EndProgram("WinSock Version " + std::to_string(major) + "." + std::to_string(minor) +
                      " is not supported ");
  }
  if (static_cast<int16_t>(winsock_.maxSockets) < kMinSockets) {
    return EndProgram("This application requires a minimum of " + std::to_string(kMinSockets) +
                      " supported sockets.");
  }
  return true;
}

bool EchoEngine::CleanUpWinsock() {
  const int32_t result = net_.CleanUpWinsock();
  return result == 0 ||
         EndProgram("WSock32 Error - " + std::to_string(result) + " occurred in Cleanup");
}

std::optional<int32_t> EchoEngine::Resolve(const std::string& host) {
  if (!IsHostName(host)) {
    // Not four fields of octets: nothing to ping, nothing to report.
    const std::optional<Octets> octets = ReadDottedAddress(host);
    if (!octets) return std::nullopt;
    return DestinationOf(*octets);
  }
  // Longer names, and names the 8-bit call would cut short at a NUL, are not looked up.
  if (host.size() > kMaxHostNameLength || host.find('\0') != std::string::npos) return std::nullopt;
  const HostLookup lookup = net_.LookUpHost(host);
  if (!lookup.found) {
    const int32_t code = net_.LastWinsockError();
    Show(std::string("Winsock Error") + (code >= 0 ? " " : "") + std::to_string(code), kEchoTitle);
    return std::nullopt;
  }
  // A record without any address gives nothing to ping.
  if (!lookup.firstAddress) return std::nullopt;
  return DestinationOf(*lookup.firstAddress);
}

int32_t EchoEngine::Echo(int32_t destination, bool icmpOpen, uint32_t timeOutMs) {
  host_.HandlePendingEvents();
  uint32_t replies = 0;
  if (icmpOpen) {
    const int64_t startUs = net_.MicrosecondsNow();
    std::optional<uint32_t> stored = net_.StartEcho(destination, std::string(kPacketSize, 'X'),
                                                    kTimeToLive, reply_, timeOutMs);
    if (!stored && Await(startUs + int64_t{timeOutMs} * 1000 + kEchoGraceUs, true))
      stored = net_.EchoReplies(reply_);
    replies = stored.value_or(0);
    if (replies == 0 && net_.LastEchoError() == kRefusedError) refused_ = true;
  }
  return EchoResult(static_cast<int16_t>(replies & 0xFFFFu), reply_);
}

void EchoEngine::StartConnection(int32_t destination) {
  connectStartUs_ = net_.MicrosecondsNow();
  connection_ = Connection::Pending;
  const ConnectStart start = net_.StartConnect(destination, kGamePort);
  if (start != ConnectStart::Pending) EndConnection(start == ConnectStart::Made);
}

void EchoEngine::EndConnection(bool made) {
  // The handshake is the round trip: the connection is closed at once, having sent nothing.
  const int64_t elapsedUs = net_.MicrosecondsNow() - connectStartUs_;
  net_.CloseConnection();
  connection_ = made ? Connection::Made : Connection::Failed;
  connectMs_ = static_cast<int32_t>(std::clamp<int64_t>(elapsedUs / 1000, 1, INT32_MAX));
}

// Handles what comes until the echo request under way ends (forEcho), or else until the
// connection has its answer: window messages, and the connection's answer. False when `untilUs`
// came first.
bool EchoEngine::Await(int64_t untilUs, bool forEcho) {
  bool echoEnded = false;
  while (forEcho ? !echoEnded : connection_ == Connection::Pending) {
    const int64_t leftUs = untilUs - net_.MicrosecondsNow();
    if (leftUs <= 0) return false;
    const auto leftMs = static_cast<uint32_t>(std::min<int64_t>((leftUs + 999) / 1000, INT32_MAX));
    switch (net_.Wait(leftMs)) {
      case NetEvent::EchoEnded: echoEnded = true; break;
      case NetEvent::Messages: host_.HandlePendingEvents(); break;
      case NetEvent::Connected: EndConnection(true); break;
      case NetEvent::ConnectFailed: EndConnection(false); break;
      case NetEvent::Nothing: break;
    }
  }
  return true;
}

void EchoEngine::ReportRefusal() {
  if (!std::exchange(refused_, false)) return;
  Show(std::string(kRefused) + (net_.UnderWine() ? kRefusedUnderWine : ""), kRefusedTitle);
}

void EchoEngine::Show(const std::string& text, const char* title) {
  dialogs_.MsgBox(text, title, MsgIcon::None);
}

bool EchoEngine::EndProgram(const std::string& message) {
  Show(message, kEchoTitle);
  host_.EndProgram();
  return false;
}

}  // namespace gantrel
