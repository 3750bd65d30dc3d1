#include "registry/registry_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace gantrel {
namespace {

using namespace std::string_literals;

struct NulCase {
  const char* name;
  std::string buffer;
  std::string text;
};
void PrintTo(const NulCase& c, std::ostream* os) { *os << c.name; }

class FirstNul : public ::testing::TestWithParam<NulCase> {};

TEST_P(FirstNul, CutsAtTheFirstNul) { EXPECT_EQ(CutAtFirstNul(GetParam().buffer), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    RegistryText, FirstNul,
    ::testing::Values(NulCase{"NoNul", "abc", "abc"}, NulCase{"TerminatingNul", "abc\0"s, "abc"},
                      NulCase{"TwoNuls", "abc\0\0"s, "abc"}, NulCase{"NulInside", "ab\0cd\0"s, "ab"},
                      NulCase{"LeadingNul", "\0abc"s, ""}, NulCase{"OnlyNul", "\0"s, ""},
                      NulCase{"Empty", "", ""}, NulCase{"Blanks", "  a  ", "  a  "}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(RegistryText, FindsANulFarBeyondSixteenBitPositions) {
  const std::string text(40000, 'x');
  EXPECT_EQ(CutAtFirstNul(text + "\0tail"s), text);
  const std::string longer(70000, 'y');
  EXPECT_EQ(CutAtFirstNul(longer), longer);
}

}  // namespace
}  // namespace gantrel
