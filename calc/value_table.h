#pragma once
// The computed values in the order they are shown: how each is named on the command line and
// in JSON, which text of a DimensionSet shows it, and where it appears. The main window, the
// report page and the command line all walk this one table; their layout tables only say
// where each value's label sits.
#include <array>
#include <cstddef>
#include <string>

#include "calc/dimensions.h"

namespace hb9cv {

enum class ValueId { Frequency, Wavelength, Z, R, RZ, x, Tz, Tr, Diameter };

// A number behind a value, for scripts: its JSON key and the field it comes from.
struct ValueNumber {
  const char* key = nullptr;  // nullptr: no (further) number
  double DimensionSet::*field = nullptr;
};

struct ValueRow {
  ValueId id;
  const char* name;  // command line and JSON
  std::string DimensionSet::*text;
  // The unit a report label shows after a reset ("0 mm"); the window shows a bare "0".
  const char* unit;
  bool onWindow;  // the main window has a label for it
  bool onReport;  // the report page has a label for it
  std::array<ValueNumber, 2> numbers;
};

// clang-format off
inline constexpr ValueRow kValueTable[] = {
    {ValueId::Frequency, "frequency", &DimensionSet::frequency_text, "MHz", false, true,
     {{{"frequency_mhz", &DimensionSet::frequency}}}},
    {ValueId::Wavelength, "wavelength", &DimensionSet::wavelength_text, "m", true, false,
     {{{"wavelength_m", &DimensionSet::wavelength}}}},
    {ValueId::Z, "Z", &DimensionSet::Z_text, "mm", true, true, {{{"Z_mm", &DimensionSet::Z}}}},
    {ValueId::R, "R", &DimensionSet::R_text, "mm", true, true, {{{"R_mm", &DimensionSet::R}}}},
    {ValueId::RZ, "RZ", &DimensionSet::RZ_text, "mm", true, true, {{{"RZ_mm", &DimensionSet::RZ}}}},
    {ValueId::x, "x", &DimensionSet::x_text, "mm", true, true, {{{"x_mm", &DimensionSet::x}}}},
    {ValueId::Tz, "Tz", &DimensionSet::Tz_text, "mm", true, true, {{{"Tz_mm", &DimensionSet::Tz}}}},
    {ValueId::Tr, "Tr", &DimensionSet::Tr_text, "mm", true, true, {{{"Tr_mm", &DimensionSet::Tr}}}},
    {ValueId::Diameter, "diameter", &DimensionSet::diameter_text, "mm", true, true,
     {{{"diameter_min_mm", &DimensionSet::Q_low}, {"diameter_max_mm", &DimensionSet::Q_high}}}},
};
// clang-format on

inline constexpr std::size_t kValueCount = std::size(kValueTable);

constexpr const ValueRow& RowOf(ValueId id) {
  return kValueTable[static_cast<std::size_t>(id)];
}

static_assert(
    [] {
      for (std::size_t i = 0; i < kValueCount; ++i)
        if (static_cast<std::size_t>(kValueTable[i].id) != i) return false;
      return true;
    }(),
    "the table's rows follow ValueId");

}  // namespace hb9cv
