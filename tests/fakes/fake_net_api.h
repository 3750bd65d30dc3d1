#pragma once
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "icmp/net_api.h"

namespace gantrel::testing {

// Scripted Winsock and ICMP calls. Every call is logged in order ("startup", "lookup:<name>",
// "lasterror", "create", "send", "close", "cleanup"); echo requests answer from `echoes`.
class FakeNetApi : public NetApi {
 public:
  // One echo request's outcome: the reply count returned and what is written into the reply
  // area (nothing when `writes` is false).
  struct Echo {
    uint32_t replies = 0;
    bool writes = false;
    uint32_t status = 0;
    uint32_t roundTrip = 0;
  };
  static Echo Reply(uint32_t ms) { return {1, true, 0, ms}; }
  static Echo Status(uint32_t status) { return {1, true, status, 0}; }
  static Echo TimedOut() { return {0, true, 11010, 0}; }
  static Echo Nothing() { return {0, false, 0, 0}; }

  struct Request {
    IcmpHandleValue handle;
    int32_t destAddress;
    std::string data;
    uint8_t ttl;
    uint32_t timeoutMs;
  };

  int32_t WSAStartup(uint16_t version, WsaData& data) override {
    calls.push_back("startup");
    requestedVersions.push_back(version);
    if (startupWrites) data = *startupWrites;
    return startupResult;
  }
  int32_t WSACleanup() override {
    calls.push_back("cleanup");
    return cleanupResult;
  }
  int32_t WSAGetLastError() override {
    calls.push_back("lasterror");
    return lastError;
  }
  bool GetHostByName(const std::string& name, HostEnt& entry) override {
    calls.push_back("lookup:" + name);
    auto it = hosts.find(name);
    if (it == hosts.end()) return false;
    entry = it->second;
    return true;
  }
  IcmpHandleValue IcmpCreateFile() override {
    calls.push_back("create");
    return createHandle;
  }
  uint32_t IcmpSendEcho(IcmpHandleValue handle, int32_t destAddress, const std::string& data,
                        const IpOptionInformation& options, EchoReplyArea& reply,
                        uint32_t timeoutMs) override {
    calls.push_back("send");
    requests.push_back({handle, destAddress, data, options.Ttl, timeoutMs});
    if (echoes.empty()) return 0;
    const Echo e = echoes.front();
    echoes.pop_front();
    if (e.writes) {
      std::memcpy(reply.bytes.data() + 4, &e.status, 4);
      std::memcpy(reply.bytes.data() + 8, &e.roundTrip, 4);
    }
    return e.replies;
  }
  bool IcmpCloseHandle(IcmpHandleValue handle) override {
    calls.push_back("close");
    closedHandles.push_back(handle);
    return closeResult;
  }

  static HostEnt Host(std::vector<std::array<uint8_t, 4>> addresses) {
    HostEnt h;
    h.h_name = "fake";
    h.h_addrtype = 2;
    h.h_length = 4;
    h.h_addr_list = std::move(addresses);
    return h;
  }

  // Script.
  int32_t startupResult = 0;
  std::optional<WsaData> startupWrites = WsaData{0x0101, 0x0202, 32767, 65467};
  int32_t cleanupResult = 0;
  int32_t lastError = 11001;
  std::map<std::string, HostEnt> hosts;
  IcmpHandleValue createHandle = 0x4d2;
  bool closeResult = true;
  std::deque<Echo> echoes;

  // Record.
  std::vector<std::string> calls;
  std::vector<uint16_t> requestedVersions;
  std::vector<Request> requests;
  std::vector<IcmpHandleValue> closedHandles;
};

}  // namespace gantrel::testing
