#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "dialogs.h"
#include "echo/round_trip.h"
#include "net_api.h"
#include "window_host.h"

namespace gantrel {

// How PingSite measures a host: requests sent and the wait for each reply. Start-up sets them.
struct PingSettings {
  int32_t timeOutMs = 0;
  int32_t count = 0;
};

// Titles of the engine's own message boxes.
inline constexpr const char* kEchoTitle = "Sondar-ICMPEcho";
inline constexpr const char* kHandleTitle = "Plumbline";
inline constexpr const char* kRefusedTitle = "Gantrel";

// Measures hosts with ICMP echo requests over the NetApi port, and a host that gives no echo reply
// by one connection to its game port. Tells the user of Winsock and ICMP failures in its own
// message boxes; three Winsock failures end the program.
class EchoEngine {
 public:
  EchoEngine(NetApi& net, Dialogs& dialogs, WindowHost& host, const PingSettings& settings);
  EchoEngine(const EchoEngine&) = delete;
  EchoEngine& operator=(const EchoEngine&) = delete;

  // Mean round-trip milliseconds (1 or more) of the requests that got a good reply. When none did,
  // the round trip of a connection to the game port, if the host accepted one within the
  // requests' time; otherwise -1, as for a host without an address. Winsock, the ICMP handle and
  // the connection live only within the call, which handles the window's messages while it waits.
  RoundTrip PingSite(const std::string& host);
  // Once a run of PingSite calls is over: when the system refused to send any of its requests,
  // tells the user so in one message box, and why under Wine. Each run is told anew.
  void ReportRefusal();

 private:
  class WinsockSession;

  bool StartWinsock();    // false when the program had to end
  bool CleanUpWinsock();  // likewise
  std::optional<int32_t> Resolve(const std::string& host);
  RoundTrip MeasureHost(const std::string& host);
  RoundTrip MeasureAddress(int32_t destination, bool icmpOpen);
  int32_t Echo(int32_t destination, bool icmpOpen, uint32_t timeOutMs);
  void StartConnection(int32_t destination);
  void EndConnection(bool made);
  bool Await(int64_t untilUs, bool forEcho);
  void Show(const std::string& text, const char* title);
  bool EndProgram(const std::string& message);

  NetApi& net_;
  Dialogs& dialogs_;
  WindowHost& host_;
  const PingSettings& settings_;
  // Kept between calls: a start-up the platform fails without writing is checked against the
  // record of the last good one.
  WinsockInfo winsock_{};
  // Kept between requests: a request the platform answers without writing leaves the last reply.
  EchoReplyArea reply_{};
  // The connection of the host being measured.
  enum class Connection { NotTried, Pending, Made, Failed } connection_ = Connection::NotTried;
  int64_t connectStartUs_ = 0;
  int32_t connectMs_ = 0;
  bool busy_ = false;
  bool refused_ = false;  // since the last ReportRefusal
};

}  // namespace gantrel
