// Earlier-suffix removal on any private row text: it never reads outside the row, always keeps a
// prefix of it, and takes off exactly what a run appends.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ping_sort/measured_row.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using gantrel::RemoveEarlierSuffix;
  // The first four bytes, when there are enough, pick a round-trip time (measured by TCP when
  // odd); the rest is the row.
  int32_t time = -1;
  if (size >= 4) {
    std::memcpy(&time, data, 4);
  }
  const gantrel::RoundTrip roundTrip{time, (time & 1) != 0};
  const std::string row(reinterpret_cast<const char*>(data), size);

  const std::string bare = RemoveEarlierSuffix(row);
  if (bare.size() > row.size() || row.compare(0, bare.size(), bare) != 0) std::abort();
  const size_t open = row.rfind('[');
  const bool suffixed = !row.empty() && row.back() == ']' && open != std::string::npos && open > 0;
  if (bare.size() != (suffixed ? open - 1 : row.size())) std::abort();

  // A measured row loses exactly its new suffix, so a second run never stacks one.
  const std::string measured = gantrel::MeasuredPrivateRow(row, roundTrip);
  const std::string again = RemoveEarlierSuffix(measured);
  if (again.size() != std::max(row.size(), gantrel::kPrivateRowWidth) ||
      measured.compare(0, again.size(), again) != 0 || again.compare(0, row.size(), row) != 0) {
    std::abort();
  }
  return 0;
}
