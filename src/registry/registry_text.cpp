#include "registry/registry_text.h"

namespace gantrel {

std::string CutAtFirstNul(std::string_view buffer) {
  // A value written with a terminating NUL comes back without it; one written by SaveString has
  // none and comes back whole. The search is not bounded, so a NUL far into a long value is found.
  return std::string(buffer.substr(0, buffer.find('\0')));
}

}  // namespace gantrel
