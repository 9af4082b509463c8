#include "calc/extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace hb9cv {
namespace {

constexpr uint16_t kOne = 16383;  // the biased exponent of 1 <= x < 2
constexpr uint64_t kBit63 = uint64_t{1} << 63;
const Extended kInf(false, 0x7FFF, kBit63);
const Extended kMaxFinite(false, 0x7FFE, ~uint64_t{0});

TEST(Extended, ArithmeticRoundsOnceToNearestEven) {
  enum Op { kAdd, kSub, kMul, kDiv };
  const struct {
    Op op;
    Extended a, b, expected;
    unsigned flags;
  } cases[] = {
      // (2^63 + 1) * 1.5 lies halfway; the odd neighbour rounds up, the even one stays.
      {kMul, {false, kOne, kBit63 + 1}, 1.5, {false, kOne, 0xC000000000000002}, 0},
      {kMul, {false, kOne, kBit63 + 3}, 1.5, {false, kOne, 0xC000000000000004}, 0},
      {kMul, {false, kOne, kBit63 + 1}, {true, kOne, kBit63 + 1}, {true, kOne, kBit63 + 2}, 0},
      {kMul, kMaxFinite, 2.0, kInf, kOverflow},
      {kMul, {false, 1, kBit63}, 0.5, {false, 0, kBit63 >> 1}, 0},  // into the denormals
      {kMul, {false, 0, 3}, 0.5, {false, 0, 2}, 0},                 // 1.5 units: to even
      {kMul, {false, 0, 1}, 0.5, {false, 0, 0}, 0},                 // half a unit: to zero
      {kDiv, 1.0, 3.0, {false, kOne - 2, 0xAAAAAAAAAAAAAAAB}, 0},
      {kDiv, 2.0, 3.0, {false, kOne - 1, 0xAAAAAAAAAAAAAAAB}, 0},
      {kDiv, 300.0, 145.0, {false, kOne + 1, 0x8469EE58469EE584}, 0},
      {kDiv, {false, 0, 1}, 4.0, {false, 0, 0}, 0},
      {kDiv, 1.0, 0.0, kInf, kDivisionByZero},
      {kDiv, 0.0, 0.0, {true, 0x7FFF, 0xC000000000000000}, kInvalidOperation},
      {kMul, 0.0, kInf, {true, 0x7FFF, 0xC000000000000000}, kInvalidOperation},
      // 1 + 2^-64 (1 + 2^-63) lies just above halfway, by a bit 64 places below the sum's last.
      {kAdd, 1.0, {false, kOne - 64, kBit63 + 1}, {false, kOne, kBit63 + 1}, 0},
      // 1 - 2^-65 (1 + 2^-63) lies just below halfway between 1 - 2^-64 and 1.
      {kSub, 1.0, {false, kOne - 65, kBit63 + 1}, {false, kOne - 1, ~uint64_t{0}}, 0},
      {kAdd, {false, kOne, kBit63 + 1}, {false, kOne - 64, kBit63}, {false, kOne, kBit63 + 2}, 0},
      {kSub, 1.5, 1.5, 0.0, 0},
      {kAdd, -0.0, 0.0, 0.0, 0},
      {kAdd, -0.0, -0.0, -0.0, 0},
      {kAdd, kMaxFinite, kMaxFinite, kInf, kOverflow},
      {kSub, kInf, kInf, {true, 0x7FFF, 0xC000000000000000}, kInvalidOperation},
      {kSub, 1.0, kInf, -kInf, 0},
  };
  for (const auto& c : cases) {
    unsigned flags = 0;
    using Fn = Extended (*)(const Extended&, const Extended&, unsigned&);
    const Fn fns[] = {Add, Subtract, Multiply, Divide};
    const Extended r = fns[c.op](c.a, c.b, flags);
    EXPECT_TRUE(r.SameBits(c.expected)) << std::hex << c.a.significand << " "
                                        << "+-*/"[c.op] << " " << c.b.significand << " gave "
                                        << r.negative << " " << r.exponent << " " << r.significand;
    EXPECT_EQ(flags, c.flags) << std::hex << c.a.significand;
  }
}

TEST(Extended, NarrowsToDoubleToNearestEven) {
  const struct {
    Extended value;
    double expected;
  } cases[] = {
      {{false, kOne, 0x8000000000000400}, 1.0},                 // halfway: to even
      {{false, kOne, 0x8000000000000401}, 1.0000000000000002},  // just above halfway
      {{false, kOne, 0x8000000000000C00}, 1.0000000000000004},  // halfway: up to even
      {{true, 16383 - 1074, 0xC000000000000000}, -1e-323},      // 1.5 denormal units
      {{false, 16383 - 1075, kBit63}, 0.0},                     // half a unit: to zero
      {{false, 16383 + 1023, ~uint64_t{0}}, HUGE_VAL},          // rounds past the top
      {{false, 16383 + 1023, 0xFFFFFFFFFFFFFBFF}, 1.7976931348623157e308},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<double>(c.value), c.expected) << std::hex << c.value.significand;
    EXPECT_EQ(std::signbit(static_cast<double>(c.value)), c.value.negative);
  }
  EXPECT_TRUE(Extended(5e-324).SameBits({false, 16383 - 1074, kBit63}));  // widening is exact
}

TEST(Extended, WholeNumbers) {
  unsigned flags = 0;
  const Extended two64(false, kOne + 64, kBit63);
  EXPECT_TRUE(AddToWhole(two64, 1, flags).SameBits(two64));  // halfway, stays even
  EXPECT_TRUE(AddToWhole(two64, 3, flags).SameBits({false, kOne + 64, kBit63 + 2}));
  // Just over half a unit of 2^64 added to 2^127.
  EXPECT_TRUE(AddToWhole({false, kOne + 127, kBit63}, kBit63 + 1, flags)
                  .SameBits({false, kOne + 127, kBit63 + 1}));
  EXPECT_EQ(flags, 0u);

  const struct {
    Extended value;
    bool ok;
    int64_t truncated;
  } cases[] = {
      {-9.99, true, -9},
      {{true, kOne + 63, kBit63}, true, INT64_MIN},
      {{false, kOne + 63, kBit63}, false, 0},
      {9223372036854774784.0, true, 9223372036854774784},
      {NAN, false, 0},
  };
  for (const auto& c : cases) {
    int64_t n = 0;
    EXPECT_EQ(TruncateToSigned(c.value, n), c.ok) << static_cast<double>(c.value);
    if (c.ok) {
      EXPECT_EQ(n, c.truncated);
    }
  }
  EXPECT_EQ(RoundToUnsigned(2.5), 2u);
  EXPECT_EQ(RoundToUnsigned(3.5), 4u);
  EXPECT_EQ(RoundToUnsigned(0.5), 0u);
  EXPECT_EQ(RoundToUnsigned(0.75), 1u);
}

}  // namespace
}  // namespace hb9cv
