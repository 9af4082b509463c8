#pragma once
// Conversion between numbers and their text, on the 80-bit extended format.
//
// The parser and the formatter are written out digit by digit instead of using the C library
// so that every result is the same on every machine and locale: the displayed dimensions must
// match the reference tables to the last digit, including the two-stage rounding of the
// formatter (18 digits first, then 15).
#include <cstdint>
#include <optional>
#include <string>

#include "calc/extended.h"

namespace hb9cv {

// Decimal form of a number: value = 0.d1d2d3... * 10^exponent.
struct FloatDigits {
  static constexpr int16_t kInfinity = 32767;
  static constexpr int16_t kNaN = -32768;
  int16_t exponent = 0;
  bool negative = false;
  char digits[21] = {};  // up to 18 digits, NUL-terminated; empty for zero, INF and NaN
};

// The process-wide decimal separator (one byte), read from the user's LC_NUMERIC locale.
void ReadFormatSettings();
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// Converts the whole NUL-terminated text with the current decimal separator; none when the
// text is not a number or overflows.
std::optional<Extended> TextToFloat(const char* text);
// The same with an explicit separator (the frequency field always supplies a comma).
std::optional<Extended> TextToFloat(const char* text, char separator);

// Throws EConvertError "'<text>' is not a valid floating point value".
Extended StrToFloat(const std::string& text);
Extended StrToFloat(const std::string& text, char separator);

// General format, 15 significant digits, current decimal separator. Every finite value gives
// a text that starts with a digit 1-9 (or is "0") and reads back within one unit of its 15th
// significant digit. Magnitudes from 0.0001 to below 10^15 (once rounded to 15 digits) are
// written in fixed notation, others with one digit before the separator and an exponent.
// With "," as the separator:
//   145                      "145"                 0.0001                   "0,0001"
//   145.5                    "145,5"               1e-5                     "1E-5"
//   -2.5                     "-2,5"                1.5e-10                  "1,5E-10"
//   300.0 / 145              "2,06896551724138"    1e14                     "100000000000000"
//   (2.0689655172413794)                           1e15                     "1E15"
//   100000000000002.5        "100000000000003"     999999999999999.875      "1E15" (carry)
//   123456789012345678       "1,23456789012346E17" 1.5e20                   "1,5E20"
//   0 and -0                 "0"                   infinity, NaN            "INF", "NAN"
std::string FloatToStr(double value);
// The same with an explicit separator (JSON numbers always take a point).
std::string FloatToStr(double value, char separator);
// General format into `buffer` (64 bytes suffice), precision clamped to 2..18; returns the
// number of characters written, without a terminating NUL.
int FloatToText(char* buffer, const Extended& value, int precision);

FloatDigits FloatToDigits(const Extended& value, int precision);

// x * 10^n, each step rounded to the 64-bit significand; throws EMathError on overflow.
Extended ScaleByPow10(const Extended& x, int n);

}  // namespace hb9cv
