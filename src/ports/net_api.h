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

// The socket and ICMP calls under the echo engine, one platform call each. The one ICMP handle
// is the implementation's to keep between OpenIcmp and CloseIcmp.
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
  // IcmpSendEcho over the open handle to `destination` (bytes in network order), time-to-live
  // `ttl`; returns the number of replies the platform stored in `reply`.
  virtual uint32_t SendEcho(int32_t destination, const std::string& data, uint8_t ttl,
                            EchoReplyArea& reply, uint32_t timeoutMs) = 0;
  // GetLastError right after a SendEcho that stored no reply.
  virtual uint32_t LastEchoError() = 0;
  // IcmpCloseHandle: false when the platform reports an error or no handle was open.
  virtual bool CloseIcmp() = 0;
  // Whether the program runs under Wine, where Linux decides who may send echo requests.
  virtual bool UnderWine() = 0;
};

}  // namespace gantrel
