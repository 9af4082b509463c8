#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
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

double Parse(const std::string& text) {
  return static_cast<double>(StrToFloat(text));
}

TEST(StrToFloat, ConvertsWithComma) {
  WithSeparator comma(',');
  const std::string fractionDigits = "0," + std::string(5000, '0') + "1E4999";
  // clang-format off
  const struct {
    std::string text;
    double expected;
  } cases[] = {
      {"0145,500", 145.5}, {" 145,5  ", 145.5}, {"   1,   ", 1}, {"0000,001", 0.001},
      {"9999,999", 9999.999}, {"    ,   ", 0}, {"0000,000", 0}, {"  -2,5E2 ", -250}, {"+,5", 0.5},
      {"1E", 1}, {"1E-", 1}, {"1e-3", 0.001}, {",E5", 0}, {",", 0}, {"145", 145},
      {"0,00000000000000000000000000000001", 1e-32},
      // A 20th digit goes through the rounded accumulator: 2^64 + 1 becomes 2^64.
      {"18446744073709551617", 18446744073709551616.0},
      {"1844674407370955161,7E1", 18446744073709551616.0},
      // The exponent reads digits while it is below 500.
      {"0E4990", 0}, {"1E-4990", 0}, {"0E0500", 0}, {"1E-0499", 0}, {"1E308", 1e308},
      {fractionDigits, 0.01},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<double>(TextToFloat(c.text.c_str()).value()), c.expected)
        << "'" << c.text << "'";
    EXPECT_EQ(Parse(c.text), c.expected);
  }
  // Beyond the double range: the bits of the extended result.
  const struct {
    const char* text;
    int exponent;
    uint64_t significand;
  } wide[] = {
      {"1E4932", 32766, 0xD72CB2A95C7EF6CD},  // the nearest extended value
      {"1E0499", 18040, 0xC7C265EA160544AC},  // 10^19 times the rounded 10^480, rounded
  };
  for (const auto& c : wide) {
    const Extended v = StrToFloat(c.text);
    EXPECT_TRUE(v.SameBits(Extended(false, c.exponent, c.significand))) << c.text;
  }
}

TEST(StrToFloat, RejectsWithTheWholeTextInTheMessage) {
  WithSeparator comma(',');
  const char* failures[] = {"",         "        ", "1 4 ,5  ", "145 ,5  ", "14,5 5",  "- 5",
                            "1,5\t",    "1.5",      "E5",       "-",        "+",       "1,2E4932",
                            "1E4933",   "1E5000",   "0E5000",   "1E-5000",  "0E05000", "1E4999",
                            "145 ,   ", "\t1",      "1,,5",     "0x10"};
  for (const char* text : failures) {
    EXPECT_FALSE(TextToFloat(text)) << "'" << text << "'";
    try {
      StrToFloat(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid floating point value");
    }
  }
  EXPECT_FALSE(TextToFloat(("1" + std::string(4933, '0')).c_str()));  // overflows digit by digit
}

TEST(NumberText, PointSeparatorRejectsEveryFieldTextButTheExplicitCommaWorks) {
  WithSeparator point('.');
  EXPECT_FALSE(TextToFloat("0145,500"));
  EXPECT_FALSE(TextToFloat("    ,   "));
  EXPECT_EQ(static_cast<double>(TextToFloat("145.5").value()), 145.5);
  // The field always supplies a comma, so the compute command names it.
  EXPECT_EQ(static_cast<double>(StrToFloat("0145,500", ',')), 145.5);
  EXPECT_THROW(StrToFloat("145.5", ','), EConvertError);
  EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
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
    double expected = 0;
    std::from_chars(dotted, dotted + 8, expected);
    ASSERT_EQ(static_cast<double>(TextToFloat(text).value()), expected) << text;
  }
}

TEST(FloatToStr, GeneralLayout) {
  WithSeparator comma(',');
  // clang-format off
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {145, "145"}, {145.5, "145,5"}, {300.0 / 145.0, "2,06896551724138"}, {951.7, "951,7"},
      {2.89, "2,89"}, {5.17, "5,17"}, {0.001, "0,001"}, {9999.999, "9999,999"}, {300000, "300000"},
      {300.0 / 9999.999, "0,0300000030000003"}, {2.0 / 3.0, "0,666666666666667"}, {0.0, "0"},
      {-0.0, "0"}, {-2.5, "-2,5"}, {0.0001, "0,0001"}, {0.00001, "1E-5"}, {1e14, "100000000000000"},
      {1e15, "1E15"}, {9999999999999999.0, "1E16"}, {1.5e20, "1,5E20"},
      {123456789012345678.0, "1,23456789012346E17"}, {100000000000002.5, "100000000000003"},
      {300.0 / 1.974, "151,975683890578"}, {2.421072493769445, "2,42107249376945"},
      {999999999999999.9, "1E15"}, {0.00009999999999999999, "0,0001"}, {HUGE_VAL, "INF"},
      {-HUGE_VAL, "-INF"}, {NAN, "NAN"},
      // Far from 1 the first decimal exponent tried can be two off; the text stays whole.
      {9.977e-206, "9,977E-206"}, {9.9771697727067e-206, "9,9771697727067E-206"},
      {1e-300, "1E-300"}, {-1.5e-250, "-1,5E-250"},
      {2.2250738585072014e-308, "2,2250738585072E-308"},
      {4.9406564584124654e-324, "4,94065645841247E-324"}, {1e300, "1E300"},
      {1.7976931348623157e308, "1,79769313486232E308"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
  }
}

TEST(FloatToText, ClampsPrecision) {
  WithSeparator comma(',');
  const Extended twoThirds(false, 16382, 0xAAAAAAAAAAAAAAAB);  // 2/3 rounded to 64 bits
  char buffer[64];
  int n = FloatToText(buffer, twoThirds, 0);
  EXPECT_EQ(std::string(buffer, n), "0,67");
  n = FloatToText(buffer, twoThirds, 40);
  EXPECT_EQ(std::string(buffer, n), "0,666666666666666667");
}

}  // namespace
}  // namespace hb9cv
