#pragma once
// What this program reads from nec2c's printed output: the feed impedances and the pattern
// rows, in the order they were printed.
#include <complex>
#include <string_view>
#include <vector>

namespace hb9cv {

struct NecPatternRow {
  double thetaDeg = 0;
  double phiDeg = 0;
  double gainDbi = 0;  // total power gain; kNecNull for a null
  // The field strength |E| (V/m): five significant digits where the gain has two decimals.
  double fieldVm = 0;
};

inline constexpr double kNecNull = -999.99;

struct NecOutput {
  // One per frequency: the source's impedance from "ANTENNA INPUT PARAMETERS".
  std::vector<std::complex<double>> impedances;
  // One per pattern request and frequency.
  std::vector<std::vector<NecPatternRow>> patterns;
};

// Throws ESimulationError for a row that does not read as numbers.
NecOutput ParseNecOutput(std::string_view text);

// Why nec2c stopped: its last error line, else its last line that is not blank.
std::string_view FailureReason(std::string_view text);

}  // namespace hb9cv
