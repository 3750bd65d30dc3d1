#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "net_api.h"

namespace gantrel {

// Longest host name handed to the name look-up.
inline constexpr std::size_t kMaxHostNameLength = 64;

// A host text is a name when it holds a letter A-Z / a-z or a hyphen; anything else is read as a
// dotted address.
bool IsHostName(std::string_view host);

// Reads a dotted address: four fields split at the first three dots, the last one taking the rest.
// Each field is its leading decimal number (blanks ignored, empty is 0; only the last field may
// carry a fraction), rounded half to even. Nothing when there are fewer than three dots or a value
// falls outside 0..255.
std::optional<Octets> ReadDottedAddress(std::string_view host);

}  // namespace gantrel
