#include "win32_net_api.h"

#include <algorithm>
#include <cstring>

namespace gantrel {

int32_t Win32NetApi::StartWinsock(uint16_t version, WinsockInfo& info) {
  // The platform record starts with the kept values, so fields it leaves alone keep them.
  WSADATA wsa{};
  wsa.wVersion = info.version;
  wsa.iMaxSockets = info.maxSockets;
  const int result = ::WSAStartup(version, &wsa);
  info.version = wsa.wVersion;
  info.maxSockets = wsa.iMaxSockets;
  return result;
}

int32_t Win32NetApi::CleanUpWinsock() { return ::WSACleanup(); }

int32_t Win32NetApi::LastWinsockError() { return ::WSAGetLastError(); }

HostLookup Win32NetApi::LookUpHost(const std::string& name) {
  const hostent* h = ::gethostbyname(name.c_str());
  if (h == nullptr) return {};
  // The record belongs to the platform and is reused by the next look-up: copy what counts now.
  HostLookup lookup{true, std::nullopt};
  // An IPv4 look-up: its list of 4-byte addresses may be empty, never missing.
  if (h->h_addr_list[0] != nullptr) {
    Octets octets{};
    std::memcpy(octets.data(), h->h_addr_list[0], octets.size());
    lookup.firstAddress = octets;
  }
  return lookup;
}

bool Win32NetApi::OpenIcmp() {
  HANDLE h = ::IcmpCreateFile();
  icmp_ = UniqueIcmp(h == nullptr ? INVALID_HANDLE_VALUE : h);
  return static_cast<bool>(icmp_);
}

uint32_t Win32NetApi::SendEcho(int32_t destination, const std::string& data, uint8_t ttl,
                               EchoReplyArea& reply, uint32_t timeoutMs) {
  IPAddr dest{};
  std::memcpy(&dest, &destination, sizeof dest);
  IP_OPTION_INFORMATION options{};
  options.Ttl = ttl;
  std::string request = data;  // the call takes a non-const buffer
  const WORD size = static_cast<WORD>(std::min<std::size_t>(request.size(), 0xFFFF));
  return ::IcmpSendEcho(icmp_.Get(), dest, request.data(), size, &options, reply.bytes.data(),
                        static_cast<DWORD>(reply.bytes.size()), timeoutMs);
}

uint32_t Win32NetApi::LastEchoError() { return ::GetLastError(); }

bool Win32NetApi::CloseIcmp() { return icmp_.Close(); }

bool Win32NetApi::UnderWine() {
  // Wine's own ntdll exports its version; Windows' never does.
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace gantrel
