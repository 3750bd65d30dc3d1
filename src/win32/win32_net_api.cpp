#include "win32_net_api.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

std::optional<uint32_t> Win32NetApi::StartEcho(int32_t destination, const std::string& data,
                                               uint8_t ttl, EchoReplyArea& reply,
                                               uint32_t timeoutMs) {
  IPAddr dest{};
  std::memcpy(&dest, &destination, sizeof dest);
  IP_OPTION_INFORMATION options{};
  options.Ttl = ttl;
  request_ = data;
  echoEnded_ = false;
  const WORD size = static_cast<WORD>(std::min<std::size_t>(request_.size(), 0xFFFF));
  const DWORD stored = ::IcmpSendEcho2(icmp_.Get(), nullptr, &EchoEnded, this, dest,
                                       request_.data(), size, &options, reply.bytes.data(),
                                       static_cast<DWORD>(reply.bytes.size()), timeoutMs);
  echoError_ = ::GetLastError();
  if (stored == 0 && echoError_ == ERROR_IO_PENDING) return std::nullopt;
  return stored;
}

// Called inside Wait when the request under way ends. Its status is the only place that tells a
// request the system refused (Wine: no ping socket allowed) from one that got no reply.
void NTAPI Win32NetApi::EchoEnded(void* self, IO_STATUS_BLOCK* io, ULONG) {
  auto& net = *static_cast<Win32NetApi*>(self);
  net.echoEnded_ = true;
  net.echoError_ = ::RtlNtStatusToDosError(io->Status);
}

uint32_t Win32NetApi::EchoReplies(EchoReplyArea& reply) {
  return ::IcmpParseReplies(reply.bytes.data(), static_cast<DWORD>(reply.bytes.size()));
}

uint32_t Win32NetApi::LastEchoError() { return echoError_; }

bool Win32NetApi::CloseIcmp() { return icmp_.Close(); }

ConnectStart Win32NetApi::StartConnect(int32_t destination, uint16_t port) {
  socket_ = UniqueSocket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  connectEvent_ = UniqueKernelHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = ::htons(port);
  std::memcpy(&to.sin_addr, &destination, sizeof destination);
  // Selecting an event also makes the socket non-blocking.
  if (!socket_ || !connectEvent_ ||
      ::WSAEventSelect(socket_.Get(), connectEvent_.Get(), FD_CONNECT) != 0)
    return ConnectStart::Failed;
  if (::connect(socket_.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
    return ConnectStart::Made;
  return ::WSAGetLastError() == WSAEWOULDBLOCK ? ConnectStart::Pending : ConnectStart::Failed;
}

// Without a linger time set, closing is the orderly close, finished by the system.
void Win32NetApi::CloseConnection() {
  socket_.Close();
  connectEvent_.Close();
}

NetEvent Win32NetApi::Wait(uint32_t maxMs) {
  const HANDLE connecting = connectEvent_.Get();
  const DWORD count = connecting ? 1 : 0;
  const DWORD woke = ::MsgWaitForMultipleObjectsEx(count, &connecting, maxMs, QS_ALLINPUT,
                                                   MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
  if (std::exchange(echoEnded_, false)) return NetEvent::EchoEnded;
  if (woke == WAIT_OBJECT_0 + count) return NetEvent::Messages;
  WSANETWORKEVENTS events{};
  if (woke != WAIT_OBJECT_0 || count == 0 ||
      ::WSAEnumNetworkEvents(socket_.Get(), connecting, &events) != 0 ||
      (events.lNetworkEvents & FD_CONNECT) == 0)
    return NetEvent::Nothing;
  return events.iErrorCode[FD_CONNECT_BIT] == 0 ? NetEvent::Connected : NetEvent::ConnectFailed;
}

int64_t Win32NetApi::MicrosecondsNow() {
  LARGE_INTEGER count{}, perSecond{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&perSecond);
  const int64_t f = perSecond.QuadPart;
  return count.QuadPart / f * 1'000'000 + count.QuadPart % f * 1'000'000 / f;
}

bool Win32NetApi::UnderWine() {
  // Wine's own ntdll exports its version; Windows' never does.
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace gantrel
