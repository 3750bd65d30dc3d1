// Host texts through the echo engine: classification, the dotted-address reading and the
// destination built from it, over the in-memory world that records every look-up and request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "echo/echo_engine.h"
#include "echo/echo_numbers.h"
#include "echo/host_address.h"
#include "fakes.h"

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

std::string Dotted(const gantrel::Octets& o) {
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string host(reinterpret_cast<const char*>(data), size);

  const auto octets = gantrel::ReadDottedAddress(host);
  if (octets) {
    const auto again = gantrel::ReadDottedAddress(Dotted(*octets));
    Check(again && *again == *octets);
    const int32_t dest = gantrel::DestinationOf(*octets);
    Check(std::memcmp(&dest, octets->data(), 4) == 0);  // the wire bytes, in text order
  }
  gantrel::Octets plain{};
  if (PlainDotted(host, plain)) Check(octets && *octets == plain);
  if (host.find('.') == std::string::npos) Check(!octets);

  // A name is looked up once when it is short enough and holds no NUL, and its address is pinged;
  // a dotted address is pinged as read; nothing else is looked up, pinged or reported.
  gantrel::testing::World world;
  world.hosts[host] = {true, gantrel::Octets{192, 0, 2, 33}};
  world.echoes = {{1, true, 0, 5}};
  gantrel::PingSettings settings{750, 1};
  gantrel::EchoEngine engine(world, world, world, settings);
  const int32_t result = engine.PingSite(host).ms;
  const bool name = gantrel::IsHostName(host);
  const bool lookUp =
      name && host.size() <= gantrel::kMaxHostNameLength && host.find('\0') == std::string::npos;
  const auto logged = [&](const std::string& prefix) {
    return std::count_if(world.log.begin(), world.log.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  Check(logged("lookup ") == (lookUp ? 1 : 0));
  Check(world.Boxes().empty());
  const bool pinged = lookUp || (!name && octets);
  Check(result == (pinged ? 5 : -1));
  if (pinged)
    Check(logged("send " + (lookUp ? std::string("192.0.2.33") : Dotted(*octets)) + " ") == 1);
  return 0;
}
