#pragma once
// The 80-bit extended floating-point format (sign, 15-bit exponent biased by 16383, 64-bit
// significand with an explicit integer bit), computed with integer arithmetic only.
//
// Every operation rounds its exact result once to nearest, ties to even, at the full 64-bit
// significand; results below the normal range are rounded to the denormal grid. The program's
// numbers must come out the same to the last bit on every machine, so nothing here touches
// the hardware's floating-point unit or its state.
//
// An invalid operation (0 * INF, 0 / 0, INF / INF), a division by zero and an overflow (the
// rounded magnitude leaves the format's range) throw EMathError; underflow and inexact results
// pass silently. A caller that wants the masked behaviour catches it.
#include <cstdint>
#include <optional>

namespace hb9cv {

struct Extended {
  static constexpr int kBias = 16383;
  static constexpr int kMaxExponent = 0x7FFF;  // INF and NaN

  bool negative = false;
  uint16_t exponent = 0;  // biased; 0 for zero and denormals
  uint64_t significand = 0;

  constexpr Extended() = default;
  constexpr Extended(bool negative_, int exponent_, uint64_t significand_)
      : negative(negative_),
        exponent(static_cast<uint16_t>(exponent_)),
        significand(significand_) {}
  // Widening a double is exact.
  Extended(double value);  // NOLINT(google-explicit-constructor)
  // Rounded to nearest, ties to even; too large a magnitude becomes INF.
  explicit operator double() const;

  bool IsZero() const { return exponent == 0 && significand == 0; }
  bool IsNaN() const { return exponent == kMaxExponent && (significand << 1) != 0; }
  bool IsInfinity() const { return exponent == kMaxExponent && (significand << 1) == 0; }
  Extended operator-() const { return {!negative, exponent, significand}; }
  // The same bits, so -0 differs from +0 and a NaN equals itself.
  bool SameBits(const Extended& o) const {
    return negative == o.negative && exponent == o.exponent && significand == o.significand;
  }
};

// Exact: every 64-bit integer fits the significand.
Extended ExtendedFromUnsigned(uint64_t value);
Extended ExtendedFromSigned(int64_t value);

Extended Add(const Extended& a, const Extended& b);
Extended Subtract(const Extended& a, const Extended& b);
Extended Multiply(const Extended& a, const Extended& b);
Extended Divide(const Extended& a, const Extended& b);

// A divisor prepared for many divisions: with its reciprocal a quotient takes two
// multiplications instead of a divide instruction. Gives exactly what Divide gives.
class ExtendedDivisor {
 public:
  constexpr explicit ExtendedDivisor(const Extended& value)
      : value_(value), reciprocal_(Reciprocal(value.significand)) {}
  const Extended& value() const { return value_; }
  // floor((2^128 - 1) / significand) - 2^64, for a significand with its top bit set.
  uint64_t reciprocal() const { return reciprocal_; }

 private:
  static constexpr uint64_t Reciprocal(uint64_t d) {
    __extension__ typedef unsigned __int128 Wide;
    return (d >> 63) == 0 ? 0 : static_cast<uint64_t>(~Wide{0} / d);
  }
  Extended value_;
  uint64_t reciprocal_;
};
Extended Divide(const Extended& a, const ExtendedDivisor& b);
// `whole` (a non-negative whole number or INF) plus `addend`.
Extended AddToWhole(const Extended& whole, uint64_t addend);

// The nearest whole number, ties to even, of a finite non-negative value; 2^64 - 1 from 2^64 on.
uint64_t RoundToUnsigned(const Extended& x);
// Truncated towards zero; none for a NaN, an INF or a magnitude beyond the signed range.
std::optional<int64_t> TruncateToSigned(const Extended& x);
// Compares finite non-negative values.
bool LessThan(const Extended& a, const Extended& b);

}  // namespace hb9cv
