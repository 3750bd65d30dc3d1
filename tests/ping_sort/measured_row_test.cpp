#include "ping_sort/measured_row.h"

#include <gtest/gtest.h>

namespace gantrel {
namespace {

TEST(RemoveEarlierSuffix, BracketRule) {
  struct Case {
    const char* row;
    const char* bare;
  } cases[] = {
      {"srv.net               [87 ms]", "srv.net              "},
      {"srv.net games [eu] [5 ms]", "srv.net games [eu]"},
      // The character in front of the "[" goes, blank or not.
      {"ab[x]", "a"},
      // Not ending in "]": no earlier suffix.
      {"srv.net [5 ms", "srv.net [5 ms"},
      {"", ""},
      // No "[" with a character in front of it: nothing is removed.
      {"]", "]"},
      {"srv.net games]", "srv.net games]"},
      {"[10.0.0.1]", "[10.0.0.1]"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveEarlierSuffix(c.row), c.bare) << c.row;
}

TEST(MeasuredPrivateRow, ItsSuffixIsWhatRemoveEarlierSuffixTakesOff) {
  for (const std::string& text : std::vector<std::string>{
           "", "a", "[x]", "srv.net              games [eu]", std::string(50, 'q')}) {
    for (int32_t time : {-1, 0, 1, 87, 10000}) {
      const std::string measured = MeasuredPrivateRow(text, time);
      const std::string padded =
          text.size() < 42 ? text + std::string(42 - text.size(), ' ') : text;
      EXPECT_EQ(RemoveEarlierSuffix(measured), padded) << text << " " << time;
    }
  }
}

}  // namespace
}  // namespace gantrel
