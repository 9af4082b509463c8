#include "calc/number_text.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "calc/errors.h"

namespace hb9cv {
namespace {

char gDecimalSeparator = '.';

// Powers of ten, each the exact value rounded once to the 64-bit significand (up to 10^27
// they are exact): 10^0..10^31, then 10^32..10^480 in steps of 32, then 10^512..10^4608.
// clang-format off
constexpr Extended kPow10Low[32] = {
    {false, 16383, 0x8000000000000000},  // 1e0
    {false, 16386, 0xA000000000000000},  // 1e1
    {false, 16389, 0xC800000000000000},  // 1e2
    {false, 16392, 0xFA00000000000000},  // 1e3
    {false, 16396, 0x9C40000000000000},  // 1e4
    {false, 16399, 0xC350000000000000},  // 1e5
    {false, 16402, 0xF424000000000000},  // 1e6
    {false, 16406, 0x9896800000000000},  // 1e7
    {false, 16409, 0xBEBC200000000000},  // 1e8
    {false, 16412, 0xEE6B280000000000},  // 1e9
    {false, 16416, 0x9502F90000000000},  // 1e10
    {false, 16419, 0xBA43B74000000000},  // 1e11
    {false, 16422, 0xE8D4A51000000000},  // 1e12
    {false, 16426, 0x9184E72A00000000},  // 1e13
    {false, 16429, 0xB5E620F480000000},  // 1e14
    {false, 16432, 0xE35FA931A0000000},  // 1e15
    {false, 16436, 0x8E1BC9BF04000000},  // 1e16
    {false, 16439, 0xB1A2BC2EC5000000},  // 1e17
    {false, 16442, 0xDE0B6B3A76400000},  // 1e18
    {false, 16446, 0x8AC7230489E80000},  // 1e19
    {false, 16449, 0xAD78EBC5AC620000},  // 1e20
    {false, 16452, 0xD8D726B7177A8000},  // 1e21
    {false, 16456, 0x878678326EAC9000},  // 1e22
    {false, 16459, 0xA968163F0A57B400},  // 1e23
    {false, 16462, 0xD3C21BCECCEDA100},  // 1e24
    {false, 16466, 0x84595161401484A0},  // 1e25
    {false, 16469, 0xA56FA5B99019A5C8},  // 1e26
    {false, 16472, 0xCECB8F27F4200F3A},  // 1e27
    {false, 16476, 0x813F3978F8940984},  // 1e28
    {false, 16479, 0xA18F07D736B90BE5},  // 1e29
    {false, 16482, 0xC9F2C9CD04674EDF},  // 1e30
    {false, 16485, 0xFC6F7C4045812296},  // 1e31
};
// clang-format on
constexpr Extended kPow10Mid[15] = {
    {false, 16489, 0x9DC5ADA82B70B59E},  // 1e32
    {false, 16595, 0xC2781F49FFCFA6D5},  // 1e64
    {false, 16701, 0xEFB3AB16C59B14A3},  // 1e96
    {false, 16808, 0x93BA47C980E98CE0},  // 1e128
    {false, 16914, 0xB616A12B7FE617AA},  // 1e160
    {false, 17020, 0xE070F78D3927556B},  // 1e192
    {false, 17127, 0x8A5296FFE33CC930},  // 1e224
    {false, 17233, 0xAA7EEBFB9DF9DE8E},  // 1e256
    {false, 17339, 0xD226FC195C6A2F8C},  // 1e288
    {false, 17446, 0x81842F29F2CCE376},  // 1e320
    {false, 17552, 0x9FA42700DB900AD2},  // 1e352
    {false, 17658, 0xC4C5E310AEF8AA17},  // 1e384
    {false, 17764, 0xF28A9C07E9B09C59},  // 1e416
    {false, 17871, 0x957A4AE1EBF7F3D4},  // 1e448
    {false, 17977, 0xB83ED8DC0795A262},  // 1e480
};
// clang-format off
constexpr Extended kPow10High[9] = {
    {false, 18083, 0xE319A0AEA60E91C7},  // 1e512
    {false, 19784, 0xC976758681750C17},  // 1e1024
    {false, 21485, 0xB2B8353B3993A7E4},  // 1e1536
    {false, 23186, 0x9E8B3B5DC53D5DE5},  // 1e2048
    {false, 24887, 0x8CA554C020A1F0A6},  // 1e2560
    {false, 26587, 0xF9895D25D88B5A8B},  // 1e3072
    {false, 28288, 0xDD5DC8A2BF27F3F8},  // 1e3584
    {false, 29989, 0xC46052028A20979B},  // 1e4096
    {false, 31690, 0xAE3511626ED559F0},  // 1e4608
};
// clang-format on

constexpr Extended kTen = kPow10Low[1];

// The same tables as divisors.
template <size_t kSize>
constexpr std::array<ExtendedDivisor, kSize> Divisors(const Extended (&powers)[kSize]) {
  return [&]<size_t... kIndex>(std::index_sequence<kIndex...>) {
    return std::array<ExtendedDivisor, kSize>{ExtendedDivisor(powers[kIndex])...};
  }
  (std::make_index_sequence<kSize>{});
}
constexpr auto kDivisorsLow = Divisors(kPow10Low);
constexpr auto kDivisorsMid = Divisors(kPow10Mid);
constexpr auto kDivisorsHigh = Divisors(kPow10High);
constexpr auto kPow10Integers = [] {
  std::array<uint64_t, 19> p{};
  p[0] = 1;
  for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();
constexpr uint64_t kTenTo18 = kPow10Integers[18];

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The first decimal exponent to try: floor(e2 * log10(2)) + 1, which is the true decimal
// exponent of a number in [2^e2, 2^(e2+1)) or one less. Within +-680 binary places the coarse
// constant 19728/65536 is kept, since where it errs by one the digits pass through the second
// rounding of the one-too-many case and must stay as they always were. Beyond that range it
// can err by two, which left a leading zero digit; 646456993/2^31 is exact for every exponent
// the format has.
int EstimateDecimalExponent(int e2) {
  if (e2 >= -680 && e2 <= 680) return ((e2 * 19728) >> 16) + 1;  // arithmetic shift: floor
  return static_cast<int>((int64_t{e2} * 646456993) >> 31) + 1;
}

// `n` / 10 rounded to the 64-bit significand, then to a whole number, both to nearest even.
// The quotient is below 2^61, so its rounding keeps 3 to 7 fraction bits; the remainder
// times 2^bits / 10 never ends in a half, so only the second rounding can tie.
uint64_t TenthTwiceRounded(uint64_t n) {
  const uint64_t q = n / 10;
  const uint64_t r = n % 10;
  const int bits = q == 0 ? 63 : __builtin_clzll(q);
  const uint64_t scaled = r << bits;
  uint64_t fraction = scaled / 10 + (scaled % 10 > 5 ? 1 : 0);
  const uint64_t half = uint64_t{1} << (bits - 1);
  if (fraction > half || (fraction == half && (q & 1) != 0)) return q + 1;
  return q;
}

// Drops `kDropped` digits, rounding by the first dropped digit alone: on the whole number
// that is the remainder against half a unit of the last kept digit. The divisors are
// constants so that no division instruction is needed.
template <size_t kDropped>
uint64_t CutDigits(uint64_t n) {
  constexpr uint64_t kUnit = kPow10Integers[kDropped];
  return n / kUnit + (n % kUnit >= kUnit / 2 ? 1 : 0);
}
constexpr auto kCuts = []<size_t... kDropped>(std::index_sequence<kDropped...>) {
  return std::array<uint64_t (*)(uint64_t), sizeof...(kDropped)>{&CutDigits<kDropped>...};
}
(std::make_index_sequence<17>{});

// Drops `kStep` trailing zeros if there are as many and a digit stays; steps of 16, 8, 4, 2
// and 1 in turn drop any number of them.
template <int kStep>
void DropZeros(uint64_t& n, int& count) {
  constexpr uint64_t kUnit = kPow10Integers[kStep];
  if (count > kStep && n % kUnit == 0) {
    n /= kUnit;
    count -= kStep;
  }
}

}  // namespace

void ReadFormatSettings() {
  char separator = '.';
  if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') separator = radix[0];
    freelocale(loc);
  }
  gDecimalSeparator = separator;
}

char DecimalSeparator() {
  return gDecimalSeparator;
}
void SetDecimalSeparator(char separator) {
  gDecimalSeparator = separator;
}

Extended ScaleByPow10(const Extended& x, int n) {
  if (n == 0) return x;
  if (n <= -5120) return Multiply(Extended(), x);
  if (n >= 5120) {  // overflows, as it must
    return Multiply(Multiply(x, kPow10High[8]), kPow10High[8]);
  }
  if (n > 0) {
    Extended result = Multiply(x, kPow10Low[n % 32]);
    if (const int mid = (n / 32) % 16; mid != 0) result = Multiply(result, kPow10Mid[mid - 1]);
    if (const int high = n / 512; high != 0) result = Multiply(result, kPow10High[high - 1]);
    return result;
  }
  const int m = -n;
  Extended result = Divide(x, kDivisorsLow[m % 32]);
  if (const int mid = (m / 32) % 16; mid != 0) result = Divide(result, kDivisorsMid[mid - 1]);
  if (const int high = m / 512; high != 0) result = Divide(result, kDivisorsHigh[high - 1]);
  return result;
}

namespace {

// The digits of a text too long for an integer: exact up to the 19th, then multiplied and
// added with rounding, each digit on its own.
Extended ReadLongDigits(const char* whole, const char* wholeEnd, const char* fraction,
                        const char* fractionEnd) {
  Extended acc;
  uint64_t exact = 0;
  int exactDigits = 0;
  auto read = [&](const char* from, const char* to) {
    for (; from != to; ++from) {
      const unsigned digit = static_cast<unsigned>(*from - '0');
      if (exactDigits < 19) {
        exact = exact * 10 + digit;
        if (++exactDigits == 19) acc = ExtendedFromUnsigned(exact);
      } else {
        acc = AddToWhole(Multiply(acc, kTen), digit);
      }
    }
  };
  read(whole, wholeEnd);
  read(fraction, fractionEnd);
  return acc;
}

// An exponent "E12", "e-5", "E+3" at `p`, moving `p` past it; 0 when there is none. Digits
// stop counting at 500, far beyond any finite result.
int ReadExponent(const char*& p) {
  if (*p != 'E' && *p != 'e') return 0;
  ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int exponent = 0;
  while (exponent < 500 && IsDigit(*p)) exponent = exponent * 10 + (*p++ - '0');
  return negative ? -exponent : exponent;
}

// TextToFloat with the arithmetic's exceptions let through: a text whose digits or exponent
// overflow the format throws EMathError.
std::optional<Extended> Parse(const char* text, char separator) {
  const char* p = text;
  Extended acc;
  bool negative = false;

  while (*p == ' ') ++p;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  // Up to 19 digits the extended accumulator is exact, so an integer holds the very same
  // value. The digits are summed as they are found; a longer text, where the integer wraps,
  // is read again with the rounded multiply-and-add of every digit after the 19th.
  const char* numberStart = p;
  const char* whole = p;
  uint64_t exact = 0;
  while (IsDigit(*p)) exact = exact * 10 + static_cast<unsigned>(*p++ - '0');
  const char* wholeEnd = p;
  const char* fraction = p;
  if (*p == separator && separator != '\0') {
    fraction = ++p;
    while (IsDigit(*p)) exact = exact * 10 + static_cast<unsigned>(*p++ - '0');
  }
  const char* fractionEnd = p;
  if (p == numberStart) return std::nullopt;
  // Below -5120 the result is zero anyway.
  long long scale = -std::min<long long>(fractionEnd - fraction, 100000);

  const bool shortText = (wholeEnd - whole) + (fractionEnd - fraction) <= 19;
  if (shortText) {
    // The frequency field's texts, without an exponent: one division by an exact power of ten.
    const char* end = p;
    while (*end == ' ') ++end;
    if (scale < 0 && scale >= -27 && *end == '\0') {
      const Extended result = Divide(ExtendedFromUnsigned(exact), kDivisorsLow[-scale]);
      return negative ? -result : result;
    }
    acc = ExtendedFromUnsigned(exact);
  } else {
    acc = ReadLongDigits(whole, wholeEnd, fraction, fractionEnd);
  }
  scale += ReadExponent(p);

  while (*p == ' ') ++p;
  if (*p != '\0') return std::nullopt;

  if (scale < -100000) scale = -100000;
  const Extended result = ScaleByPow10(acc, static_cast<int>(scale));
  return negative ? -result : result;
}

}  // namespace

std::optional<Extended> TextToFloat(const char* text, char separator) {
  try {
    return Parse(text, separator);
  } catch (const EMathError&) {
    return std::nullopt;
  }
}

std::optional<Extended> TextToFloat(const char* text) {
  return TextToFloat(text, gDecimalSeparator);
}

Extended StrToFloat(const std::string& text, char separator) {
  const std::optional<Extended> value = TextToFloat(text.c_str(), separator);
  if (!value) {
    throw EConvertError(HB9CV_TRANSLATE_NOOP("Errors", "'%1' is not a valid floating point value"),
                        {text});
  }
  return *value;
}

Extended StrToFloat(const std::string& text) {
  return StrToFloat(text, gDecimalSeparator);
}

namespace {

// The `count` leading digits of `n` (below 10^18, without trailing zeros) as text.
void WriteDigits(uint64_t n, int count, char* digits) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  // Eighteen digits written straight into place, in two halves of nine in 32-bit arithmetic
  // that do not wait for each other; the terminator then cuts them to `count`.
  n *= kPow10Integers[18 - count];
  uint32_t high = static_cast<uint32_t>(n / 1000000000);
  uint32_t low = static_cast<uint32_t>(n % 1000000000);
  for (int i = 7; i >= 1; i -= 2) {
    std::memcpy(digits + i, kPairs + 2 * (high % 100), 2);
    std::memcpy(digits + 9 + i, kPairs + 2 * (low % 100), 2);
    high /= 100;
    low /= 100;
  }
  digits[0] = static_cast<char>('0' + high);
  digits[9] = static_cast<char>('0' + low);
  digits[count] = '\0';
}

// FloatToDigits into `result`, returning the number of digits.
int ToDigits(const Extended& value, int precision, FloatDigits& result) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  if (value.exponent == 0) return 0;
  if (value.exponent == Extended::kMaxExponent) {
    if (value.IsNaN()) {
      result.exponent = FloatDigits::kNaN;
    } else {
      result.exponent = FloatDigits::kInfinity;
      result.negative = value.negative;
    }
    return 0;
  }

  int exponent = EstimateDecimalExponent(value.exponent - Extended::kBias);
  const Extended magnitude(false, value.exponent, value.significand);
  // Scaled to about 10^18 from a finite non-zero value: nothing can overflow.
  uint64_t n = RoundToUnsigned(ScaleByPow10(magnitude, 18 - exponent));
  if (n >= kTenTo18) {
    n = TenthTwiceRounded(n);
    ++exponent;
  }
  if (n >= kTenTo18) {  // only reachable for values no double can hold
    n /= 10;
    ++exponent;
  }

  int count = 18;
  if (precision < 18) {
    n = kCuts[18 - precision](n);
    if (n == kPow10Integers[precision]) {  // the carry made a new first digit
      n /= 10;
      ++exponent;
    }
    count = precision;
  }
  DropZeros<16>(n, count);
  DropZeros<8>(n, count);
  DropZeros<4>(n, count);
  DropZeros<2>(n, count);
  DropZeros<1>(n, count);

  WriteDigits(n, count, result.digits);
  result.exponent = static_cast<int16_t>(exponent);
  result.negative = value.negative;
  return count;
}

}  // namespace

FloatDigits FloatToDigits(const Extended& value, int precision) {
  FloatDigits result;
  ToDigits(value, precision, result);
  return result;
}

namespace {

int FloatToText(char* buffer, const Extended& value, int precision, char separator) {
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  FloatDigits fd;
  const int count = ToDigits(value, precision, fd);
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

  const int e = fd.exponent;
  const char* d = fd.digits;
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

}  // namespace

int FloatToText(char* buffer, const Extended& value, int precision) {
  return FloatToText(buffer, value, precision, gDecimalSeparator);
}

std::string FloatToStr(double value) {
  return FloatToStr(value, gDecimalSeparator);
}

std::string FloatToStr(double value, char separator) {
  char buffer[64];
  const int n = FloatToText(buffer, value, 15, separator);
  return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace hb9cv
