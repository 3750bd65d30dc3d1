#pragma once
#include <cstdint>

#include "icmp/net_api.h"

namespace gantrel {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); independent of the
// floating-point rounding mode. Non-finite values come back unchanged.
double RoundHalfEven(double value);

// The signed 32-bit integer with the same 32 bits as a whole number from 0 to 4,294,967,295
// (rounded half to even first). Values that no 32-bit pattern holds saturate; NaN gives 0.
int32_t ULongtoSLong(double ULong);

// Bits 8..15 and 0..7 of a 16-bit value, 0 to 255.
int32_t HiByte(int16_t wParam);
int32_t LoByte(int16_t wParam);

// Status and round-trip time (milliseconds) of the ICMP_ECHO_REPLY record at the start of the
// reply area.
uint32_t ReplyStatus(const EchoReplyArea& reply);
uint32_t ReplyRoundTripTime(const EchoReplyArea& reply);

// One echo request's result from the reply count and the reply area: the round-trip time of a good
// reply (at least 1), otherwise 0 or less (minus the status).
int32_t EchoResult(int16_t replyCount, const EchoReplyArea& reply);

// Mean of `count` good round-trip times summing to `sum`, rounded half to even; -1 when count <= 0.
int32_t MeanRoundTrip(int64_t sum, int32_t count);

}  // namespace gantrel
