// winsock2.h must come before windows.h.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <algorithm>
#include <cstring>

#include "icmp/win32_net_api.h"

namespace gantrel {

int32_t Win32NetApi::WSAStartup(uint16_t version, WsaData& data) {
  // Seed the platform record with the kept values, so fields it leaves alone keep them.
  WSADATA wsa{};
  wsa.wVersion = data.wVersion;
  wsa.wHighVersion = data.wHighVersion;
  wsa.iMaxSockets = data.iMaxSockets;
  wsa.iMaxUdpDg = data.iMaxUdpDg;
  const int result = ::WSAStartup(version, &wsa);
  data.wVersion = wsa.wVersion;
  data.wHighVersion = wsa.wHighVersion;
  data.iMaxSockets = wsa.iMaxSockets;
  data.iMaxUdpDg = wsa.iMaxUdpDg;
  return result;
}

int32_t Win32NetApi::WSACleanup() { return ::WSACleanup(); }

int32_t Win32NetApi::WSAGetLastError() { return ::WSAGetLastError(); }

bool Win32NetApi::GetHostByName(const std::string& name, HostEnt& entry) {
  const hostent* h = ::gethostbyname(name.c_str());
  if (h == nullptr) return false;
  // The record belongs to the platform and is reused by the next look-up: copy it all now.
  entry = HostEnt{};
  if (h->h_name != nullptr) entry.h_name = h->h_name;
  for (char** alias = h->h_aliases; alias != nullptr && *alias != nullptr; ++alias) {
    entry.h_aliases.emplace_back(*alias);
  }
  entry.h_addrtype = h->h_addrtype;
  entry.h_length = h->h_length;
  const std::size_t length = std::clamp<int>(h->h_length, 0, 4);
  for (char** addr = h->h_addr_list; addr != nullptr && *addr != nullptr; ++addr) {
    std::array<uint8_t, 4> bytes{};
    std::memcpy(bytes.data(), *addr, length);
    entry.h_addr_list.push_back(bytes);
  }
  return true;
}

IcmpHandleValue Win32NetApi::IcmpCreateFile() {
  const HANDLE h = ::IcmpCreateFile();
  // The platform reports failure as INVALID_HANDLE_VALUE; the engine knows it as 0.
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return 0;
  return reinterpret_cast<IcmpHandleValue>(h);
}

uint32_t Win32NetApi::IcmpSendEcho(IcmpHandleValue handle, int32_t destAddress, const std::string& data,
                                   const IpOptionInformation& options, EchoReplyArea& reply,
                                   uint32_t timeoutMs) {
  IPAddr dest = 0;
  std::memcpy(&dest, &destAddress, sizeof dest);
  IP_OPTION_INFORMATION opts{};
  opts.Ttl = options.Ttl;
  opts.Tos = options.Tos;
  opts.Flags = options.Flags;
  opts.OptionsSize = 0;
  opts.OptionsData = nullptr;
  std::string request = data;  // the call takes a non-const buffer
  const WORD size = static_cast<WORD>(std::min<std::size_t>(request.size(), 0xFFFF));
  return ::IcmpSendEcho(reinterpret_cast<HANDLE>(handle), dest, request.data(), size, &opts,
                        reply.bytes.data(), static_cast<DWORD>(reply.bytes.size()), timeoutMs);
}

bool Win32NetApi::IcmpCloseHandle(IcmpHandleValue handle) {
  return ::IcmpCloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

}  // namespace gantrel
