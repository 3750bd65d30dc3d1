#pragma once
#include <string>

namespace gantrel {

// The address part of a list row: everything before its first blank, or the whole row.
// It strips a measured row's time and a private row's padding and description.
inline std::string RowAddress(const std::string& row) { return row.substr(0, row.find(' ')); }

}  // namespace gantrel
