#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace gantrel {

// The parts of the WSADATA record the engine keeps. A start-up writes into it; fields the platform
// leaves alone keep what they held.
struct WsaData {
  uint16_t wVersion = 0;      // low byte major, high byte minor
  uint16_t wHighVersion = 0;
  uint16_t iMaxSockets = 0;
  uint16_t iMaxUdpDg = 0;
};

// A copy of a HOSTENT record, taken right after the look-up (the platform's record is reused by
// the next look-up). Each address keeps its first four bytes in memory order.
struct HostEnt {
  std::string h_name;
  std::vector<std::string> h_aliases;
  int16_t h_addrtype = 0;
  int16_t h_length = 0;
  std::vector<std::array<uint8_t, 4>> h_addr_list;
};

// IP_OPTION_INFORMATION without option data (the engine never sends IP options).
struct IpOptionInformation {
  uint8_t Ttl = 0;
  uint8_t Tos = 0;
  uint8_t Flags = 0;
  uint8_t OptionsSize = 0;
};

// The reply area handed to IcmpSendEcho: an ICMP_ECHO_REPLY record followed by the echoed data.
inline constexpr std::size_t kEchoReplySize = 163;
struct alignas(8) EchoReplyArea {
  std::array<uint8_t, kEchoReplySize> bytes{};
};

// An ICMP handle as a plain value; 0 means none (the platform's failure value maps to 0).
using IcmpHandleValue = uintptr_t;

// The socket and ICMP calls of the echo engine, one platform call each.
class NetApi {
 public:
  virtual ~NetApi() = default;
  // WSAStartup: fills `data` as the platform does; returns its result (0 on success).
  virtual int32_t WSAStartup(uint16_t version, WsaData& data) = 0;
  // WSACleanup: 0 on success, the platform's failure value (-1) otherwise.
  virtual int32_t WSACleanup() = 0;
  virtual int32_t WSAGetLastError() = 0;
  // gethostbyname on a NUL-free name: true and `entry` filled, or false (no entry).
  virtual bool GetHostByName(const std::string& name, HostEnt& entry) = 0;
  virtual IcmpHandleValue IcmpCreateFile() = 0;
  // IcmpSendEcho to `destAddress` (bytes in network order) with `data` as the request data;
  // returns the number of replies stored in `reply`.
  virtual uint32_t IcmpSendEcho(IcmpHandleValue handle, int32_t destAddress, const std::string& data,
                                const IpOptionInformation& options, EchoReplyArea& reply,
                                uint32_t timeoutMs) = 0;
  // IcmpCloseHandle: true when the platform reports success.
  virtual bool IcmpCloseHandle(IcmpHandleValue handle) = 0;
};

}  // namespace gantrel
