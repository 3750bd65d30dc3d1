#include "echo/echo_numbers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace gantrel {
namespace {

// A 32-bit field of the ICMP_ECHO_REPLY record at the start of the reply area, in the machine's
// own byte order as the platform writes it: Address (offset 0), Status (4), RoundTripTime (8).
uint32_t ReplyField(const EchoReplyArea& reply, std::size_t offset) {
  uint32_t v;
  std::memcpy(&v, reply.bytes.data() + offset, sizeof v);
  return v;
}
constexpr std::size_t kStatusOffset = 4;
constexpr std::size_t kRoundTripOffset = 8;

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); independent of the
// floating-point rounding mode.
double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

}  // namespace

int32_t DestinationOf(const Octets& octets) { return std::bit_cast<int32_t>(octets); }

int32_t EchoResult(int16_t replyCount, const EchoReplyArea& reply) {
  const uint32_t status = ReplyField(reply, kStatusOffset);
  if (replyCount != 0 && status == 0) {
    const auto rtt = static_cast<int32_t>(ReplyField(reply, kRoundTripOffset));
    return rtt == 0 ? 1 : rtt;
  }
  // Minus the status; a status no int32 can negate still must not read as a good reply.
  return -static_cast<int32_t>(std::min<uint32_t>(status, std::numeric_limits<int32_t>::max()));
}

int32_t MeanRoundTrip(int64_t sum, int32_t count) {
  if (count <= 0) return -1;
  // The mean of 32-bit times fits 32 bits again.
  return static_cast<int32_t>(RoundHalfEven(static_cast<double>(sum) / count));
}

}  // namespace gantrel
