// Host texts through the resolver: classification, the dotted-address reading and the destination
// address built from it, over a fake network that records every look-up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_net_api.h"
#include "fakes/fake_window_host.h"
#include "icmp/echo_numbers.h"
#include "icmp/host_address.h"
#include "icmp/icmp_echo.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// "a.b.c.d" of plain decimal fields 0..255 (no blanks, signs or fractions): the reading must
// agree with the obvious one.
bool PlainDotted(const std::string& s, gantrel::Octets& out) {
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    std::size_t end = pos;
    while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
    if (end == pos || end - pos > 3) return false;
    const int v = std::atoi(s.substr(pos, end - pos).c_str());
    if (v > 255) return false;
    out[i] = static_cast<uint8_t>(v);
    if (i < 3) {
      if (end >= s.size() || s[end] != '.') return false;
      pos = end + 1;
    } else if (end != s.size()) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string host(reinterpret_cast<const char*>(data), size);

  const auto octets = gantrel::ReadDottedAddress(host);
  if (octets) {
    const std::string text = gantrel::DottedText(*octets);
    Check(text.size() >= 7 && text.size() <= 15);
    const auto again = gantrel::ReadDottedAddress(text);
    Check(again && *again == *octets);
    const double value = (*octets)[0] + (*octets)[1] * 256.0 + (*octets)[2] * 65536.0 + (*octets)[3] * 16777216.0;
    const int32_t dest = gantrel::ULongtoSLong(value);
    Check(std::memcmp(&dest, octets->data(), 4) == 0);  // the wire bytes, in text order
  }
  gantrel::Octets plain{};
  if (PlainDotted(host, plain)) Check(octets && *octets == plain);
  if (host.find('.') == std::string::npos) Check(!octets);

  // The engine: a name is looked up once when it is short enough and holds no NUL; nothing else
  // is ever looked up, and the answer is "" or the dotted text of AddrOctets.
  gantrel::testing::FakeNetApi net;
  net.hosts[host] = gantrel::testing::FakeNetApi::Host({{192, 0, 2, 33}});
  gantrel::testing::FakeDialogs dialogs;
  gantrel::testing::FakeWindowHost windowHost;
  gantrel::PingSettings settings{750, 3};
  gantrel::ICMPEcho engine(net, dialogs, windowHost, settings);
  const std::string result = engine.vbGetHostByName(host);
  const bool name = gantrel::IsHostName(host);
  const bool lookUp = name && host.size() <= gantrel::kMaxHostNameLength && host.find('\0') == std::string::npos;
  Check(net.calls.size() == (lookUp ? 1u : 0u));
  Check(dialogs.boxes.empty());
  if (lookUp) {
    Check(result == "192.0.2.33");
  } else if (name) {
    Check(result.empty());
  } else {
    Check(result == (octets ? gantrel::DottedText(*octets) : std::string()));
  }
  if (!result.empty()) Check(result == gantrel::DottedText(gantrel::AddrOctets));
  return 0;
}
