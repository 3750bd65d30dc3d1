#pragma once
#include <cstdint>

#include "net_api.h"

namespace gantrel {

// The destination of an echo request: the address's bytes in memory order.
int32_t DestinationOf(const Octets& octets);

// One echo request's result from the reply count and the reply area: the round-trip time of a good
// reply (at least 1), otherwise 0 or less (minus the status).
int32_t EchoResult(int16_t replyCount, const EchoReplyArea& reply);

// Mean of `count` good round-trip times summing to `sum`, rounded half to even; -1 when count <= 0.
int32_t MeanRoundTrip(int64_t sum, int32_t count);

}  // namespace gantrel
