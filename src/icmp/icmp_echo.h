#pragma once
// Placeholder: the echo engine ICMPEcho is written here (see the engine's issue).
#include <cstdint>
#include <string>

#include "app/dialogs.h"
#include "app/window_host.h"

namespace gantrel {

// Program-wide ping settings; start-up sets them to 750 and 3.
struct PingSettings {
  int32_t PingTimeOut = 0;
  int32_t PingCount = 0;
};

class NetApi;

}  // namespace gantrel
