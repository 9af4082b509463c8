#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "calc/errors.h"

namespace hb9cv {
namespace {

class WithSeparator {
 public:
  explicit WithSeparator(char c) : saved_(DecimalSeparator()) { SetDecimalSeparator(c); }
  ~WithSeparator() { SetDecimalSeparator(saved_); }

 private:
  char saved_;
};

struct ParseCase {
  const char* text;
  long double expected;
};

TEST(StrToFloat, ConvertsWithComma) {
  WithSeparator comma(',');
  const ParseCase cases[] = {
      {"0145,500", 145.5L}, {" 145,5  ", 145.5L}, {"   1,   ", 1.0L},   {"0000,001", 0.001L},
      {"9999,999", 9999.999L}, {"    ,   ", 0.0L},  {"0000,000", 0.0L},   {"  -2,5E2 ", -250.0L},
      {"+,5", 0.5L},           {"1E", 1.0L},        {"1E-", 1.0L},        {"1e-3", 0.001L},
      {",E5", 0.0L},           {",", 0.0L},         {"1E4932", 1e4932L},  {"1E0499", 1e499L},
      {"145", 145.0L},
  };
  for (const auto& c : cases) {
    long double v = -1;
    ASSERT_TRUE(TextToFloat(c.text, v)) << "'" << c.text << "'";
    EXPECT_EQ(v, c.expected) << "'" << c.text << "'";
    EXPECT_EQ(StrToFloat(c.text), c.expected);
  }
}

TEST(StrToFloat, NegativeZeroComparesEqualToZeroAndPrintsAsZero) {
  WithSeparator comma(',');
  const long double v = StrToFloat("-,");
  EXPECT_EQ(v, 0.0L);
  EXPECT_TRUE(std::signbit(v));
  EXPECT_EQ(FloatToStr(v), "0");
}

TEST(StrToFloat, RejectsWithTheWholeTextInTheMessage) {
  WithSeparator comma(',');
  const char* failures[] = {"",       "        ", "1 4 ,5  ", "145 ,5  ", "14,5 5", "- 5",
                            "1,5\t",  "1.5",      "E5",       "-",        "+",      "1,2E4932",
                            "1E4933", "1E5000",   "145 ,   ", "\t1",      "1,,5",   "0x10"};
  for (const char* text : failures) {
    long double v = 0;
    EXPECT_FALSE(TextToFloat(text, v)) << "'" << text << "'";
    try {
      StrToFloat(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid floating point value");
    }
  }
}

TEST(StrToFloat, PointSeparatorRejectsEveryFieldTextButTheExplicitCommaWorks) {
  WithSeparator point('.');
  long double v = 0;
  EXPECT_FALSE(TextToFloat("0145,500", v));
  EXPECT_FALSE(TextToFloat("    ,   ", v));
  EXPECT_TRUE(TextToFloat("145.5", v));
  EXPECT_EQ(v, 145.5L);
  // The field always supplies a comma, so the compute command names it.
  EXPECT_EQ(StrToFloat("0145,500", ','), 145.5L);
  EXPECT_THROW(StrToFloat("145.5", ','), EConvertError);
}

TEST(StrToFloat, LeavesTheCallersFloatingPointStateClean) {
  WithSeparator comma(',');
  std::feclearexcept(FE_ALL_EXCEPT);
  long double v = 0;
  EXPECT_FALSE(TextToFloat("1E4933", v));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
  EXPECT_TRUE(TextToFloat("0,1", v));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

// Every text the frequency field can hand over converts to exactly the double nearest to its
// decimal value. from_chars is an independent, correctly rounding conversion.
TEST(StrToFloat, EveryFieldTextGivesTheNearestDouble) {
  WithSeparator comma(',');
  char text[] = "0000,000";
  char dotted[] = "0000.000";
  for (int value = 0; value <= 9999999; ++value) {
    int v = value;
    for (int i = 7; i >= 0; --i) {
      if (i == 4) continue;
      text[i] = dotted[i] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    long double parsed = 0;
    ASSERT_TRUE(TextToFloat(text, parsed));
    double expected = 0;
    std::from_chars(dotted, dotted + 8, expected);
    ASSERT_EQ(static_cast<double>(parsed), expected) << text;
  }
}

struct FormatCase {
  long double value;
  const char* text;
};

TEST(FloatToStr, GeneralLayout) {
  WithSeparator comma(',');
  const FormatCase cases[] = {
      {145, "145"},
      {145.5, "145,5"},
      {300.0 / 145.0, "2,06896551724138"},
      {951.7, "951,7"},
      {2.89, "2,89"},
      {5.17, "5,17"},
      {0.001, "0,001"},
      {9999.999, "9999,999"},
      {300000, "300000"},
      {300.0 / 9999.999, "0,0300000030000003"},
      {2.0 / 3.0, "0,666666666666667"},
      {0.0, "0"},
      {-0.0, "0"},
      {-2.5, "-2,5"},
      {0.0001, "0,0001"},
      {0.00001, "1E-5"},
      {1e14, "100000000000000"},
      {1e15, "1E15"},
      {9999999999999999.0, "1E16"},
      {1.5e20, "1,5E20"},
      {123456789012345678.0, "1,23456789012346E17"},
      {100000000000002.5, "100000000000003"},
      {300.0 / 1.974, "151,975683890578"},
      {2.421072493769445, "2,42107249376945"},
      {999999999999999.9, "1E15"},
      {0.00009999999999999999, "0,0001"},
      {HUGE_VALL, "INF"},
      {-HUGE_VALL, "-INF"},
      {NAN, "NAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FloatToStr(static_cast<double>(c.value)), c.text) << static_cast<double>(c.value);
  }
}

TEST(FloatToStr, UsesTheCurrentSeparator) {
  WithSeparator point('.');
  EXPECT_EQ(FloatToStr(145.5), "145.5");
  EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
}

TEST(FloatToText, ClampsPrecision) {
  WithSeparator comma(',');
  char buffer[64];
  int n = FloatToText(buffer, 2.0L / 3.0L, 0);
  EXPECT_EQ(std::string(buffer, n), "0,67");
  n = FloatToText(buffer, 2.0L / 3.0L, 40);
  EXPECT_EQ(std::string(buffer, n), "0,666666666666666667");
}

TEST(FloatToDigits, Records) {
  FloatDigits d = FloatToDigits(145, 15);
  EXPECT_EQ(d.exponent, 3);
  EXPECT_STREQ(d.digits, "145");
  d = FloatToDigits(2.89, 15);
  EXPECT_EQ(d.exponent, 1);
  EXPECT_STREQ(d.digits, "289");
  d = FloatToDigits(0.001, 15);
  EXPECT_EQ(d.exponent, -2);
  EXPECT_STREQ(d.digits, "1");
  d = FloatToDigits(-0.0L, 15);
  EXPECT_EQ(d.exponent, 0);
  EXPECT_FALSE(d.negative);
  EXPECT_STREQ(d.digits, "");
  d = FloatToDigits(-HUGE_VALL, 15);
  EXPECT_EQ(d.exponent, FloatDigits::kInfinity);
  EXPECT_TRUE(d.negative);
  d = FloatToDigits(-NAN, 15);
  EXPECT_EQ(d.exponent, FloatDigits::kNaN);
  EXPECT_FALSE(d.negative);
  // The 18-digit intermediate rounds this up although the exact value ends in 44499...
  d = FloatToDigits(2.421072493769445, 18);
  EXPECT_STREQ(d.digits, "2421072493769445");
}

TEST(ScaleByPow10, TablesAreCorrectlyRounded) {
  for (int n = 0; n <= 27; ++n) {
    long double exact = 1;
    for (int i = 0; i < n; ++i) exact *= 10;
    EXPECT_EQ(ScaleByPow10(1, n), exact) << n;
  }
  EXPECT_EQ(ScaleByPow10(1, 32), 1e32L);
  EXPECT_EQ(ScaleByPow10(1, 512), 1e512L);
  EXPECT_EQ(ScaleByPow10(145, -3), 0.145L);
  EXPECT_EQ(ScaleByPow10(7, -5120), 0.0L);
}

// Shown texts read back give the number within one unit of their 15th significant digit.
TEST(FloatToStr, RoundTripsWithinFifteenDigits) {
  WithSeparator comma(',');
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> exponent(-4.0, 15.0);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int i = 0; i < 100000; ++i) {
    double x = mantissa(rng) * std::pow(10.0, std::floor(exponent(rng)));
    if (x >= 1e15) x /= 10;
    const std::string text = FloatToStr(x);
    const long double back = StrToFloat(text);
    const double unit = std::pow(10.0, std::floor(std::log10(x)) - 14);
    ASSERT_LE(std::fabs(static_cast<double>(back) - x), unit) << text << " from " << x;
  }
}

}  // namespace
}  // namespace hb9cv
