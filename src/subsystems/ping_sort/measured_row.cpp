#include "ping_sort/measured_row.h"

namespace gantrel {
namespace {

constexpr char kNoReplySuffix[] = " [N/A]";

// Fills with blanks up to the width; a longer text is never cut.
std::string PadTo(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

}  // namespace

std::string PingSuffix(const RoundTrip& roundTrip) {
  if (roundTrip.ms <= 0) return kNoReplySuffix;
  return " [" + std::to_string(roundTrip.ms) + (roundTrip.overTcp ? " ms TCP]" : " ms]");
}

int32_t MeasuredItemData(const RoundTrip& roundTrip) {
  return roundTrip.ms > 0 ? roundTrip.ms : kNoReplyData;
}

std::string MeasuredServerRow(const std::string& address, const RoundTrip& roundTrip) {
  return PadTo(address, kServerRowWidth) + PingSuffix(roundTrip);
}

std::string MeasuredPrivateRow(const std::string& text, const RoundTrip& roundTrip) {
  return PadTo(text, kPrivateRowWidth) + PingSuffix(roundTrip);
}

std::string RemoveEarlierSuffix(const std::string& row) {
  if (row.empty() || row.back() != ']') return row;
  const size_t open = row.rfind('[');
  // Without a "[" that has a character in front of it there is nowhere for the removal to stop
  // inside the row: such a row (e.g. an address typed in brackets) carries no earlier suffix.
  if (open == std::string::npos || open == 0) return row;
  std::string bare = row;
  return bare.erase(open - 1);
}

}  // namespace gantrel
