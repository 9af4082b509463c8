#pragma once
// A number in the 80-bit extended format with the usual operators, for the report's lengths
// and factors. `long double` is that format only on x86; elsewhere it is wider, and a product
// that is exactly .5 in 80 bits can fall just below it and round to the other pixel. Here every
// operation rounds once to nearest even at the 64-bit significand on every machine, as the x87
// unit does, so a page comes out the same everywhere.
#include <compare>
#include <concepts>
#include <cstdint>

#include "calc/extended.h"

namespace hb9cv {

class Float80 {
 public:
  Float80() = default;
  Float80(double value) : value_(value) {}  // NOLINT(google-explicit-constructor): exact
  template <std::integral T>
  Float80(T value)  // NOLINT(google-explicit-constructor): exact
      : value_(std::signed_integral<T> ? ExtendedFromSigned(static_cast<int64_t>(value))
                                       : ExtendedFromUnsigned(static_cast<uint64_t>(value))) {}
  // Its format differs between machines: write constants as decimal literals (_f80).
  Float80(long double) = delete;
  explicit Float80(const Extended& value) : value_(value) {}

  const Extended& Bits() const { return value_; }
  explicit operator double() const { return static_cast<double>(value_); }
  bool IsNaN() const { return value_.IsNaN(); }

  Float80 operator-() const { return Float80(-value_); }
  Float80& operator+=(const Float80& o);
  Float80& operator-=(const Float80& o);
  Float80& operator*=(const Float80& o);
  Float80& operator/=(const Float80& o);

  friend Float80 operator+(Float80 a, const Float80& b) { return a += b; }
  friend Float80 operator-(Float80 a, const Float80& b) { return a -= b; }
  friend Float80 operator*(Float80 a, const Float80& b) { return a *= b; }
  friend Float80 operator/(Float80 a, const Float80& b) { return a /= b; }
  // As for floating point: -0 equals +0, a NaN is unordered and equals nothing.
  friend bool operator==(const Float80& a, const Float80& b) { return a <=> b == 0; }
  friend std::partial_ordering operator<=>(const Float80& a, const Float80& b);

 private:
  Extended value_;
};

// The nearest whole number, halves to the even one (2.5 -> 2, -3.5 -> -4).
Float80 RoundToEven(const Float80& x);
// Towards zero; 0 for a NaN, the int64_t limits beyond them.
int64_t Truncate(const Float80& x);
Float80 Abs(const Float80& x);

// The decimal constant correctly rounded, as a compiler converts a long double literal on x86:
// 2.54_f80. Up to 19 significant digits.
Float80 operator""_f80(const char* text);

}  // namespace hb9cv
