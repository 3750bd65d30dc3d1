#pragma once
#include <string>
#include <string_view>

namespace gantrel {

// The text of a REG_SZ value read into a buffer: everything before the first NUL, or the whole
// buffer when it holds none.
std::string CutAtFirstNul(std::string_view buffer);

}  // namespace gantrel
