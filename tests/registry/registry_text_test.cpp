#include "registry/registry_text.h"

#include <gtest/gtest.h>

#include <string>

namespace gantrel {
namespace {

using namespace std::string_literals;

TEST(RegistryText, CutsAtTheFirstNul) {
  const std::string far(40000, 'x');  // beyond 16-bit positions
  const struct {
    std::string buffer, text;
  } cases[] = {
      {"abc", "abc"}, {"abc\0"s, "abc"},      {"ab\0cd\0"s, "ab"},    {"\0abc"s, ""},
      {"", ""},       {far + "\0tail"s, far}, {far + far, far + far},
  };
  for (const auto& c : cases) EXPECT_EQ(CutAtFirstNul(c.buffer), c.text) << c.buffer.size();
}

}  // namespace
}  // namespace gantrel
