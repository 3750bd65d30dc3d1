#pragma once
#include "net_api.h"
#include "win32_handle.h"

namespace gantrel {

// Winsock 1.1, the ICMP echo calls of iphlpapi, and one non-blocking TCP connection, one platform
// call per operation. Waits are alertable: a request's end arrives as its completion routine.
class Win32NetApi : public NetApi {
 public:
  int32_t StartWinsock(uint16_t version, WinsockInfo& info) override;
  int32_t CleanUpWinsock() override;
  int32_t LastWinsockError() override;
  HostLookup LookUpHost(const std::string& name) override;
  bool OpenIcmp() override;
  std::optional<uint32_t> StartEcho(int32_t destination, const std::string& data, uint8_t ttl,
                                    EchoReplyArea& reply, uint32_t timeoutMs) override;
  uint32_t EchoReplies(EchoReplyArea& reply) override;
  uint32_t LastEchoError() override;
  bool CloseIcmp() override;
  ConnectStart StartConnect(int32_t destination, uint16_t port) override;
  void CloseConnection() override;
  NetEvent Wait(uint32_t maxMs) override;
  int64_t MicrosecondsNow() override;
  bool UnderWine() override;

 private:
  static void NTAPI EchoEnded(void* self, IO_STATUS_BLOCK* io, ULONG reserved);

  UniqueIcmp icmp_;
  std::string request_;  // the call takes a non-const buffer
  bool echoEnded_ = false;
  uint32_t echoError_ = 0;
  UniqueSocket socket_;
  UniqueKernelHandle connectEvent_;  // signalled when the connection is made or fails
};

}  // namespace gantrel
