#include "icmp/icmp_echo.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "icmp/echo_numbers.h"

namespace gantrel {

IpOptionInformation EchoOptions;
EchoReplyArea EchoReply;
Octets AddrOctets{};

namespace {

constexpr uint16_t kWinsockVersion = 0x0101;  // 1.1
constexpr int16_t kMinSockets = 0;
constexpr int32_t kMinPacketSize = 32;
constexpr int32_t kMaxPacketSize = 128;
constexpr int32_t kPingPacketSize = 32;
constexpr uint8_t kPingTtl = 255;

constexpr const char* kNotResponding = "WSock32.dll is not responding!";
constexpr const char* kNoHandle = "Unable to Create File Handle";
constexpr const char* kCloseError = "ICMP Closed with Error";

}  // namespace

// --- IcmpHandleOwner ------------------------------------------------------------------------------

IcmpHandleOwner::IcmpHandleOwner(IcmpHandleOwner&& other) noexcept
    : net_(std::exchange(other.net_, nullptr)), value_(std::exchange(other.value_, 0)) {}

IcmpHandleOwner& IcmpHandleOwner::operator=(IcmpHandleOwner&& other) noexcept {
  if (this != &other) {
    Close();
    net_ = std::exchange(other.net_, nullptr);
    value_ = std::exchange(other.value_, 0);
  }
  return *this;
}

IcmpHandleOwner::~IcmpHandleOwner() { Close(); }

bool IcmpHandleOwner::Close() {
  if (!IsOpen()) return false;
  NetApi* net = std::exchange(net_, nullptr);
  return net->IcmpCloseHandle(std::exchange(value_, 0));
}

// --- ICMPEcho -------------------------------------------------------------------------------------

ICMPEcho::ICMPEcho(NetApi& net, Dialogs& dialogs, WindowHost& host, const PingSettings& settings)
    : net_(net), dialogs_(dialogs), host_(host), settings_(settings) {}

int32_t ICMPEcho::ULongtoSLong(double ULong) { return gantrel::ULongtoSLong(ULong); }

int32_t ICMPEcho::HiByte(int16_t wParam) { return gantrel::HiByte(wParam); }

int32_t ICMPEcho::LoByte(int16_t wParam) { return gantrel::LoByte(wParam); }

void ICMPEcho::Show(const std::string& text, const char* title) {
  dialogs_.MsgBox(text, title, MsgIcon::None);
}

void ICMPEcho::EndProgram() {
  ended_ = true;
  host_.EndProgram();
}

void ICMPEcho::vbWSAStartup() {
  sockResult_ = net_.WSAStartup(kWinsockVersion, wsaData_);
  // A failed start-up is reported but not fatal by itself: the version checks below run on
  // whatever the record holds, and the network calls that follow fail on their own.
  if (sockResult_ != 0) Show(kNotResponding, kEchoTitle);

  const auto version = static_cast<int16_t>(wsaData_.wVersion);
  const int32_t major = LoByte(version);
  const int32_t minor = HiByte(version);
  if (major < 1 || (major == 1 && minor < 1)) {
    errorText_ = "WinSock Version " + std::to_string(major) + "." + std::to_string(minor) +
                 " is not supported ";
    Show(errorText_, kEchoTitle);
    EndProgram();
    return;
  }
  if (static_cast<int16_t>(wsaData_.iMaxSockets) < kMinSockets) {
    errorText_ = "This application requires a minimum of " + std::to_string(kMinSockets) +
                 " supported sockets.";
    Show(errorText_, kEchoTitle);
    EndProgram();
  }
}

void ICMPEcho::vbWSACleanup() {
  sockResult_ = net_.WSACleanup();
  if (sockResult_ != 0) {
    errorText_ = "WSock32 Error - " + std::to_string(sockResult_) + " occurred in Cleanup";
    Show(errorText_, kEchoTitle);
    EndProgram();
  }
}

std::string ICMPEcho::vbGetHostByName(std::string Host) {
  if (IsHostName(Host)) {
    // Longer names, and names the 8-bit call would cut short at a NUL, are not looked up.
    if (Host.size() > kMaxHostNameLength || Host.find('\0') != std::string::npos) return "";
    HostEnt entry;
    if (!net_.GetHostByName(Host, entry)) {
      const int32_t code = net_.WSAGetLastError();
      errorText_ = std::string("Winsock Error") + (code >= 0 ? " " : "") + std::to_string(code);
      Show(errorText_, kEchoTitle);
      return "";
    }
    hostEntry_ = std::move(entry);
    // A record without any address gives nothing to ping.
    if (hostEntry_.h_addr_list.empty()) return "";
    AddrOctets = hostEntry_.h_addr_list.front();
    std::memcpy(&destAddress_, AddrOctets.data(), sizeof destAddress_);
    return DottedText(AddrOctets);
  }

  const auto octets = ReadDottedAddress(Host);
  if (!octets) return "";  // not an address: nothing to ping, nothing to report
  AddrOctets = *octets;
  destAddress_ = ULongtoSLong(static_cast<double>(AddrOctets[0]) +
                              static_cast<double>(AddrOctets[1]) * 256.0 +
                              static_cast<double>(AddrOctets[2]) * 65536.0 +
                              static_cast<double>(AddrOctets[3]) * 16777216.0);
  return DottedText(AddrOctets);
}

void ICMPEcho::vbIcmpCreateFile() {
  icmpHandle_ = net_.IcmpCreateFile();
  icmpOwner_ = IcmpHandleOwner(net_, icmpHandle_);
  if (icmpHandle_ == 0) Show(kNoHandle, kHandleTitle);
}

void ICMPEcho::vbIcmpCloseHandle() {
  // IcmpHandle keeps its value; only the owner forgets it, so a second close (or a close after a
  // failed open) reports the error without handing a dead handle to the platform.
  if (!icmpOwner_.Close()) Show(kCloseError, kEchoTitle);
}

int32_t ICMPEcho::vbIcmpSendEcho(int32_t PacketSize, int32_t TimeOut) {
  const int32_t size = std::clamp(PacketSize, kMinPacketSize, kMaxPacketSize);
  requestData_.assign(static_cast<std::size_t>(size), 'X');

  host_.DoEvents();

  uint32_t replies = 0;
  if (icmpOwner_.IsOpen()) {
    // A negative wait makes no sense; read as unsigned it would block for weeks.
    const uint32_t timeOut = TimeOut < 0 ? 0u : static_cast<uint32_t>(TimeOut);
    replies = net_.IcmpSendEcho(icmpOwner_.Value(), destAddress_, requestData_, EchoOptions, EchoReply,
                                timeOut);
  }
  replyCount_ = static_cast<int16_t>(replies & 0xFFFFu);
  return EchoResult(replyCount_, EchoReply);
}

int32_t ICMPEcho::PingSite(const std::string& Host) {
  // A call from inside a running one (through the yield before a request) would swap the
  // destination and close the handle under it.
  if (pinging_ || ended_) return -1;
  pinging_ = true;

  vbWSAStartup();
  if (ended_) return -1;

  const bool resolved = !vbGetHostByName(Host).empty();
  vbIcmpCreateFile();
  EchoOptions.Ttl = kPingTtl;

  int32_t good = 0;
  int64_t sum = 0;  // wide enough that no count of 32-bit times can overflow it
  if (resolved) {
    const int32_t count = settings_.PingCount;
    for (int32_t i = 0; i < count; ++i) {
      const int32_t rtt = vbIcmpSendEcho(kPingPacketSize, settings_.PingTimeOut);
      if (rtt > 0) {
        ++good;
        sum += rtt;
      }
    }
  }
  const int32_t result = MeanRoundTrip(sum, good);

  vbIcmpCloseHandle();
  vbWSACleanup();
  if (ended_) return -1;

  pinging_ = false;
  return result;
}

}  // namespace gantrel
