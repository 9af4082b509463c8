#include "field/typed_frequency.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "calc/errors.h"
#include "calc/number_text.h"

namespace hb9cv {
namespace {

// A frequency is read as the field holds it; refusals write numbers as the values are written.
TEST(TypedFrequency, FieldTextAndValue) {
  // The value and field text, or the start of the error; "." then "," as the locale's separator.
  // clang-format off
  const std::tuple<char, const char*, double, std::string> rows[] = {
      {'.', "145", 145, "0145,000"}, {'.', "145,5", 145.5, "0145,500"},
      {'.', "0145.500", 145.5, "0145,500"}, {'.', "9999,999", 9999.999, "9999,999"},
      {'.', ",001", 0.001, "0000,001"}, {'.', "1.", 1, "0001,000"},
      {'.', "10000", 0, "'10000' has more than four integer digits (the most is 9999.999 MHz)"},
      {',', "10000", 0, "'10000' has more than four integer digits (the most is 9999,999 MHz)"},
      {'.', "1,2345", 0, "'1,2345' has more than three decimals (the finest step is 0.001 MHz)"},
      {'.', "", 0, "'' is not a frequency"}, {'.', ",", 0, "',' is not a frequency"},
      {'.', "-5", 0, "'-5' is not a frequency"}, {'.', "1,5,5", 0, "'1,5,5' is not a frequency"},
      {'.', "0", 0, "'0' is zero"}, {'.', "0000,000", 0, "'0000,000' is zero"},
      {'.', "0,", 0, "'0,' is zero"},
  };
  // clang-format on
  for (const auto& [separator, typed, value, expected] : rows) {
    SetDecimalSeparator(separator);
    try {
      EXPECT_EQ(ReadFrequency(typed), value) << typed;
      EXPECT_EQ(FieldTextOf(typed), expected) << typed;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message().substr(0, expected.size()), expected) << typed;
      EXPECT_EQ(value, 0) << typed;
    }
  }
  SetDecimalSeparator(',');
}

}  // namespace
}  // namespace hb9cv
