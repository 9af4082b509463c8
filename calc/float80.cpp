#include "calc/float80.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace hb9cv {

// Overflow, invalid operations and division by zero throw EMathError, as every other
// extended operation does: a length that leaves the format is a failure, not a number.
Float80& Float80::operator+=(const Float80& o) {
  value_ = Add(value_, o.value_);
  return *this;
}

Float80& Float80::operator-=(const Float80& o) {
  value_ = Subtract(value_, o.value_);
  return *this;
}

Float80& Float80::operator*=(const Float80& o) {
  value_ = Multiply(value_, o.value_);
  return *this;
}

Float80& Float80::operator/=(const Float80& o) {
  value_ = Divide(value_, o.value_);
  return *this;
}

std::partial_ordering operator<=>(const Float80& a, const Float80& b) {
  const Extended& x = a.value_;
  const Extended& y = b.value_;
  if (x.IsNaN() || y.IsNaN()) return std::partial_ordering::unordered;
  if (x.IsZero() && y.IsZero()) return std::partial_ordering::equivalent;
  if (x.negative != y.negative) {
    return x.negative ? std::partial_ordering::less : std::partial_ordering::greater;
  }
  if (x.SameBits(y)) return std::partial_ordering::equivalent;
  // Among values of one sign the larger magnitude is the larger (or, negative, the smaller).
  return LessThan(x, y) != x.negative ? std::partial_ordering::less
                                      : std::partial_ordering::greater;
}

Float80 RoundToEven(const Float80& x) {
  const Extended& v = x.Bits();
  // From 2^63 on (and INF, NaN) every value is whole already.
  if (v.exponent >= Extended::kBias + 63) return x;
  Extended rounded = ExtendedFromUnsigned(RoundToUnsigned(v));
  rounded.negative = v.negative;
  return Float80(rounded);
}

int64_t Truncate(const Float80& x) {
  if (const std::optional<int64_t> n = TruncateToSigned(x.Bits())) return *n;
  if (x.IsNaN()) return 0;
  return x.Bits().negative ? INT64_MIN : INT64_MAX;
}

Float80 Abs(const Float80& x) {
  Extended v = x.Bits();
  v.negative = false;
  return Float80(v);
}

Float80 operator""_f80(const char* text) {
  // digits / 10^decimals, both exact below 10^19: one division, so one rounding.
  uint64_t digits = 0;
  uint64_t scale = 1;
  int significant = 0;
  int decimals = 0;
  bool point = false;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (*p < '0' || *p > '9' || significant == 19 || decimals == 19) {
      throw std::invalid_argument(std::string("not a plain decimal of up to 19 digits: ") + text);
    }
    digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    if (digits != 0) ++significant;
    if (point) {
      scale *= 10;
      ++decimals;
    }
  }
  return Float80(Divide(ExtendedFromUnsigned(digits), ExtendedFromUnsigned(scale)));
}

}  // namespace hb9cv
