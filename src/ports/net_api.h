#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace gantrel {

// An IPv4 address's four bytes, in text order.
using Octets = std::array<uint8_t, 4>;

// What the echo engine keeps of the platform's WSADATA record. A start-up writes into it; fields
// the platform leaves alone keep what they held.
struct WinsockInfo {
  uint16_t version = 0;  // low byte major, high byte minor
  uint16_t maxSockets = 0;
};

// A name look-up: whether the platform found a record, and the record's first address, if any.
struct HostLookup {
  bool found = false;
  std::optional<Octets> firstAddress;
};

// The reply area of an echo request: an ICMP_ECHO_REPLY record followed by the echoed data.
inline constexpr std::size_t kEchoReplySize = 163;
struct alignas(8) EchoReplyArea {
  std::array<uint8_t, kEchoReplySize> bytes{};
};

// What ended a NetApi::Wait.
enum class NetEvent {
  Nothing,        // the time is up, or something that concerns neither request
  Messages,       // window messages are waiting to be handled
  EchoEnded,      // the echo request under way has ended: its replies are ready
  Connected,      // the connection was made
  ConnectFailed,  // the connection was refused, or could not be made
};

// How a connection attempt began.
enum class ConnectStart { Failed, Pending, Made };

// The socket and ICMP calls under the echo engine, one platform call each (a wait, with what it
// reports). The one ICMP handle and the one connection are the implementation's to keep between
// their opening and their closing.
class NetApi {
 public:
  virtual ~NetApi() = default;
  // WSAStartup: fills `info` as the platform does; returns its result (0 on success).
  virtual int32_t StartWinsock(uint16_t version, WinsockInfo& info) = 0;
  // WSACleanup: 0 on success, the platform's failure value (-1) otherwise.
  virtual int32_t CleanUpWinsock() = 0;
  virtual int32_t LastWinsockError() = 0;
  // gethostbyname on a NUL-free name.
  virtual HostLookup LookUpHost(const std::string& name) = 0;
  // IcmpCreateFile: false when no handle could be opened.
  virtual bool OpenIcmp() = 0;
  // IcmpSendEcho2 over the open handle to `destination` (bytes in network order), time-to-live
  // `ttl`, without waiting: nothing while the request is under way (Wait reports its end, then
  // EchoReplies reads it), otherwise the number of replies stored in `reply` at once. `reply`
  // must stay in place until the request has ended.
  virtual std::optional<uint32_t> StartEcho(int32_t destination, const std::string& data,
                                            uint8_t ttl, EchoReplyArea& reply,
                                            uint32_t timeoutMs) = 0;
  // IcmpParseReplies of a request that has ended: the number of replies stored in `reply`.
  virtual uint32_t EchoReplies(EchoReplyArea& reply) = 0;
  // Why the last request stored no reply, as a Windows error code.
  virtual uint32_t LastEchoError() = 0;
  // IcmpCloseHandle: false when the platform reports an error or no handle was open.
  virtual bool CloseIcmp() = 0;
  // A TCP connection to `destination`, `port`, without waiting; Wait reports a pending one's end.
  virtual ConnectStart StartConnect(int32_t destination, uint16_t port) = 0;
  // Closes the connection (an orderly close once it is made), or abandons the attempt.
  virtual void CloseConnection() = 0;
  // Waits at most `maxMs` for the end of the echo request or connection under way, or for window
  // messages, and says which came first.
  virtual NetEvent Wait(uint32_t maxMs) = 0;
  // A steady clock, in microseconds.
  virtual int64_t MicrosecondsNow() = 0;
  // Whether the program runs under Wine, where Linux decides who may send echo requests.
  virtual bool UnderWine() = 0;
};

}  // namespace gantrel
