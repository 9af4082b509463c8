#include "calc/extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "calc/errors.h"

namespace hb9cv {
namespace {

constexpr uint16_t kOne = 16383;  // the biased exponent of 1 <= x < 2
constexpr uint64_t kBit63 = uint64_t{1} << 63;
const Extended kInf(false, 0x7FFF, kBit63);
const Extended kMaxFinite(false, 0x7FFE, ~uint64_t{0});
const Extended kRaises(true, 0x7FFF, 0xC000000000000000);  // a NaN: the operation throws

TEST(Extended, ArithmeticRoundsOnceToNearestEven) {
  enum Op { kAdd, kSub, kMul, kDiv };
  const struct {
    Op op;
    Extended a, b, expected;  // expected NaN: throws EMathError
  } cases[] = {
      // (2^63 + 1) * 1.5 lies halfway; the odd neighbour rounds up, the even one stays.
      {kMul, {false, kOne, kBit63 + 1}, 1.5, {false, kOne, 0xC000000000000002}},
      {kMul, {false, kOne, kBit63 + 3}, 1.5, {false, kOne, 0xC000000000000004}},
      {kMul, {false, kOne, kBit63 + 1}, {true, kOne, kBit63 + 1}, {true, kOne, kBit63 + 2}},
      {kMul, kMaxFinite, 2.0, kRaises},  // overflow
      {kMul, kInf, -2.0, {true, 0x7FFF, kBit63}},
      {kMul, {false, 1, kBit63}, 0.5, {false, 0, kBit63 >> 1}},  // into the denormals
      {kMul, {false, 0, 3}, 0.5, {false, 0, 2}},                 // 1.5 units: to even
      {kMul, {false, 0, 1}, 0.5, {false, 0, 0}},                 // half a unit: to zero
      {kDiv, 1.0, 3.0, {false, kOne - 2, 0xAAAAAAAAAAAAAAAB}},
      {kDiv, 2.0, 3.0, {false, kOne - 1, 0xAAAAAAAAAAAAAAAB}},
      {kDiv, 300.0, 145.0, {false, kOne + 1, 0x8469EE58469EE584}},
      {kDiv, {false, 0, 1}, 4.0, {false, 0, 0}},
      {kDiv, 1.0, 0.0, kRaises},
      {kDiv, 0.0, 0.0, kRaises},
      {kMul, 0.0, kInf, kRaises},
      // 1 + 2^-64 (1 + 2^-63) lies just above halfway, by a bit 64 places below the sum's last.
      {kAdd, 1.0, {false, kOne - 64, kBit63 + 1}, {false, kOne, kBit63 + 1}},
      // 1 - 2^-65 (1 + 2^-63) lies just below halfway between 1 - 2^-64 and 1.
      {kSub, 1.0, {false, kOne - 65, kBit63 + 1}, {false, kOne - 1, ~uint64_t{0}}},
      {kAdd, {false, kOne, kBit63 + 1}, {false, kOne - 64, kBit63}, {false, kOne, kBit63 + 2}},
      {kSub, 1.5, 1.5, 0.0},
      {kAdd, -0.0, 0.0, 0.0},
      {kAdd, -0.0, -0.0, -0.0},
      {kAdd, kMaxFinite, kMaxFinite, kRaises},  // overflow
      {kSub, kInf, kInf, kRaises},
      {kSub, 1.0, kInf, -kInf},
  };
  for (const auto& c : cases) {
    using Fn = Extended (*)(const Extended&, const Extended&);
    const Fn fns[] = {Add, Subtract, Multiply, Divide};
    const auto op = [&c, &fns] { return fns[c.op](c.a, c.b); };
    if (c.expected.IsNaN()) {
      EXPECT_THROW(op(), EMathError) << std::hex << c.a.significand;
      continue;
    }
    const Extended r = op();
    EXPECT_TRUE(r.SameBits(c.expected)) << std::hex << c.a.significand << " "
                                        << "+-*/"[c.op] << " " << c.b.significand << " gave "
                                        << r.negative << " " << r.exponent << " " << r.significand;
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
  const Extended two64(false, kOne + 64, kBit63);
  EXPECT_TRUE(AddToWhole(two64, 1).SameBits(two64));  // halfway, stays even
  EXPECT_TRUE(AddToWhole(two64, 3).SameBits({false, kOne + 64, kBit63 + 2}));
  // Just over half a unit of 2^64 added to 2^127.
  EXPECT_TRUE(AddToWhole({false, kOne + 127, kBit63}, kBit63 + 1)
                  .SameBits({false, kOne + 127, kBit63 + 1}));

  const struct {
    Extended value;
    std::optional<int64_t> truncated;
  } cases[] = {
      {-9.99, -9},
      {{true, kOne + 63, kBit63}, INT64_MIN},
      {{false, kOne + 63, kBit63}, std::nullopt},
      {9223372036854774784.0, 9223372036854774784},
      {NAN, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TruncateToSigned(c.value), c.truncated) << static_cast<double>(c.value);
  }
  EXPECT_EQ(RoundToUnsigned(2.5), 2u);
  EXPECT_EQ(RoundToUnsigned(3.5), 4u);
  EXPECT_EQ(RoundToUnsigned(0.5), 0u);
  EXPECT_EQ(RoundToUnsigned(0.75), 1u);
}

}  // namespace
}  // namespace hb9cv
