#include "calc/float80.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace hb9cv {
namespace {

// What GCC makes of the same literals with an L suffix on x86-64.
TEST(Float80, DecimalLiteralsRoundAsTheCompilerDoes) {
  const struct {
    Float80 value;
    Extended expected;
  } cases[] = {
      {2.54_f80, {false, 16384, 0xA28F5C28F5C28F5C}},
      {145.3_f80, {false, 16390, 0x914CCCCCCCCCCCCD}},
      {1899.708_f80, {false, 16393, 0xED76A7EF9DB22D0E}},
      {9999999999999999999_f80, {false, 16446, 0x8AC7230489E7FFFF}},
      {0.0000000000000000001_f80, {false, 16319, 0xEC1E4A7DB69561A5}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.value.Bits().SameBits(c.expected)) << std::hex << c.expected.significand;
  }
  for (const char* text : {"12345678901234567890", "0.00000000000000000001", "1e5", "1.2.3"}) {
    EXPECT_THROW(operator""_f80(text), std::invalid_argument) << text;
  }
}

TEST(Float80, OperatorsCompareAndRoundLikeFloatingPoint) {
  const Float80 nan = std::nan("");
  EXPECT_EQ(static_cast<double>(Float80(7) - 0.25 + 1 * Float80(3) / 4), 7.5);
  EXPECT_TRUE(-0.0 == Float80(0) && Float80(2) >= 2 && Float80(2) <= 2);
  EXPECT_FALSE(nan == nan || nan < 1 || nan > 1 || nan <= nan);
  EXPECT_TRUE(Float80(-3) < -2 && Float80(-2) < -0.0 && Float80(5e-324) < 1 && 1 < HUGE_VAL);

  // Halves to even on the positive side are the report's rounding, tested there.
  const struct {
    Float80 value;
    double even;
    int64_t truncated;
  } cases[] = {{-3.5, -4, -3}, {-0.75, -1, 0}, {1e30, 1e30, INT64_MAX}, {-1e30, -1e30, INT64_MIN}};
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<double>(RoundToEven(c.value)), c.even) << double(c.value);
    EXPECT_EQ(Truncate(c.value), c.truncated) << double(c.value);
  }
  EXPECT_EQ(Truncate(nan), 0);
  EXPECT_EQ(static_cast<double>(Abs(-2.5)), 2.5);
}

}  // namespace
}  // namespace hb9cv
