// The gateway-list reader over any value: no crash; every list it accepts is written back to the
// same bytes, and selecting a server in it gives a list the reader accepts again, with that server
// selected (letter case ignored) and nothing else changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gateways/gateway_list.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
// Hosts are the same when only their letter case differs; the first such gateway is selected.
std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto list = gantrel::ReadGatewayList(bytes);
  if (!list) return 0;
  Check(gantrel::WriteGatewayList(*list) == bytes);

  gantrel::GatewayList changed = *list;
  const std::string host = list->gateways.empty() ? "new.example" : list->gateways.back().host;
  if (!gantrel::SelectGateway(changed, host, "-1", "New")) {
    Check(list->gateways.size() >= 99);
    return 0;
  }
  const auto again = gantrel::ReadGatewayList(gantrel::WriteGatewayList(changed));
  Check(again && again->version == list->version);
  const size_t selected = std::stoul(again->selected);
  Check(selected >= 1 && selected <= again->gateways.size() &&
        Lower(again->gateways[selected - 1].host) == Lower(host));
  Check(again->gateways.size() - list->gateways.size() <= 1);
  for (size_t i = 0; i < list->gateways.size(); ++i)
    Check(again->gateways[i].name == list->gateways[i].name);
  return 0;
}
