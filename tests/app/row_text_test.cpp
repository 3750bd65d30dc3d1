#include "app/row_text.h"

#include <gtest/gtest.h>

namespace gantrel {
namespace {

TEST(RowAddress, CutsAtTheFirstBlank) {
  struct Case {
    const char* row;
    const char* address;
  } cases[] = {
      {"useast.battle.net", "useast.battle.net"},
      {"127.0.0.1             [87 ms]", "127.0.0.1"},
      {"10.0.0.1              [N/A]", "10.0.0.1"},
      {"my.server.org        Friday night games", "my.server.org"},
      {" leading", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RowAddress(c.row), c.address) << c.row;
}

}  // namespace
}  // namespace gantrel
