#pragma once
// The number conversions and the dimension calculation done on the x87 unit's own 80-bit
// arithmetic, for comparing the integer implementation against the hardware bit for bit.
// Only for tests, and only where long double is that format.
#include <cfloat>
#if LDBL_MANT_DIG == 64
#define HB9CV_HAVE_X87_REFERENCE 1

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/extended.h"
#include "calc/number_text.h"

namespace hb9cv::x87 {

inline long double ToLong(const Extended& x) {
  long double v = 0;
  unsigned char raw[sizeof v] = {};
  std::memcpy(raw, &x.significand, 8);
  const unsigned se = x.exponent | (x.negative ? 0x8000u : 0u);
  raw[8] = static_cast<unsigned char>(se);
  raw[9] = static_cast<unsigned char>(se >> 8);
  std::memcpy(&v, raw, sizeof v);
  return v;
}

inline Extended FromLong(long double v) {
  unsigned char raw[sizeof v];
  std::memcpy(raw, &v, sizeof raw);
  Extended x;
  std::memcpy(&x.significand, raw, 8);
  const unsigned se = raw[8] | (unsigned(raw[9]) << 8);
  x.exponent = static_cast<uint16_t>(se & 0x7FFF);
  x.negative = (se & 0x8000) != 0;
  return x;
}

// Decimal literals are converted with correct rounding, which is what the tables hold.
inline constexpr long double kPow10Low[32] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
    1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
    1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
inline constexpr long double kPow10Mid[15] = {1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                                              1e192L, 1e224L, 1e256L, 1e288L, 1e320L,
                                              1e352L, 1e384L, 1e416L, 1e448L, 1e480L};
inline constexpr long double kPow10High[9] = {1e512L,  1e1024L, 1e1536L, 1e2048L, 1e2560L,
                                              1e3072L, 1e3584L, 1e4096L, 1e4608L};

inline unsigned short Status() {
  unsigned short status;
  __asm__ volatile("fnstsw %0" : "=m"(status));
  return status;
}
inline void ClearFlags() {
  __asm__ volatile("fnclex");
}
// `value`, computed before the flags are read next.
inline long double Computed(long double value) {
  __asm__ volatile("" : : "f"(value));
  return value;
}

inline long double ScaleByPow10(long double x, int n) {
  if (n == 0) return x;
  if (n <= -5120) return 0.0L * x;
  if (n >= 5120) return x * kPow10High[8] * kPow10High[8];
  const bool divide = n < 0;
  const int m = divide ? -n : n;
  const long double a = kPow10Low[m % 32];
  x = divide ? x / a : x * a;
  if (const int mid = (m / 32) % 16; mid != 0) {
    x = divide ? x / kPow10Mid[mid - 1] : x * kPow10Mid[mid - 1];
  }
  if (const int high = m / 512; high != 0) {
    x = divide ? x / kPow10High[high - 1] : x * kPow10High[high - 1];
  }
  return x;
}

// Runs under the process's default control word (64-bit significand, nearest, all masked).
inline bool TextToFloat(const char* text, long double& value, char separator) {
  ClearFlags();
  const char* p = text;
  long double acc = 0.0L;
  long long scale = 0;
  bool negative = false;
  while (*p == ' ') ++p;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* numberStart = p;
  bool inFraction = false;
  for (;;) {
    if (*p >= '0' && *p <= '9') {
      acc = acc * 10.0L;
      acc = acc + static_cast<long double>(*p - '0');
      ++p;
      if (inFraction && scale > -100000) --scale;
    } else if (!inFraction && *p == separator && separator != '\0') {
      inFraction = true;
      ++p;
    } else {
      break;
    }
  }
  if (p == numberStart) return false;
  if (*p == 'E' || *p == 'e') {
    ++p;
    bool expNegative = false;
    if (*p == '+' || *p == '-') expNegative = *p++ == '-';
    int exponent = 0;
    while (exponent < 500 && *p >= '0' && *p <= '9') exponent = exponent * 10 + (*p++ - '0');
    scale += expNegative ? -exponent : exponent;
  }
  while (*p == ' ') ++p;
  if (*p != '\0') return false;
  long double result = ScaleByPow10(acc, static_cast<int>(scale));
  if (negative) result = -result;
  volatile long double stored = result;
  const bool failed = (Status() & (0x0001 | 0x0008)) != 0;
  ClearFlags();
  value = stored;
  return !failed;
}

// The corrected estimate beyond +-680 binary places, as the product does.
inline FloatDigits FloatToDigits(long double value, int precision) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  FloatDigits result;
  const Extended bits = FromLong(value);
  if (bits.exponent == 0) return result;
  if (bits.exponent == 0x7FFF) {
    if (bits.IsNaN()) {
      result.exponent = FloatDigits::kNaN;
    } else {
      result.exponent = FloatDigits::kInfinity;
      result.negative = bits.negative;
    }
    return result;
  }
  const int e2 = bits.exponent - 16383;
  int exponent = e2 >= -680 && e2 <= 680
                     ? ((e2 * 19728) >> 16) + 1
                     : static_cast<int>(std::floor(e2 * 0.30102999566398119521L)) + 1;
  long double x = __builtin_rintl(ScaleByPow10(std::fabs(value), 18 - exponent));
  if (x >= 1e18L) {
    x = x / 10.0L;
    ++exponent;
  }
  uint64_t n = static_cast<uint64_t>(__builtin_llrintl(x));
  if (n >= 1000000000000000000ULL) {
    n /= 10;
    ++exponent;
  }
  char digits[21];  // room for any 64-bit value; n has 18 digits
  std::snprintf(digits, sizeof digits, "%018llu", static_cast<unsigned long long>(n));
  int count = 18;
  if (precision < 18) {
    count = precision;
    if (digits[precision] >= '5') {
      int i = precision - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits[0] = '1';
        count = 1;
        ++exponent;
      }
    }
  }
  while (count > 0 && digits[count - 1] == '0') --count;
  std::memcpy(result.digits, digits, count);
  result.digits[count] = '\0';
  result.exponent = static_cast<int16_t>(exponent);
  result.negative = bits.negative;
  return result;
}

// The dimensions in the reference arithmetic: the values and, for the texts, the caller
// formats them with the product's formatter (checked separately against FloatToDigits).
struct Dimensions {
  double wavelength, Z, R, RZ, x, Tz, Tr, Q_low, Q_high;
};

inline double CutDown(double l10, long double factor, int64_t divisor, long double scale) {
  const int64_t n = static_cast<int64_t>(static_cast<long double>(l10) * factor);
  return static_cast<double>(static_cast<long double>(n / divisor) / scale);
}

inline Dimensions ComputeDimensions(double frequency) {
  Dimensions d;
  d.wavelength = static_cast<double>(300.0L / static_cast<long double>(frequency));
  const double l10 = static_cast<double>(3000000.0L / static_cast<long double>(frequency));
  const int k[6] = {460, 501, 125, 10, 63, 68};
  double* out[6] = {&d.Z, &d.R, &d.RZ, &d.x, &d.Tz, &d.Tr};
  for (int i = 0; i < 6; ++i) *out[i] = CutDown(l10, k[i], 1000, 10.0L);
  d.Q_low = CutDown(l10, 1.4L, 100, 100.0L);
  d.Q_high = CutDown(l10, 2.5L, 100, 100.0L);
  return d;
}

}  // namespace hb9cv::x87

#endif
