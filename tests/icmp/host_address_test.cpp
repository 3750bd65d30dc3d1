#include "icmp/host_address.h"

#include <gtest/gtest.h>

#include <limits>

#include "icmp/echo_numbers.h"

namespace gantrel {
namespace {

TEST(HostAddress, NameWhenALetterOrHyphenAppears) {
  struct Case {
    const char* host;
    bool name;
  } cases[] = {
      {"useast.battle.net", true},
      {"10-1", true},
      {"1.2.3.x", true},
      {"-", true},
      {"Z", true},
      {"127.0.0.1", false},
      {"", false},
      {" 1 . 2", false},
      {"1.2.3.4/", false},
      {"\xe9.1.1.1", false},
      {"_.1.1.1", false},
      {"@[`{", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsHostName(c.host), c.name) << c.host;
}

TEST(HostAddress, ReadsDottedFields) {
  struct Case {
    const char* host;
    const char* text;
  } cases[] = {
      {"1 0. 1 .0 .1 ", "10.1.0.1"},
      {"1.2.3.4.51", "1.2.3.5"},  // field 4 rounds half to even; the halves are in the engine test
      {"1.2.3.4.4999", "1.2.3.4"},
      {"1.2.3.4.5.6", "1.2.3.4"},  // reading stops at the second dot of field 4
      {"1.2.3.255.4", "1.2.3.255"},
      {"1..2.3", "1.0.2.3"},
      {"...", "0.0.0.0"},
      {"1.2.3..5", "1.2.3.0"},
      {"1.2.3.4/24", "1.2.3.4"},
      {"+1.2.3.4", "1.2.3.4"},
      {"-0.0.0.-0.5", "0.0.0.0"},  // rounds to zero, not below it
      {"0255.255.255.255", "255.255.255.255"},
      {"1.2.3.0000000000000000000000000000007", "1.2.3.7"},
  };
  for (const auto& c : cases) {
    const auto octets = ReadDottedAddress(c.host);
    ASSERT_TRUE(octets.has_value()) << c.host;
    EXPECT_EQ(DottedText(*octets), c.text) << c.host;
  }
}

TEST(HostAddress, RefusesWhatIsNotFourFieldsOfOctets) {
  for (const char* host :
       {"", "1", "1.2.3", "1.2", "999.1.1.1", "256.0.0.0", "1.2.3.256", "1.2.3.255.5",
        "1.2.3.1000000000000000000000", "1.2.3.-1", "1.2.3.-0.6"}) {
    EXPECT_FALSE(ReadDottedAddress(host).has_value()) << host;
  }
}

TEST(EchoNumbers, RoundsHalfToEven) {
  struct Case {
    double in, out;
  } cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},    {41.33, 41},
               {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(EchoNumbers, ULongtoSLongKeepsTheBits) {
  struct Case {
    double in;
    int32_t out;
  } cases[] = {
      {0, 0},
      {16777343, 16777343},
      {2147483647, 2147483647},
      {2147483648.0, std::numeric_limits<int32_t>::min()},
      {4294967295.0, -1},
      {200 + 1 * 256 + 1 * 65536 + 200 * 16777216.0, -939458104},
      {2.5, 2},
      // No 32-bit pattern: saturates instead of overflowing.
      {1e12, std::numeric_limits<int32_t>::max()},
      {-1e12, std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ULongtoSLong(c.in), c.out) << c.in;
}

TEST(EchoNumbers, SplitsBytes) {
  EXPECT_EQ(HiByte(0x0201), 2);
  EXPECT_EQ(LoByte(0x0201), 1);
  EXPECT_EQ(HiByte(-1), 255);
  EXPECT_EQ(LoByte(-1), 255);
}

TEST(EchoNumbers, MeanWithoutRepliesOrBeyondRange) {
  EXPECT_EQ(MeanRoundTrip(0, 0), -1);
  EXPECT_EQ(MeanRoundTrip(5, -1), -1);
  EXPECT_EQ(MeanRoundTrip(3LL * std::numeric_limits<int32_t>::max(), 3),
            std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace gantrel
