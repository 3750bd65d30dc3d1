#pragma once
// The echo engine ICMPEcho: Winsock start-up and clean-up, host resolution, ICMP echo requests
// and the single-host ping PingSite, over the NetApi port.
#include <cstdint>
#include <string>

#include "app/dialogs.h"
#include "app/window_host.h"
#include "icmp/host_address.h"
#include "icmp/net_api.h"

namespace gantrel {

// Program-wide ping settings; start-up sets them to 750 and 3.
struct PingSettings {
  int32_t PingTimeOut = 0;
  int32_t PingCount = 0;
};

// Records shared by every request; they keep their contents between requests and calls.
extern IpOptionInformation EchoOptions;  // request options (time-to-live set before each series)
extern EchoReplyArea EchoReply;          // last reply record and echoed data
extern Octets AddrOctets;                // octets of the last address produced by the resolver

inline constexpr const char* kEchoTitle = "Sondar-ICMPEcho";
inline constexpr const char* kHandleTitle = "Plumbline";

// Owns one open ICMP handle; closes it if nobody did. Move-only.
class IcmpHandleOwner {
 public:
  IcmpHandleOwner() = default;
  IcmpHandleOwner(NetApi& net, IcmpHandleValue value) : net_(&net), value_(value) {}
  IcmpHandleOwner(IcmpHandleOwner&& other) noexcept;
  IcmpHandleOwner& operator=(IcmpHandleOwner&& other) noexcept;
  IcmpHandleOwner(const IcmpHandleOwner&) = delete;
  IcmpHandleOwner& operator=(const IcmpHandleOwner&) = delete;
  ~IcmpHandleOwner();

  bool IsOpen() const { return net_ != nullptr && value_ != 0; }
  IcmpHandleValue Value() const { return IsOpen() ? value_ : 0; }
  // Closes the handle now; false when the platform reports an error or nothing was open.
  bool Close();

 private:
  NetApi* net_ = nullptr;
  IcmpHandleValue value_ = 0;
};

class ICMPEcho {
 public:
  ICMPEcho(NetApi& net, Dialogs& dialogs, WindowHost& host, const PingSettings& settings);
  ICMPEcho(const ICMPEcho&) = delete;
  ICMPEcho& operator=(const ICMPEcho&) = delete;

  // Public operations.
  static int32_t ULongtoSLong(double ULong);
  // Dotted text of the resolved address, or "" (look-up failed, or a host text with no address).
  std::string vbGetHostByName(std::string Host);
  // Round-trip milliseconds of a good reply (1 or more), else 0 or minus the reply's status.
  int32_t vbIcmpSendEcho(int32_t PacketSize, int32_t TimeOut);
  void vbWSAStartup();
  static int32_t HiByte(int16_t wParam);
  static int32_t LoByte(int16_t wParam);
  void vbWSACleanup();
  void vbIcmpCloseHandle();
  void vbIcmpCreateFile();
  // Mean round-trip milliseconds (1 or more) over PingCount requests, or -1.
  int32_t PingSite(const std::string& Host);

  // The engine's fields, for reading.
  int32_t SockResult() const { return sockResult_; }
  const WsaData& WSAData() const { return wsaData_; }
  const std::string& ErrorText() const { return errorText_; }
  int32_t DestAddress() const { return destAddress_; }
  const HostEnt& HostEntry() const { return hostEntry_; }
  IcmpHandleValue IcmpHandle() const { return icmpHandle_; }
  const std::string& RequestData() const { return requestData_; }
  int16_t ReplyCount() const { return replyCount_; }
  // True once the engine has ended the program; it does nothing more after that.
  bool Ended() const { return ended_; }

 private:
  void Show(const std::string& text, const char* title);
  void EndProgram();

  NetApi& net_;
  Dialogs& dialogs_;
  WindowHost& host_;
  const PingSettings& settings_;

  int32_t sockResult_ = 0;
  WsaData wsaData_{};
  std::string errorText_;
  int32_t destAddress_ = 0;
  HostEnt hostEntry_;
  IcmpHandleValue icmpHandle_ = 0;
  IcmpHandleOwner icmpOwner_;
  std::string requestData_;
  int16_t replyCount_ = 0;
  bool pinging_ = false;
  bool ended_ = false;
};

}  // namespace gantrel
