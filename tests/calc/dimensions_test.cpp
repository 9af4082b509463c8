#include "calc/dimensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "calc/errors.h"
#include "calc/number_text.h"

namespace hb9cv {
namespace {

// Every text of a computation in the order of the page, joined by " | ".
std::string Texts(const DimensionSet& d, const char* separator = " | ") {
  std::string all;
  for (const std::string* s : {&d.frequency_text, &d.wavelength_text, &d.Z_text, &d.R_text,
                               &d.RZ_text, &d.x_text, &d.Tz_text, &d.Tr_text, &d.diameter_text})
    all += (all.empty() ? "" : separator) + *s;
  return all;
}

class DimensionsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(','); }
  void TearDown() override { SetDecimalSeparator('.'); }
  static DimensionSet Compute(const char* field) {
    return ComputeDimensions(static_cast<double>(StrToFloat(field, ',')));
  }
};

TEST_F(DimensionsTest, ReferenceRows) {
  const std::pair<const char*, const char*> rows[] = {
      {"0145,000",
       "145 MHz | 2,06896551724138 m | 951,7 mm | 1036,5 mm | 258,6 mm | 20,6 mm | "
       "130,3 mm | 140,6 mm | Průměr 2,89 až 5,17 mm"},
      {"0145,500",
       "145,5 MHz | 2,06185567010309 m | 948,4 mm | 1032,9 mm | 257,7 mm | 20,6 mm | "
       "129,8 mm | 140,2 mm | Průměr 2,88 až 5,15 mm"},
      {"0050,000",
       "50 MHz | 6 m | 2760 mm | 3006 mm | 750 mm | 60 mm | 378 mm | 408 mm | "
       "Průměr 8,4 až 15 mm"},
      {"0432,000",
       "432 MHz | 0,694444444444444 m | 319,4 mm | 347,9 mm | 86,8 mm | 6,9 mm | "
       "43,7 mm | 47,2 mm | Průměr 0,97 až 1,73 mm"},
      {"0000,001",
       "0,001 MHz | 300000 m | 138000000 mm | 150300000 mm | 37500000 mm | "
       "3000000 mm | 18900000 mm | 20400000 mm | Průměr 420000 až 750000 mm"},
  };
  for (const auto& [field, texts] : rows) EXPECT_EQ(Texts(Compute(field)), texts) << field;
}

// Where k/1000 of the wavelength is exactly a whole tenth, the double of the typed frequency
// decides: above the decimal value the result is cut down one step, on or below it is kept.
TEST_F(DimensionsTest, ExactBoundaries) {
  struct Case {
    const char* field;
    std::string DimensionSet::*text;
    const char* expected;
  };
  // clang-format off
  const Case cases[] = {
      {"0006,900", &DimensionSet::Z_text, "19999,9 mm"},
      {"0003,450", &DimensionSet::Z_text, "39999,9 mm"},
      {"0001,840", &DimensionSet::Z_text, "74999,9 mm"},
      {"0001,020", &DimensionSet::Tr_text, "19999,9 mm"},
      {"0001,680", &DimensionSet::Tz_text, "11249,9 mm"},
      {"0003,500", &DimensionSet::Tz_text, "5400 mm"},
      {"0003,500", &DimensionSet::diameter_text, "Průměr 120 až 214,28 mm"},
      {"0001,974", &DimensionSet::wavelength_text, "151,975683890578 m"},
      {"9999,999", &DimensionSet::Z_text, "13,8 mm"}, {"9999,999", &DimensionSet::x_text, "0,3 mm"},
      {"9999,999", &DimensionSet::diameter_text, "Průměr 0,04 až 0,07 mm"},
      {"0028,500", &DimensionSet::diameter_text, "Průměr 14,73 až 26,31 mm"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Compute(c.field).*c.text, c.expected) << c.field;
  }
  EXPECT_EQ(Compute("0001,680").diameter_text.rfind("Průměr 249,99 až ", 0), 0u);
  EXPECT_EQ(Compute("0001,974").frequency_text, "1,974 MHz");
}

// The wavelength is divided in extended precision and only then stored as a double; dividing
// in doubles would change the last digit of these.
TEST_F(DimensionsTest, WavelengthDividedInExtendedPrecision) {
  const std::pair<const char*, const char*> cases[] = {
      {"0009,124", "32,8803156510302 m"},   {"9034,567", "0,0332057972451806 m"},
      {"7067,347", "0,0424487434959682 m"}, {"6885,357", "0,0435707255266503 m"},
      {"7923,367", "0,037862691454277 m"},  {"5248,094", "0,0571636102554565 m"},

  };
  for (const auto& [field, wavelength] : cases) {
    EXPECT_EQ(Compute(field).wavelength_text, wavelength) << field;
  }
}

TEST_F(DimensionsTest, RefusesFrequenciesOutsideItsRange) {
  const double refused[] = {0.0,       -0.0,     -145.0, NAN,     HUGE_VAL,
                            -HUGE_VAL, 4.9e-324, 1e-300, 1.62e-10};
  EXPECT_NO_THROW(ComputeDimensions(1.63e-10));
  for (double f : refused) EXPECT_THROW(ComputeDimensions(f), ERangeError) << f;
  EXPECT_EQ(ComputeDimensions(1.7e-10).R_text, "884117647058823 mm");
  EXPECT_EQ(ComputeDimensions(1.7976931348623157e308).Z_text, "0 mm");
  try {
    ComputeDimensions(-145.5);
  } catch (const ERangeError& e) {
    EXPECT_EQ(e.Message(), "The dimensions cannot be computed for -145,5 MHz");
  }
}

// A fingerprint of every text of a sample of field values, the same on every machine. The
// differential test against the x87 unit vouches for these texts where that unit exists.
TEST_F(DimensionsTest, SampleOfFieldValuesGivesTheSameTexts) {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  char text[9];
  for (int value = 1; value <= 9999999; value += 101) {
    std::snprintf(text, sizeof text, "%04d,%03d", value / 1000, value % 1000);
    for (unsigned char c : Texts(Compute(text), "|") + "|") hash = (hash ^ c) * 1099511628211u;
  }
  EXPECT_EQ(hash, 8575042170825749501u);
}

}  // namespace
}  // namespace hb9cv
