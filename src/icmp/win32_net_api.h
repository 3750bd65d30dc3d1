#pragma once
#include "icmp/net_api.h"

namespace gantrel {

// Winsock 1.1 and the ICMP echo calls of iphlpapi, one platform call per operation.
class Win32NetApi : public NetApi {
 public:
  int32_t WSAStartup(uint16_t version, WsaData& data) override;
  int32_t WSACleanup() override;
  int32_t WSAGetLastError() override;
  bool GetHostByName(const std::string& name, HostEnt& entry) override;
  IcmpHandleValue IcmpCreateFile() override;
  uint32_t IcmpSendEcho(IcmpHandleValue handle, int32_t destAddress, const std::string& data,
                        const IpOptionInformation& options, EchoReplyArea& reply,
                        uint32_t timeoutMs) override;
  bool IcmpCloseHandle(IcmpHandleValue handle) override;
};

}  // namespace gantrel
