#pragma once
#include <cstdint>

namespace gantrel {

// What PingSite measured of one host.
struct RoundTrip {
  int32_t ms = -1;  // 1 or more: the round trip in milliseconds; 0 or less: no usable reply
  // Measured by a connection to the host's game port, as the host gave no echo reply.
  bool overTcp = false;
  bool operator==(const RoundTrip&) const = default;
};

}  // namespace gantrel
