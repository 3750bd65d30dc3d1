#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "echo/round_trip.h"

namespace gantrel {

// Item data of a row whose host gave no usable reply: behind every measured time.
constexpr int32_t kNoReplyData = 9999;
// Widths the rows are filled to before their suffix, so the suffixes stand in one column.
constexpr size_t kServerRowWidth = 22;
constexpr size_t kPrivateRowWidth = 42;

// " [<ms> ms]" for a time above 0 (" [<ms> ms TCP]" for one measured by a connection),
// otherwise " [N/A]".
std::string PingSuffix(const RoundTrip& roundTrip);
// The time above 0, otherwise kNoReplyData.
int32_t MeasuredItemData(const RoundTrip& roundTrip);
// Game list: the row address, blanks to kServerRowWidth, the suffix.
std::string MeasuredServerRow(const std::string& address, const RoundTrip& roundTrip);
// Private list: the row without earlier suffix, blanks to kPrivateRowWidth, the suffix.
std::string MeasuredPrivateRow(const std::string& text, const RoundTrip& roundTrip);
// Strips a private row's earlier suffix: from its last "[" to the closing "]" at the end, and the
// character in front of that "[". Always a prefix of the row; the row itself when there is none.
std::string RemoveEarlierSuffix(const std::string& row);

}  // namespace gantrel
