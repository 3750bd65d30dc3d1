#pragma once
// The rows every list benchmark works on: loopback addresses and host names in no particular
// order, as a player's hand-made list might be.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace gantrel::bench {

inline std::vector<std::string> Hosts(int count) {
  std::vector<std::string> hosts;
  for (int i = 0; i < count; ++i) {
    if (i % 8 == 0) {
      hosts.push_back("server" + std::to_string(i) + ".example.net");
    } else {
      hosts.push_back("127." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) +
                      "." + std::to_string(i % 256));
    }
  }
  std::shuffle(hosts.begin(), hosts.end(), std::mt19937(11));
  return hosts;
}

}  // namespace gantrel::bench
