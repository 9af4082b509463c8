#include "calc/number_text.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstring>

#include "calc/errors.h"

namespace hb9cv {
namespace {

char g_decimal_separator = '.';

// Powers of ten, each the exact value rounded once to the 64-bit significand. The compiler
// converts decimal literals with correct rounding, so writing them out gives exactly that
// (up to 10^27 they are exact).
constexpr long double kPow10Low[32] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
    1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
    1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr long double kPow10Mid[15] = {1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                                       1e192L, 1e224L, 1e256L, 1e288L, 1e320L,
                                       1e352L, 1e384L, 1e416L, 1e448L, 1e480L};
constexpr long double kPow10High[9] = {1e512L,  1e1024L, 1e1536L, 1e2048L, 1e2560L,
                                       1e3072L, 1e3584L, 1e4096L, 1e4608L};

// The x87 control word: all exceptions masked, 64-bit significand, round to nearest.
constexpr unsigned short kParseControlWord = 0x037F;
// x87 status flags the parser judges its outcome by: invalid operation and overflow.
constexpr unsigned short kInvalidOrOverflow = 0x0001 | 0x0008;

// Saves the caller's x87 control word on entry and restores it with clear exception flags on
// every way out, so the parser can judge its own outcome by the flags. The parser's
// arithmetic is all on the x87 unit, so its control and status words are the whole state.
// Clearing the flags is by far the dearest step (tens of cycles, more than the conversion),
// so it is done only when a flag is actually set.
class FpuGuard {
 public:
  FpuGuard() {
    __asm__ volatile("fnstcw %0" : "=m"(control_word_));
    if (Status() & kInvalidOrOverflow) Clear();
    if (control_word_ != kParseControlWord) Load(kParseControlWord);
  }
  ~FpuGuard() {
    if (Status() & kAllFlags) Clear();
    if (control_word_ != kParseControlWord) Load(control_word_);
  }
  FpuGuard(const FpuGuard&) = delete;
  FpuGuard& operator=(const FpuGuard&) = delete;

  static bool InvalidOrOverflow() { return (Status() & kInvalidOrOverflow) != 0; }

 private:
  static constexpr unsigned short kAllFlags = 0x003F;
  static unsigned short Status() {
    unsigned short status;
    __asm__ volatile("fnstsw %0" : "=m"(status));
    return status;
  }
  static void Clear() { __asm__ volatile("fnclex"); }
  static void Load(unsigned short cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }
  unsigned short control_word_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The biased exponent field and sign of an 80-bit value.
struct ExtendedBits {
  int exponent_field;
  bool negative;
};

ExtendedBits BitsOf(long double v) {
  unsigned char raw[sizeof(long double)];
  std::memcpy(raw, &v, sizeof raw);
  const unsigned se = raw[8] | (unsigned(raw[9]) << 8);
  return {static_cast<int>(se & 0x7FFF), (se & 0x8000) != 0};
}

bool IsNaNBits(long double v) {
  unsigned char raw[sizeof(long double)];
  std::memcpy(raw, &v, sizeof raw);
  uint64_t significand;
  std::memcpy(&significand, raw, 8);
  return (significand << 1) != 0;  // the integer bit alone means infinity
}

}  // namespace

void ReadFormatSettings() {
  char separator = '.';
  if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') separator = radix[0];
    freelocale(loc);
  }
  g_decimal_separator = separator;
}

char DecimalSeparator() { return g_decimal_separator; }
void SetDecimalSeparator(char separator) { g_decimal_separator = separator; }

long double ScaleByPow10(long double x, int n) {
  if (n == 0) return x;
  if (n <= -5120) return 0.0L * x;
  if (n >= 5120) return x * kPow10High[8] * kPow10High[8];  // overflows, as it must
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

bool TextToFloat(const char* text, long double& value, char separator) {
  FpuGuard guard;
  const char* p = text;
  long double acc = 0.0L;
  long long scale = 0;
  bool negative = false;

  while (*p == ' ') ++p;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  // Up to 19 digits the extended accumulator is exact, so an integer holds the very same
  // value; only longer texts need the rounded multiply-and-add of every digit.
  const char* number_start = p;
  uint64_t exact = 0;
  int exact_digits = 0;
  bool in_fraction = false;
  for (;;) {
    if (IsDigit(*p)) {
      if (exact_digits < 19) {
        exact = exact * 10 + static_cast<unsigned>(*p - '0');
        ++exact_digits;
      } else {
        if (exact_digits == 19) {
          acc = static_cast<long double>(exact);
          ++exact_digits;
        }
        acc = acc * 10.0L;
        acc = acc + static_cast<long double>(*p - '0');
      }
      ++p;
      if (in_fraction && scale > -100000) --scale;  // below -5120 the result is zero anyway
    } else if (!in_fraction && *p == separator && separator != '\0') {
      in_fraction = true;
      ++p;
    } else {
      break;
    }
  }
  if (exact_digits <= 19) acc = static_cast<long double>(exact);
  if (p == number_start) return false;

  if (*p == 'E' || *p == 'e') {
    ++p;
    bool exp_negative = false;
    if (*p == '+' || *p == '-') exp_negative = *p++ == '-';
    int exponent = 0;
    while (exponent < 500 && IsDigit(*p)) exponent = exponent * 10 + (*p++ - '0');
    scale += exp_negative ? -exponent : exponent;
  }

  while (*p == ' ') ++p;
  if (*p != '\0') return false;

  if (scale < -100000) scale = -100000;
  long double result = ScaleByPow10(acc, static_cast<int>(scale));
  if (negative) result = -result;
  // Storing the result is the last step that can overflow; the flags then tell.
  volatile long double stored = result;
  if (FpuGuard::InvalidOrOverflow()) return false;
  value = stored;
  return true;
}

bool TextToFloat(const char* text, long double& value) {
  return TextToFloat(text, value, g_decimal_separator);
}

long double StrToFloat(const std::string& text, char separator) {
  long double value = 0.0L;
  if (!TextToFloat(text.c_str(), value, separator)) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
  }
  return value;
}

long double StrToFloat(const std::string& text) { return StrToFloat(text, g_decimal_separator); }

FloatDigits FloatToDigits(long double value, int precision) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  FloatDigits result;
  const ExtendedBits bits = BitsOf(value);
  if (bits.exponent_field == 0) return result;
  if (bits.exponent_field == 0x7FFF) {
    if (IsNaNBits(value)) {
      result.exponent = FloatDigits::kNaN;
    } else {
      result.exponent = FloatDigits::kInfinity;
      result.negative = bits.negative;
    }
    return result;
  }

  const int e2 = bits.exponent_field - 16383;
  int exponent = ((e2 * 19728) >> 16) + 1;  // arithmetic shift: the floor, also below zero
  long double x = __builtin_rintl(ScaleByPow10(std::fabs(value), 18 - exponent));
  if (x >= 1e18L) {
    x = x / 10.0L;
    ++exponent;
  }
  uint64_t n = static_cast<uint64_t>(__builtin_llrintl(x));
  if (n >= 1000000000000000000ULL) {  // only reachable for values no double can hold
    n /= 10;
    ++exponent;
  }

  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char digits[19];
  for (int i = 16; i >= 0; i -= 2) {
    const unsigned pair = static_cast<unsigned>(n % 100);
    n /= 100;
    digits[i] = kPairs[2 * pair];
    digits[i + 1] = kPairs[2 * pair + 1];
  }
  digits[18] = '\0';

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

int FloatToText(char* buffer, long double value, int precision) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  const FloatDigits fd = FloatToDigits(value, precision);
  char* out = buffer;
  auto put = [&out](const char* s) {
    while (*s) *out++ = *s++;
  };

  if (fd.exponent == FloatDigits::kInfinity) {
    put(fd.negative ? "-INF" : "INF");
    return static_cast<int>(out - buffer);
  }
  if (fd.exponent == FloatDigits::kNaN) {
    put("NAN");
    return static_cast<int>(out - buffer);
  }
  if (fd.negative) *out++ = '-';

  const char separator = g_decimal_separator;
  const int e = fd.exponent;
  const char* d = fd.digits;
  const int count = static_cast<int>(std::strlen(d));
  if (e > precision || e < -3) {
    *out++ = d[0];
    if (count > 1) {
      *out++ = separator;
      put(d + 1);
    }
    *out++ = 'E';
    int power = e - 1;
    if (power < 0) {
      *out++ = '-';
      power = -power;
    }
    char tmp[8];
    int len = 0;
    do {
      tmp[len++] = static_cast<char>('0' + power % 10);
      power /= 10;
    } while (power != 0);
    while (len > 0) *out++ = tmp[--len];
  } else if (e <= 0) {
    *out++ = '0';
    if (count > 0) {
      *out++ = separator;
      for (int i = 0; i < -e; ++i) *out++ = '0';
      put(d);
    }
  } else {
    for (int i = 0; i < e; ++i) *out++ = i < count ? d[i] : '0';
    if (count > e) {
      *out++ = separator;
      put(d + e);
    }
  }
  return static_cast<int>(out - buffer);
}

std::string FloatToStr(long double value) {
  char buffer[64];
  const int n = FloatToText(buffer, value, 15);
  return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace hb9cv
