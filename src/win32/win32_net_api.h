#pragma once
#include "net_api.h"
#include "win32_handle.h"

namespace gantrel {

// Winsock 1.1 and the ICMP echo calls of iphlpapi, one platform call per operation.
class Win32NetApi : public NetApi {
 public:
  int32_t StartWinsock(uint16_t version, WinsockInfo& info) override;
  int32_t CleanUpWinsock() override;
  int32_t LastWinsockError() override;
  HostLookup LookUpHost(const std::string& name) override;
  bool OpenIcmp() override;
  uint32_t SendEcho(int32_t destination, const std::string& data, uint8_t ttl,
                    EchoReplyArea& reply, uint32_t timeoutMs) override;
  uint32_t LastEchoError() override;
  bool CloseIcmp() override;
  bool UnderWine() override;

 private:
  UniqueIcmp icmp_;
};

}  // namespace gantrel
