#include "calc/extended.h"

#include <cstring>
#include <utility>

#include "calc/errors.h"

namespace hb9cv {
namespace {

__extension__ typedef unsigned __int128 U128;

// The weight of the last significand bit of a denormal: 2^(1 - 16383 - 63).
constexpr int kDenormalWeight = 1 - Extended::kBias - 63;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;

int LeadingZeros(U128 v) {
  const auto high = static_cast<uint64_t>(v >> 64);
  return high != 0 ? __builtin_clzll(high) : 64 + __builtin_clzll(static_cast<uint64_t>(v));
}

// A finite non-zero value as significand * 2^exponent with the significand's top bit set.
struct Unpacked {
  uint64_t significand;
  int exponent;
};

Unpacked Unpack(const Extended& x) {
  const int field = x.exponent == 0 ? 1 : x.exponent;
  const int shift = __builtin_clzll(x.significand);
  return {x.significand << shift, field - Extended::kBias - 63 - shift};
}

// (high * 2^64 + low) / divisor for high < divisor, where the quotient fits 64 bits: one
// instruction where the machine has it.
uint64_t DivideWide(uint64_t high, uint64_t low, uint64_t divisor, uint64_t& remainder) {
#if defined(__x86_64__)
  uint64_t quotient;
  __asm__("divq %4" : "=a"(quotient), "=d"(remainder) : "a"(low), "d"(high), "rm"(divisor));
  return quotient;
#else
  const U128 dividend = (U128{high} << 64) | low;
  const auto quotient = static_cast<uint64_t>(dividend / divisor);
  remainder = static_cast<uint64_t>(dividend - U128{quotient} * divisor);
  return quotient;
#endif
}

Extended Infinity(bool negative) {
  return {negative, Extended::kMaxExponent, kIntegerBit};
}
Extended Zero(bool negative) {
  return {negative, 0, 0};
}
[[noreturn, gnu::noinline, gnu::cold]] void Raise(const char* message) {
  throw EMathError(message, {});
}
[[noreturn]] void RaiseInvalid() {
  Raise(HB9CV_TRANSLATE_NOOP("Errors", "Invalid floating point operation"));
}

Extended Quiet(const Extended& nan) {
  return {nan.negative, Extended::kMaxExponent, nan.significand | (kIntegerBit >> 1)};
}

// Rounds `mantissa` * 2^`exponent`, plus something below its last bit when `sticky`, once to
// the 64-bit significand (or the denormal grid), to nearest with ties to even.
Extended Round(bool negative, int exponent, U128 mantissa, bool sticky) {
  if (mantissa == 0) return Zero(negative);
  const int top = 127 - LeadingZeros(mantissa);
  int weight = exponent + top - 63;
  if (weight < kDenormalWeight) weight = kDenormalWeight;
  const int drop = weight - exponent;
  uint64_t significand;
  if (drop <= 0) {
    significand = static_cast<uint64_t>(mantissa << -drop);
  } else {
    bool half;
    if (drop > 128) {
      significand = 0;
      half = false;
      sticky = true;
    } else {
      significand = drop == 128 ? 0 : static_cast<uint64_t>(mantissa >> drop);
      half = ((mantissa >> (drop - 1)) & 1) != 0;
      if (drop > 1 && (mantissa << (129 - drop)) != 0) sticky = true;
    }
    if (half && (sticky || (significand & 1) != 0)) {
      if (++significand == 0) {
        significand = kIntegerBit;
        ++weight;
      }
    }
  }
  if ((significand & kIntegerBit) == 0) return {negative, 0, significand};
  const int field = weight + 63 + Extended::kBias;
  if (field >= Extended::kMaxExponent) {
    Raise(HB9CV_TRANSLATE_NOOP("Errors", "Floating point overflow"));
  }
  return {negative, field, significand};
}

// The same for a mantissa whose top bit is bit 127 or 126, the common case of products and
// quotients of normal numbers, without searching for the top bit.
Extended RoundWide(bool negative, int exponent, U128 mantissa, bool sticky) {
  const int drop = (mantissa >> 127) != 0 ? 64 : 63;
  const int field = exponent + drop + 63 + Extended::kBias;
  if (field <= 0 || field >= Extended::kMaxExponent - 1) {
    return Round(negative, exponent, mantissa, sticky);
  }
  uint64_t significand = static_cast<uint64_t>(mantissa >> drop);
  const uint64_t rest = static_cast<uint64_t>(mantissa << (128 - drop) >> 64);
  const uint64_t half = kIntegerBit;
  if (rest > half || (rest == half && (sticky || (significand & 1) != 0))) {
    if (++significand == 0) return Round(negative, exponent, mantissa, sticky);
  }
  return {negative, field, significand};
}

}  // namespace

Extended::Extended(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  negative = (bits >> 63) != 0;
  const int field = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (field == 0x7FF) {
    exponent = kMaxExponent;
    significand = kIntegerBit | (fraction << 11);
  } else if (field != 0) {
    exponent = static_cast<uint16_t>(field - 1023 + kBias);
    significand = kIntegerBit | (fraction << 11);
  } else if (fraction != 0) {
    const int shift = __builtin_clzll(fraction);
    exponent = static_cast<uint16_t>(63 - shift - 1074 + kBias);
    significand = fraction << shift;
  }
}

Extended::operator double() const {
  uint64_t bits = uint64_t{negative} << 63;
  // Within the range of normal doubles: drop 11 bits, to nearest even; a carry out of the
  // significand moves into the exponent field by itself.
  const int field = exponent - kBias + 1023;
  if (field > 0 && field < 0x7FE && (significand & kIntegerBit) != 0) {
    const uint64_t kept = (significand >> 11) & ((uint64_t{1} << 52) - 1);
    const uint64_t rest = significand & 0x7FF;
    bits |= (uint64_t(field) << 52) + kept;
    if (rest > 0x400 || (rest == 0x400 && (kept & 1) != 0)) ++bits;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  if (exponent == kMaxExponent) {
    bits |= uint64_t{0x7FF} << 52;
    if ((significand << 1) != 0) bits |= (uint64_t{1} << 51) | ((significand << 1) >> 12);
  } else if (significand != 0) {
    const Unpacked u = Unpack(*this);
    int weight = u.exponent + 63 - 52;
    if (weight < -1074) weight = -1074;
    const int drop = weight - u.exponent;  // 11 or more
    uint64_t kept = 0;
    bool half = false;
    bool sticky = true;
    if (drop < 64) {
      kept = u.significand >> drop;
      half = ((u.significand >> (drop - 1)) & 1) != 0;
      sticky = (u.significand << (65 - drop)) != 0;
    } else if (drop == 64) {
      half = true;
      sticky = (u.significand << 1) != 0;
    }
    if (half && (sticky || (kept & 1) != 0)) ++kept;
    if (kept >> 53) {
      kept >>= 1;
      ++weight;
    }
    if (kept >> 52) {
      const int field = weight + 52 + 1023;
      if (field >= 0x7FF) {
        bits |= uint64_t{0x7FF} << 52;
      } else {
        bits |= (uint64_t(field) << 52) | (kept & ((uint64_t{1} << 52) - 1));
      }
    } else {
      bits |= kept;
    }
  }
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

Extended ExtendedFromUnsigned(uint64_t value) {
  if (value == 0) return Zero(false);
  const int shift = __builtin_clzll(value);
  return {false, 63 - shift + Extended::kBias, value << shift};
}

Extended ExtendedFromSigned(int64_t value) {
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
  Extended x = ExtendedFromUnsigned(magnitude);
  x.negative = value < 0;
  return x;
}

Extended Add(const Extended& a, const Extended& b) {
  if (a.IsNaN()) return Quiet(a);
  if (b.IsNaN()) return Quiet(b);
  if (a.IsInfinity() || b.IsInfinity()) {
    if (a.IsInfinity() && b.IsInfinity() && a.negative != b.negative) {
      RaiseInvalid();
    }
    return Infinity(a.IsInfinity() ? a.negative : b.negative);
  }
  if (b.IsZero()) return a.IsZero() ? Zero(a.negative && b.negative) : a;
  if (a.IsZero()) return b;
  Unpacked x = Unpack(a);
  Unpacked y = Unpack(b);
  bool negative = a.negative;
  const bool subtract = a.negative != b.negative;
  if (y.exponent > x.exponent || (y.exponent == x.exponent && y.significand > x.significand)) {
    std::swap(x, y);
    negative = b.negative;
  }
  // The larger magnitude one bit below the top, so that a sum cannot carry out. The smaller
  // one is exact up to 63 places further down; beyond that its rest only decides the
  // rounding, as a sticky bit (and as one unit less in a difference, whose exact value then
  // lies strictly between the two neighbouring integers).
  const U128 larger = U128{x.significand} << 63;
  const int shift = x.exponent - y.exponent;
  U128 smaller = 0;
  bool sticky = true;
  if (shift < 128) {
    smaller = (U128{y.significand} << 63) >> shift;
    sticky = shift > 63 && ((U128{y.significand} << 63) << (128 - shift)) != 0;
  }
  if (!subtract) return Round(negative, x.exponent - 63, larger + smaller, sticky);
  const U128 difference = larger - smaller - (sticky ? 1 : 0);
  if (difference == 0) return Zero(false);  // x - x is +0 when rounding to nearest
  return Round(negative, x.exponent - 63, difference, sticky);
}

Extended Subtract(const Extended& a, const Extended& b) {
  return Add(a, b.IsNaN() ? b : -b);
}

Extended Multiply(const Extended& a, const Extended& b) {
  if (a.IsNaN()) return Quiet(a);
  if (b.IsNaN()) return Quiet(b);
  const bool negative = a.negative != b.negative;
  if (a.exponent == Extended::kMaxExponent || b.exponent == Extended::kMaxExponent) {
    if (a.IsZero() || b.IsZero()) RaiseInvalid();
    return Infinity(negative);
  }
  if (a.IsZero() || b.IsZero()) return Zero(negative);
  const Unpacked x = Unpack(a);
  const Unpacked y = Unpack(b);
  return RoundWide(negative, x.exponent + y.exponent, U128{x.significand} * y.significand, false);
}

namespace {

// The quotient of two finite non-zero numbers; `divideWide` is DivideWide or an equivalent.
template <typename DivideWideFn>
Extended DivideFinite(bool negative, const Unpacked& x, const Unpacked& y,
                      DivideWideFn divideWide) {
  // 65 quotient bits, enough for the rounding bit, with the remainder as the sticky part:
  // when the dividend's significand is the smaller, one more bit by long division.
  const bool top = x.significand >= y.significand;
  uint64_t rest = 0;
  const uint64_t low = divideWide(x.significand - (top ? y.significand : 0), rest);
  U128 quotient = (U128{top} << 64) | low;
  int exponent = x.exponent - y.exponent - 64;
  bool sticky = rest != 0;
  if (!top) {
    const uint64_t gap = y.significand - rest;  // twice the remainder reaches the divisor?
    const bool bit = rest >= gap;
    quotient = (quotient << 1) | U128{bit};
    sticky = bit ? rest != gap : rest != 0;
    --exponent;
  }
  return RoundWide(negative, exponent - 62, quotient << 62, sticky);
}

}  // namespace

Extended Divide(const Extended& a, const Extended& b) {
  if (a.IsNaN()) return Quiet(a);
  if (b.IsNaN()) return Quiet(b);
  const bool negative = a.negative != b.negative;
  if (a.IsInfinity()) {
    if (b.IsInfinity()) RaiseInvalid();
    return Infinity(negative);
  }
  if (b.IsInfinity()) return Zero(negative);
  if (b.IsZero()) {
    if (a.IsZero()) RaiseInvalid();
    Raise(HB9CV_TRANSLATE_NOOP("Errors", "Floating point division by zero"));
  }
  if (a.IsZero()) return Zero(negative);
  const Unpacked y = Unpack(b);
  return DivideFinite(negative, Unpack(a), y, [&y](uint64_t high, uint64_t& remainder) {
    return DivideWide(high, 0, y.significand, remainder);
  });
}

Extended Divide(const Extended& a, const ExtendedDivisor& b) {
  const Extended& d = b.value();
  const bool finiteNormal = a.exponent != Extended::kMaxExponent && !a.IsZero() &&
                            d.exponent != 0 && d.exponent != Extended::kMaxExponent &&
                            (d.significand & kIntegerBit) != 0;
  if (!finiteNormal) return Divide(a, d);
  const Unpacked y = Unpack(d);
  const uint64_t v = b.reciprocal();
  // Division of (high, 0) by a normalised divisor with a precomputed reciprocal (Moeller and
  // Granlund, "Improved division by invariant integers", algorithm 4).
  return DivideFinite(a.negative != d.negative, Unpack(a), y,
                      [&y, v](uint64_t high, uint64_t& remainder) {
                        const U128 product = U128{v} * high + (U128{high} << 64);
                        uint64_t q = static_cast<uint64_t>(product >> 64) + 1;
                        remainder = 0 - q * y.significand;
                        if (remainder > static_cast<uint64_t>(product)) {
                          --q;
                          remainder += y.significand;
                        }
                        if (remainder >= y.significand) {
                          ++q;
                          remainder -= y.significand;
                        }
                        return q;
                      });
}

Extended AddToWhole(const Extended& whole, uint64_t addend) {
  if (whole.exponent == Extended::kMaxExponent) return whole;
  if (whole.IsZero()) return ExtendedFromUnsigned(addend);
  const Unpacked u = Unpack(whole);
  if (u.exponent <= 0) {
    const uint64_t value = u.exponent <= -64 ? 0 : u.significand >> -u.exponent;
    return Round(false, 0, U128{value} + addend, false);
  }
  if (u.exponent < 64) {
    return Round(false, 0, (U128{u.significand} << u.exponent) + addend, false);
  }
  // The addend lies below the significand's last bit: keep what of it reaches the rounding.
  const int shift = u.exponent - 64;
  const uint64_t part = shift >= 64 ? 0 : addend >> shift;
  const bool sticky = shift >= 64 ? addend != 0 : (addend << (63 - shift) << 1) != 0;
  return Round(false, shift, (U128{u.significand} << 64) + part, sticky);
}

uint64_t RoundToUnsigned(const Extended& x) {
  if (x.exponent == 0) return 0;
  const int e = x.exponent - Extended::kBias;
  if (e > 63) return UINT64_MAX;
  if (e == 63) return x.significand;
  const int shift = 63 - e;
  if (shift > 64) return 0;
  if (shift == 64) return x.significand > kIntegerBit ? 1 : 0;
  const uint64_t kept = x.significand >> shift;
  const uint64_t rest = x.significand & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  return kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
}

std::optional<int64_t> TruncateToSigned(const Extended& x) {
  if (x.exponent == Extended::kMaxExponent) return std::nullopt;
  const int e = x.exponent - Extended::kBias;
  if (x.exponent == 0 || e < 0) return 0;
  if (e >= 63) {
    if (e == 63 && x.negative && x.significand == kIntegerBit) return INT64_MIN;
    return std::nullopt;
  }
  const uint64_t magnitude = x.significand >> (63 - e);
  return x.negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

bool LessThan(const Extended& a, const Extended& b) {
  return a.exponent != b.exponent ? a.exponent < b.exponent : a.significand < b.significand;
}

}  // namespace hb9cv
