#include "icmp/echo_numbers.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace gantrel {

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

int32_t ULongtoSLong(double ULong) {
  if (std::isnan(ULong)) return 0;
  double value = ULong;
  if (value > 2147483647.0) {
    // Two steps, as each of them is exact in double precision.
    value -= 2147483647.0;
    value -= 2147483649.0;
  }
  value = RoundHalfEven(value);
  // Out-of-range input has no 32-bit pattern; saturating keeps the conversion defined.
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t HiByte(int16_t wParam) { return (static_cast<uint16_t>(wParam) >> 8) & 0xFF; }

int32_t LoByte(int16_t wParam) { return static_cast<uint16_t>(wParam) & 0xFF; }

namespace {
uint32_t ReadField(const EchoReplyArea& reply, std::size_t offset) {
  // The platform writes the record in the machine's own byte order.
  uint32_t v = 0;
  std::memcpy(&v, reply.bytes.data() + offset, sizeof v);
  return v;
}
}  // namespace

// ICMP_ECHO_REPLY: Address (4 bytes), Status (4), RoundTripTime (4), ...
uint32_t ReplyStatus(const EchoReplyArea& reply) { return ReadField(reply, 4); }
uint32_t ReplyRoundTripTime(const EchoReplyArea& reply) { return ReadField(reply, 8); }

int32_t EchoResult(int16_t replyCount, const EchoReplyArea& reply) {
  const uint32_t status = ReplyStatus(reply);
  if (replyCount != 0 && status == 0) {
    const auto rtt = static_cast<int32_t>(ReplyRoundTripTime(reply));
    return rtt == 0 ? 1 : rtt;
  }
  // Minus the status; a status no int32 can negate still must not read as a good reply.
  if (status > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::min();
  }
  return -static_cast<int32_t>(status);
}

int32_t MeanRoundTrip(int64_t sum, int32_t count) {
  if (count <= 0) return -1;
  const double mean = RoundHalfEven(static_cast<double>(sum) / count);
  if (mean >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (mean <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(mean);
}

}  // namespace gantrel
